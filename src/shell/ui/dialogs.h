#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>

class QDialog;
class QPrinter;
class QUrl;
class QWidget;

/// The one seam through which every modal window, message box, file, colour and print-setup
/// dialog is opened. The program uses the real dialogs; tests install a scripted Dialogs that
/// answers them.
class Dialogs
{
public:
    virtual ~Dialogs();

    /// Shows the window modally and returns when it is hidden or closed (QDialog::exec).
    virtual int exec(QDialog &dialog);
    /// A system message box; returns the button pressed.
    virtual QMessageBox::StandardButton
    messageBox(QWidget *parent,
               QMessageBox::Icon icon,
               const QString &title,
               const QString &text,
               QMessageBox::StandardButtons buttons,
               QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    /// The open-file dialog; the chosen path, or "" when cancelled.
    virtual QString openFileName(QWidget *parent,
                                 const QString &caption,
                                 const QString &startFolder,
                                 const QString &filter,
                                 const QString &defaultSuffix);
    /// The colour dialog; the colour chosen, or initial when cancelled (accepted tells which).
    virtual QColor color(QWidget *parent, const QColor &initial, bool *accepted = nullptr);
    /// The page set-up dialog for printer; true when confirmed.
    virtual bool pageSetup(QWidget *parent, QPrinter &printer);
    /// Opens a web address in the user's browser; false when no browser took it.
    virtual bool openUrl(const QUrl &url);
};

/// Dialogs for a program run without a person in front of it (GLIMMERBOOK_UNATTENDED=1): modal
/// windows are shown and closed at once (rejected), message boxes answer No (Cancel when there is
/// no No), file dialogs give nothing, the colour dialog is cancelled, and no browser is started.
class UnattendedDialogs : public Dialogs
{
public:
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
    bool openUrl(const QUrl &url) override;
};
