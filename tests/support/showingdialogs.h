#pragma once

#include <functional>

#include <QDialog>
#include <QList>
#include <QUrl>

#include "dialogs.h"

/// A Dialogs seam that shows each modal window for real (so a button that only hides it can be
/// told from one that unloads it), then runs the next queued handler instead of a nested loop.
class ShowingDialogs : public Dialogs
{
public:
    using Handler = std::function<void(QDialog &)>;

    int exec(QDialog &dialog) override
    {
        ++execCount;
        dialog.show();
        if (!handlers.isEmpty()) {
            handlers.takeFirst()(dialog);
        }
        return dialog.result();
    }

    /// Records the address; no browser starts.
    bool openUrl(const QUrl &url) override
    {
        urls.append(url);
        return false;
    }

    QList<Handler> handlers;
    int execCount = 0;
    QList<QUrl> urls;
};
