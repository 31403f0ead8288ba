#pragma once

#include <QString>

class ErrorLog;
class SettingsStore;

/// The start-up steps that only read and write settings and the log; the windows run them.
namespace StartupSteps {

/// Reads "tips"; when it is empty writes "tips" = "1"; then reads it again. Returns whether the
/// tip of the day is to be shown ("tips" is "1").
bool prepareTips(const SettingsStore &settings);

/// The version of the built-in EXIF reader's library, such as "0.27.6".
QString exifReaderVersion();

/// Once per machine: when "registered" is not "1", writes the EXIF reader's information lines to
/// the log ("EXIF reader is built in (exiv2 " + version + ")" and "EXIF reader check |
/// ReturnValue = " + 0 when the library answers as expected, else 1), then "registered" = "1"
/// whatever the check gave. Returns whether it ran.
bool registerExifReaderOnce(const SettingsStore &settings, const ErrorLog &log);

/// When "NewInstall" is not "1": writes "NewInstall" = "1" first (so a failure later in the
/// first-run flow does not repeat it) and returns true; otherwise false.
bool beginFirstRun(const SettingsStore &settings);

} // namespace StartupSteps
