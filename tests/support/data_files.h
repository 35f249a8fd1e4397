#pragma once

// Test data written the way the postal service publishes it (code page 932
// bytes, CR LF line ends), and the one way the tests run another program.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace yubin::test {

// The lines encoded as code page 932, each followed by `lineEnd`.
QByteArray sjisLines(const QStringList& lines, const QByteArray& lineEnd = "\r\n");

// Writes bytes to a file, creating its folder; fails the test on error.
void writeFile(const QString& path, const QByteArray& bytes);

// A file's bytes; empty when it cannot be read.
QByteArray readAll(const QString& path);

// One address record in the published layout; the flag columns are zeros.
QString addressRecord(const QString& localCode, const QString& postalCode,
                      const QString& prefReading, const QString& cityReading,
                      const QString& townReading, const QString& prefecture, const QString& city,
                      const QString& town);

// One business-office record in the published layout.
QString officeRecord(const QString& localCode, const QString& nameReading, const QString& name,
                     const QString& prefecture, const QString& city, const QString& town,
                     const QString& block, const QString& postalCode);

// `count` address records of the prefecture (index 1 to 47), numbered from
// `firstNumber`, each with its own postal code ("13" then the number in five
// digits) and town (本町<number>丁目); any size of data file.
QStringList prefectureRecords(int prefecture, int count, int firstNumber = 0);
QByteArray recordBytes(int prefecture, int count);

// A finished program: exit code (-1 when it crashed or hung), stdout and
// stderr as UTF-8 text.
struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a program to its end with `input` on its standard input; `inChild`
// runs in the child before it starts.
CliResult runProgram(const QString& program, const QStringList& args,
                     const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                     const std::function<void()>& inChild = {}, const QByteArray& input = {});

// Runs yubin-cli with the arguments, and `input` on its standard input.
CliResult runCli(const QStringList& args, const QByteArray& input = {});
CliResult runCli(const QStringList& args, const std::function<void()>& inChild);
QString cliPath();

} // namespace yubin::test
