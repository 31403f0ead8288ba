#pragma once

#include <QString>
#include <QStringView>

#include "failure.h"

/// Appends one entry to the log at logPath: the local date and time (short date, long time), a
/// blank, the message and two line breaks, so entries are separated by an empty line. The message
/// is replaced by the entry text (date-time, blank, message, line break). Never throws, never
/// shows anything: when the log cannot be written it tries once to append its own failure line,
/// then gives up silently.
void WriteToErrorFile(QString &message, const QString &logPath);

/// The program's error log. Every failure reaches the log through one of these shapes.
class ErrorLog
{
public:
    ErrorLog() = default;
    explicit ErrorLog(QString path)
        : m_path(std::move(path))
    {}

    const QString &path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }

    /// "Error in [" + tag + "] " + description + " - " + number
    static QString errorLine(QStringView tag, const Failure &failure);
    /// "Error occurred in " + procedure + " : Error No. " + number + " : Error Desc --> " +
    /// description
    static QString ftpErrorLine(QStringView procedure, const Failure &failure);

    /// Logs a failure in the common shape under a handler's tag, such as "modMain - ListFiles".
    void error(QStringView tag, const Failure &failure) const;
    /// Logs a failure in the shape of the FTP windows and the pause timer.
    void ftpError(QStringView procedure, const Failure &failure) const;
    /// Logs a free information line.
    void info(const QString &text) const;

private:
    QString m_path;
};
