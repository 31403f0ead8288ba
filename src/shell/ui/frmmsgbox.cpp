#include "frmmsgbox.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>
#include <QUrl>
#include <QWindow>

#include "appstate.h"
#include "dialogs.h"
#include "failure.h"
#include "mdimain.h"
#include "program.h"

namespace {

// The dialog keeps a fixed layout so that callers can move a button into another's place (the
// damaged-picture message puts OK where Cancel sits), as they always have.
constexpr int kWidth = 440;
constexpr int kHeight = 300;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 30;
constexpr int kButtonTop = 256;

const QString kLogTag = QStringLiteral("frmMsgBox - cmdOK_Click");

Failure subscriptOutOfRange()
{
    return {9, QStringLiteral("Subscript out of range")};
}

QPushButton *
makeButton(QWidget *parent, const QString &name, const QString &caption, const QRect &place)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

} // namespace

frmMsgBox::frmMsgBox(Program &program, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_program(program)
{
    setObjectName(QStringLiteral("frmMsgBox"));
    // The title strip inside the window carries the name; the frame has no text of its own.
    setWindowTitle(QString());
    setFixedSize(kWidth, kHeight);

    m_SSPanel2 = new QLabel(QStringLiteral("Glimmerbook "), this);
    m_SSPanel2->setObjectName(QStringLiteral("SSPanel2"));
    m_SSPanel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_SSPanel2->setLineWidth(2);
    m_SSPanel2->setIndent(kMargin);
    QFont titleFont = m_SSPanel2->font();
    titleFont.setBold(true);
    m_SSPanel2->setFont(titleFont);
    m_SSPanel2->setGeometry(0, 0, kWidth, 28);

    m_SSPanel1 = new QFrame(this);
    m_SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    m_SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_SSPanel1->setLineWidth(2);
    m_SSPanel1->setGeometry(kMargin, 38, 64, 64);

    m_Image1 = new QLabel(m_SSPanel1);
    m_Image1->setObjectName(QStringLiteral("Image1"));
    m_Image1->setAlignment(Qt::AlignCenter);
    m_Image1->setGeometry(4, 4, 56, 56);
    const QIcon picture = QIcon::fromTheme(QStringLiteral("dialog-information"),
                                           style()->standardIcon(QStyle::SP_MessageBoxInformation));
    m_Image1->setPixmap(picture.pixmap(48, 48));

    m_txtHelpMsg = new QTextEdit(this);
    m_txtHelpMsg->setObjectName(QStringLiteral("txtHelpMsg"));
    m_txtHelpMsg->setAcceptRichText(false);
    m_txtHelpMsg->setGeometry(80, 38, kWidth - 80 - kMargin, 130);

    m_Line1 = new QFrame(this);
    m_Line1->setObjectName(QStringLiteral("Line1"));
    m_Line1->setFrameShape(QFrame::HLine);
    m_Line1->setFrameShadow(QFrame::Sunken);
    m_Line1->setGeometry(kMargin, 174, kWidth - 2 * kMargin, 4);

    m_lblMsg = new QLabel(QStringLiteral("##"), this);
    m_lblMsg->setObjectName(QStringLiteral("lblMsg"));
    m_lblMsg->setGeometry(kMargin, 182, kWidth - 2 * kMargin, 20);

    m_txtEntry = new QLineEdit(this);
    m_txtEntry->setObjectName(QStringLiteral("txtEntry"));
    m_txtEntry->setGeometry(kMargin, 204, kWidth - 2 * kMargin, 24);
    m_lblMsg->setBuddy(m_txtEntry);

    m_pgBar = new QProgressBar(this);
    m_pgBar->setObjectName(QStringLiteral("pgBar"));
    m_pgBar->setGeometry(kMargin, 232, kWidth - 2 * kMargin, 18);
    m_pgBar->hide();

    m_cmdOK = makeButton(
        this,
        QStringLiteral("cmdOK"),
        QStringLiteral("OK"),
        QRect(kWidth - kMargin - 2 * kButtonWidth - 12, kButtonTop, kButtonWidth, kButtonHeight));
    m_cmdOK->setDefault(true);
    m_cmdCancel =
        makeButton(this,
                   QStringLiteral("cmdCancel"),
                   QStringLiteral("Cancel"),
                   QRect(kWidth - kMargin - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight));
    m_cmdWebPage = makeButton(this,
                              QStringLiteral("cmdWebPage"),
                              QStringLiteral("View Web Page"),
                              QRect(kMargin, kButtonTop, kButtonWidth + 20, kButtonHeight));
    m_cmdWebPage->setIcon(QIcon::fromTheme(QStringLiteral("internet-web-browser"),
                                           style()->standardIcon(QStyle::SP_DirLinkIcon)));
    m_cmdWebPage->hide();

    connect(m_cmdOK, &QPushButton::clicked, this, &frmMsgBox::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmMsgBox::cmdCancel_Click);
    connect(m_cmdWebPage, &QPushButton::clicked, this, &frmMsgBox::cmdWebPage_Click);
}

void frmMsgBox::setHelpText(const QString &text)
{
    m_txtHelpMsg->setPlainText(text);
    applyHelpFormat();
}

QString frmMsgBox::helpText() const
{
    return m_txtHelpMsg->toPlainText();
}

void frmMsgBox::setHelpBold(bool bold)
{
    QFont font = m_txtHelpMsg->font();
    font.setBold(bold);
    m_txtHelpMsg->setFont(font);
}

bool frmMsgBox::isHelpBold() const
{
    return m_txtHelpMsg->font().bold();
}

void frmMsgBox::setHelpCentred(bool centred)
{
    m_helpCentred = centred;
    applyHelpFormat();
}

bool frmMsgBox::isHelpCentred() const
{
    return m_helpCentred;
}

void frmMsgBox::setHelpFont(const QString &family, int pointSize)
{
    QFont font = m_txtHelpMsg->font();
    font.setFamilies({family});
    font.setStyleHint(QFont::SansSerif);
    if (pointSize > 0) {
        font.setPointSize(pointSize);
    }
    m_txtHelpMsg->setFont(font);
}

void frmMsgBox::applyHelpFormat()
{
    // The alignment belongs to the whole box, not to a paragraph: it is the document's default,
    // which every paragraph of any later text follows.
    QTextDocument *document = m_txtHelpMsg->document();
    QTextOption option = document->defaultTextOption();
    option.setAlignment(m_helpCentred ? Qt::AlignHCenter : Qt::AlignLeft);
    document->setDefaultTextOption(option);
}

int frmMsgBox::showModal()
{
    QWidget *owner = m_program.mainWindow();
    if (owner && parentWidget() != owner) {
        setParent(owner, windowFlags());
    }
    return m_program.dialogs().exec(*this);
}

void frmMsgBox::showModeless(bool topmost)
{
    show();
    if (topmost) {
        SetWindowTopmost(this, true);
    }
    raise();
}

void frmMsgBox::unloadMe()
{
    if (m_program.msgBox.loaded() == this) {
        m_program.msgBox.unload();
    } else {
        // A dialog made outside the program's slot is simply closed and destroyed.
        hide();
        deleteLater();
    }
}

void frmMsgBox::cmdOK_Click()
{
    setResult(QDialog::Accepted);

    if (Tag == u"closewindows" || Tag == u"categorize") {
        Tag = QStringLiteral("OK");
        hide();
        return;
    }
    if (Tag == u"runwizard") {
        unloadMe();
        runOrganizeWizardCommand();
        return;
    }
    if (Tag.contains(u"wizard")) {
        runWizardEnd();
        return;
    }
    if (Tag == u"album") {
        m_program.state().RenameCategory = m_txtEntry->text();
        unloadMe();
        Program::run(m_program.commands.openAlbumPickerForRename);
        return;
    }
    defaultOK();
}

void frmMsgBox::runWizardEnd()
{
    Program::run(m_program.commands.clearWizardAlbumName);

    // "wizard#" + folder: the folder is the piece after the first "#" and ends at the next one,
    // so a folder whose name holds a "#" is cut there.
    const QStringList pieces = Tag.split(QLatin1Char('#'));
    if (pieces.size() < 2) {
        m_program.state().log.error(kLogTag, subscriptOutOfRange());
        return;
    }
    const QString folder = pieces.at(1);

    Tag.clear();
    Program::run(m_program.commands.unloadAlbumWindow);
    QCoreApplication::processEvents();

    m_program.state().WizardPageMode = true;
    // Everything below runs after the dialog is gone; keep what is needed off the object.
    Program &program = m_program;
    unloadMe();

    if (program.commands.showWizardAlbumPage) {
        program.commands.showWizardAlbumPage(folder);
    }
    if (program.commands.resetWizardToFirstStep) {
        program.commands.resetWizardToFirstStep(true);
    }
}

void frmMsgBox::runOrganizeWizardCommand()
{
    // The main window's own command, with its close-the-other-windows question; without a main
    // window the wizard is opened directly.
    if (MDIMain *main = m_program.mainWindow()) {
        main->OrganizeWizardCommand();
        return;
    }
    Program::run(m_program.commands.showOrgWizard);
}

void frmMsgBox::defaultOK()
{
    Program &program = m_program;
    if (program.commands.takeFtpProfileEditorMark && program.commands.takeFtpProfileEditorMark()) {
        unloadMe();
        Program::run(program.commands.showFtpProfileEditor);
        return;
    }
    unloadMe();
}

void frmMsgBox::cmdCancel_Click()
{
    setResult(QDialog::Rejected);

    if (Tag == u"closewindows" || Tag == u"categorize") {
        Tag = QStringLiteral("NO");
        hide();
        return;
    }
    if (Tag == u"noactionneeded") {
        unloadMe();
        return;
    }
    defaultCancel();
}

void frmMsgBox::defaultCancel()
{
    Program &program = m_program;
    AppState &state = program.state();

    if (cmdCancelTag == u"wizardend") {
        cmdCancelTag.clear();
        if (program.commands.resetWizardToFirstStep) {
            program.commands.resetWizardToFirstStep(false);
        }
        unloadMe();
        Program::run(program.commands.unloadAlbumWindow);
        return;
    }
    if (state.MediaPromptActive || state.ManualDownloadActive) {
        // The stop answer of every download question and of the download progress window.
        cmdCancelTag = QStringLiteral("cancel");
        hide();
        return;
    }
    if (program.commands.takeFtpProfileEditorMark && program.commands.takeFtpProfileEditorMark()) {
        unloadMe();
        Program::run(program.commands.showFtpProfileEditor);
        return;
    }
    unloadMe();
}

void frmMsgBox::cmdWebPage_Click()
{
    // A missing page or browser fails silently.
    (void)m_program.dialogs().openUrl(QUrl::fromLocalFile(cmdWebPageTag));
}

void frmMsgBox::reject()
{
    if (m_cmdCancel->isVisibleTo(this) && m_cmdCancel->isEnabled()) {
        cmdCancel_Click();
    } else if (m_cmdOK->isVisibleTo(this) && m_cmdOK->isEnabled()) {
        cmdOK_Click();
    } else {
        setResult(QDialog::Rejected);
        defaultCancel();
    }
}

void ShowNotice(Program &program, const QString &text, bool modal, bool topmost)
{
    frmMsgBox &box = program.msgBox.load();
    box.setHelpCentred(true);
    box.setHelpBold(true);
    box.setHelpText(text);
    box.lblMsg()->hide();
    box.txtEntry()->hide();
    if (modal) {
        box.showModal();
    } else {
        box.showModeless(topmost);
    }
}

void SetWindowTopmost(QWidget *window, bool onTop)
{
    if (!window) {
        return;
    }
    QWidget *top = window->window();
    Qt::WindowFlags flags = top->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (flags == top->windowFlags()) {
        return;
    }
    if (QWindow *handle = top->windowHandle()) {
        // A window that exists already changes its stacking only: setWindowFlags() would
        // recreate it, which hides it and may move it.
        top->overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        top->setWindowFlags(flags);
    }
}
