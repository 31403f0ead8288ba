#include "startupvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

StartupValues StartupValues::forFolder(const QString &applicationFolder)
{
    StartupValues v;
    v.ApplicationFolder = QDir::cleanPath(QDir(applicationFolder).absolutePath());
    v.ErrorLogPath = v.ApplicationFolder + QStringLiteral("/errorlog.log");
    v.TempFolderPath = v.ApplicationFolder + QStringLiteral("/GBk_Temp");
    v.PictureExtensions = defaultPictureExtensions();
    return v;
}

StartupValues StartupValues::fromEnvironment()
{
    QString home = qEnvironmentVariable("GLIMMERBOOK_HOME");
    if (home.isEmpty()) {
        home = QDir::homePath() + QStringLiteral("/Glimmerbook");
    }
    return forFolder(home);
}

QString StartupValues::cataloguePath() const
{
    return ApplicationFolder + QStringLiteral("/glimmerbook.mdb");
}

QString StartupValues::ftpProfilePath() const
{
    return ApplicationFolder + QStringLiteral("/glimmerbook.dat");
}

QString StartupValues::promoFolder() const
{
    return ApplicationFolder + QStringLiteral("/promo");
}

Result<void> StartupValues::ensureApplicationFolder() const
{
    if (QFileInfo(ApplicationFolder).isDir()) {
        return {};
    }
    if (!QDir().mkpath(ApplicationFolder)) {
        return QFileInfo::exists(ApplicationFolder) ? Failures::fileAlreadyExists()
                                                    : Failures::permissionDenied();
    }
    return {};
}

Result<QString> StartupValues::ensureTempFolder() const
{
    const QFileInfo info(TempFolderPath);
    if (!info.isDir()) {
        if (info.exists()) {
            return Failures::fileAlreadyExists();
        }
        if (!QDir().mkpath(TempFolderPath)) {
            return Failures::permissionDenied();
        }
    }
    // Owner-only: pasted pictures and downloads may be private photos.
    QFile::setPermissions(TempFolderPath,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return TempFolderPath;
}

QStringList defaultPictureExtensions()
{
    return {QStringLiteral("jpg"),
            QStringLiteral("tif"),
            QStringLiteral("bmp"),
            QStringLiteral("pcx"),
            QStringLiteral("tga"),
            QStringLiteral("gif")};
}

QString vendorWebAddress()
{
    return QStringLiteral("www.glimmerbook.example");
}

QString mainWindowCaption(const QDate &today)
{
    // The month name is English whatever the user's language: the caption's format is fixed.
    static const char *const kMonths[] =
        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QString date = QLatin1String(kMonths[today.month() - 1]) + QLatin1Char('-')
        + QStringLiteral("%1").arg(today.day(), 2, 10, QLatin1Char('0')) + QLatin1Char('-')
        + QStringLiteral("%1").arg(today.year(), 4, 10, QLatin1Char('0'));
    return QStringLiteral("Glimmerbook | Visit us at ") + vendorWebAddress() + QStringLiteral(" | ")
        + date;
}

QString versionText()
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(GLIM_VERSION_MAJOR)
        .arg(GLIM_VERSION_MINOR)
        .arg(GLIM_VERSION_REVISION);
}

QString promoSourceFolder()
{
    const QString besideProgram = QCoreApplication::instance()
        ? QCoreApplication::applicationDirPath() + QStringLiteral("/../share/glimmerbook/promo")
        : QString();
    const QStringList candidates = {besideProgram,
                                    QStringLiteral(GLIM_DATA_DIR) + QStringLiteral("/promo"),
                                    QStringLiteral(GLIM_SOURCE_DATA_DIR)
                                        + QStringLiteral("/promo")};
    for (const QString &c : candidates) {
        if (!c.isEmpty() && QFileInfo(c).isDir()) {
            return QDir::cleanPath(c);
        }
    }
    return {};
}

Result<void> copyPromoPictures(const StartupValues &values, const QString &sourceFolder)
{
    const QString target = values.promoFolder();
    if (QFileInfo::exists(target)) {
        return {};
    }
    if (sourceFolder.isEmpty() || !QFileInfo(sourceFolder).isDir()) {
        return Failures::pathNotFound();
    }
    if (!QDir().mkpath(target)) {
        return Failures::permissionDenied();
    }
    const QDir source(sourceFolder);
    Result<void> result;
    const QStringList names = source.entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        const QString to = target + QLatin1Char('/') + name;
        if (!QFile::exists(to) && !QFile::copy(source.filePath(name), to)) {
            result = Failures::pathFileAccessError();
        }
    }
    return result;
}
