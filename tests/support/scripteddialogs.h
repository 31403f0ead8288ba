#pragma once

#include <functional>

#include <QColor>
#include <QHash>
#include <QList>
#include <QMessageBox>
#include <QQueue>
#include <QSet>
#include <QString>
#include <QStringList>

#include "dialogs.h"

/// A Dialogs seam for tests: it never blocks. Each modal window, message box, file or colour
/// dialog takes the next scripted answer of its kind (or a default when none is left) and is
/// recorded in shown, in order.
class ScriptedDialogs : public Dialogs
{
public:
    /// Does what a person would do with a modal window and returns the result exec() gives.
    using ExecHandler = std::function<int(QDialog &)>;

    /// One window or dialog as it was when it was shown.
    struct Shown
    {
        /// "exec", "messageBox", "openFileName", "color", "pageSetup" or "openUrl".
        QString kind;
        /// exec: the window's object name ("frmMsgBox", "frmSplash", ...).
        QString objectName;
        /// The window or dialog title.
        QString title;
        /// exec: the text of txtHelpMsg or lblTip1; messageBox: its text; openUrl: the address.
        QString text;
        /// exec: object name → text of every named label, text box and button.
        QHash<QString, QString> texts;
        /// exec: object names of the named controls hidden at that moment.
        QSet<QString> hidden;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QString filter;
        QString startFolder;
        QString defaultSuffix;
    };

    /// The next exec() runs handler. Without one, exec() records the window and returns
    /// QDialog::Rejected without touching it.
    void onExec(ExecHandler handler) { m_execHandlers.enqueue(std::move(handler)); }
    /// A handler that clicks the control named objectName (a button, or any widget with a mouse
    /// click) and returns the dialog's result.
    static ExecHandler click(const QString &objectName);
    /// A handler that runs inspect on the window, then then (or returns Rejected).
    static ExecHandler inspect(std::function<void(QDialog &)> look, ExecHandler then = {});

    /// The next message box answers button (default when none is queued: NoButton).
    void answerMessageBox(QMessageBox::StandardButton button) { m_messageAnswers.enqueue(button); }
    /// The next open-file dialog answers path ("" is a cancel; the default).
    void answerOpenFileName(const QString &path) { m_fileAnswers.enqueue(path); }
    /// The next colour dialog answers colour; accepted false is a cancel (the initial colour).
    void answerColor(const QColor &colour, bool accepted = true)
    {
        m_colourAnswers.enqueue({colour, accepted});
    }
    /// The next page set-up dialog answers confirmed (default: false).
    void answerPageSetup(bool confirmed) { m_pageSetupAnswers.enqueue(confirmed); }

    /// What was shown, in order.
    QList<Shown> shown;
    /// The object names of the windows shown through exec(), in order.
    QStringList execNames() const;
    /// The shown entries of one kind.
    QList<Shown> shownOfKind(const QString &kind) const;
    /// Scripted answers not used yet (a test may check its script ran out).
    qsizetype pendingExecHandlers() const { return m_execHandlers.size(); }

    int exec(QDialog &dialog) override;
    QMessageBox::StandardButton messageBox(QWidget *parent,
                                           QMessageBox::Icon icon,
                                           const QString &title,
                                           const QString &text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget *parent,
                         const QString &caption,
                         const QString &startFolder,
                         const QString &filter,
                         const QString &defaultSuffix) override;
    QColor color(QWidget *parent, const QColor &initial, bool *accepted) override;
    bool pageSetup(QWidget *parent, QPrinter &printer) override;
    /// Records the address; no browser starts. Returns true.
    bool openUrl(const QUrl &url) override;

private:
    struct ColourAnswer
    {
        QColor colour;
        bool accepted = true;
    };

    QQueue<ExecHandler> m_execHandlers;
    QQueue<QMessageBox::StandardButton> m_messageAnswers;
    QQueue<QString> m_fileAnswers;
    QQueue<ColourAnswer> m_colourAnswers;
    QQueue<bool> m_pageSetupAnswers;
};
