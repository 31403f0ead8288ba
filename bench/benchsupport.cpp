#include "benchsupport.h"

#include <cstdio>
#include <sys/resource.h>

namespace Bench {

double peakRssMb()
{
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

QString option(const QStringList &args, const QString &name, const QString &fallback)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == name && i + 1 < args.size()) {
            return args[i + 1];
        }
        if (args[i].startsWith(name + QLatin1Char('='))) {
            return args[i].mid(name.size() + 1);
        }
    }
    return fallback;
}

QStringList positional(const QStringList &args, const QStringList &optionsWithValues)
{
    QStringList out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (optionsWithValues.contains(args[i])) {
            ++i;
        } else if (!args[i].startsWith(QLatin1String("--"))) {
            out << args[i];
        }
    }
    return out;
}

void say(const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void complain(const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

} // namespace Bench
