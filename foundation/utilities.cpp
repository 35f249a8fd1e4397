#include "foundation/utilities.h"

#include <QCoreApplication>
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
        if (path.isEmpty() || QFileInfo(path).isDir())
            return false;
        QFile file(path);
        return file.open(QIODevice::ReadOnly);
    } catch (...) {
        return false;
    }
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
