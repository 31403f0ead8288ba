#include "dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QPageSetupDialog>

Dialogs::~Dialogs() = default;

int Dialogs::exec(QDialog &dialog)
{
    return dialog.exec();
}

QMessageBox::StandardButton Dialogs::messageBox(QWidget *parent,
                                                QMessageBox::Icon icon,
                                                const QString &title,
                                                const QString &text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

QString Dialogs::openFileName(QWidget *parent,
                              const QString &caption,
                              const QString &startFolder,
                              const QString &filter,
                              const QString &defaultSuffix)
{
    QFileDialog dialog(parent, caption, startFolder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QColor Dialogs::color(QWidget *parent, const QColor &initial, bool *accepted)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (accepted) {
        *accepted = chosen.isValid();
    }
    return chosen.isValid() ? chosen : initial;
}

bool Dialogs::pageSetup(QWidget *parent, QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool Dialogs::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

int UnattendedDialogs::exec(QDialog &dialog)
{
    dialog.reject();
    return QDialog::Rejected;
}

QMessageBox::StandardButton UnattendedDialogs::messageBox(QWidget *,
                                                          QMessageBox::Icon,
                                                          const QString &,
                                                          const QString &,
                                                          QMessageBox::StandardButtons buttons,
                                                          QMessageBox::StandardButton)
{
    if (buttons & QMessageBox::No) {
        return QMessageBox::No;
    }
    return (buttons & QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::NoButton;
}

QString UnattendedDialogs::openFileName(QWidget *,
                                        const QString &,
                                        const QString &,
                                        const QString &,
                                        const QString &)
{
    return {};
}

QColor UnattendedDialogs::color(QWidget *, const QColor &initial, bool *accepted)
{
    if (accepted) {
        *accepted = false;
    }
    return initial;
}

bool UnattendedDialogs::pageSetup(QWidget *, QPrinter &)
{
    return false;
}

bool UnattendedDialogs::openUrl(const QUrl &)
{
    return false;
}
