#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QVariant>

#include "errorlog.h"

/// Reading and rewriting the text of an INI file. Section and key names compare without regard
/// to case and to blanks around them; values lose the blanks around them. Lines that are not
/// sections or keys are kept as they are.
namespace IniText {
/// The value of key in section, or nothing when the section or key is missing.
std::optional<QString> value(const QByteArray &text, const QString &section, const QString &key);
/// The text with key in section set to value; the section and key are added when missing.
QByteArray
withValue(const QByteArray &text, const QString &section, const QString &key, const QString &value);
} // namespace IniText

/// The program's persistent switches: one INI file, one section "glimmerbook", values "0" and "1".
class SettingsStore
{
public:
    static inline const QString kSection = QStringLiteral("glimmerbook");

    explicit SettingsStore(QString iniPath, ErrorLog log = {});

    /// $XDG_CONFIG_HOME/glimmerbook/win.ini, or ~/.config/glimmerbook/win.ini.
    static QString defaultPath();

    const QString &path() const { return m_path; }

    /// The stored value, blanks around it removed and cut to 127 characters; the empty text when
    /// the key is missing or empty, or when the value contains "not found" in any letter case.
    /// A failure is logged under "clsMain - ReadWinIniSetting" and reads as the empty text.
    QString ReadWinIniSetting(const QString &section, const QString &key) const;

    /// Stores the value as text. The file is replaced whole, so a failed write leaves the old
    /// file; a failure is logged under "clsMain - WriteWinIniSetting" and never reported.
    void
    WriteWinIniSetting(const QString &section, const QString &key, const QVariant &value) const;

private:
    QString m_path;
    ErrorLog m_log;
};
