#include "startupsteps.h"

#include <exiv2/version.hpp>

#include "errorlog.h"
#include "settingsstore.h"

namespace StartupSteps {

namespace {
const QString kOne = QStringLiteral("1");
}

bool prepareTips(const SettingsStore &settings)
{
    const QString tips = QStringLiteral("tips");
    if (settings.ReadWinIniSetting(SettingsStore::kSection, tips).isEmpty()) {
        settings.WriteWinIniSetting(SettingsStore::kSection, tips, kOne);
    }
    return settings.ReadWinIniSetting(SettingsStore::kSection, tips) == kOne;
}

QString exifReaderVersion()
{
    return QString::fromStdString(Exiv2::versionString());
}

bool registerExifReaderOnce(const SettingsStore &settings, const ErrorLog &log)
{
    const QString registered = QStringLiteral("registered");
    if (settings.ReadWinIniSetting(SettingsStore::kSection, registered) == kOne) {
        return false;
    }
    // The reader is linked in: there is nothing to copy or register, only to check that the
    // library is the one the program was built for.
    const QString version = exifReaderVersion();
    const bool answers = !version.isEmpty() && Exiv2::testVersion(0, 27, 0);
    log.info(QStringLiteral("EXIF reader is built in (exiv2 ") + version + QStringLiteral(")"));
    log.info(QStringLiteral("EXIF reader check | ReturnValue = ")
             + (answers ? QStringLiteral("0") : QStringLiteral("1")));
    settings.WriteWinIniSetting(SettingsStore::kSection, registered, kOne);
    return true;
}

bool beginFirstRun(const SettingsStore &settings)
{
    const QString newInstall = QStringLiteral("NewInstall");
    if (settings.ReadWinIniSetting(SettingsStore::kSection, newInstall) == kOne) {
        return false;
    }
    settings.WriteWinIniSetting(SettingsStore::kSection, newInstall, kOne);
    return true;
}

} // namespace StartupSteps
