#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTreeView>

#include "albumpicker.h"
#include "appstate.h"
#include "dialogs.h"
#include "drives.h"
#include "frmdirlistbox.h"
#include "frmmsgbox.h"
#include "mdimain.h"
#include "picturemaker.h"
#include "program.h"
#include "scripteddialogs.h"
#include "testhome.h"

using namespace Qt::StringLiterals;

namespace {

using Step = std::function<void(frmDirListBox &)>;

/// A program on a fresh home; the album page hook records the albums it is asked to open.
/// Modal windows go through the shared scripted seam: the picker is shown as a real window and
/// a step acts on it, notices are read and answered with OK.
struct Fixture
{
    Fixture()
        : state(home.makeState())
        , program(*state, dialogs)
    {
        program.commands.openAlbumPage = [this](const QString &path) {
            opened.append(path);
        };
    }
    ~Fixture()
    {
        albumPickerSlot(program).unload();
        program.msgBox.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString app() const { return home.home(); }
    /// A folder inside the program home holding count photos.
    QString albumWithPhotos(const QString &name, int count) const
    {
        const QString folder = app() + u'/' + name;
        QDir().mkpath(folder);
        for (int i = 0; i < count; ++i) {
            PictureMaker::writePhoto(folder + u"/photo%1.jpg"_s.arg(i), QSize(24, 16), i);
        }
        return folder;
    }
    frmDirListBox &picker() { return albumPickerSlot(program).load(); }
    /// The next modal picker runs step (types, clicks, presses a button). A picker that no
    /// button closed is what a real modal loop would still be showing: pickerLeftOpen notes it.
    void scriptPicker(Step step)
    {
        dialogs.onExec([this, step](QDialog &dialog) {
            auto *p = qobject_cast<frmDirListBox *>(&dialog);
            if (!p) {
                qWarning("expected the album picker, got %s", qPrintable(dialog.objectName()));
                return int(QDialog::Rejected);
            }
            p->show();
            step(*p);
            pickerLeftOpen = p->isVisible();
            p->hide();
            return p->result();
        });
    }
    /// The next modal prompt dialog is answered with its OK button.
    void answerNotice() { dialogs.onExec(ScriptedDialogs::click(u"cmdOK"_s)); }
    /// The texts of the notices shown, in order.
    QStringList notices() const
    {
        QStringList texts;
        for (const ScriptedDialogs::Shown &shown : dialogs.shownOfKind(u"exec"_s)) {
            if (shown.objectName == u"frmMsgBox") {
                texts.append(shown.text);
            }
        }
        return texts;
    }
    bool pickerLoaded() { return albumPickerSlot(program).isLoaded(); }
    QByteArray log() const { return home.logText(); }

    TestHome home;
    std::unique_ptr<AppState> state;
    ScriptedDialogs dialogs;
    Program program;
    QStringList opened;
    bool pickerLeftOpen = false;
};

/// Selects folder in the folder list the way a click or an arrow key does.
void selectFolder(frmDirListBox &picker, const QString &folder)
{
    auto *model = qobject_cast<QFileSystemModel *>(picker.dirMain()->model());
    QVERIFY(model);
    const QModelIndex index = model->index(folder);
    QVERIFY(index.isValid());
    picker.dirMain()->setCurrentIndex(index);
}

void typeName(frmDirListBox &picker, const QString &name)
{
    // Typed as an input method commits text, which covers letters no key sends.
    picker.txtAlbum()->clear();
    picker.txtAlbum()->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(name);
    QCoreApplication::sendEvent(picker.txtAlbum(), &commit);
}

void setUpMode(frmDirListBox &picker, const QString &mode)
{
    if (mode.isEmpty()) {
        picker.setUpOpenMode();
    } else if (mode == u"new_album") {
        picker.setUpNewAlbumMode();
    } else if (mode == u"manualdownload") {
        picker.setUpManualDownloadMode();
    } else if (mode == u"HandleMediaFound") {
        picker.setUpHandleMediaFoundMode();
    } else if (mode == u"album") {
        picker.setUpAlbumMode();
    } else if (mode == u"print") {
        picker.setUpPrintMode();
    }
}

} // namespace

class tst_frmDirListBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controlsAtLoad();
    void modeSetUps();
    void okAndCancelByMode_data();
    void okAndCancelByMode();
    void albumModeRunsTheRenameHook();
    void photoCount_data();
    void photoCount();
    void clickAndDoubleClickInTheTree();
    void reopensAtLastPickedFolder();
    void openAlbumCommandStartsFresh();
    void newAlbumNames_data();
    void newAlbumNames();
    void newAlbumKeepsAnExistingFolder();
    void newAlbumRefusals_data();
    void newAlbumRefusals();
    void driveChange();
    void closingTheWindowAnswersCancel();
};

