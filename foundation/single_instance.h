#pragma once

#include <QLockFile>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

namespace yubin {

// One running program per user, held by a lock file. A lock left behind by a
// program that was killed names a process that no longer runs and is taken
// over. Beside the lock the running program listens on a local socket, so
// that a second start can ask it to bring its window back.
class SingleInstance {
public:
    // The per-user lock file under the cache location.
    static QString defaultLockPath();

    explicit SingleInstance(const QString& lockPath = defaultLockPath());
    ~SingleInstance();
    // False when another running program holds the lock.
    bool acquire();

    // While the lock is held: `raise` runs on the event loop whenever a
    // later start asks.
    void listenForRaise(const std::function<void()>& raise);
    // A start that found the program running asks it to show its window.
    // Gives up quietly when no one answers.
    static void askToRaise(const QString& lockPath);

private:
    static QString socketPath(const QString& lockPath);
    QString path;
    std::unique_ptr<QLockFile> lock;
    std::unique_ptr<QLocalServer> server;
};

} // namespace yubin
