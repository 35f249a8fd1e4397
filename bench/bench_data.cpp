#include "bench_data.h"

#include "foundation/prefectures.h"
#include "foundation/text.h"

#include "data_prep/prep_runs.h"
#include "foundation/data_file.h"
#include "foundation/utilities.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>

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

// The preparation's question, answered yes.
class Yes final : public MessageBoxes {
public:
    bool show(MessageIcon, const QString&, const QString&, MessageButtons) override { return true; }
};

class Quiet final : public RunHost {
public:
    void progress(const QString&, qint64) override {}
    bool shouldStop() override { return false; }
};

} // namespace

QString archiveFolder() {
    return QStringLiteral(YUBIN_BENCH_ARCHIVES "/");
}

bool writeNationwideDataFolder(const QString& dataFolder, QString* why) {
    // Laid out by the program's own nationwide preparation.
    QDir().mkpath(dataFolder);
    PrepFolders folders;
    folders.download = archiveFolder();
    folders.data = dataFolder + u'/';
    folders.work = WorkFolders::under(dataFolder + QStringLiteral("/../work"));
    folders.work.create();
    Quiet host;
    Yes yes;
    SteadyClock clock;
    const RunOutcome outcome = runNationwide(folders, makePrefectureNames(), host, yes, clock);
    if (outcome.status == RunOutcome::Status::Completed && outcome.placed >= 1 &&
        outcome.offices == 1)
        return true;
    *why = QStringLiteral("the nationwide preparation of %1 did not place the data (%2)")
               .arg(archiveFolder(),
                    outcome.error.isEmpty() ? QStringLiteral("nothing placed") : outcome.error);
    return false;
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

const QString& nationwideDataFolder() {
    static QTemporaryDir dir;
    static const QString folder = [] {
        const QString data = dir.path() + QStringLiteral("/DATA");
        QString why;
        if (writeNationwideDataFolder(data, &why))
            return data;
        std::fprintf(stderr, "nationwide data: %s\n", qPrintable(why));
        return QString();
    }();
    return folder;
}

std::vector<SampleAddress> sampleAddresses(int count) {
    std::vector<SampleAddress> out;
    const QString& folder = nationwideDataFolder();
    if (folder.isEmpty())
        return out;
    int n = 0;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("??*.CSV")})) {
        const auto text = readDecodedFile(folder + u'/' + name);
        if (!text || name.startsWith(u'J'))
            continue;
        int line = 0;
        forEachLine(QStringView(*text), [&](QStringView l) {
            if (++line % 12 != 0 || n >= count)
                return;
            const QStringList f = l.toString().remove(u'"').split(u',');
            if (f.size() < 9 || f[8] == CatchAllTown)
                return;
            const QString town =
                f[8].left(f[8].indexOf(u'（') < 0 ? f[8].size() : f[8].indexOf(u'（'));
            out.push_back(
                {f[2],
                 (n % 3 ? f[6] : QString()) + f[7] + town +
                     QStringLiteral("%1-%2-%3").arg(n % 9 + 1).arg(n % 27 + 1).arg(n % 11 + 1)});
            ++n;
        });
    }
    return out;
}

void runListVerb(benchmark::State& state, const QString& verb, const QString& headings, int rows,
                 const std::function<QString(int)>& rest, const QStringList& options) {
    const QString& data = nationwideDataFolder();
    if (data.isEmpty()) {
        state.SkipWithError("resources/data not found");
        return;
    }
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("list.csv"));
    QByteArray csv = (headings + QStringLiteral("\r\n")).toUtf8();
    int n = 0;
    for (const SampleAddress& a : sampleAddresses(rows))
        csv += QStringLiteral("%1-%2,%3,%4\r\n")
                   .arg(a.postalCode.left(3), a.postalCode.mid(3), a.address, rest(++n))
                   .toUtf8();
    QFile out(list);
    if (!out.open(QIODevice::WriteOnly) || out.write(csv) != csv.size()) {
        state.SkipWithError("cannot write the address list");
        return;
    }
    out.close();
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/yubin-cli");
    QString counts;
    for (auto _ : state) {
        QProcess p;
        p.start(cli, QStringList{QStringLiteral("--data"), data, verb, list} + options +
                         QStringList{QStringLiteral("--pdf"), pdf, QStringLiteral("--report"),
                                     dir.filePath(QStringLiteral("report.csv"))});
        // Exit 1 only says some rows need the user's eye.
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() > 1) {
            state.SkipWithError("yubin-cli did not finish");
            return;
        }
        counts = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    state.counters["rows"] = n;
    state.counters["pdf_MB"] = double(QFileInfo(pdf).size()) / 1e6;
    state.SetLabel(counts.toStdString());
}

} // namespace yubin::bench