void tst_frmDirListBox::controlsAtLoad()
{
    Fixture f;
    frmDirListBox &p = f.picker();
    QCOMPARE(p.windowTitle(), u"Select an Album (Doubleclick to change Albums)"_s);
    for (const char *name : {"SSPanel1",
                             "txtAlbum",
                             "Drive1",
                             "dirMain",
                             "lblDirections",
                             "lblHelp",
                             "lblFileCount",
                             "cmdOK",
                             "cmdCancel",
                             "SSFrame1",
                             "Label1",
                             "Label2",
                             "Label3",
                             "Image1",
                             "Image2"}) {
        QVERIFY2(p.findChild<QWidget *>(QLatin1String(name)), name);
    }
    // Design places, 15 twips to the pixel.
    QCOMPARE(p.size(), QSize(375, 348));
    QCOMPARE(p.txtAlbum()->geometry().topLeft(), QPoint(16, 32));
    QCOMPARE(p.Drive1()->geometry().topLeft(), QPoint(16, 56));
    QCOMPARE(p.dirMain()->geometry(), QRect(16, 80, 257, 227));
    QCOMPARE(p.lblFileCount()->geometry(), QRect(280, 136, 81, 37));
    QCOMPARE(p.cmdOK()->geometry(), QRect(280, 64, 89, 25));
    QCOMPARE(p.cmdCancel()->geometry(), QRect(280, 96, 89, 25));
    QCOMPARE(p.cmdCancel()->text(), u"Cancel"_s);
    QCOMPARE(p.lblFileCount()->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
    // The help frame starts just beyond the dialog's width.
    QCOMPARE(p.SSFrame1()->x(), 376);
    QCOMPARE(p.SSFrame1()->title(), u"Folder Selection Camera and Card Reader Help"_s);
    auto *label3 = p.findChild<QLabel *>(u"Label3"_s);
    QVERIFY(label3->text().contains(u"faster downloading & you will save"_s));

    // The load step opened the application folder and clicked it once.
    QCOMPARE(p.folderListPath(), f.app());
    QCOMPARE(p.txtAlbum()->text(), f.app());
    QCOMPARE(f.state->LastPickedFolder, f.app());
    QCOMPARE(p.lblFileCount()->text(), u"Contains 0 Images"_s);
    QCOMPARE(p.drive(), Drives::rootPathOf(f.app()));
}

void tst_frmDirListBox::modeSetUps()
{
    Fixture f;
    {
        frmDirListBox &p = f.picker();
        p.setUpOpenMode();
        QVERIFY(p.Tag.isEmpty());
        QVERIFY(p.txtAlbum()->isHidden());
        QCOMPARE(p.lblDirections()->y(), p.txtAlbum()->y());
    }
    albumPickerSlot(f.program).unload();
    {
        frmDirListBox &p = f.picker();
        p.setUpNewAlbumMode();
        QCOMPARE(p.Tag, u"new_album"_s);
        QCOMPARE(p.windowTitle(), u"Enter the New Album name"_s);
        QCOMPARE(p.height(), 186);
        QVERIFY(p.dirMain()->isHidden());
        QVERIFY(p.lblFileCount()->isHidden());
        QCOMPARE(p.folderListPath(), f.app());
        QCOMPARE(p.lblHelp()->text(), u"Current Folder: "_s + f.app());
        QVERIFY(p.lblHelp()->font().bold());
        QCOMPARE(p.lblDirections()->text(), u"Enter the Name for your New Album:"_s);
        // The name box is empty, editable and below its directions, inside the shorter dialog.
        QVERIFY(!p.txtAlbum()->isHidden());
        QVERIFY(!p.txtAlbum()->isReadOnly());
        QVERIFY(p.txtAlbum()->text().isEmpty());
        QVERIFY(p.txtAlbum()->y() > p.lblDirections()->geometry().bottom());
        QVERIFY(p.lblDirections()->y() > p.Drive1()->geometry().bottom());
        QVERIFY(p.txtAlbum()->geometry().bottom() < p.height());
    }
    albumPickerSlot(f.program).unload();
    {
        frmDirListBox &p = f.picker();
        p.setUpManualDownloadMode();
        QCOMPARE(p.Tag, u"manualdownload"_s);
        QVERIFY(f.state->ManualDownloadActive);
        QVERIFY(p.txtAlbum()->isReadOnly());
        QCOMPARE(p.windowTitle(), u"Select your Photo Files Location:"_s);
        QCOMPARE(p.lblDirections()->text(), u"Select Your Photo Files Location:"_s);
        // Widened to 11640 twips: the whole help frame is inside.
        QCOMPARE(p.width(), 776);
        QVERIFY(p.SSFrame1()->geometry().right() < p.width());
    }
    albumPickerSlot(f.program).unload();
    {
        const QString elsewhere = f.home.makeFolder(u"elsewhere"_s);
        f.state->LastPickedFolder = elsewhere;
        frmDirListBox &p = f.picker();
        QCOMPARE(p.folderListPath(), elsewhere);
        p.setUpHandleMediaFoundMode();
        QCOMPARE(p.Tag, u"HandleMediaFound"_s);
        QCOMPARE(p.lblDirections()->text(), u"Select or Enter a New Album for your Photos:"_s);
        QVERIFY(p.txtAlbum()->text().isEmpty());
        QCOMPARE(p.txtAlbum()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0));
        QCOMPARE(p.folderListPath(), f.app());
        QCOMPARE(p.drive(), Drives::rootPathOf(f.app()));
    }
    albumPickerSlot(f.program).unload();
    {
        frmDirListBox &p = f.picker();
        p.setUpAlbumMode();
        QCOMPARE(p.Tag, u"album"_s);
        QCOMPARE(p.lblDirections()->text(),
                 u"Enter a New Album Name or select an Album to save these photos in:"_s);
        QCOMPARE(p.lblDirections()->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
    }
    albumPickerSlot(f.program).unload();
    {
        frmDirListBox &p = f.picker();
        p.setUpPrintMode();
        QCOMPARE(p.Tag, u"print"_s);
        QVERIFY(p.txtAlbum()->isReadOnly());
    }
}

void tst_frmDirListBox::okAndCancelByMode_data()
{
    // Paths: "trip" is the folder clicked in the list, "new" the typed album "Holiday 2004"
    // inside the application folder, "" nothing. "keep" for CurrentAlbumPath: left untouched.
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("stillLoaded");
    QTest::addColumn<QString>("cancelTag");
    QTest::addColumn<QString>("txtAlbumTag");
    QTest::addColumn<bool>("manualDownloadActive");
    QTest::addColumn<QString>("currentAlbum");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("lastPicked");

    // clang-format off
    QTest::newRow("open OK")               << u""_s << true  << false << u""_s       << u""_s     << true  << u"trip"_s << u"trip"_s << u"trip"_s;
    QTest::newRow("open Cancel")           << u""_s << false << true  << u"cancel"_s << u""_s     << true  << u"keep"_s << u""_s     << u""_s;
    QTest::newRow("new_album OK")          << u"new_album"_s << true  << false << u""_s << u""_s  << true  << u"new"_s  << u"new"_s  << u"app"_s;
    QTest::newRow("new_album Cancel")      << u"new_album"_s << false << false << u""_s << u""_s  << false << u"keep"_s << u""_s     << u"app"_s;
    QTest::newRow("manualdownload OK")     << u"manualdownload"_s << true  << true  << u""_s << u""_s << true  << u"keep"_s << u""_s << u"trip"_s;
    QTest::newRow("manualdownload Cancel") << u"manualdownload"_s << false << false << u""_s << u""_s << false << u"keep"_s << u""_s << u"trip"_s;
    QTest::newRow("HandleMediaFound OK")   << u"HandleMediaFound"_s << true  << true << u""_s       << u""_s << true << u"keep"_s << u""_s << u"trip"_s;
    QTest::newRow("HandleMediaFound Cancel") << u"HandleMediaFound"_s << false << true << u"cancel"_s << u""_s << true << u"keep"_s << u""_s << u""_s;
    QTest::newRow("album OK")              << u"album"_s << true  << true << u""_s       << u""_s     << true << u"keep"_s << u""_s << u"trip"_s;
    QTest::newRow("album Cancel")          << u"album"_s << false << true << u"cancel"_s << u""_s     << true << u"keep"_s << u""_s << u""_s;
    QTest::newRow("print OK")              << u"print"_s << true  << true << u""_s       << u"trip"_s << true << u"keep"_s << u""_s << u"trip"_s;
    QTest::newRow("print Cancel")          << u"print"_s << false << true << u"cancel"_s << u""_s     << true << u"keep"_s << u""_s << u""_s;
    // clang-format on
}

void tst_frmDirListBox::okAndCancelByMode()
{
    QFETCH(QString, mode);
    QFETCH(bool, ok);
    QFETCH(bool, stillLoaded);
    QFETCH(QString, cancelTag);
    QFETCH(QString, txtAlbumTag);
    QFETCH(bool, manualDownloadActive);
    QFETCH(QString, currentAlbum);
    QFETCH(QString, opened);
    QFETCH(QString, lastPicked);

    Fixture f;
    const QString trip = f.albumWithPhotos(u"Trip"_s, 2);
    const QString newAlbum = f.app() + u"/Holiday 2004"_s;
    const auto path = [&](const QString &token) {
        return token == u"trip" ? trip
            : token == u"new"   ? newAlbum
            : token == u"app"   ? f.app()
            : token == u"keep"  ? u"/untouched"_s
                                : QString();
    };
    f.state->ManualDownloadActive = true; // shows which answers clear it
    f.state->CurrentAlbumPath = u"/untouched"_s;

    frmDirListBox &picker = f.picker();
    setUpMode(picker, mode);
    QCOMPARE(picker.Tag, mode);
    f.scriptPicker([&](frmDirListBox &p) {
        if (mode == u"new_album") {
            typeName(p, u"Holiday 2004"_s);
        } else {
            selectFolder(p, trip);
        }
        QTest::mouseClick(ok ? p.cmdOK() : p.cmdCancel(), Qt::LeftButton);
    });
    picker.showModal();

    QVERIFY(!f.pickerLeftOpen);
    QCOMPARE(f.pickerLoaded(), stillLoaded);
    if (stillLoaded) {
        // Hidden: the opener reads its answer from it.
        frmDirListBox &hidden = f.picker();
        QVERIFY(!hidden.isVisible());
        QCOMPARE(hidden.Tag, mode);
        QCOMPARE(hidden.cmdCancelTag, cancelTag);
        QCOMPARE(hidden.txtAlbumTag, path(txtAlbumTag));
        if (mode == u"manualdownload" || mode == u"HandleMediaFound") {
            QCOMPARE(hidden.selectedFolder(), trip);
        }
    }
    QCOMPARE(f.state->ManualDownloadActive, manualDownloadActive);
    QCOMPARE(f.state->CurrentAlbumPath, path(currentAlbum));
    QCOMPARE(f.opened, opened.isEmpty() ? QStringList() : QStringList{path(opened)});
    QCOMPARE(f.state->LastPickedFolder, path(lastPicked));
    QCOMPARE(QFileInfo(newAlbum).isDir(), mode == u"new_album" && ok);
    QVERIFY(f.notices().isEmpty());
    QVERIFY(!f.log().contains("frmDirListBox"));
}

void tst_frmDirListBox::albumModeRunsTheRenameHook()
{
    Fixture f;
    const QString trip = f.albumWithPhotos(u"Trip"_s, 1);
    QStringList seen;
    albumPickerHooks(f.program).albumModeOK = [&](frmDirListBox &p) {
        seen << p.Tag << p.txtAlbum()->text() << p.folderListPath();
        albumPickerSlot(f.program).unload();
    };
    f.scriptPicker([&](frmDirListBox &p) {
        QCOMPARE(p.Tag, u"album"_s);
        typeName(p, u"Hawaii"_s);
        QTest::mouseClick(p.cmdOK(), Qt::LeftButton);
    });
    OpenAlbumPickerForRename(f.program);
    QCOMPARE(seen, (QStringList{u"album"_s, u"Hawaii"_s, f.app()}));
    QVERIFY(!f.pickerLoaded());
    QVERIFY(f.opened.isEmpty());
}

void tst_frmDirListBox::photoCount_data()
{
    QTest::addColumn<int>("photos");
    QTest::addColumn<QString>("expected");
    QTest::newRow("twelve photos") << 12 << u"Contains 12 Images"_s;
    QTest::newRow("none, other files only") << 0 << u"Contains 0 Images"_s;
}

void tst_frmDirListBox::photoCount()
{
    QFETCH(int, photos);
    QFETCH(QString, expected);
    Fixture f;
    const QString folder = f.albumWithPhotos(u"Count"_s, photos);
    // Neither other files nor subfolders count.
    QFile notes(folder + u"/notes.txt"_s);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();
    PictureMaker::writePhoto(folder + u"/photo.jpeg"_s, QSize(8, 8));
    f.albumWithPhotos(u"Count/inner"_s, 3);

    frmDirListBox &p = f.picker();
    selectFolder(p, folder);
    QCOMPARE(p.lblFileCount()->text(), expected);
    QCOMPARE(p.txtAlbum()->text(), folder);
    QCOMPARE(f.state->LastPickedFolder, folder);
    // Selecting moves the selection only; the open folder stays.
    QCOMPARE(p.folderListPath(), f.app());
}

void tst_frmDirListBox::clickAndDoubleClickInTheTree()
{
    Fixture f;
    const QString trip = f.albumWithPhotos(u"Trip"_s, 3);
    frmDirListBox &p = f.picker();
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    auto *model = qobject_cast<QFileSystemModel *>(p.dirMain()->model());
    const QModelIndex index = model->index(trip);
    // The folder list reads folders in the background: wait until Trip is on screen.
    QTRY_VERIFY(p.dirMain()->visualRect(index).isValid());
    const QPoint at = p.dirMain()->visualRect(index).center();

    QTest::mouseClick(p.dirMain()->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(p.selectedFolder(), trip);
    QCOMPARE(p.lblFileCount()->text(), u"Contains 3 Images"_s);
    QCOMPARE(p.folderListPath(), f.app());

    QTest::mouseDClick(p.dirMain()->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(p.folderListPath(), trip);
    QCOMPARE(p.selectedFolder(), trip);
    QVERIFY(p.dirMain()->isExpanded(model->index(trip)));
}

void tst_frmDirListBox::reopensAtLastPickedFolder()
{
    Fixture f;
    const QString trip = f.albumWithPhotos(u"Trip"_s, 4);
    selectFolder(f.picker(), trip);
    albumPickerSlot(f.program).unload();

    frmDirListBox &again = f.picker();
    QCOMPARE(again.folderListPath(), trip);
    QCOMPARE(again.txtAlbum()->text(), trip);
    QCOMPARE(again.lblFileCount()->text(), u"Contains 4 Images"_s);
    QCOMPARE(f.state->LastPickedFolder, trip);

    // A hiding Cancel forgets it: the next picker opens at the application folder.
    f.scriptPicker([](frmDirListBox &p) {
        QTest::mouseClick(p.cmdCancel(), Qt::LeftButton);
    });
    again.showModal();
    QVERIFY(f.state->LastPickedFolder.isEmpty());
    albumPickerSlot(f.program).unload();
    QCOMPARE(f.picker().folderListPath(), f.app());

    // A folder removed since it was picked: the picker opens at the application folder.
    albumPickerSlot(f.program).unload();
    f.state->LastPickedFolder = f.app() + u"/gone"_s;
    QCOMPARE(f.picker().folderListPath(), f.app());
}

void tst_frmDirListBox::openAlbumCommandStartsFresh()
{
    Fixture f;
    const QString trip = f.albumWithPhotos(u"Trip"_s, 1);
    // An earlier picker hidden by Cancel, with its mark set.
    f.scriptPicker([](frmDirListBox &p) {
        QTest::mouseClick(p.cmdCancel(), Qt::LeftButton);
    });
    OpenAlbumCommand(f.program);
    QPointer<frmDirListBox> earlier = &f.picker();
    QCOMPARE(earlier->cmdCancelTag, u"cancel"_s);

    f.scriptPicker([&](frmDirListBox &p) {
        QVERIFY(&p != earlier.data());
        QVERIFY(p.cmdCancelTag.isEmpty());
        QVERIFY(p.Tag.isEmpty());
        QVERIFY(p.txtAlbum()->isHidden());
        QVERIFY(p.isVisible());
        selectFolder(p, trip);
        QTest::mouseClick(p.cmdOK(), Qt::LeftButton);
    });
    OpenAlbumCommand(f.program);
    QCOMPARE(f.opened, QStringList{trip});
    QCOMPARE(f.state->CurrentAlbumPath, trip);
    QVERIFY(!f.pickerLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(earlier.isNull());
}

void tst_frmDirListBox::newAlbumNames_data()
{
    // The typed name, and the album it gives: "~/" stands for the application folder, "^/"
    // for a folder outside it.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("album");
    QTest::newRow("plain name") << u"Holiday 2004"_s << u"~/Holiday 2004"_s;
    QTest::newRow("full path") << u"^/Trips/Holiday 2004"_s << u"^/Trips/Holiday 2004"_s;
    QTest::newRow("full path, trailing slash") << u"^/Trips/Rome/"_s << u"^/Trips/Rome"_s;
    QTest::newRow("punctuation") << u"O'Brien; #1 & Co"_s << u"~/O'Brien; #1 & Co"_s;
    QTest::newRow("non-ASCII") << u"Ærøskøbing – Übersee 日本"_s
                               << u"~/Ærøskøbing – Übersee 日本"_s;
    QTest::newRow("blanks around") << u"  Beach  "_s << u"~/  Beach  "_s;
    QTest::newRow("empty: the open folder") << QString() << u"~"_s;
}

void tst_frmDirListBox::newAlbumNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, album);
    Fixture f;
    const QString outside = f.home.makeFolder(u"outside"_s);
    QDir().mkpath(outside + u"/Trips"_s);
    const auto expand = [&](QString text) {
        if (text.startsWith(u'~')) {
            text.replace(0, 1, f.app());
        } else if (text.startsWith(u'^')) {
            text.replace(0, 1, outside);
        }
        return text;
    };

    f.scriptPicker([&](frmDirListBox &p) {
        typeName(p, expand(typed));
        QTest::mouseClick(p.cmdOK(), Qt::LeftButton);
    });
    NewAlbumCommand(f.program);

    const QString expected = expand(album);
    QCOMPARE(f.opened, QStringList{expected});
    QCOMPARE(f.state->CurrentAlbumPath, expected);
    QVERIFY(QFileInfo(expected).isDir());
    QVERIFY(!f.pickerLoaded());
    QVERIFY(f.notices().isEmpty());
    QVERIFY(!f.log().contains("cmdOK_Click"));
}

void tst_frmDirListBox::newAlbumKeepsAnExistingFolder()
{
    Fixture f;
    const QString existing = f.albumWithPhotos(u"Existing"_s, 2);
    struct stat before
    {};
    QCOMPARE(::stat(QFile::encodeName(existing).constData(), &before), 0);
    f.scriptPicker([](frmDirListBox &p) {
        typeName(p, u"Existing"_s);
        QTest::mouseClick(p.cmdOK(), Qt::LeftButton);
    });
    NewAlbumCommand(f.program);
    QCOMPARE(f.opened, QStringList{existing});
    // The same folder with the same photos in it.
    struct stat after
    {};
    QCOMPARE(::stat(QFile::encodeName(existing).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(QDir(existing).entryList(QDir::Files).size(), 2);
}

void tst_frmDirListBox::newAlbumRefusals_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("failure");
    QTest::newRow("read-only parent") << u"^/locked/Holiday"_s << u"Permission denied - 70"_s;
    QTest::newRow("missing parent") << u"^/nowhere/Holiday"_s << u"Path not found - 76"_s;
    QTest::newRow("a file holds the name") << u"notes.txt"_s << u"Path/File access error - 75"_s;
    QTest::newRow("slash in a name") << u"Holiday/2004"_s << u"Bad file name or number - 52"_s;
}

void tst_frmDirListBox::newAlbumRefusals()
{
    QFETCH(QString, typed);
    QFETCH(QString, failure);
    Fixture f;
    const QString root = f.home.root();
    const QString locked = f.home.makeFolder(u"locked"_s);
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    QFile notes(f.app() + u"/notes.txt"_s);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();
    QString name = typed;
    name.replace(u'^', root);
    f.state->CurrentAlbumPath = u"/untouched"_s;

    f.scriptPicker([&](frmDirListBox &p) {
        typeName(p, name);
        QTest::mouseClick(p.cmdOK(), Qt::LeftButton);
    });
    f.answerNotice();
    NewAlbumCommand(f.program);

    // Logged, told, and nothing opened; the picker stayed up for another name.
    QVERIFY(f.pickerLeftOpen);
    QVERIFY(f.pickerLoaded());
    QVERIFY(f.opened.isEmpty());
    QCOMPARE(f.state->CurrentAlbumPath, u"/untouched"_s);
    QVERIFY2(f.log().contains(("Error in [frmDirListBox - cmdOK_Click] " + failure).toUtf8()),
             f.log().constData());
    QCOMPARE(f.notices().size(), 1);
    QVERIFY(f.notices().first().startsWith(u'\n'));
    QVERIFY(f.notices().first().contains(failure.section(u" - "_s, 0, 0)));
    QVERIFY(!QFileInfo::exists(locked + u"/Holiday"_s));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void tst_frmDirListBox::driveChange()
{
    Fixture f;
    const QString card = f.home.makeFolder(u"card"_s);
    QDir().mkpath(card + u"/DCIM"_s);
    PictureMaker::writePhoto(card + u"/IMG_0001.JPG"_s, QSize(16, 16));
    const QString gone = f.home.root() + u"/gone"_s;
    frmDirListBox &p = f.picker();
    const int startDrive = p.Drive1()->currentIndex();
    p.Drive1()->addItem(u"card"_s, card);
    p.Drive1()->addItem(u"gone"_s, gone);

    // A drive that cannot be opened: a modal notice, and the list stays where it was.
    f.answerNotice();
    p.Drive1()->setCurrentIndex(p.Drive1()->count() - 1);
    QCOMPARE(f.notices(), QStringList{u"\nDevice unavailable"_s});
    QCOMPARE(p.folderListPath(), f.app());
    QCOMPARE(p.Drive1()->currentIndex(), startDrive);
    QCOMPARE(f.state->LastPickedFolder, f.app());

    // A good drive opens at its root and clicks it.
    p.Drive1()->setCurrentIndex(p.Drive1()->findData(card));
    QCOMPARE(p.folderListPath(), card);
    QCOMPARE(p.txtAlbum()->text(), card);
    QCOMPARE(p.lblFileCount()->text(), u"Contains 1 Images"_s);
    QCOMPARE(f.notices().size(), 1);
    QCOMPARE(f.dialogs.pendingExecHandlers(), 0);
}

void tst_frmDirListBox::closingTheWindowAnswersCancel()
{
    Fixture f;
    f.picker().setUpHandleMediaFoundMode();
    f.scriptPicker([](frmDirListBox &p) {
        p.close();
    });
    f.picker().showModal();
    QVERIFY(f.pickerLoaded());
    QCOMPARE(f.picker().cmdCancelTag, u"cancel"_s);

    albumPickerSlot(f.program).unload();
    f.state->ManualDownloadActive = false;
    f.picker().setUpManualDownloadMode();
    f.scriptPicker([](frmDirListBox &p) {
        QTest::keyClick(&p, Qt::Key_Escape);
    });
    f.picker().showModal();
    QVERIFY(!f.pickerLoaded());
    QVERIFY(!f.state->ManualDownloadActive);
}

/// Runs as an ordinary user when started as root, so that a read-only folder refuses new
/// folders as it does for the program's users.
int main(int argc, char **argv)
{
    if (geteuid() == 0) {
        constexpr uid_t kNobody = 65534;
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) {
            return 3;
        }
    }
    QApplication app(argc, argv);
    tst_frmDirListBox test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmdirlistbox.moc"
