#include "errorlog.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QString timestamp()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(now.time(), QLocale::LongFormat);
}

/// Appends text in one write; returns the failure when the file cannot be opened or written.
Result<void> appendToFile(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return Failures::fromFileError(file.error(), path);
    }
    const QByteArray bytes = text.toLocal8Bit();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const Failure failure = Failures::fromFileError(file.error(), path);
        file.close();
        return failure;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        return Failures::fromFileError(file.error(), path);
    }
    return {};
}

} // namespace

void WriteToErrorFile(QString &message, const QString &logPath)
{
    message = timestamp() + QLatin1Char(' ') + message + kLineBreak;
    const Result<void> written = appendToFile(logPath, message + kLineBreak);
    if (!written) {
        // One attempt to record the writer's own failure; if that fails too it is dropped.
        const QString own = ErrorLog::errorLine(u"modmain - WriteToErrorFile", written.failure());
        (void)appendToFile(logPath, own + kLineBreak + kLineBreak);
    }
}

QString ErrorLog::errorLine(QStringView tag, const Failure &failure)
{
    return QStringLiteral("Error in [") + tag.toString() + QStringLiteral("] ")
        + failure.description + QStringLiteral(" - ") + QString::number(failure.number);
}

QString ErrorLog::ftpErrorLine(QStringView procedure, const Failure &failure)
{
    return QStringLiteral("Error occurred in ") + procedure.toString()
        + QStringLiteral(" : Error No. ") + QString::number(failure.number)
        + QStringLiteral(" : Error Desc --> ") + failure.description;
}

void ErrorLog::error(QStringView tag, const Failure &failure) const
{
    QString message = errorLine(tag, failure);
    WriteToErrorFile(message, m_path);
}

void ErrorLog::ftpError(QStringView procedure, const Failure &failure) const
{
    QString message = ftpErrorLine(procedure, failure);
    WriteToErrorFile(message, m_path);
}

void ErrorLog::info(const QString &text) const
{
    QString message = text;
    WriteToErrorFile(message, m_path);
}
