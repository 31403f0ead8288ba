#include <memory>

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "albumpages.h"
#include "albumpicker.h"
#include "appstate.h"
#include "frmchildmain.h"
#include "frmdirlistbox.h"
#include "libraryfixture.h"
#include "mdimain.h"
#include "pagemodel.h"
#include "program.h"
#include "scripteddialogs.h"
#include "testhome.h"

using namespace Qt::StringLiterals;

namespace {

/// The program as its composition root wires it for opening albums: the main window's Open Album
/// and New Album go to the album picker, whose OK opens the album page.
struct Fixture
{
    Fixture()
    {
        Program::Commands &c = program.commands;
        c.openAlbum = [this] {
            OpenAlbumCommand(program);
        };
        c.newAlbum = [this] {
            NewAlbumCommand(program);
        };
        c.openAlbumPage = [this](const QString &albumPath) {
            openAlbumPage(program, albumPath);
        };
        main->resize(1000, 700);
        main->show();
    }
    ~Fixture()
    {
        albumPickerSlot(program).unload();
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    /// The next modal album picker runs step, then closes as a modal loop would.
    void scriptPicker(std::function<void(frmDirListBox &)> step)
    {
        dialogs.onExec([step](QDialog &dialog) {
            auto *picker = qobject_cast<frmDirListBox *>(&dialog);
            if (!picker) {
                qWarning("expected the album picker, got %s", qPrintable(dialog.objectName()));
                return int(QDialog::Rejected);
            }
            picker->show();
            step(*picker);
            picker->hide();
            return picker->result();
        });
    }

    frmChildMain *onlyPage()
    {
        const QList<frmChildMain *> pages = albumPages(program);
        return pages.size() == 1 ? pages.first() : nullptr;
    }

    TestHome home;
    std::unique_ptr<AppState> state = home.makeState();
    ScriptedDialogs dialogs;
    Program program{*state, dialogs};
    std::unique_ptr<MDIMain> main = std::make_unique<MDIMain>(program);
};

} // namespace

/// Open Album and New Album from the main window, through the picker, to a page on screen.
class TestAlbumFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openAlbumFromMainWindow();
    void newAlbumFromMainWindow();
};

void TestAlbumFlow::openAlbumFromMainWindow()
{
    Fixture f;
    const QString album = f.home.makeFolder(u"O'Brien; #1 & Co"_s);
    for (int i = 0; i < 3; ++i) {
        QVERIFY(LibraryFixture::photo(album + u"/photo%1.jpg"_s.arg(i), QSize(320, 240), {}, i));
    }
    f.scriptPicker([&](frmDirListBox &picker) {
        auto *model = qobject_cast<QFileSystemModel *>(picker.dirMain()->model());
        QVERIFY(model);
        picker.dirMain()->setCurrentIndex(model->index(album));
        QTest::mouseClick(picker.cmdOK(), Qt::LeftButton);
    });
    f.dialogs.onExec(ScriptedDialogs::click(u"cmdOK"_s)); // categorise: OK
    f.main->OpenAlbumCommand();

    QCOMPARE(f.dialogs.execNames(), (QStringList{u"frmDirListBox"_s, u"frmMsgBox"_s}));
    frmChildMain *page = f.onlyPage();
    QVERIFY(page);
    QCOMPARE(page->windowTitle(), album);
    QCOMPARE(page->model().kind(), PageModel::Kind::Catalogue);
    QCOMPARE(page->model().count(), 3);
    QCOMPARE(LibraryFixture::readRecords(f.home.values().cataloguePath()).size(), 3);
    QCOMPARE(f.state->CurrentAlbumPath, album);
}

void TestAlbumFlow::newAlbumFromMainWindow()
{
    Fixture f;
    f.scriptPicker([](frmDirListBox &picker) {
        picker.txtAlbum()->clear();
        picker.txtAlbum()->setFocus();
        QInputMethodEvent typed;
        typed.setCommitString(u"Holiday 2004"_s);
        QCoreApplication::sendEvent(picker.txtAlbum(), &typed);
        QTest::mouseClick(picker.cmdOK(), Qt::LeftButton);
    });
    f.dialogs.onExec(ScriptedDialogs::click(u"cmdCancel"_s)); // categorise: NO
    f.main->NewAlbumCommand();

    const QString album = f.home.home() + u"/Holiday 2004"_s;
    QVERIFY(QFileInfo(album).isDir());
    frmChildMain *page = f.onlyPage();
    QVERIFY(page);
    QCOMPARE(page->windowTitle(), album);
    QCOMPARE(page->model().kind(), PageModel::Kind::Folder);
    QCOMPARE(page->model().count(), 0);
    QVERIFY(LibraryFixture::readRecords(f.home.values().cataloguePath()).isEmpty());
    QCOMPARE(f.state->CurrentAlbumPath, album);
}

QTEST_MAIN(TestAlbumFlow)
#include "tst_albumflow.moc"
