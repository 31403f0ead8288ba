#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "errorlog.h"
#include "startupvalues.h"

/// Lets the user's pending window messages run (QCoreApplication::processEvents()). Long
/// catalogue and page work calls it between photos so progress and windows stay live.
void letPendingMessagesRun();

/// The worker count used when nobody chooses one: one per core.
int defaultWorkerCount();

/// What the photo library's operations need from the program: where the catalogue and the log
/// are, which extensions make a photo, how many decoding threads to use and how to let the
/// user's window messages run between photos.
struct LibraryContext
{
    /// The error log every failure of the library goes to.
    ErrorLog log;
    /// The catalogue file (glimmerbook.mdb in the program home).
    QString cataloguePath;
    /// The picture extensions the folder scan tests.
    QStringList PictureExtensions = defaultPictureExtensions();
    /// How long an operation waits for a catalogue another connection has locked.
    int catalogueBusyTimeoutMs = 5000;
    /// Threads that decode pictures; 0 decodes on the calling thread.
    int workers = defaultWorkerCount();
    /// Called between photos and while waiting for a decoder.
    std::function<void()> processEvents = letPendingMessagesRun;

    /// The context of a program home: its log, its catalogue and its extension table.
    static LibraryContext fromStartup(const StartupValues &values);

    /// Runs processEvents when it is set.
    void pump() const
    {
        if (processEvents) {
            processEvents();
        }
    }
};
