#include "scripteddialogs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <QUrl>

namespace {

ScriptedDialogs::Shown snapshot(QDialog &dialog)
{
    ScriptedDialogs::Shown shown;
    shown.kind = QStringLiteral("exec");
    shown.objectName = dialog.objectName();
    shown.title = dialog.windowTitle();
    const QList<QWidget *> children = dialog.findChildren<QWidget *>();
    for (QWidget *w : children) {
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) {
            continue;
        }
        if (w->isHidden()) {
            shown.hidden.insert(name);
        }
        if (auto *label = qobject_cast<QLabel *>(w)) {
            shown.texts.insert(name, label->text());
        } else if (auto *line = qobject_cast<QLineEdit *>(w)) {
            shown.texts.insert(name, line->text());
        } else if (auto *edit = qobject_cast<QTextEdit *>(w)) {
            shown.texts.insert(name, edit->toPlainText());
        } else if (auto *plain = qobject_cast<QPlainTextEdit *>(w)) {
            shown.texts.insert(name, plain->toPlainText());
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            shown.texts.insert(name, button->text());
        }
    }
    shown.text = shown.texts.value(QStringLiteral("txtHelpMsg"),
                                   shown.texts.value(QStringLiteral("lblTip1")));
    return shown;
}

} // namespace

ScriptedDialogs::ExecHandler ScriptedDialogs::click(const QString &objectName)
{
    return [objectName](QDialog &dialog) {
        auto *target = dialog.findChild<QWidget *>(objectName);
        if (!target) {
            qWarning("ScriptedDialogs: no control %s in %s",
                     qPrintable(objectName),
                     qPrintable(dialog.objectName()));
            return int(QDialog::Rejected);
        }
        if (auto *button = qobject_cast<QAbstractButton *>(target)) {
            button->click();
        } else {
            QTest::mouseClick(target, Qt::LeftButton);
        }
        return dialog.result();
    };
}

ScriptedDialogs::ExecHandler ScriptedDialogs::inspect(std::function<void(QDialog &)> look,
                                                      ExecHandler then)
{
    return [look = std::move(look), then = std::move(then)](QDialog &dialog) {
        look(dialog);
        return then ? then(dialog) : int(QDialog::Rejected);
    };
}

QStringList ScriptedDialogs::execNames() const
{
    QStringList names;
    for (const Shown &s : shown) {
        if (s.kind == u"exec") {
            names.append(s.objectName);
        }
    }
    return names;
}

QList<ScriptedDialogs::Shown> ScriptedDialogs::shownOfKind(const QString &kind) const
{
    QList<Shown> found;
    for (const Shown &s : shown) {
        if (s.kind == kind) {
            found.append(s);
        }
    }
    return found;
}

int ScriptedDialogs::exec(QDialog &dialog)
{
    shown.append(snapshot(dialog));
    if (m_execHandlers.isEmpty()) {
        return QDialog::Rejected;
    }
    const ExecHandler handler = m_execHandlers.dequeue();
    return handler(dialog);
}

QMessageBox::StandardButton ScriptedDialogs::messageBox(QWidget *,
                                                        QMessageBox::Icon icon,
                                                        const QString &title,
                                                        const QString &text,
                                                        QMessageBox::StandardButtons buttons,
                                                        QMessageBox::StandardButton)
{
    Shown s;
    s.kind = QStringLiteral("messageBox");
    s.icon = icon;
    s.title = title;
    s.text = text;
    s.buttons = buttons;
    shown.append(s);
    return m_messageAnswers.isEmpty() ? QMessageBox::NoButton : m_messageAnswers.dequeue();
}

QString ScriptedDialogs::openFileName(QWidget *,
                                      const QString &caption,
                                      const QString &startFolder,
                                      const QString &filter,
                                      const QString &defaultSuffix)
{
    Shown s;
    s.kind = QStringLiteral("openFileName");
    s.title = caption;
    s.startFolder = startFolder;
    s.filter = filter;
    s.defaultSuffix = defaultSuffix;
    shown.append(s);
    return m_fileAnswers.isEmpty() ? QString() : m_fileAnswers.dequeue();
}

QColor ScriptedDialogs::color(QWidget *, const QColor &initial, bool *accepted)
{
    Shown s;
    s.kind = QStringLiteral("color");
    s.text = initial.name();
    shown.append(s);
    const ColourAnswer answer =
        m_colourAnswers.isEmpty() ? ColourAnswer{initial, false} : m_colourAnswers.dequeue();
    if (accepted) {
        *accepted = answer.accepted;
    }
    return answer.accepted ? answer.colour : initial;
}

bool ScriptedDialogs::pageSetup(QWidget *, QPrinter &)
{
    Shown s;
    s.kind = QStringLiteral("pageSetup");
    shown.append(s);
    return m_pageSetupAnswers.isEmpty() ? false : m_pageSetupAnswers.dequeue();
}

bool ScriptedDialogs::openUrl(const QUrl &url)
{
    Shown s;
    s.kind = QStringLiteral("openUrl");
    s.text = url.toString();
    shown.append(s);
    return true;
}
