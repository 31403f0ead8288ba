#include "frmtips.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "appstate.h"
#include "dialogs.h"
#include "mdimain.h"
#include "program.h"
#include "tips.h"

namespace {

QFont fontOf(const QFont &base,
             const QString &family,
             QFont::StyleHint hint,
             int pointSize,
             bool bold)
{
    QFont font = base;
    font.setFamilies({family});
    font.setStyleHint(hint);
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

QFrame *makePanel(QWidget *parent, const QString &name, QFrame::Shadow shadow)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | shadow);
    panel->setLineWidth(2);
    return panel;
}

} // namespace

frmTips::frmTips(Program &program, QWidget *parent)
    : QDialog(parent)
    , m_program(program)
    , m_tips(LoadTipOfTheDay())
{
    setObjectName(QStringLiteral("frmTips"));
    setWindowTitle(QStringLiteral(" Glimmerbook Tip of The Day"));
    setModal(true);

    // Heading panel: picture, "Did You Know ?", a line and the inset tip text.
    QFrame *SSPanel1 = makePanel(this, QStringLiteral("SSPanel1"), QFrame::Raised);
    auto *Picture1 = new QLabel(SSPanel1);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(QIcon::fromTheme(QStringLiteral("dialog-information"),
                                         style()->standardIcon(QStyle::SP_MessageBoxInformation))
                            .pixmap(48, 48));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_Label1 = new QLabel(QStringLiteral("Did You Know ?"), SSPanel1);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setFont(fontOf(font(), QStringLiteral("Times New Roman"), QFont::Serif, 16, true));

    auto *Line1 = new QFrame(SSPanel1);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    QFrame *SSPanel2 = makePanel(SSPanel1, QStringLiteral("SSPanel2"), QFrame::Sunken);
    m_lblTip1 = new QLabel(SSPanel2);
    m_lblTip1->setObjectName(QStringLiteral("lblTip1"));
    m_lblTip1->setFont(fontOf(font(), QStringLiteral("Arial"), QFont::SansSerif, 10, false));
    m_lblTip1->setWordWrap(true);
    m_lblTip1->setTextFormat(Qt::PlainText);
    m_lblTip1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblTip1->setMinimumSize(380, 110);
    auto *insetLayout = new QVBoxLayout(SSPanel2);
    insetLayout->addWidget(m_lblTip1);

    auto *headingRow = new QHBoxLayout;
    headingRow->addWidget(m_Label1, 1);
    auto *textColumn = new QVBoxLayout;
    textColumn->addLayout(headingRow);
    textColumn->addWidget(Line1);
    textColumn->addWidget(SSPanel2, 1);
    auto *panelLayout = new QHBoxLayout(SSPanel1);
    panelLayout->addWidget(Picture1);
    panelLayout->addLayout(textColumn, 1);

    // Opening an album from here.
    m_cmdOpen = new QPushButton(this);
    m_cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
    m_cmdOpen->setIcon(QIcon::fromTheme(QStringLiteral("folder-open"),
                                        style()->standardIcon(QStyle::SP_DirOpenIcon)));
    m_cmdOpen->setIconSize(QSize(24, 24));
    m_cmdOpen->setToolTip(QStringLiteral("View Photos from an Existing Album"));
    m_cmdOpen->setAutoDefault(false);

    m_pnlView = new QLabel(QStringLiteral("View Photos from an Existing Album"), this);
    m_pnlView->setObjectName(QStringLiteral("pnlView"));
    m_pnlView->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_pnlView->setLineWidth(2);
    m_pnlView->setMargin(4);
    m_pnlView->setFont(fontOf(font(), QStringLiteral("Arial"), QFont::SansSerif, 10, true));
    m_pnlView->setCursor(Qt::PointingHandCursor);
    m_pnlView->installEventFilter(this);

    auto *openRow = new QHBoxLayout;
    openRow->addWidget(m_cmdOpen);
    openRow->addWidget(m_pnlView, 1);

    // The tick box and the two buttons.
    m_chkShowTips = new QCheckBox(QStringLiteral("Don't Show Tips on Startup"), this);
    m_chkShowTips->setObjectName(QStringLiteral("chkShowTips"));
    m_cmdNext = new QPushButton(QStringLiteral("&Next Tip >>"), this);
    m_cmdNext->setObjectName(QStringLiteral("cmdNext"));
    m_cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    m_cmdClose->setDefault(true);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_chkShowTips);
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_cmdNext);
    buttonRow->addWidget(m_cmdClose);

    // Sponsor line.
    auto *Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QIcon::fromTheme(QStringLiteral("image-x-generic"),
                                       style()->standardIcon(QStyle::SP_FileIcon))
                          .pixmap(16, 16));
    m_Label2 =
        new QLabel(QStringLiteral("Glimmerbook - Sponsor of the Miss Glimmerbook America Contest"),
                   this);
    m_Label2->setObjectName(QStringLiteral("Label2"));
    auto *sponsorRow = new QHBoxLayout;
    sponsorRow->addWidget(Image1);
    sponsorRow->addWidget(m_Label2, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSPanel1, 1);
    layout->addLayout(openRow);
    layout->addLayout(buttonRow);
    layout->addLayout(sponsorRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_cmdNext, &QPushButton::clicked, this, &frmTips::cmdNext_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &frmTips::cmdClose_Click);
    connect(m_cmdOpen, &QPushButton::clicked, this, &frmTips::cmdOpen_Click);

    // The box shows the stored choice: ticked only when tips are switched off.
    const QString stored =
        program.state().settings.ReadWinIniSetting(SettingsStore::kSection, kTipsSettingKey);
    m_chkShowTips->setChecked(stored == u"0");
}

void frmTips::setTipText(const QString &text)
{
    m_lblTip1->setText(text);
}

QString frmTips::tipText() const
{
    return m_lblTip1->text();
}

int frmTips::showModal()
{
    QWidget *owner = m_program.mainWindow();
    if (owner && parentWidget() != owner) {
        setParent(owner, windowFlags());
    }
    return m_program.dialogs().exec(*this);
}

void frmTips::cmdNext_Click()
{
    const NextTipStep step = nextTipStep(cmdNextTag, int(m_tips.size()));
    if (step.tipIndex > 0) {
        m_lblTip1->setText(m_tips.at(step.tipIndex - 1));
    }
    cmdNextTag = step.tag;
}

void frmTips::cmdClose_Click()
{
    if (m_chkShowTips->isChecked()) {
        m_program.state().settings.WriteWinIniSetting(SettingsStore::kSection,
                                                      kTipsSettingKey,
                                                      QStringLiteral("0"));
    }
    unloadMe();
}

void frmTips::cmdOpen_Click()
{
    Program &program = m_program;
    unloadMe();
    Program::run(program.commands.openAlbum);
}

void frmTips::unloadMe()
{
    done(QDialog::Accepted);
}

bool frmTips::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pnlView && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton
            && m_pnlView->rect().contains(mouse->position().toPoint())) {
            cmdOpen_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
