#pragma once

#include <QDate>

class MDIMain;
class Program;

struct StartupOptions
{
    /// The day the caption shows.
    QDate today = QDate::currentDate();
};

/// The main window's load: caption, panels, free space, zoom list, tip table, the splash shown
/// modally over the shown main window, the tip of the day, the one-time EXIF reader check and,
/// on the very first start, the catalogue of the promotion pictures between two prompt dialogs
/// ("noactionneeded", then "runwizard"). Every step runs whatever the steps before it did: a
/// failure is logged under "MDIMain - MDIForm_Load" and the next step follows. Modal windows go
/// through the program's dialog seam. The main window is shown when it returns.
void runStartupSequence(Program &program, MDIMain &main, const StartupOptions &options = {});
