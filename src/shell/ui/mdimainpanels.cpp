// The main window's panels and menus, built from the command and menu tables.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "commandicons.h"
#include "mdimain.h"

namespace {

constexpr int kToolbarHeight = 84;
constexpr int kMessagesHeight = 40;
constexpr int kCloseButtonWidth = 140;

} // namespace

void MDIMain::buildPanels()
{
    auto *client = new QWidget(this);
    auto *column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_pnlToolbar = new QFrame(client);
    m_pnlToolbar->setObjectName(QStringLiteral("pnlToolbar"));
    m_pnlToolbar->setFrameShape(QFrame::Panel);
    m_pnlToolbar->setFrameShadow(QFrame::Raised);
    m_pnlToolbar->setFixedHeight(kToolbarHeight);
    auto *commands = new QHBoxLayout(m_pnlToolbar);
    commands->setContentsMargins(6, 4, 6, 4);
    commands->setSpacing(4);
    for (const PanelCommand &c : panelCommands()) {
        auto *picture = new QToolButton(m_pnlToolbar);
        picture->setObjectName(c.picture);
        picture->setIcon(commandIcon(c.iconName, c.captionText));
        picture->setIconSize(QSize(36, 36));
        picture->setAutoRaise(true);
        picture->setFocusPolicy(Qt::NoFocus);
        connect(picture, &QToolButton::clicked, this, [this, cmd = c.command] {
            runCommand(cmd);
        });
        auto *caption = new QLabel(c.captionText, m_pnlToolbar);
        caption->setObjectName(c.caption);
        caption->setAlignment(Qt::AlignHCenter);
        if (c.captionRunsCommand) {
            m_clickCommands.insert(caption, c.command);
            caption->setCursor(Qt::PointingHandCursor);
        }
        for (QWidget *w : {static_cast<QWidget *>(picture), static_cast<QWidget *>(caption)}) {
            w->setMouseTracking(true);
            w->installEventFilter(this);
        }
        auto *pair = new QVBoxLayout;
        pair->setSpacing(0);
        pair->addWidget(picture, 0, Qt::AlignHCenter);
        pair->addWidget(caption, 0, Qt::AlignHCenter);
        commands->addLayout(pair);
    }
    commands->addStretch(1);
    // Room for the emblem and "Close Window Below", which are placed by hand at the right.
    commands->addSpacing(kCloseButtonWidth + 20);

    m_pnlEmblem = new QLabel(QStringLiteral("Glimmerbook"), m_pnlToolbar);
    m_pnlEmblem->setObjectName(QStringLiteral("pnlEmblem"));
    m_pnlEmblem->setFrameShape(QFrame::Panel);
    m_pnlEmblem->setFrameShadow(QFrame::Sunken);
    m_pnlEmblem->setAlignment(Qt::AlignCenter);
    QFont emblemFont = m_pnlEmblem->font();
    emblemFont.setBold(true);
    emblemFont.setItalic(true);
    m_pnlEmblem->setFont(emblemFont);
    m_pnlEmblem->setFixedSize(kCloseButtonWidth, 34);
    m_cmdCloseOpenWindow = new QPushButton(QStringLiteral("Close Window Below"), m_pnlToolbar);
    m_cmdCloseOpenWindow->setObjectName(QStringLiteral("cmdCloseOpenWindow"));
    m_cmdCloseOpenWindow->setFixedSize(kCloseButtonWidth, 30);
    m_cmdCloseOpenWindow->setFocusPolicy(Qt::NoFocus);
    connect(m_cmdCloseOpenWindow, &QPushButton::clicked, this, &MDIMain::cmdCloseOpenWindow_Click);

    auto *strip = new QWidget(client);
    strip->setObjectName(QStringLiteral("pnlStrip"));
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(4, 2, 4, 2);
    m_pnlMsgs = new QLabel(strip);
    m_pnlMsgs->setObjectName(QStringLiteral("pnlMsgs"));
    m_pnlMsgs->setTextFormat(Qt::PlainText);
    m_pnlMsgs->setWordWrap(true);
    m_pnlMsgs->setFrameShape(QFrame::Panel);
    m_pnlMsgs->setFrameShadow(QFrame::Sunken);
    m_pnlMsgs->setFixedHeight(kMessagesHeight);
    m_pnlMsgs->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pnlMsgs->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_pnlMsgs->setMouseTracking(true);
    m_pnlMsgs->installEventFilter(this);
    row->addWidget(m_pnlMsgs, 1);

    auto *SSPanel1 = new QLabel(QStringLiteral("Local Free Disk Space:"), strip);
    SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    m_pnlDriveSpace = new QProgressBar(strip);
    m_pnlDriveSpace->setObjectName(QStringLiteral("pnlDriveSpace"));
    m_pnlDriveSpace->setRange(0, 100);
    m_pnlDriveSpace->setValue(0);
    m_pnlDriveSpace->setFormat(QStringLiteral("%p%"));
    m_pnlDriveSpace->setFixedWidth(110);
    m_chkHelp = new QCheckBox(QStringLiteral("Hide Rollover Help"), strip);
    m_chkHelp->setObjectName(QStringLiteral("chkHelp"));
    connect(m_chkHelp, &QCheckBox::toggled, m_pnlMsgs, &QWidget::setHidden);
    auto *Label5 = new QLabel(QStringLiteral("Zoom:"), strip);
    Label5->setObjectName(QStringLiteral("Label5"));
    m_cboZoom = new QComboBox(strip);
    m_cboZoom->setObjectName(QStringLiteral("cboZoom"));
    m_cboZoom->setMinimumContentsLength(5);
    for (QWidget *w : {static_cast<QWidget *>(SSPanel1),
                       static_cast<QWidget *>(m_pnlDriveSpace),
                       static_cast<QWidget *>(m_chkHelp),
                       static_cast<QWidget *>(Label5),
                       static_cast<QWidget *>(m_cboZoom)}) {
        row->addWidget(w);
    }

    column->addWidget(m_pnlToolbar);
    column->addWidget(strip);
    column->addWidget(m_area, 1);
    setCentralWidget(client);

    for (QWidget *panel : {static_cast<QWidget *>(m_pnlToolbar), m_area->viewport()}) {
        panel->setMouseTracking(true);
        panel->installEventFilter(this);
    }

    auto *pnlStatus =
        new QLabel(QStringLiteral("Glimmerbook - Professional Photo Management"), this);
    pnlStatus->setObjectName(QStringLiteral("pnlStatus"));
    statusBar()->addWidget(pnlStatus, 1);

    // The page builders' progress, hidden until a page is built.
    m_lblFileCounter = new QLabel(this);
    m_lblFileCounter->setObjectName(QStringLiteral("lblFileCounter"));
    // A fixed size: a new count does not lay out the status bar again.
    m_lblFileCounter->setFixedSize(m_lblFileCounter->fontMetrics().horizontalAdvance(
                                       QStringLiteral("Loading file: 00000 of 00000 total files"))
                                       + 8,
                                   m_lblFileCounter->sizeHint().height());
    m_pgBar = new QProgressBar(this);
    m_pgBar->setObjectName(QStringLiteral("pgBar"));
    m_pgBar->setTextVisible(false);
    m_pgBar->setFixedWidth(240);
    m_pgBar->hide();
    statusBar()->addPermanentWidget(m_pgBar);
    statusBar()->addPermanentWidget(m_lblFileCounter);
}

