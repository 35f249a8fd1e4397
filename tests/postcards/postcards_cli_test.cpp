#include "support/data_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin::test {
namespace {

TEST(PostcardsCli, ExitsByTheWorstRowAndRefusesMisuse) {
    QTemporaryDir dir;
    writeFile(
        dir.filePath(u"DATA/13tokyo.CSV"_qs),
        sjisLines({addressRecord(u"13101"_qs, u"1000013"_qs, u"ﾄｳｷﾖｳﾄ"_qs, u"ﾁﾖﾀﾞｸ"_qs,
                                 u"ｶｽﾐｶﾞｾｷ"_qs, u"東京都"_qs, u"千代田区"_qs, u"霞が関"_qs)}));
    const QString ok = dir.filePath(u"ok.csv"_qs);
    writeFile(ok, u"1000013,東京都千代田区霞が関1-3-2,山田 太郎\n"_qs.toUtf8().repeated(3));
    const QString bad = dir.filePath(u"bad.csv"_qs);
    writeFile(
        bad,
        u"1000013,東京都千代田区霞が関1,山田\n1000014,東京都千代田区霞が関1,鈴木\n"_qs.toUtf8());
    const QString pdf = dir.filePath(u"out.pdf"_qs);
    const struct {
        QStringList args;
        int exit;
        QString out; // stdout, or the start of stderr for a failure
        int pages;   // in out.pdf; -1 when not written
    } cases[] = {
        {{ok, u"--pdf"_qs, pdf, u"--sender-code"_qs, u"210-0001"_qs, u"--sender-name"_qs,
          u"鈴木"_qs},
         0,
         u"印刷 3 枚、警告 0 件、エラー 0 件、除外 0 件／全 3 行\n"_qs,
         3},
        {{bad, u"--pdf"_qs, pdf},
         1,
         u"印刷 1 枚、警告 0 件、エラー 1 件、除外 1 件／全 2 行\n"_qs,
         1},
        {{bad, u"--pdf"_qs, pdf, u"--keep-unresolved"_qs, u"--paper"_qs, u"naga3"_qs,
          u"--barcode"_qs, u"--draw-boxes"_qs, u"--horizontal"_qs},
         1,
         u"印刷 2 枚、警告 0 件、エラー 1 件、除外 0 件／全 2 行\n"_qs,
         2},
        {{u"--calibration"_qs, u"--pdf"_qs, pdf, u"--offset"_qs, u"1.5,-2"_qs}, 0, {}, 1},
        {{ok, u"--paper"_qs, u"a4"_qs}, 2, u"yubin-cli: 用紙は postcard"_qs, -1},
        {{ok, u"--numerals"_qs, u"roman"_qs}, 2, u"yubin-cli: 漢数字は"_qs, -1},
        {{ok, u"--offset"_qs, u"30,0"_qs}, 2, u"yubin-cli: オフセットは"_qs, -1},
        {{ok, u"--sender-code"_qs, u"12345"_qs}, 2, u"yubin-cli: 差出人の郵便番号は"_qs, -1},
        {{u"--calibration"_qs}, 2, u"yubin-cli: 位置合わせのページには --pdf"_qs, -1},
        {{ok, u"--pdf"_qs, ok}, 1, u"yubin-cli: 出力先が読み込んだファイルと同じです"_qs, -1},
    };
    for (const auto& c : cases) {
        QFile::remove(pdf);
        const CliResult r =
            runCli(QStringList{u"--data"_qs, dir.filePath(u"DATA"_qs), u"postcards"_qs} + c.args);
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        EXPECT_EQ(r.exitCode, c.exit) << r.err.toStdString();
        if (c.exit == 2 || !r.err.isEmpty())
            EXPECT_TRUE(r.err.contains(c.out)) << r.err.toStdString();
        else
            EXPECT_EQ(r.out, c.out);
        if (c.pages < 0)
            EXPECT_FALSE(QFile::exists(pdf));
        else
            EXPECT_EQ(readAll(pdf).count("/Type /Page\n"), c.pages);
    }
}

} // namespace
} // namespace yubin::test
