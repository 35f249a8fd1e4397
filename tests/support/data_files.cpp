#include "support/data_files.h"

#include "foundation/prefectures.h"
#include "foundation/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace yubin::test {

using namespace Qt::StringLiterals;

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

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString addressRecord(const QString& localCode, const QString& postalCode,
                      const QString& prefReading, const QString& cityReading,
                      const QString& townReading, const QString& prefecture, const QString& city,
                      const QString& town) {
    return u"%1,\"%2  \",\"%3\",\"%4\",\"%5\",\"%6\",\"%7\",\"%8\",\"%9\",0,0,0,0,0,0"_s.arg(
        localCode, postalCode.left(3), postalCode, prefReading, cityReading, townReading,
        prefecture, city, town);
}

QString officeRecord(const QString& localCode, const QString& nameReading, const QString& name,
                     const QString& prefecture, const QString& city, const QString& town,
                     const QString& block, const QString& postalCode) {
    return u"%1,\"%2\",\"%3\",\"%4\",\"%5\",\"%6\",\"%7\",\"%8\",\"%9\",\"銀座\",0,0,0"_s.arg(
        localCode, nameReading, name, prefecture, city, town, block, postalCode,
        postalCode.left(5));
}

QStringList prefectureRecords(int prefecture, int count, int firstNumber) {
    const QString name = makePrefectureNames().at(prefecture);
    const QString code = prefectureCode(prefecture);
    QStringList records;
    for (int i = firstNumber; i < firstNumber + count; ++i) {
        const QString postal = u"%1%2"_s.arg(code).arg(i, 5, 10, QLatin1Char('0'));
        records << addressRecord(code + u"101"_s, postal, u"ｹﾝ"_s, u"ｼ"_s, u"ﾁｮｳ%1"_s.arg(i), name,
                                 u"中央市"_s, u"本町%1丁目"_s.arg(i));
    }
    return records;
}

QByteArray recordBytes(int prefecture, int count) {
    return sjisLines(prefectureRecords(prefecture, count));
}

CliResult runProgram(const QString& program, const QStringList& args,
                     const QProcessEnvironment& env, const std::function<void()>& inChild,
                     const QByteArray& input) {
    QProcess process;
    process.setProcessEnvironment(env);
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(program, args);
    process.write(input);
    process.closeWriteChannel();
    CliResult result;
    if (!process.waitForFinished(300000)) {
        ADD_FAILURE() << program.toStdString() << " did not finish";
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString cliPath() {
    return QStringLiteral(YUBIN_CLI_PATH);
}

CliResult runCli(const QStringList& args, const QByteArray& input) {
    return runProgram(cliPath(), args, QProcessEnvironment::systemEnvironment(), {}, input);
}

CliResult runCli(const QStringList& args, const std::function<void()>& inChild) {
    return runProgram(cliPath(), args, QProcessEnvironment::systemEnvironment(), inChild);
}

} // namespace yubin::test
