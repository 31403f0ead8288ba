#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "safefile.h"

namespace {

// The profile call copies at most this many characters, the last being the terminating zero.
constexpr qsizetype kProfileBufferLength = 128;

QStringView trimmedBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t')) {
        ++begin;
    }
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t')) {
        --end;
    }
    return text.sliced(begin, end - begin);
}

QString sectionName(QStringView line)
{
    const QStringView t = trimmedBlanks(line);
    if (t.size() >= 2 && t.front() == u'[' && t.back() == u']') {
        return trimmedBlanks(t.sliced(1, t.size() - 2)).toString();
    }
    return {};
}

bool isSection(QStringView line)
{
    const QStringView t = trimmedBlanks(line);
    return t.size() >= 2 && t.front() == u'[' && t.back() == u']';
}

bool sameName(QStringView a, QStringView b)
{
    return trimmedBlanks(a).compare(trimmedBlanks(b), Qt::CaseInsensitive) == 0;
}

/// Key of a "key=value" line, or nothing for comments and other lines.
std::optional<QStringView> keyOf(QStringView line)
{
    const QStringView t = trimmedBlanks(line);
    if (t.isEmpty() || t.front() == u';' || t.front() == u'[') {
        return std::nullopt;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) {
        return std::nullopt;
    }
    return trimmedBlanks(line.first(eq));
}

QStringList linesOf(const QByteArray &text)
{
    QStringList lines = QString::fromUtf8(text).split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
    }
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

/// A value must stay on its own line.
QString singleLine(QString value)
{
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

} // namespace

namespace IniText {

std::optional<QString> value(const QByteArray &text, const QString &section, const QString &key)
{
    bool inSection = false;
    for (const QString &line : linesOf(text)) {
        if (isSection(line)) {
            inSection = sameName(sectionName(line), section);
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::optional<QStringView> k = keyOf(line);
        if (k && sameName(*k, key)) {
            return trimmedBlanks(QStringView(line).sliced(line.indexOf(u'=') + 1)).toString();
        }
    }
    return std::nullopt;
}

QByteArray
withValue(const QByteArray &text, const QString &section, const QString &key, const QString &value)
{
    QStringList lines = linesOf(text);
    const QString entry = trimmedBlanks(key).toString() + QLatin1Char('=') + singleLine(value);
    qsizetype sectionLine = -1;
    qsizetype lastInSection = -1;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (isSection(line)) {
            inSection = sameName(sectionName(line), section);
            if (inSection && sectionLine < 0) {
                sectionLine = i;
                lastInSection = i;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::optional<QStringView> k = keyOf(line);
        if (k && sameName(*k, key)) {
            lines[i] = entry;
            return (lines.join(QStringLiteral("\n")) + QLatin1Char('\n')).toUtf8();
        }
        if (!trimmedBlanks(line).isEmpty()) {
            lastInSection = i;
        }
    }
    if (sectionLine >= 0) {
        lines.insert(lastInSection + 1, entry);
    } else {
        if (!lines.isEmpty() && !lines.back().trimmed().isEmpty()) {
            lines.append(QString());
        }
        lines.append(QLatin1Char('[') + trimmedBlanks(section).toString() + QLatin1Char(']'));
        lines.append(entry);
    }
    return (lines.join(QStringLiteral("\n")) + QLatin1Char('\n')).toUtf8();
}

} // namespace IniText

SettingsStore::SettingsStore(QString iniPath, ErrorLog log)
    : m_path(std::move(iniPath))
    , m_log(std::move(log))
{}

QString SettingsStore::defaultPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/glimmerbook/win.ini");
}

QString SettingsStore::ReadWinIniSetting(const QString &section, const QString &key) const
{
    QFile file(m_path);
    std::optional<QString> stored;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            m_log.error(u"clsMain - ReadWinIniSetting",
                        Failures::fromFileError(file.error(), m_path));
            return {};
        }
        stored = IniText::value(file.readAll(), section, key);
    }
    // The value arrives as the profile call leaves it: at most 127 characters, or "NOT FOUND".
    const QString buffer =
        stored ? stored->left(kProfileBufferLength - 1) : QStringLiteral("NOT FOUND");
    if (buffer.contains(QLatin1String("NOT FOUND"), Qt::CaseInsensitive)) {
        return {};
    }
    return trimmedBlanks(buffer).toString();
}

void SettingsStore::WriteWinIniSetting(const QString &section,
                                       const QString &key,
                                       const QVariant &value) const
{
    QByteArray text;
    QFile existing(m_path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) {
            m_log.error(u"clsMain - WriteWinIniSetting",
                        Failures::fromFileError(existing.error(), m_path));
            return;
        }
        text = existing.readAll();
        existing.close();
    }
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        m_log.error(u"clsMain - WriteWinIniSetting", Failures::pathNotFound());
        return;
    }
    const Result<void> written =
        replaceFileWhole(m_path, IniText::withValue(text, section, key, value.toString()));
    if (!written) {
        m_log.error(u"clsMain - WriteWinIniSetting", written.failure());
    }
}
