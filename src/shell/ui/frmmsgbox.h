#pragma once

#include <QDialog>
#include <QString>

class Program;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTextEdit;

/// The program's one window for questions, messages and progress. Held by Program::msgBox:
/// callers load it, set the texts and the parts they need, write a mode word into Tag and show
/// it. What OK and Cancel do depends on the mode; the answer comes back in Tag, in cmdCancelTag,
/// or in whether the dialog is still loaded (program.msgBox.isLoaded()).
///
/// A handler that unloads the dialog schedules its destruction: after showModal() returns, or
/// after pending events ran, a reference to an unloaded dialog is no longer valid. Reach the
/// dialog through program.msgBox every time; program.msgBox.load() after an unload gives a fresh
/// dialog in its load state (empty tags, "##", Cancel captioned "Cancel", progress bar hidden).
///
/// Modes (Tag when a button is pressed):
/// - "noactionneeded": Cancel unloads.
/// - "closewindows", "categorize": OK sets Tag "OK", Cancel sets Tag "NO"; both only hide.
/// - "runwizard": OK unloads, then runs the main window's Organize Wizard command.
/// - any other tag containing "wizard", "wizard#" + folder: OK shows that folder's album page
///   and puts the wizard back to its first step.
/// - "album": OK stores the entry in RenameCategory, unloads and opens the album picker.
/// - anything else: default OK and default Cancel (see cmdOK_Click and cmdCancel_Click).
class frmMsgBox : public QDialog
{
    Q_OBJECT

public:
    explicit frmMsgBox(Program &program, QWidget *parent = nullptr);

    /// The message text box. Plain text only.
    QTextEdit *txtHelpMsg() const { return m_txtHelpMsg; }
    /// The entry box's prompt, "##" at load.
    QLabel *lblMsg() const { return m_lblMsg; }
    /// The entry box.
    QLineEdit *txtEntry() const { return m_txtEntry; }
    /// The progress bar, hidden at load; callers set its range, value and visibility.
    QProgressBar *pgBar() const { return m_pgBar; }
    QPushButton *cmdOK() const { return m_cmdOK; }
    /// Callers may set its caption ("NO", "OK"), position and visibility.
    QPushButton *cmdCancel() const { return m_cmdCancel; }
    /// Opens cmdWebPageTag in the browser; hidden at load.
    QPushButton *cmdWebPage() const { return m_cmdWebPage; }

    /// The mode word; "OK" or "NO" after an answer in the two yes/no modes.
    QString Tag;
    /// "wizardend" from the organisation wizard; "cancel" is the stop answer during downloads.
    QString cmdCancelTag;
    /// The full path of the page file cmdWebPage opens.
    QString cmdWebPageTag;

    /// Sets the message text as given (notices begin with a line break).
    void setHelpText(const QString &text);
    QString helpText() const;
    /// Bold message text; kept through later font and text changes.
    void setHelpBold(bool bold);
    bool isHelpBold() const;
    /// Centred message text (alignment 2); left-aligned otherwise. Applies to the whole text,
    /// including text set afterwards.
    void setHelpCentred(bool centred);
    bool isHelpCentred() const;
    /// Font family and point size of the message text (for example "Arial", 9); bold is kept.
    void setHelpFont(const QString &family, int pointSize);

    /// Shows the dialog modally with the main window as owner, through the program's dialog seam.
    /// Returns when a button hid or unloaded it; the dialog may be unloaded by then.
    int showModal();
    /// Shows the dialog without blocking (progress windows), above all other windows when
    /// topmost is true.
    void showModeless(bool topmost);

public Q_SLOTS:
    /// OK, by mode; failures are logged under "frmMsgBox - cmdOK_Click" and stop the handler.
    void cmdOK_Click();
    /// Cancel, by mode; failures are ignored.
    void cmdCancel_Click();
    /// Opens the page in cmdWebPageTag; failures are ignored.
    void cmdWebPage_Click();

protected:
    /// Escape and the window manager's close answer like the Cancel button (or OK when only OK
    /// is offered), so closing the window never leaves a question unanswered.
    void reject() override;

private:
    void defaultOK();
    void defaultCancel();
    void unloadMe();
    void runWizardEnd();
    void runOrganizeWizardCommand();
    void applyHelpFormat();

    Program &m_program;
    QLabel *m_SSPanel2 = nullptr;
    QFrame *m_SSPanel1 = nullptr;
    QLabel *m_Image1 = nullptr;
    QFrame *m_Line1 = nullptr;
    QTextEdit *m_txtHelpMsg = nullptr;
    QLabel *m_lblMsg = nullptr;
    QLineEdit *m_txtEntry = nullptr;
    QProgressBar *m_pgBar = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdCancel = nullptr;
    QPushButton *m_cmdWebPage = nullptr;
    bool m_helpCentred = false;
};

/// Shows text as a notice in the prompt dialog: centred, bold, without the entry box and its
/// prompt; the mode word is left as it is. Modal over the main window, or modeless and, when
/// topmost is true, above all other windows. The caller keeps no reference to the dialog.
void ShowNotice(Program &program, const QString &text, bool modal, bool topmost);

/// Puts a window above all windows that are not topmost (onTop true), or back among them,
/// without moving, resizing, hiding or re-showing it.
void SetWindowTopmost(QWidget *window, bool onTop);
