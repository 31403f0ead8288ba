#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

class ErrorLog;

/// The settings key that switches the tip window at start-up: "1" shows it, "0" does not.
inline const QString kTipsSettingKey = QStringLiteral("tips");

/// The tip table: the 14 tips of the day in table order. Tip n (1 to 14) is at list position
/// n - 1. The texts are kept exactly as the program has always shown them, spelling included.
QStringList LoadTipOfTheDay();

/// The table index (1 to count) that a draw r from [0, 1) picks: whole part of r * count, plus 1.
/// Every index has the same chance. Never returns less than 1 or more than count (count >= 1).
int tipIndexForDraw(double r, int count);

/// The text of one tip chosen at random with equal chances. An empty table logs
/// "Error in [modmain - ShowTipOfTheDay] Subscript out of range - 9" and gives the empty text.
QString ShowTipOfTheDay(const QStringList &tips,
                        const ErrorLog &log,
                        QRandomGenerator &random = *QRandomGenerator::global());

/// One press of the tip window's Next Tip button.
struct NextTipStep
{
    /// The tip to show now (1-based), or 0 when the shown text does not change.
    int tipIndex = 0;
    /// The button's position tag after the press: the next tip's number, or empty.
    QString tag;
};

/// Next Tip: an empty tag counts as "1"; a tag n within 1..count shows tip n and becomes n + 1;
/// past the end the tag becomes empty and nothing changes, so the press after that shows tip 1.
/// A tag that is not a number reads as its leading digits (none: 0) and, like 0, changes nothing.
NextTipStep nextTipStep(const QString &tag, int count);
