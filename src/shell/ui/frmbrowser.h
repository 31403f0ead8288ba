#pragma once

#include <QDialog>
#include <QStringList>

class Program;
class QLabel;
class QLineEdit;
class QPushButton;

/// The small browser window of Go Online and the website item. Pages open in the user's web
/// browser (through the program's dialog seam); the window keeps the address box and the Back and
/// Forward history of the addresses it opened. Its handlers ignore failures.
class frmBrowser : public QDialog
{
    Q_OBJECT

public:
    explicit frmBrowser(Program &program, QWidget *parent = nullptr);

    /// Puts address into the address box, opens it and records it in the history; the main
    /// window's message panel is emptied.
    void navigate(const QString &address);
    /// The addresses opened, oldest first, and the position of the current one.
    const QStringList &history() const { return m_history; }
    int historyPosition() const { return m_position; }

    QLabel *pnlAddress() const { return m_pnlAddress; }
    QLineEdit *txtAddress() const { return m_txtAddress; }
    QPushButton *cmdGo() const { return m_cmdGo; }
    QPushButton *cmdBack() const { return m_cmdBack; }
    QPushButton *cmdFwd() const { return m_cmdFwd; }

public Q_SLOTS:
    /// Opens the address box's text (also the Enter key in the box).
    void cmdGo_Click();
    void cmdBack_Click();
    void cmdFwd_Click();

private:
    void open(const QString &address);
    void updateButtons();

    Program &m_program;
    QStringList m_history;
    int m_position = -1;
    QLabel *m_pnlAddress = nullptr;
    QLineEdit *m_txtAddress = nullptr;
    QPushButton *m_cmdGo = nullptr;
    QPushButton *m_cmdBack = nullptr;
    QPushButton *m_cmdFwd = nullptr;
};
