#pragma once

#include <functional>
#include <optional>

#include <QObject>
#include <QString>

#include "failure.h"

class QLocalServer;
class QLocalSocket;

/// One running program per user and program home. The first instance listens on a local socket;
/// a later start sends it one request line ("show") and ends. Requests and replies are single
/// lines of UTF-8 text.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    /// What the running instance does with a request; the returned text is sent back as the reply.
    using Handler = std::function<QString(const QString &request)>;

    /// The request a second start sends: show the main window maximised.
    static inline const QString kShowRequest = QStringLiteral("show");

    explicit SingleInstance(QString serverName, QObject *parent = nullptr);
    ~SingleInstance() override;

    /// The socket name for a program home: per user (uid) and per home folder, in
    /// $XDG_RUNTIME_DIR when that folder exists, else in the temporary folder.
    static QString serverNameFor(const QString &applicationFolder);

    /// Sends request to the instance listening on serverName and waits up to timeoutMs for its
    /// reply. Nothing when no instance accepted the connection; an empty reply when one accepted
    /// it but did not answer in time (it handles the request when its event loop turns).
    static std::optional<QString>
    ask(const QString &serverName, const QString &request, int timeoutMs = 3000);

    /// Asks a running instance to show itself; true when there is one (this start then ends).
    bool activateRunningInstance(int timeoutMs = 3000) const;

    /// Starts listening. The socket file of an instance that was killed is removed first, so it
    /// never stops the next start. Fails when the name is taken by a live instance (one that
    /// started at the same moment) or the folder does not allow it.
    Result<void> listen();
    bool isListening() const;

    /// Sets what is done with incoming requests; without a handler requests get an empty reply.
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    const QString &serverName() const { return m_name; }
    /// The socket's path while listening, else empty.
    QString fullServerName() const;

private:
    void acceptConnections();
    void readRequests(QLocalSocket *socket);

    QString m_name;
    QLocalServer *m_server = nullptr;
    Handler m_handler;
};
