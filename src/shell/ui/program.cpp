#include "program.h"

#include "appstate.h"
#include "frmmsgbox.h"
#include "mdimain.h"

Program::Program(AppState &state, Dialogs &dialogs, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_dialogs(dialogs)
{
    msgBox.setFactory([this] {
        auto *box = new frmMsgBox(*this, m_mainWindow);
        trackWindow(box);
        return box;
    });
}

Program::~Program() = default;

void Program::trackWindow(QWidget *window)
{
    m_windows.removeAll(nullptr);
    if (window && !m_windows.contains(window)) {
        m_windows.append(window);
    }
}

int Program::loadedWindowCount() const
{
    int count = m_mainWindow ? 1 : 0;
    for (const QPointer<QWidget> &w : m_windows) {
        if (w && w.data() != m_mainWindow.data()) {
            ++count;
        }
    }
    return count;
}

bool Program::unloadAllWindowsExceptMain()
{
    bool all = true;
    const QList<QPointer<QWidget>> windows = m_windows;
    for (const QPointer<QWidget> &w : windows) {
        if (!w || w.data() == m_mainWindow.data()) {
            continue;
        }
        if (w.data() == msgBox.loaded()) {
            msgBox.unload();
            continue;
        }
        if (w->close()) {
            w->deleteLater();
        } else {
            all = false;
        }
    }
    m_windows.removeAll(nullptr);
    return all;
}
