#include "bench_data.h"

#include "foundation/prefectures.h"
#include "foundation/text.h"

#include "foundation/access_csv.h"
#include "foundation/data_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <archive.h>
#include <archive_entry.h>

#include <map>

namespace yubin::bench {

namespace {

const QStringList Kana = {"ｱ", "ｲ", "ｶ", "ｷ", "ｻ", "ｼ", "ﾀ", "ﾁ", "ﾅ", "ﾊ", "ﾏ", "ﾔ", "ﾗ", "ﾜ"};
const QStringList Kanji = {"山", "川", "田", "中", "本", "町", "北", "南", "東", "西", "大", "小"};

QString pick(const QStringList& from, int seed, int length) {
    QString s;
    for (int i = 0; i < length; ++i)
        s += from[(seed / (i + 1) + i * 7) % from.size()];
    return s;
}

QString quoted(const QString& s) {
    return u'"' + s + u'"';
}

} // namespace

QByteArray prefectureFile(int prefectureIndex, int lines, int municipalities) {
    const QString prefecture = makePrefectureNames().at(prefectureIndex);
    QByteArray out;
    out.reserve(lines * 110);
    for (int i = 0; i < lines; ++i) {
        const int m = i * municipalities / lines;
        const QString code = QStringLiteral("%1%2")
                                 .arg(prefectureIndex, 2, 10, QChar(u'0'))
                                 .arg(i % 100000, 5, 10, QChar(u'0'));
        const QStringList fields{QString::number(prefectureIndex * 1000 + 100 + m),
                                 quoted(code.left(3) + QStringLiteral("  ")),
                                 quoted(code),
                                 quoted(QStringLiteral("ﾎﾂｶｲﾄﾞｳ")),
                                 quoted(pick(Kana, m * 31 + 5, 5) + QStringLiteral("ｼ")),
                                 quoted(pick(Kana, i * 13 + 1, 6)),
                                 quoted(prefecture),
                                 quoted(pick(Kanji, m * 17 + 3, 2) + QStringLiteral("市")),
                                 quoted(pick(Kanji, i * 11 + 7, 3) + QStringLiteral("町")),
                                 QStringLiteral("0,0,0,0,0,0")};
        out += text::encodeCp932(fields.join(u','));
        out += "\r\n";
    }
    return out;
}

QByteArray businessOfficeFile(int lines) {
    const QStringList names = makePrefectureNames();
    QByteArray out;
    out.reserve(lines * 130);
    for (int i = 0; i < lines; ++i) {
        // Tokyo holds about a fifth of the published offices.
        const int p = i % 5 == 0 ? 13 : 1 + (i * 47) / lines;
        const QString code =
            QStringLiteral("%1%2").arg(p, 2, 10, QChar(u'0')).arg(i % 100000, 5, 10, QChar(u'0'));
        const QStringList fields{
            QString::number(p * 1000 + 101),
            quoted((i % 3 == 0 ? QStringLiteral("(ｶﾌﾞ) ") : QString()) + pick(Kana, i * 7 + 3, 8)),
            quoted(pick(Kanji, i * 5 + 1, 4) + QStringLiteral("株式会社")),
            quoted(names[p]),
            quoted(pick(Kanji, p * 3, 2) + QStringLiteral("市")),
            quoted(pick(Kanji, i * 3 + 2, 2) + QStringLiteral("町")),
            quoted(QStringLiteral("１－２－３")),
            quoted(code),
            quoted(code.left(5)),
            quoted(QStringLiteral("本町")),
            QStringLiteral("0,0,0")};
        out += text::encodeCp932(fields.join(u','));
        out += "\r\n";
    }
    return out;
}

namespace {

QByteArray firstEntryOf(const QString& archivePath) {
    QByteArray bytes;
    archive* a = archive_read_new();
    archive_read_support_format_all(a);
    archive_read_support_filter_all(a);
    archive_entry* entry = nullptr;
    if (archive_read_open_filename(a, archivePath.toLocal8Bit().constData(), 1 << 16) ==
            ARCHIVE_OK &&
        archive_read_next_header(a, &entry) == ARCHIVE_OK) {
        char buffer[1 << 16];
        la_ssize_t n = 0;
        while ((n = archive_read_data(a, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, n);
    }
    archive_read_free(a);
    return bytes;
}

QString sharedData() {
    for (const char* candidate :
         {"../shared/data", "../../shared/data", "../../../shared/data", "/work/shared/data"}) {
        if (QFile::exists(QString::fromLatin1(candidate) + QStringLiteral("/ken_all.zip")))
            return QString::fromLatin1(candidate);
    }
    return QString();
}

} // namespace

bool writeNationwideDataFolder(const QString& dataFolder) {
    const QString shared = sharedData();
    if (shared.isEmpty())
        return false;
    const QByteArray all = firstEntryOf(shared + QStringLiteral("/ken_all.zip"));
    const QByteArray offices = firstEntryOf(shared + QStringLiteral("/jigyosyo.zip"));
    if (all.isEmpty() || offices.isEmpty())
        return false;
    // Grouped by the prefecture column; only to lay out benchmark data.
    std::map<int, QByteArray> byPrefecture;
    const QStringList names = makePrefectureNames();
    Access_CSV csv;
    forEachLine(QByteArrayView(all), [&](QByteArrayView line) {
        const int index = int(names.indexOf(csv.Col(7, text::decodeCp932(line)), 1));
        if (index > 0)
            byPrefecture[index].append(line.data(), line.size()).append("\r\n");
    });
    QDir().mkpath(dataFolder);
    for (const auto& [index, bytes] : byPrefecture) {
        QFile f(dataFolder + u'/' +
                QString::fromLatin1(prefectureTable()[size_t(index - 1)].splitFile));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return false;
    }
    QFile f(dataFolder + QStringLiteral("/JIGYOSYO.CSV"));
    return f.open(QIODevice::WriteOnly) && f.write(offices) == offices.size();
}

double grepMilliseconds(const QString& dataFolder, const QString& pattern) {
    // The pattern goes through a file so that its bytes pass unchanged.
    QStringList args{QStringLiteral("-F"), QStringLiteral("-c")};
    const QString patternFile = dataFolder + QStringLiteral("/../pattern.bin");
    QFile p(patternFile);
    p.open(QIODevice::WriteOnly);
    p.write(text::encodeCp932(pattern));
    p.close();
    args << QStringLiteral("-f") << patternFile;
    for (const QString& name : QDir(dataFolder).entryList(QDir::Files, QDir::Name))
        args << dataFolder + u'/' + name;
    QProcess grep;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    grep.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    grep.start(QStringLiteral("grep"), args);
    grep.waitForFinished(-1);
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace yubin::bench
