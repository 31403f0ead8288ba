#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class Program;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

/// The tip of the day window. Made, given its first tip (setTipText) and shown modally over the
/// main window by start-up; it closes itself. Its handlers ignore failures.
///
/// Closing is done with done(), which hides the window and ends a modal showing; whoever made
/// the window destroys it.
class frmTips : public QDialog
{
    Q_OBJECT

public:
    /// Loads the window: the "Don't Show Tips on Startup" box is ticked when the "tips" setting
    /// is "0". The tip table is the program's table of LoadTipOfTheDay().
    explicit frmTips(Program &program, QWidget *parent = nullptr);

    /// The tip shown in lblTip1.
    void setTipText(const QString &text);
    QString tipText() const;

    /// The tip table the Next Tip button walks through (1-based in the table, as shown).
    void setTips(const QStringList &tips) { m_tips = tips; }
    const QStringList &tips() const { return m_tips; }

    /// Shows the window modally with the main window as owner, through the program's dialog seam.
    int showModal();

    QLabel *Label1() const { return m_Label1; }
    QLabel *lblTip1() const { return m_lblTip1; }
    QPushButton *cmdNext() const { return m_cmdNext; }
    QPushButton *cmdClose() const { return m_cmdClose; }
    QCheckBox *chkShowTips() const { return m_chkShowTips; }
    QLabel *pnlView() const { return m_pnlView; }
    QPushButton *cmdOpen() const { return m_cmdOpen; }
    QLabel *Label2() const { return m_Label2; }

    /// The Next Tip button's position in the tip table: empty, or the number of the next tip.
    QString cmdNextTag;

public Q_SLOTS:
    /// Shows the next tip of the table (see nextTipStep).
    void cmdNext_Click();
    /// Stores "tips" = "0" when the box is ticked, then closes the window.
    void cmdClose_Click();
    /// Closes the window, then runs the main window's Open Album command.
    void cmdOpen_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void unloadMe();

    Program &m_program;
    QStringList m_tips;
    QLabel *m_Label1 = nullptr;
    QLabel *m_lblTip1 = nullptr;
    QPushButton *m_cmdNext = nullptr;
    QPushButton *m_cmdClose = nullptr;
    QCheckBox *m_chkShowTips = nullptr;
    QLabel *m_pnlView = nullptr;
    QPushButton *m_cmdOpen = nullptr;
    QLabel *m_Label2 = nullptr;
};
