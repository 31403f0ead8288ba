#include "startupsequence.h"

#include <exception>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "appstate.h"
#include "dialogs.h"
#include "frmmsgbox.h"
#include "frmsplash.h"
#include "frmtips.h"
#include "mdimain.h"
#include "program.h"
#include "shelltexts.h"
#include "startupsteps.h"
#include "tips.h"

namespace {

constexpr char16_t kLogTag[] = u"MDIMain - MDIForm_Load";

/// Runs one step; what it fails with (or throws) is logged and start-up goes on.
template <typename Step>
void runStep(const ErrorLog &log, Step &&step)
{
    try {
        step();
    } catch (const std::exception &e) {
        log.error(kLogTag, {FailureNumber::InvalidProcedureCall, QString::fromLocal8Bit(e.what())});
    } catch (...) {
        log.error(kLogTag, Failures::invalidProcedureCall());
    }
}

void showSplash(Program &program, MDIMain &main)
{
    frmSplash &splash = program.splashWindow.load();
    main.show();
    program.dialogs().exec(splash);
    program.splashWindow.unload();
}

void showTipOfTheDay(Program &program, MDIMain &main)
{
    AppState &state = program.state();
    if (!StartupSteps::prepareTips(state.settings)) {
        main.setTipsTicked(false);
        return;
    }
    main.setTipsTicked(true);
    frmTips &tips = program.tipsWindow.load();
    tips.setTipText(ShowTipOfTheDay(program.tipTable, state.log));
    main.show();
    tips.showModal();
    program.tipsWindow.unload();
}

void askFirstRunNotice(Program &program)
{
    frmMsgBox &box = program.msgBox.load();
    box.Tag = QStringLiteral("noactionneeded");
    box.setHelpBold(true);
    box.setHelpText(ShellTexts::firstRunNotice());
    box.txtEntry()->hide();
    box.lblMsg()->hide();
    box.cmdOK()->hide();
    box.cmdCancel()->setText(QStringLiteral("OK"));
    box.cmdCancel()->show();
    box.showModal();
}

void offerWizard(Program &program)
{
    frmMsgBox &box = program.msgBox.load();
    box.Tag = QStringLiteral("runwizard");
    box.setHelpBold(true);
    box.setHelpText(ShellTexts::runWizardOffer());
    box.txtEntry()->hide();
    box.lblMsg()->hide();
    box.showModal();
}

} // namespace

void runStartupSequence(Program &program, MDIMain &main, const StartupOptions &options)
{
    AppState &state = program.state();
    const ErrorLog &log = state.log;

    runStep(log, [&] {
        main.setWindowTitle(mainWindowCaption(options.today));
    });
    runStep(log, [&] {
        main.menuItem(QStringLiteral("mnuSave"))->setVisible(false);
    });
    runStep(log, [&] {
        const StartupValues derived = StartupValues::forFolder(state.startup.ApplicationFolder);
        state.startup.TempFolderPath = derived.TempFolderPath;
        state.startup.ErrorLogPath = derived.ErrorLogPath;
    });
    runStep(log, [&] {
        state.startup.ReservedPanelHeight = QString::number(main.reservedPanelHeightTwips());
    });
    runStep(log, [&] {
        main.DisplayDriveSpaceInfo();
    });
    runStep(log, [&] {
        state.startup.PictureExtensions = defaultPictureExtensions();
    });
    runStep(log, [&] {
        main.fillZoomList();
    });
    runStep(log, [&] {
        main.placeCloseButton();
    });
    runStep(log, [&] {
        program.tipTable = LoadTipOfTheDay();
    });
    runStep(log, [&] {
        showSplash(program, main);
    });
    runStep(log, [&] {
        showTipOfTheDay(program, main);
    });
    runStep(log, [&] {
        StartupSteps::registerExifReaderOnce(state.settings, log);
    });

    bool firstRun = false;
    runStep(log, [&] {
        firstRun = StartupSteps::beginFirstRun(state.settings);
    });
    if (firstRun) {
        runStep(log, [&] {
            askFirstRunNotice(program);
        });
        // The notice's button unloads it; a notice closed some other way is unloaded here, so
        // the builder's progress and the next question start from a fresh dialog.
        runStep(log, [&] {
            program.msgBox.unload();
        });
        runStep(log, [&] {
            Program::run(program.commands.cataloguePromoPictures);
        });
        runStep(log, [&] {
            program.msgBox.unload();
        });
        runStep(log, [&] {
            offerWizard(program);
        });
    }
    runStep(log, [&] {
        if (!main.isVisible()) {
            main.show();
        }
    });
}
