#include "testhome.h"

#include <QDir>
#include <QFile>

TestHome::TestHome()
{
    m_values = StartupValues::forFolder(m_dir.path() + QStringLiteral("/home"));
    QDir().mkpath(m_values.ApplicationFolder);
}

QString TestHome::makeFolder(const QString &relative) const
{
    const QString path = root() + QLatin1Char('/') + relative;
    QDir().mkpath(path);
    return path;
}

QByteArray TestHome::logText() const
{
    QFile file(m_values.ErrorLogPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

std::unique_ptr<AppState> TestHome::makeState() const
{
    return std::make_unique<AppState>(m_values, iniPath());
}
