#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

/// The picture of a command-panel button: the installed icon theme's iconName when it has one,
/// else our own drawing (a coloured tile with the command's initials).
QIcon commandIcon(const QString &iconName, const QString &caption);

/// The program's logo, drawn (no picture files): a rounded tile with a spark.
QPixmap programLogo(int size);
