#include "frmsplash.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "commandicons.h"
#include "shelltexts.h"
#include "startupvalues.h"

namespace {

QLabel *addLabel(QWidget *parent,
                 QVBoxLayout *layout,
                 const char *name,
                 const QString &text,
                 int pointSize = 0,
                 bool bold = false)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    if (pointSize > 0) {
        font.setPointSize(pointSize);
    }
    font.setBold(bold);
    label->setFont(font);
    // Clicks fall through to the panel, which closes the window.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(label);
    return label;
}

} // namespace

frmSplash::frmSplash(QWidget *parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Glimmerbook"));

    m_SSPanel1 = new QFrame(this);
    m_SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    m_SSPanel1->setFrameShape(QFrame::Panel);
    m_SSPanel1->setFrameShadow(QFrame::Raised);
    m_SSPanel1->setLineWidth(3);
    m_SSPanel1->installEventFilter(this);

    auto *column = new QVBoxLayout(m_SSPanel1);
    column->setContentsMargins(24, 18, 24, 18);
    auto *imgLogo = new QLabel(m_SSPanel1);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(programLogo(96));
    imgLogo->setAlignment(Qt::AlignHCenter);
    imgLogo->setAttribute(Qt::WA_TransparentForMouseEvents);
    column->addWidget(imgLogo);
    addLabel(m_SSPanel1, column, "lblProductName", QStringLiteral("Glimmerbook"), 22, true);
    m_lblPlatform =
        addLabel(m_SSPanel1, column, "lblPlatform", QStringLiteral("Windows 9x/XP/2000"), 10, true);
    m_lblVersion = addLabel(m_SSPanel1, column, "lblVersion", versionText());

    auto *pnlWebAddress = new QLabel(ShellTexts::splashWebPanelText(), m_SSPanel1);
    pnlWebAddress->setObjectName(QStringLiteral("pnlWebAddress"));
    pnlWebAddress->setFrameShape(QFrame::Panel);
    pnlWebAddress->setFrameShadow(QFrame::Sunken);
    pnlWebAddress->setAlignment(Qt::AlignCenter);
    pnlWebAddress->setWordWrap(true);
    pnlWebAddress->setMargin(6);
    pnlWebAddress->setAttribute(Qt::WA_TransparentForMouseEvents);
    column->addWidget(pnlWebAddress);

    addLabel(m_SSPanel1, column, "lblCompany", QStringLiteral("Glimmerbook Software"));
    addLabel(m_SSPanel1,
             column,
             "lblCopyright",
             QStringLiteral("This program is protected by copyright law. All rights reserved."),
             8);
    addLabel(m_SSPanel1, column, "lblYear", QStringLiteral("2004"), 8);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_SSPanel1);
    setFixedWidth(460);
    setFocusPolicy(Qt::StrongFocus);

    m_tmrSplash = new QTimer(this);
    m_tmrSplash->setObjectName(QStringLiteral("tmrSplash"));
    m_tmrSplash->setSingleShot(true);
    connect(m_tmrSplash, &QTimer::timeout, this, &frmSplash::unloadMe);
    m_tmrSplash->start(kDefaultIntervalMs);
}

void frmSplash::setSplashInterval(int milliseconds)
{
    m_tmrSplash->start(milliseconds);
}

int frmSplash::splashInterval() const
{
    return m_tmrSplash->interval();
}

void frmSplash::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    unloadMe();
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_SSPanel1 && event->type() == QEvent::MouseButtonPress) {
        unloadMe();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmSplash::unloadMe()
{
    m_tmrSplash->stop();
    // Ends a modal showing; whoever loaded the window destroys it.
    done(QDialog::Accepted);
}
