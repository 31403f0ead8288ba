#pragma once

#include <QMainWindow>

class AppState;
class QMdiArea;

/// The program's main window: a frame holding album pages and viewers.
class MDIMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit MDIMain(AppState &state, QWidget *parent = nullptr);

    QMdiArea *mdiArea() const { return m_area; }

private:
    AppState &m_state;
    QMdiArea *m_area = nullptr;
};
