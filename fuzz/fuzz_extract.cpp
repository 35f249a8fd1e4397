// Archive extraction of any bytes: whatever the archive claims, files land
// only in the work folder, flat, as regular files within the size limit,
// and a failure says why.

#include "data_prep/archive_extract.h"
#include "fuzz_check.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace yubin;

namespace {

constexpr qint64 Limit = 1 << 20;

// Every entry under the folder, recursively, links not followed.
QStringList everything(const QString& folder) {
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    found.sort();
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir sandbox;
    const QString root = sandbox.path();
    const QString archive = root + QStringLiteral("/download/ken_all.lzh");
    const QString work = root + QStringLiteral("/work/");
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    QDir().mkpath(root + QStringLiteral("/download"));
    {
        QFile file(archive);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }
    const QStringList before = everything(root);

    const ExtractResult result = extractArchiveFlat(archive, work, Limit);
    FUZZ_CHECK(result.ok || !result.error.isEmpty());

    QStringList after = everything(root);
    QStringList written;
    for (const QString& path : after)
        if (path.startsWith(work))
            written << path;
        else
            FUZZ_CHECK(before.contains(path));
    for (const QString& path : written) {
        const QFileInfo info(path);
        FUZZ_CHECK(info.isFile() && !info.isSymLink());
        FUZZ_CHECK(info.absolutePath() + u'/' == work);
        FUZZ_CHECK(info.size() <= Limit);
        if (result.ok)
            FUZZ_CHECK(result.placed.contains(info.fileName()));
    }
    for (const QString& name : result.placed) {
        FUZZ_CHECK(!name.isEmpty() && !name.contains(u'/') && name != QStringLiteral("..") &&
                   name != QStringLiteral("."));
        if (result.ok)
            FUZZ_CHECK(QFileInfo(work + name).isFile());
    }
    FUZZ_CHECK(QFileInfo(archive).size() == qint64(size));
    return 0;
}
