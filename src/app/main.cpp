// The composition root: builds the shared state and the windows and wires them together.
//
// Environment:
//   GLIMMERBOOK_HOME          the program home (default ~/Glimmerbook)
//   XDG_CONFIG_HOME           where glimmerbook/win.ini lives (default ~/.config)
//   GLIMMERBOOK_UNATTENDED=1  run without a person: modal windows close at once, questions are
//                             answered No, no browser starts (used by the tests that start the
//                             program as a process)
//   GLIMMERBOOK_TEST_CONTROL=1  the running instance also answers "state", "close" and
//                             "shutdown" on its local socket (tests only)

#include <QApplication>
#include <QTimer>

#include "albumpages.h"
#include "albumpicker.h"
#include "appstate.h"
#include "dialogs.h"
#include "mdimain.h"
#include "program.h"
#include "settingsstore.h"
#include "singleinstance.h"
#include "startupsequence.h"
#include "startupvalues.h"

namespace {

/// Connects the commands that other subsystems carry. Each hook left empty does nothing.
void wireCommands(Program &program)
{
    Program::Commands &c = program.commands;

    // The photo library: album pages and the catalogue.
    c.openAlbumPage = [&program](const QString &albumPath) {
        openAlbumPage(program, albumPath);
    };
    c.cataloguePromoPictures = [&program] {
        cataloguePromoPictures(program);
    };
    c.unloadAlbumWindow = [&program] {
        unloadAlbumWindow(program);
    };
    c.showWizardAlbumPage = [&program](const QString &folder) {
        showWizardAlbumPage(program, folder);
    };

    // The photo tasks: the album picker.
    c.openAlbum = [&program] {
        OpenAlbumCommand(program);
    };
    c.newAlbum = [&program] {
        NewAlbumCommand(program);
    };
    c.openAlbumPickerForRename = [&program] {
        OpenAlbumPickerForRename(program);
    };
}

/// Brings the main window back, maximised: what a second start of the program asks for.
void activateMainWindow(MDIMain &window)
{
    window.showMaximized();
    window.raise();
    window.activateWindow();
    QCoreApplication::processEvents();
}

/// Answers the requests that later starts of the program (and the tests) send.
void wireInstance(SingleInstance &instance, MDIMain &window)
{
    const bool testControl = qEnvironmentVariable("GLIMMERBOOK_TEST_CONTROL") == u"1";
    instance.setHandler([&window, testControl](const QString &request) -> QString {
        if (request == SingleInstance::kShowRequest) {
            activateMainWindow(window);
            return QStringLiteral("shown");
        }
        if (!testControl) {
            return {};
        }
        if (request == u"state") {
            if (!window.isVisible()) {
                return QStringLiteral("hidden");
            }
            return window.isMaximized() ? QStringLiteral("visible maximized")
                                        : QStringLiteral("visible");
        }
        if (request == u"close") {
            QTimer::singleShot(0, &window, &MDIMain::ExitCommand);
            return QStringLiteral("closing");
        }
        if (request == u"shutdown") {
            QTimer::singleShot(0, &window, &MDIMain::ShutdownCommand);
            return QStringLiteral("ending");
        }
        return {};
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glimmerbook"));
    // Closing the main window only hides it; the program ends with Shutdown.
    QApplication::setQuitOnLastWindowClosed(false);

    const StartupValues values = StartupValues::fromEnvironment();
    SingleInstance instance(SingleInstance::serverNameFor(values.ApplicationFolder));
    if (instance.activateRunningInstance()) {
        return 0;
    }

    const Result<void> home = values.ensureApplicationFolder();
    AppState state(values, SettingsStore::defaultPath());
    if (!home) {
        state.log.error(u"modMain - Main", home.failure());
    }
    if (const Result<void> promo = copyPromoPictures(state.startup, promoSourceFolder()); !promo) {
        state.log.error(u"modMain - Main", promo.failure());
    }
    if (const Result<void> listening = instance.listen(); !listening) {
        // Two starts at the same moment: the later one hands over like any second start.
        if (instance.activateRunningInstance()) {
            return 0;
        }
        // The program runs all the same; a later start then runs beside it.
        state.log.error(u"modMain - Main", listening.failure());
    }

    Dialogs interactive;
    UnattendedDialogs unattended;
    const bool noPerson = qEnvironmentVariable("GLIMMERBOOK_UNATTENDED") == u"1";
    Program program(state, noPerson ? static_cast<Dialogs &>(unattended) : interactive);

    MDIMain window(program);
    bool ended = false;
    QObject::connect(&window, &MDIMain::shutdownRequested, &app, [&ended] {
        ended = true;
        QCoreApplication::exit(0);
    });
    wireInstance(instance, window);
    wireCommands(program);

    runStartupSequence(program, window);
    if (ended) {
        return 0;
    }
    return app.exec();
}
