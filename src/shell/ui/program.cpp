#include "program.h"

#include <QMdiSubWindow>

#include "appstate.h"
#include "frmbrowser.h"
#include "frmmsgbox.h"
#include "frmsplash.h"
#include "frmtips.h"
#include "mdimain.h"

Program::Program(AppState &state, Dialogs &dialogs, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_dialogs(dialogs)
{
    holdInSlot<frmMsgBox>(msgBox, [this](QWidget *parent) {
        return new frmMsgBox(*this, parent);
    });
    holdInSlot<frmTips>(tipsWindow, [this](QWidget *parent) {
        auto *tips = new frmTips(*this, parent);
        tips->setTips(tipTable);
        return tips;
    });
    holdInSlot<frmSplash>(splashWindow, [](QWidget *parent) {
        return new frmSplash(parent);
    });
    holdInSlot<frmBrowser>(browserWindow, [this](QWidget *parent) {
        return new frmBrowser(*this, parent);
    });
}

Program::~Program() = default;

QWidget *Program::mainWindowWidget() const
{
    return m_mainWindow.data();
}

void Program::trackWindow(QWidget *window, std::function<bool()> unload)
{
    m_windows.removeIf([](const Tracked &t) {
        return t.window.isNull();
    });
    if (!window || window == mainWindowWidget()) {
        return;
    }
    for (Tracked &t : m_windows) {
        if (t.window == window) {
            t.unload = std::move(unload);
            return;
        }
    }
    m_windows.append({window, std::move(unload)});
}

void Program::untrackWindow(QWidget *window)
{
    m_windows.removeIf([window](const Tracked &t) {
        return t.window.isNull() || t.window == window;
    });
}

namespace {

bool isLoaded(const QPointer<QWidget> &window)
{
    return window && !window->property(kUnloadedProperty).toBool();
}

} // namespace

int Program::loadedWindowCount() const
{
    int count = m_mainWindow ? 1 : 0;
    for (const Tracked &t : m_windows) {
        if (isLoaded(t.window) && t.window != mainWindowWidget()) {
            ++count;
        }
    }
    return count;
}

bool Program::unloadAllWindowsExceptMain()
{
    bool all = true;
    const QList<Tracked> windows = m_windows;
    for (const Tracked &t : windows) {
        QWidget *w = t.window.data();
        if (!isLoaded(t.window) || w == mainWindowWidget()) {
            continue;
        }
        bool gone = false;
        if (t.unload) {
            gone = t.unload();
        } else {
            // A window inside the main window closes with its frame.
            QWidget *closing = w;
            if (auto *frame = qobject_cast<QMdiSubWindow *>(w->parentWidget())) {
                closing = frame;
            }
            if (closing->close()) {
                closing->deleteLater();
                gone = true;
            }
        }
        if (gone) {
            untrackWindow(w);
        } else {
            all = false;
        }
    }
    return all;
}
