#include "frmdirlistbox.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

#include "albumpath.h"
#include "albumpicker.h"
#include "appstate.h"
#include "dialogs.h"
#include "drives.h"
#include "frmmsgbox.h"
#include "listfiles.h"
#include "mdimain.h"
#include "program.h"

namespace {

const QString kClickTag = QStringLiteral("frmDirListBox - dirMain_click");

constexpr int kTwipsPerPixel = 15;

int px(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

QRect twipsRect(int left, int top, int width, int height)
{
    return {px(left), px(top), px(width), px(height)};
}

// Design places in twips.
constexpr int kClientWidth = 5625;
constexpr int kClientHeight = 5220;
constexpr int kLeft = 240;
constexpr int kListWidth = 3855;
constexpr int kLineHeight = 300;
constexpr int kNameTop = 480;

const QColor kDarkRed(0x80, 0x00, 0x00);
const QColor kPaleGrey(0xE0, 0xE0, 0xE0);

bool isInside(const QString &path, const QString &root)
{
    if (root == u"/") {
        return path.startsWith(QLatin1Char('/'));
    }
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

frmDirListBox::frmDirListBox(Program &program, QWidget *parent)
    : QDialog(parent)
    , m_program(program)
{
    setObjectName(QStringLiteral("frmDirListBox"));
    setWindowTitle(QStringLiteral("Select an Album (Doubleclick to change Albums)"));
    buildControls();
    setSizeTwips(kClientWidth, kClientHeight);
    Form_Load();
}

frmDirListBox::~frmDirListBox() = default;

void frmDirListBox::buildControls()
{
    m_SSPanel1 = new QFrame(this);
    m_SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    m_SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_SSPanel1->setLineWidth(2);

    m_lblDirections = makeLabel(m_SSPanel1,
                                QStringLiteral("lblDirections"),
                                QStringLiteral(" Select the Album that contains your photo's:"));
    m_lblDirections->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_lblDirections->setAutoFillBackground(true);
    m_lblDirections->setGeometry(twipsRect(kLeft, 165, kListWidth, 285));

    m_txtAlbum = new QLineEdit(m_SSPanel1);
    m_txtAlbum->setObjectName(QStringLiteral("txtAlbum"));
    m_txtAlbum->setGeometry(twipsRect(kLeft, kNameTop, kListWidth, kLineHeight));

    m_Drive1 = new QComboBox(m_SSPanel1);
    m_Drive1->setObjectName(QStringLiteral("Drive1"));
    m_Drive1->setGeometry(twipsRect(kLeft, 840, kListWidth, 315));

    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    m_folders->setReadOnly(true);

    m_dirMain = new QTreeView(m_SSPanel1);
    m_dirMain->setObjectName(QStringLiteral("dirMain"));
    m_dirMain->setGeometry(twipsRect(kLeft, 1200, kListWidth, 3405));
    m_dirMain->setModel(m_folders);
    for (int column = 1; column < m_folders->columnCount(); ++column) {
        m_dirMain->hideColumn(column);
    }
    m_dirMain->setHeaderHidden(true);
    m_dirMain->setUniformRowHeights(true);
    m_dirMain->setSortingEnabled(true);
    m_dirMain->sortByColumn(0, Qt::AscendingOrder);
    // A double click opens the folder (setFolderListPath expands it); the view's own toggle
    // would fold it up again.
    m_dirMain->setExpandsOnDoubleClick(false);

    m_lblHelp = makeLabel(m_SSPanel1,
                          QStringLiteral("lblHelp"),
                          QStringLiteral(" (Double click Folders to change Albums) "));
    m_lblHelp->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_lblHelp->setAutoFillBackground(true);
    m_lblHelp->setGeometry(twipsRect(kLeft, 4680, kListWidth, 285));

    m_lblFileCount = makeLabel(m_SSPanel1, QStringLiteral("lblFileCount"), QString());
    m_lblFileCount->setGeometry(twipsRect(4200, 2040, 1215, 555));
    m_lblFileCount->setAlignment(Qt::AlignCenter);
    m_lblFileCount->setWordWrap(true);
    m_lblFileCount->setAutoFillBackground(true);
    QPalette countColours = m_lblFileCount->palette();
    countColours.setColor(QPalette::Window, kPaleGrey);
    countColours.setColor(QPalette::WindowText, kDarkRed);
    m_lblFileCount->setPalette(countColours);

    m_cmdOK = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"),
                              m_SSPanel1);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(twipsRect(4200, 960, 1335, 375));
    m_cmdOK->setDefault(true);

    m_cmdCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                  QStringLiteral("Cancel"),
                                  m_SSPanel1);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->setGeometry(twipsRect(4200, 1440, 1335, 375));
    m_cmdCancel->setAutoDefault(false);

    m_Image1 = new QLabel(m_SSPanel1);
    m_Image1->setObjectName(QStringLiteral("Image1"));
    m_Image1->setPixmap(style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(32, 32));
    m_Image1->setGeometry(twipsRect(4560, 3000, 600, 600));
    m_Image2 = new QLabel(m_SSPanel1);
    m_Image2->setObjectName(QStringLiteral("Image2"));
    m_Image2->setPixmap(style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(32, 32));
    m_Image2->setGeometry(twipsRect(4560, 3840, 600, 600));

    m_SSFrame1 =
        new QGroupBox(QStringLiteral("Folder Selection Camera and Card Reader Help"), m_SSPanel1);
    m_SSFrame1->setObjectName(QStringLiteral("SSFrame1"));
    m_SSFrame1->setGeometry(twipsRect(5640, 120, 5775, 4935));
    auto *helpLayout = new QVBoxLayout(m_SSFrame1);
    const QString helpTexts[] = {
        QStringLiteral(
            "Select the Disk Drive and then the folder on the camera or Card Reader that "
            "contains the photos you want to download. The Drive will normally be from D: "
            "upwards and often will say \"Removable\" Drive next to the Drive Letter."),
        QStringLiteral(
            "If you cannot see any drive that looks like the Camera Drive and you do not have a "
            "Card Reader. Try this Test - Unplug the camera, wait 5 seconds and then plug the "
            "camera in again. Did MS Windows pop up a window asking what you want to do with "
            "the photos? NO - Then your camera does not act as a USB Device and Windows cannot "
            "see the camera. If windows did pop up a window try to find the drive now."),
        QStringLiteral(
            "If your Camera does not act as a USB device - you can purchase an inexpensive card "
            "Reader ($19.00 up) from any electronics store. The Card Reader will be faster "
            "downloading & you will save your camera batteries. Both Windows and Glimmerbook "
            "will see the Card Reader."),
    };
    for (int i = 0; i < 3; ++i) {
        QLabel *label = makeLabel(m_SSFrame1, QStringLiteral("Label%1").arg(i + 1), helpTexts[i]);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        helpLayout->addWidget(label);
    }
    helpLayout->addStretch();

    connect(m_Drive1, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_quiet) {
            Drive1_Change();
        }
    });
    connect(m_dirMain->selectionModel(),
            &QItemSelectionModel::currentChanged,
            this,
            &frmDirListBox::currentFolderChanged);
    connect(m_dirMain, &QTreeView::doubleClicked, this, &frmDirListBox::folderDoubleClicked);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmDirListBox::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmDirListBox::cmdCancel_Click);
}

