#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "failure.h"

/// The values set once at start-up and read by the whole program.
struct StartupValues
{
    /// The per-user program home: $GLIMMERBOOK_HOME, else ~/Glimmerbook.
    QString ApplicationFolder;
    /// ApplicationFolder + "/errorlog.log".
    QString ErrorLogPath;
    /// ApplicationFolder + "/GBk_Temp"; made owner-only by ensureTempFolder() when first needed.
    QString TempFolderPath;
    /// The picture extensions in the order the folder scan tests them.
    QStringList PictureExtensions;
    /// Height in twips of the main window's panels plus 800, as text; set by the main window.
    QString ReservedPanelHeight;

    /// The values for a program home folder (nothing is created).
    static StartupValues forFolder(const QString &applicationFolder);
    /// The values for $GLIMMERBOOK_HOME or ~/Glimmerbook.
    static StartupValues fromEnvironment();

    /// The catalogue file in the program home.
    QString cataloguePath() const;
    /// The FTP profile file in the program home.
    QString ftpProfilePath() const;
    /// The promotion pictures' folder in the program home.
    QString promoFolder() const;

    /// Creates the program home when missing.
    Result<void> ensureApplicationFolder() const;
    /// Creates the temporary folder with owner-only rights when missing and returns its path.
    Result<QString> ensureTempFolder() const;
};

/// "jpg", "tif", "bmp", "pcx", "tga", "gif", in that order.
QStringList defaultPictureExtensions();

/// The vendor's web address shown in the caption and on the splash window.
QString vendorWebAddress();

/// "Glimmerbook | Visit us at " + web address + " | " + date as "mmm-dd-yyyy" (English month).
QString mainWindowCaption(const QDate &today);

/// "Version " + major + "." + minor + "." + revision.
QString versionText();

/// Where the installed promotion pictures are: beside the program, in the install prefix, or in
/// the source tree of a build that was not installed. Empty when none is found.
QString promoSourceFolder();

/// Copies the promotion pictures into the program home's "promo" folder when that folder is
/// missing. Existing files are never overwritten.
Result<void> copyPromoPictures(const StartupValues &values, const QString &sourceFolder);
