#include "foundation/utilities.h"

#include "foundation/data_file.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <chrono>
#include <csignal>

namespace yubin {

bool FileExists(QString& path) noexcept {
    try {
        if (path.isEmpty())
            return false;
        if (path.endsWith(u'/') || path.endsWith(u'\\'))
            path.chop(1);
        QFile file;
        return openRegularFile(path, file);
    } catch (...) {
        return false;
    }
}

QStringList regularFileNames(const QString& folder) {
    QStringList names;
    // Without QDir::System FIFOs, sockets and devices stay out, but a link
    // to one passes that filter; so each entry is asked as well.
    QDirIterator it(folder, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        if (it.fileInfo().isFile())
            names << it.fileName();
    }
    return names;
}

QString findNameNoCase(const QStringList& names, const QString& name) {
    for (const QString& candidate : names)
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    return QString();
}

void reportFileSizeLimitAsWriteError() {
    std::signal(SIGXFSZ, SIG_IGN);
}

void WaitSeconds(float seconds, Clock& clock) {
    if (!(seconds > 0))
        return;
    const qint64 start = clock.nowMs();
    const double waitMs = double(seconds) * 1000.0;
    while (double(clock.nowMs() - start) < waitMs) {
        QCoreApplication::processEvents();
        QThread::msleep(1); // no busy spin while nothing happens
    }
}

qint64 SteadyClock::nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace yubin