void frmDirListBox::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_SSPanel1->setGeometry(rect());
}

void frmDirListBox::setSizeTwips(int widthTwips, int heightTwips)
{
    setFixedSize(px(widthTwips), px(heightTwips));
}

void frmDirListBox::fillDriveList()
{
    QScopedValueRollback quiet(m_quiet, true);
    m_Drive1->clear();
    const QList<Drives::Drive> drives = Drives::mountedDrives();
    for (const Drives::Drive &drive : drives) {
        m_Drive1->addItem(Drives::caption(drive), drive.rootPath);
    }
}

void frmDirListBox::Form_Load()
{
    AppState &state = m_program.state();
    fillDriveList();
    const QString last = state.LastPickedFolder;
    // A folder removed since it was picked leaves the picker at the application folder.
    if (!last.isEmpty() && QFileInfo(last).isDir()) {
        setDriveOf(last);
        setFolderListPath(last);
    } else {
        setFolderListPath(state.startup.ApplicationFolder);
    }
    state.LastPickedFolder.clear();
    dirMain_Click();
}

QString frmDirListBox::drive() const
{
    return m_Drive1->currentData().toString();
}

void frmDirListBox::setDriveOf(const QString &path)
{
    const QString root = Drives::rootPathOf(path);
    int index = m_Drive1->findData(root);
    QScopedValueRollback quiet(m_quiet, true);
    if (index < 0) {
        m_Drive1->addItem(root, root);
        index = m_Drive1->count() - 1;
    }
    m_Drive1->setCurrentIndex(index);
    m_shownDrive = index;
}

