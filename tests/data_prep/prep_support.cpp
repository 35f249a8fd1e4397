#include "prep_support.h"

#include "foundation/prefectures.h"
#include "support/data_files.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace yubin::test {

QStringList prefectureRecords(int prefecture, int count, int firstNumber) {
    const QString name = makePrefectureNames().at(prefecture);
    const QString code = prefectureCode(prefecture);
    QStringList records;
    for (int i = firstNumber; i < firstNumber + count; ++i) {
        const QString postal = QStringLiteral("%1%2").arg(code).arg(i, 5, 10, QLatin1Char('0'));
        records << addressRecord(code + QStringLiteral("101"), postal, QStringLiteral("ｹﾝ"),
                                 QStringLiteral("ｼ"), QStringLiteral("ﾁｮｳ%1").arg(i), name,
                                 QStringLiteral("中央市"), QStringLiteral("本町%1丁目").arg(i));
    }
    return records;
}

QByteArray nationwideBytes(const QStringList& records) {
    return sjisLines(records);
}

PrepDirs::PrepDirs() {
    QDir().mkpath(download());
    QDir().mkpath(data());
    work().create();
}

PrepFolders PrepDirs::folders() const {
    return {download(), data(), work()};
}

void PrepDirs::download(const QString& name, const QByteArray& bytes) const {
    writeFile(download() + name, bytes);
}

void PrepDirs::dataFile(const QString& name, const QByteArray& bytes) const {
    writeFile(data() + name, bytes);
}

QStringList PrepDirs::dataNames() const {
    return QDir(data()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray PrepDirs::dataBytes(const QString& name) const {
    QFile file(data() + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

} // namespace yubin::test
