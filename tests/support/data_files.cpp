#include "support/data_files.h"

#include "foundation/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace yubin::test {

QByteArray sjisLines(const QStringList& lines, const QByteArray& lineEnd) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bool ok = true;
        bytes += text::encodeCp932(line, &ok);
        EXPECT_TRUE(ok) << "not in code page 932: " << line.toStdString();
        bytes += lineEnd;
    }
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

namespace {
QString q(const QString& s) {
    return u'"' + s + u'"';
}
} // namespace

QString addressRecord(const QString& localCode, const QString& postalCode,
                      const QString& prefReading, const QString& cityReading,
                      const QString& townReading, const QString& prefecture, const QString& city,
                      const QString& town) {
    return QStringList{localCode,      q(postalCode.left(3) + QStringLiteral("  ")),
                       q(postalCode),  q(prefReading),
                       q(cityReading), q(townReading),
                       q(prefecture),  q(city),
                       q(town),        QStringLiteral("0,0,0,0,0,0")}
        .join(u',');
}

QString officeRecord(const QString& localCode, const QString& nameReading, const QString& name,
                     const QString& prefecture, const QString& city, const QString& town,
                     const QString& block, const QString& postalCode) {
    return QStringList{localCode,
                       q(nameReading),
                       q(name),
                       q(prefecture),
                       q(city),
                       q(town),
                       q(block),
                       q(postalCode),
                       q(postalCode.left(5)),
                       q(QStringLiteral("銀座")),
                       QStringLiteral("0,0,0")}
        .join(u',');
}

CliResult runCli(const QStringList& args, const QByteArray& input) {
    QProcess process;
    process.start(QStringLiteral(YUBIN_CLI_PATH), args);
    process.write(input);
    process.closeWriteChannel();
    CliResult result;
    if (!process.waitForFinished(120000)) {
        ADD_FAILURE() << "yubin-cli did not finish";
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace yubin::test
