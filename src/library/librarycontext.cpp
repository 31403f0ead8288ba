#include "librarycontext.h"

#include <algorithm>

#include <QCoreApplication>
#include <QThread>

void letPendingMessagesRun()
{
    if (QCoreApplication::instance()) {
        QCoreApplication::processEvents();
    }
}

int defaultWorkerCount()
{
    return std::max(1, QThread::idealThreadCount());
}

LibraryContext LibraryContext::fromStartup(const StartupValues &values)
{
    LibraryContext context;
    context.log = ErrorLog(values.ErrorLogPath);
    context.cataloguePath = values.cataloguePath();
    context.PictureExtensions = values.PictureExtensions;
    return context;
}
