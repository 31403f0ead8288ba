#pragma once

#include <QString>
#include <QStringList>

/// Small helpers shared by the benchmark subcommands.
namespace Bench {

/// Peak resident memory of this process so far, in megabytes (getrusage).
double peakRssMb();
/// The value after option name ("--workers 4" or "--workers=4"), or fallback.
QString option(const QStringList &args, const QString &name, const QString &fallback = {});
/// The arguments that are not options or option values.
QStringList positional(const QStringList &args, const QStringList &optionsWithValues);
/// Prints a line on standard output and flushes it.
void say(const QString &line);
/// Prints a line on standard error.
void complain(const QString &line);

} // namespace Bench
