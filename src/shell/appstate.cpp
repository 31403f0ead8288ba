#include "appstate.h"

AppState::AppState(StartupValues values, QString iniPath, QObject *parent)
    : QObject(parent)
    , startup(std::move(values))
    , log(startup.ErrorLogPath)
    , settings(std::move(iniPath), log)
{}
