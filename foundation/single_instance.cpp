#include "foundation/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace yubin {

QString SingleInstance::defaultLockPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/Zunelka/yubin/yubin.lock");
}

namespace {

constexpr int AnswerTimeoutMs = 1000;

} // namespace

SingleInstance::SingleInstance(const QString& lockPath) : path(lockPath) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketPath(const QString& lockPath) {
    return lockPath + QStringLiteral(".socket");
}

bool SingleInstance::acquire() {
    if (lock && lock->isLocked())
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    lock = std::make_unique<QLockFile>(path);
    // Staleness is decided by the process named in the file alone; a
    // program that has run for hours must keep its lock.
    lock->setStaleLockTime(0);
    return lock->tryLock(0);
}

void SingleInstance::listenForRaise(const std::function<void()>& raise) {
    if (!lock || !lock->isLocked())
        return;
    server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours: a socket left there is a killed program's.
    QLocalServer::removeServer(socketPath(path));
    if (!server->listen(socketPath(path)))
        return; // the program runs on; only the call back is lost
    QLocalServer* s = server.get();
    QObject::connect(s, &QLocalServer::newConnection, s, [s, raise] {
        while (QLocalSocket* caller = s->nextPendingConnection()) {
            caller->disconnectFromServer();
            caller->deleteLater();
            raise();
        }
    });
}

void SingleInstance::askToRaise(const QString& lockPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath(lockPath));
    if (socket.waitForConnected(AnswerTimeoutMs))
        socket.disconnectFromServer();
}

} // namespace yubin
