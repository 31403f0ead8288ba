// The composition root: builds the shared state and the windows and wires them together.

#include <QApplication>

#include "appstate.h"
#include "mdimain.h"
#include "settingsstore.h"
#include "startupvalues.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glimmerbook"));

    const StartupValues values = StartupValues::fromEnvironment();
    (void)values.ensureApplicationFolder();
    AppState state(values, SettingsStore::defaultPath());
    (void)copyPromoPictures(state.startup, promoSourceFolder());

    MDIMain window(state);
    window.show();
    return app.exec();
}
