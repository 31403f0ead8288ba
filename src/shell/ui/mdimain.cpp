#include "mdimain.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "appstate.h"
#include "commandicons.h"
#include "drivespace.h"
#include "program.h"

namespace {
constexpr int kTwipsPerPixel = 15;
}

MDIMain::MDIMain(Program &program, QWidget *parent)
    : QMainWindow(parent)
    , m_program(program)
    , m_area(new QMdiArea(this))
{
    setObjectName(QStringLiteral("MDIMain"));
    setWindowTitle(mainWindowCaption(QDate::currentDate()));
    setWindowIcon(QIcon(programLogo(64)));
    m_area->setObjectName(QStringLiteral("mdiArea"));
    m_area->setBackground(QColor(0x80, 0x80, 0x80));
    buildPanels();
    buildMenus();

    m_tmrPrint = new QTimer(this);
    m_tmrPrint->setObjectName(QStringLiteral("tmrPrint"));
    m_tmrPrint->setSingleShot(true);
    connect(m_tmrPrint, &QTimer::timeout, this, [this] {
        m_program.state().PrintTimerElapsed = true;
        m_tmrPrint->stop();
    });

    program.setMainWindow(this);
    if (!program.commands.refreshDriveSpace) {
        program.commands.refreshDriveSpace = [this] {
            DisplayDriveSpaceInfo();
        };
    }
    resize(1024, 720);
}

MDIMain::~MDIMain() = default;

QAction *MDIMain::menuItem(const QString &name) const
{
    return m_menuItems.value(name);
}

void MDIMain::setMessageText(const QString &text)
{
    m_pnlMsgs->setText(text);
}

QString MDIMain::messageText() const
{
    return m_pnlMsgs->text();
}

void MDIMain::showHoverText(const QString &objectName)
{
    setMessageText(displayedHoverText(storedHoverText(objectName)));
}

QString MDIMain::hoverTextAt(QWidget *panel, const QPoint &pos) const
{
    for (QWidget *w = panel->childAt(pos); w && w != panel; w = w->parentWidget()) {
        const QString stored = storedHoverText(w->objectName());
        if (!stored.isEmpty()) {
            return displayedHoverText(stored);
        }
    }
    return {};
}

bool MDIMain::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    const QEvent::Type type = event->type();
    if (widget && (type == QEvent::Enter || type == QEvent::MouseMove)) {
        if (widget == m_pnlToolbar || widget == m_pnlMsgs || widget == m_area->viewport()) {
            // Over the panels themselves the message empties; a move that reached the toolbar
            // from a picture under the pointer still shows that picture's text.
            const QPoint pos = type == QEvent::MouseMove
                ? static_cast<QMouseEvent *>(event)->position().toPoint()
                : static_cast<QEnterEvent *>(event)->position().toPoint();
            setMessageText(widget == m_pnlToolbar ? hoverTextAt(widget, pos) : QString());
        } else {
            showHoverText(widget->objectName());
        }
    } else if (type == QEvent::MouseButtonRelease && m_clickCommands.contains(watched)) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            runCommand(m_clickCommands.value(watched));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MDIMain::showProgress(int maximum)
{
    m_pgBar->setRange(0, qMax(0, maximum));
    m_pgBar->setValue(0);
    m_lblFileCounter->clear();
    m_pgBar->show();
}

void MDIMain::setProgress(int value, const QString &counterText)
{
    m_pgBar->setValue(qBound(m_pgBar->minimum(), value, m_pgBar->maximum()));
    m_lblFileCounter->setText(counterText);
}

void MDIMain::hideProgress()
{
    m_lblFileCounter->clear();
    m_pgBar->hide();
}

void MDIMain::setDriveSpace(qint64 available, qint64 total)
{
    const int percent = freeSpacePercent(available, total);
    m_gaugeColour = QColor::fromRgb(freeSpaceGaugeColour(percent));
    m_pnlDriveSpace->setValue(percent);
    // White figures on a dark gauge read over the filled part and the empty part alike.
    m_pnlDriveSpace->setStyleSheet(
        QStringLiteral("QProgressBar { background-color: #505050; color: white; text-align: center;"
                       " border: 1px solid #303030; }"
                       " QProgressBar::chunk { background-color: %1; }")
            .arg(m_gaugeColour.name()));
}

int MDIMain::driveSpacePercent() const
{
    return m_pnlDriveSpace->value();
}

void MDIMain::DisplayDriveSpaceInfo()
{
    const Result<DriveSpace> space = driveSpaceOf(m_program.state().startup.ApplicationFolder);
    if (!space) {
        m_program.state().log.error(u"modMain - DisplayDriveSpaceInfo", space.failure());
        return;
    }
    setDriveSpace(space.value().available, space.value().total);
}

void MDIMain::fillZoomList()
{
    m_cboZoom->clear();
    m_cboZoom->addItems({QStringLiteral("25%"),
                         QStringLiteral("50%"),
                         QStringLiteral("75%"),
                         QStringLiteral("100%"),
                         QStringLiteral("200%")});
}

void MDIMain::placeCloseButton()
{
    const int left = width() - m_cmdCloseOpenWindow->width() - 200 / kTwipsPerPixel;
    m_pnlEmblem->move(left, 6);
    m_cmdCloseOpenWindow->move(left, 6 + m_pnlEmblem->height() + 6);
}

int MDIMain::reservedPanelHeightTwips() const
{
    return (m_pnlMsgs->minimumHeight() + m_pnlToolbar->minimumHeight()) * kTwipsPerPixel + 800;
}

void MDIMain::setTipsTicked(bool ticked)
{
    menuItem(QStringLiteral("mnuHelpTips"))->setChecked(ticked);
}

void MDIMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeCloseButton();
}

void MDIMain::closeEvent(QCloseEvent *event)
{
    AppState &state = m_program.state();
    if (Tag == u"unload") {
        // Shutdown: the other windows go with the main window; one that refuses (an album page
        // whose question was answered No) keeps the program running.
        if (!m_program.unloadAllWindowsExceptMain()) {
            Tag.clear();
            event->ignore();
            return;
        }
        event->accept();
        Q_EMIT shutdownRequested();
        return;
    }
    // Closing only hides: the program keeps running and listening for media.
    state.SelectedPhotos.clear();
    state.notifySelectionChanged();
    m_program.unloadAllWindowsExceptMain();
    hide();
    event->ignore();
    QCoreApplication::processEvents();
}
