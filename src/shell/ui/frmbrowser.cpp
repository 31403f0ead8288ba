#include "frmbrowser.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "dialogs.h"
#include "mdimain.h"
#include "program.h"

frmBrowser::frmBrowser(Program &program, QWidget *parent)
    : QDialog(parent)
    , m_program(program)
{
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QStringLiteral("Glimmerbook"));
    setModal(false);

    m_pnlAddress = new QLabel(QStringLiteral("Glimmerbook  "), this);
    m_pnlAddress->setObjectName(QStringLiteral("pnlAddress"));
    m_pnlAddress->setFrameShape(QFrame::Panel);
    m_pnlAddress->setFrameShadow(QFrame::Raised);
    m_pnlAddress->setAlignment(Qt::AlignRight | Qt::AlignTop);

    auto *Label1 = new QLabel(QStringLiteral("Address:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    m_txtAddress = new QLineEdit(this);
    m_txtAddress->setObjectName(QStringLiteral("txtAddress"));
    m_cmdGo = new QPushButton(QStringLiteral("Go"), this);
    m_cmdGo->setObjectName(QStringLiteral("cmdGo"));
    m_cmdBack = new QPushButton(QStringLiteral("<< Back"), this);
    m_cmdBack->setObjectName(QStringLiteral("cmdBack"));
    m_cmdFwd = new QPushButton(QStringLiteral("Forward >>"), this);
    m_cmdFwd->setObjectName(QStringLiteral("cmdFwd"));
    for (QPushButton *button : {m_cmdGo, m_cmdBack, m_cmdFwd}) {
        button->setAutoDefault(false);
    }

    auto *strip = new QGridLayout(m_pnlAddress);
    strip->setContentsMargins(8, 22, 8, 8);
    strip->addWidget(Label1, 0, 0);
    strip->addWidget(m_txtAddress, 0, 1);
    strip->addWidget(m_cmdGo, 0, 2);
    strip->addWidget(m_cmdBack, 0, 3);
    strip->addWidget(m_cmdFwd, 0, 4);
    strip->setColumnStretch(1, 1);

    // No page component is built in: pages open in the user's own browser.
    auto *wb1 = new QLabel(QStringLiteral("The page opens in your web browser."), this);
    wb1->setObjectName(QStringLiteral("wb1"));
    wb1->setAlignment(Qt::AlignCenter);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pnlAddress);
    layout->addWidget(wb1, 1);
    resize(640, 160);

    connect(m_cmdGo, &QPushButton::clicked, this, &frmBrowser::cmdGo_Click);
    connect(m_txtAddress, &QLineEdit::returnPressed, this, &frmBrowser::cmdGo_Click);
    connect(m_cmdBack, &QPushButton::clicked, this, &frmBrowser::cmdBack_Click);
    connect(m_cmdFwd, &QPushButton::clicked, this, &frmBrowser::cmdFwd_Click);
    updateButtons();
}

void frmBrowser::navigate(const QString &address)
{
    m_txtAddress->setText(address);
    m_history.erase(m_history.begin() + (m_position + 1), m_history.end());
    m_history.append(address);
    m_position = int(m_history.size()) - 1;
    open(address);
}

void frmBrowser::cmdGo_Click()
{
    const QString address = m_txtAddress->text().trimmed();
    if (!address.isEmpty()) {
        navigate(address);
    }
}

void frmBrowser::cmdBack_Click()
{
    if (m_position > 0) {
        --m_position;
        m_txtAddress->setText(m_history.at(m_position));
        open(m_history.at(m_position));
    }
}

void frmBrowser::cmdFwd_Click()
{
    if (m_position + 1 < m_history.size()) {
        ++m_position;
        m_txtAddress->setText(m_history.at(m_position));
        open(m_history.at(m_position));
    }
}

void frmBrowser::open(const QString &address)
{
    updateButtons();
    if (MDIMain *main = m_program.mainWindow()) {
        main->setMessageText(QString());
    }
    const QUrl url = QUrl::fromUserInput(address);
    if (url.isValid()) {
        (void)m_program.dialogs().openUrl(url);
    }
}

void frmBrowser::updateButtons()
{
    m_cmdBack->setEnabled(m_position > 0);
    m_cmdFwd->setEnabled(m_position + 1 < m_history.size());
}
