#pragma once

#include <QByteArray>
#include <QString>

#include "failure.h"

/// Replaces the file at path by bytes through a temporary file renamed over it: afterwards the
/// file holds either all of bytes or, on any failure (a full disk included), exactly what it held
/// before. Never writes into the file in place.
Result<void> replaceFileWhole(const QString &path, const QByteArray &bytes);