void frmDirListBox::setTreeRoot(const QString &rootPath)
{
    m_treeRoot = rootPath;
    m_folders->setRootPath(rootPath);
    m_dirMain->setRootIndex(m_folders->index(rootPath));
}

void frmDirListBox::setFolderListPath(const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_folderListPath = clean;
    m_selectedFolder = clean;
    if (m_treeRoot.isEmpty() || !isInside(clean, m_treeRoot)) {
        setTreeRoot(Drives::rootPathOf(clean));
        setDriveOf(clean);
    }

    QScopedValueRollback quiet(m_quiet, true);
    const QModelIndex index = m_folders->index(clean);
    if (index.isValid()) {
        for (QModelIndex up = index; up.isValid() && up != m_dirMain->rootIndex();
             up = up.parent()) {
            m_dirMain->expand(up);
        }
        m_dirMain->setCurrentIndex(index);
        m_dirMain->scrollTo(index);
    } else {
        m_dirMain->setCurrentIndex(QModelIndex());
    }

    if (Tag == u"new_album") {
        // The new album is made in the open folder; say which one, also after a drive change.
        m_lblHelp->setText(QStringLiteral("Current Folder: ") + clean);
        m_lblHelp->adjustSize();
    }
}

QString frmDirListBox::selectedFolder() const
{
    return m_selectedFolder;
}

void frmDirListBox::currentFolderChanged(const QModelIndex &current)
{
    if (m_quiet || !current.isValid()) {
        return;
    }
    m_selectedFolder = m_folders->filePath(current);
    dirMain_Click();
}

void frmDirListBox::folderDoubleClicked(const QModelIndex &index)
{
    if (index.isValid()) {
        setFolderListPath(m_folders->filePath(index));
    }
}

void frmDirListBox::dirMain_Click()
{
    AppState &state = m_program.state();
    const QString folder = selectedFolder();
    m_txtAlbum->setText(folder);
    state.LastPickedFolder = folder;
    if (!QFileInfo(folder).isDir()) {
        state.log.error(kClickTag, Failures::pathNotFound());
        m_lblFileCount->setText(AlbumPath::fileCountText(0));
        return;
    }
    const QStringList photos = ListFiles(folder, false, state.startup.PictureExtensions, state.log);
    m_lblFileCount->setText(AlbumPath::fileCountText(photoCount(photos)));
}

void frmDirListBox::Drive1_Change()
{
    const QString root = drive();
    const Result<void> ready = Drives::checkReady(root);
    if (ready) {
        m_shownDrive = m_Drive1->currentIndex();
        setTreeRoot(root);
        setFolderListPath(root);
    } else {
        {
            QScopedValueRollback quiet(m_quiet, true);
            m_Drive1->setCurrentIndex(m_shownDrive);
        }
        QPointer<frmDirListBox> self(this);
        ShowNotice(m_program, QStringLiteral("\n") + ready.failure().description, true, false);
        if (!self) {
            return;
        }
    }
    dirMain_Click();
    QCoreApplication::processEvents();
}

int frmDirListBox::showModal()
{
    QWidget *owner = m_program.mainWindow();
    if (owner && parentWidget() != owner) {
        setParent(owner, windowFlags());
    }
    return m_program.dialogs().exec(*this);
}

void frmDirListBox::reject()
{
    cmdCancel_Click();
}

void frmDirListBox::unloadMe()
{
    WindowSlot<frmDirListBox> &slot = albumPickerSlot(m_program);
    if (slot.loaded() == this) {
        slot.unload();
    } else {
        // A picker made outside the program's slot is simply closed and destroyed.
        hide();
        deleteLater();
    }
}
