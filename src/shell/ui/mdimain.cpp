#include "mdimain.h"

#include <QDate>
#include <QMdiArea>

#include "appstate.h"

MDIMain::MDIMain(AppState &state, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_area(new QMdiArea(this))
{
    setObjectName(QStringLiteral("MDIMain"));
    setCentralWidget(m_area);
    setWindowTitle(mainWindowCaption(QDate::currentDate()));
    resize(1024, 720);
}