void MDIMain::buildMenus()
{
    for (const MenuEntry &entry : mainMenus()) {
        auto *menu = new QMenu(entry.caption, this);
        menu->setObjectName(entry.name);
        if (entry.inBar) {
            menuBar()->addMenu(menu);
        }
        for (const MenuItemEntry &item : entry.items) {
            if (item.isSeparator()) {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(item.caption);
            action->setObjectName(item.name);
            action->setShortcut(QKeySequence(item.shortcut, QKeySequence::PortableText));
            action->setEnabled(item.enabled);
            action->setCheckable(item.checkable);
            action->setVisible(item.visible);
            m_menuItems.insert(item.name, action);
            if (item.command == MainCommand::ToggleTips) {
                connect(action, &QAction::triggered, this, &MDIMain::HelpTipsCommand);
            } else if (item.command != MainCommand::None) {
                connect(action, &QAction::triggered, this, [this, cmd = item.command] {
                    runCommand(cmd);
                });
            }
        }
        if (entry.name == u"mnuWindow") {
            m_mnuWindow = menu;
            connect(menu, &QMenu::aboutToShow, this, &MDIMain::fillWindowList);
        } else if (entry.name == u"mnuPop") {
            m_mnuPop = menu;
        } else if (entry.name == u"mnuPopDelete") {
            m_mnuPopDelete = menu;
        }
    }
}

void MDIMain::fillWindowList()
{
    // The Window menu lists the open windows inside the main window below its own items.
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    const QList<QMdiSubWindow *> windows = m_area->subWindowList();
    if (!windows.isEmpty()) {
        m_windowListActions.append(m_mnuWindow->addSeparator());
    }
    int number = 1;
    for (QMdiSubWindow *sub : windows) {
        QAction *entry =
            m_mnuWindow->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(sub == m_area->currentSubWindow());
        connect(entry, &QAction::triggered, sub, [this, sub] {
            m_area->setActiveSubWindow(sub);
        });
        m_windowListActions.append(entry);
    }
}
