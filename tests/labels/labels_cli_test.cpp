#include "support/data_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin::test {
namespace {

TEST(LabelsCli, ExitsByTheWorstRowAndRefusesMisuse) {
    QTemporaryDir dir;
    writeFile(
        dir.filePath(u"DATA/13tokyo.CSV"_qs),
        sjisLines({addressRecord(u"13101"_qs, u"1000013"_qs, u"ﾄｳｷﾖｳﾄ"_qs, u"ﾁﾖﾀﾞｸ"_qs,
                                 u"ｶｽﾐｶﾞｾｷ"_qs, u"東京都"_qs, u"千代田区"_qs, u"霞が関"_qs)}));
    const QString ok = dir.filePath(u"ok.csv"_qs);
    writeFile(ok, u"1000013,東京都千代田区霞が関1,山田\n"_qs.toUtf8().repeated(13));
    const QString pdf = dir.filePath(u"out.pdf"_qs);
    const struct {
        QStringList args;
        QByteArray file; // written to in.csv first when given
        int exit;
        QString err; // the start of stderr
    } cases[] = {
        {{ok, u"--pdf"_qs, pdf}, {}, 0, {}},
        {{u"in.csv"_qs}, "1000014,東京都千代田区霞が関1,山田\n", 1, {}},
        {{u"in.csv"_qs},
         "1000013,\xEF\xBB\xBF\xFF,x\n",
         1,
         u"yubin-cli: 文字コードを判別できません"_qs},
        {{u"in.csv"_qs}, "1000013," + QByteArray(10000, 'a') + ",x\n", 1, {}},
        {{u"in.csv"_qs},
         "郵便番号,住所,氏名,電話番号\n1000013,東京都千代田区霞が関1,山田,03\n",
         0,
         u"yubin-cli: 使わない列：電話番号\n"_qs},
        {{u"missing.csv"_qs}, {}, 1, u"yubin-cli: ファイルがありません："_qs},
        {{u"in.csv"_qs, u"--report"_qs, u"in.csv"_qs},
         "1000013,東京都千代田区霞が関1,x\n",
         1,
         u"yubin-cli: 出力先が読み込んだファイルと同じです："_qs},
        {{ok, u"--size"_qs, u"4"_qs}, {}, 2, u"yubin-cli: コードサイズは"_qs},
        {{ok, u"--layout"_qs, u"24"_qs, u"--size"_qs, u"2"_qs},
         {},
         2,
         u"yubin-cli: 70×33.9 mm のラベルには"_qs},
        {{ok, u"--layout"_qs, u"21"_qs, u"--pdf"_qs, dir.filePath(u"out21.pdf"_qs)}, {}, 0, {}},
        {{ok, u"--layout"_qs, u"3x7:70x42.3:8.8,0:70,42.3"_qs, u"--size"_qs, u"1"_qs},
         {},
         2,
         u"yubin-cli: ラベルがA4"_qs},
        {{ok, u"--start"_qs, u"13"_qs}, {}, 2, u"yubin-cli: 開始位置は 1～12 です"_qs},
    };
    for (const auto& c : cases) {
        const QString in = dir.filePath(u"in.csv"_qs);
        if (!c.file.isEmpty())
            writeFile(in, c.file);
        QStringList args{u"--data"_qs, dir.filePath(u"DATA"_qs), u"labels"_qs};
        for (const QString& a : c.args)
            args << (a == u"in.csv" || a == u"missing.csv" ? dir.filePath(a) : a);
        const CliResult r = runCli(args);
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        EXPECT_EQ(r.exitCode, c.exit) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
        if (!c.file.isEmpty()) {
            EXPECT_EQ(readAll(in), c.file); // the input is never written over
        }
    }
    // Thirteen labels of twelve a sheet: two pages.
    EXPECT_EQ(readAll(pdf).count("/Type /Page\n"), 2);
}

} // namespace
} // namespace yubin::test
