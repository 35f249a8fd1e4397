#pragma once

// Test data written the way the postal service publishes it: code page 932
// bytes, CR LF line ends.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace yubin::test {

// The lines encoded as code page 932, each followed by `lineEnd`.
QByteArray sjisLines(const QStringList& lines, const QByteArray& lineEnd = "\r\n");

// Writes bytes to a file, creating its folder; fails the test on error.
void writeFile(const QString& path, const QByteArray& bytes);

// One address record in the published layout; the flag columns are zeros.
QString addressRecord(const QString& localCode, const QString& postalCode,
                      const QString& prefReading, const QString& cityReading,
                      const QString& townReading, const QString& prefecture, const QString& city,
                      const QString& town);

// One business-office record in the published layout.
QString officeRecord(const QString& localCode, const QString& nameReading, const QString& name,
                     const QString& prefecture, const QString& city, const QString& town,
                     const QString& block, const QString& postalCode);

// Runs yubin-cli with the arguments and `input` on its standard input;
// stdout and stderr as UTF-8 text.
struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};
CliResult runCli(const QStringList& args, const QByteArray& input = {});

} // namespace yubin::test
