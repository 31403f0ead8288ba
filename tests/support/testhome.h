#pragma once

#include <memory>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "appstate.h"
#include "startupvalues.h"

/// A fresh program home and settings file in a temporary folder, removed afterwards.
class TestHome
{
public:
    TestHome();

    bool isValid() const { return m_dir.isValid(); }
    /// The temporary folder that holds everything of this fixture.
    QString root() const { return m_dir.path(); }
    /// The program home (root/home), created.
    QString home() const { return m_values.ApplicationFolder; }
    /// The settings file (root/config/glimmerbook/win.ini), not created.
    QString iniPath() const { return root() + QStringLiteral("/config/glimmerbook/win.ini"); }
    const StartupValues &values() const { return m_values; }
    /// A new folder below root with the given relative path, created.
    QString makeFolder(const QString &relative) const;
    /// The error log's whole text ("" when it does not exist).
    QByteArray logText() const;
    /// A shared state object for this home.
    std::unique_ptr<AppState> makeState() const;

private:
    QTemporaryDir m_dir;
    StartupValues m_values;
};
