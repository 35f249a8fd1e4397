#include "barcode/bar_measure.h"
#include "support/data_files.h"

#include <QTemporaryDir>

#include <csignal>

#include <sys/resource.h>

namespace yubin {
namespace {

// The full pattern of 1234567, by the standard's table: start, the seven
// digits, thirteen CC4, the check character CC8 (check value 18), stop.
const QString Pattern1234567 = u"001030101040103020301020102030104010302010201030"_qs +
                               u"403020"_qs.repeated(13) + u"101010301000"_qs;

// Arguments separated by blanks, for arguments that hold none.
test::CliResult barcodeCli(const QString& args) {
    return test::runCli(QStringList{u"barcode"_qs} + args.split(u' '));
}

TEST(CliBarcode, PrintsTheCheckValueAndTheFullPattern) {
    test::CliResult r = barcodeCli(u"1234567"_qs);
    EXPECT_EQ(r.out, u"18\n"_qs + Pattern1234567 + u'\n');
    // Trimmed and upper-cased as the window does: 1000001 3-2-1 CC1 0, six
    // CC4, and the check value 10, drawn as the hyphen.
    r = test::runCli({u"barcode"_qs, u" 1000001 "_qs, u" 3-2-1a "_qs, u"--size"_qs, u"3"_qs});
    EXPECT_EQ(
        r.out,
        u"10\n0010301010401040401040401040401040401040401010403010204010401030204010401010403020"
        u"40104040403020403020403020403020403020403020401040301000\n"_qs);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(CliBarcode, RefusalsAndMisuseSayWhyOnStderr) {
    const QString notNumeric = u"郵便番号は7桁数値のみです。     "_qs;
    const QString options = u"yubin-cli: barcode takes [ZIP] [ADDRESS]"_qs;
    const std::tuple<QString, int, QString> cases[] = {
        {u""_qs, 1, notNumeric},
        {u"１２３４５６７"_qs, 1, notNumeric},
        {u"123456"_qs, 1, u"郵便番号を7桁にしてください。     "_qs},
        {u"1234567 2丁目"_qs, 1, u"yubin-cli: \"丁\" cannot be encoded in the customer barcode"_qs},
        {u"1234567 --png /nonexistent/a"_qs, 1, u"yubin-cli: cannot write /nonexistent/a"_qs},
        {u"1234567 --svg /nonexistent/a"_qs, 1, u"yubin-cli: cannot write /nonexistent/a"_qs},
        {u"1234567 --pdf /nonexistent/a"_qs, 1, u"yubin-cli: cannot write /nonexistent/a"_qs},
        {u"1234567 1 2"_qs, 2, options},
        {u"1234567 --size 4"_qs, 2, u"yubin-cli: --size must be 1, 2 or 3"_qs},
        {u"1234567 --top -5"_qs, 2, u"yubin-cli: --top must be a whole number of millimetres"_qs},
        {u"1234567 --left 1.5"_qs, 2,
         u"yubin-cli: --left must be a whole number of millimetres"_qs},
    };
    for (const auto& [args, exitCode, message] : cases) {
        const test::CliResult r = barcodeCli(args);
        EXPECT_EQ(r.exitCode, exitCode) << args.toStdString();
        // The last line: Qt may warn before it about a file it cannot open.
        EXPECT_EQ(r.err.mid(r.err.lastIndexOf(u'\n', -2) + 1), message + u'\n');
        EXPECT_TRUE(r.out.isEmpty());
    }
}

class CliBarcodeFiles : public testing::Test {
protected:
    QTemporaryDir folder;
    const QString file = folder.filePath(u"out"_qs);
};

TEST_F(CliBarcodeFiles, PngIsThePreviewTheWindowDraws) {
    ASSERT_EQ(barcodeCli(u"1000001 1-1 --size 1 --png "_qs + file).exitCode, 0);
    EXPECT_TRUE(QImage(file, "PNG").convertToFormat(QImage::Format_RGB32) ==
                test::previewImage(u"10000011-1"_qs, 1));
}

// Qt writes the size in millimetres and the rectangles in view box units.
TEST_F(CliBarcodeFiles, SvgHoldsTheBarcodeAtItsPrintedSize) {
    ASSERT_EQ(barcodeCli(u"1234567 --size 3 --svg "_qs + file).exitCode, 0);
    const QString svg = QString::fromUtf8(test::readAll(file));
    static const QRegularExpression size(
        uR"re(width="(\S+)mm" height="(\S+)mm"\s+viewBox="0 0 (\S+) (\S+)")re"_qs),
        rect(uR"re(<rect x="(\S+)" y="(\S+)" width="(\S+)" height="(\S+)")re"_qs);
    const auto box = size.match(svg);
    const auto number = [](const QRegularExpressionMatch& m, int i) {
        return m.captured(i).toDouble();
    };
    EXPECT_NEAR(number(box, 1), 138 * 0.06 * 11.5, 0.02);
    EXPECT_NEAR(number(box, 2), 0.36 * 11.5, 0.02);
    const double mmX = number(box, 1) / number(box, 3), mmY = number(box, 2) / number(box, 4);
    std::vector<QRectF> rects;
    for (const auto& r : rect.globalMatch(svg))
        rects.emplace_back(number(r, 1) * mmX, number(r, 2) * mmY, number(r, 3) * mmX,
                           number(r, 4) * mmY);
    test::expectSameBars(rects, test::standardBars(Pattern1234567, 0, 0, 11.5));
}

TEST_F(CliBarcodeFiles, PdfIsAnA4PageAsThePrintPathDrawsIt) {
    // The position defaults to the window's fields, 35 and 15 mm.
    for (const auto& [options, top, left, pointSize] :
         {std::tuple{u""_qs, 35, 15, 10.0},
          std::tuple{u" --size 1 --top 50 --left 20"_qs, 50, 20, 8.0}}) {
        ASSERT_EQ(barcodeCli(u"1234567 --pdf "_qs + file + options).exitCode, 0);
        const QByteArray pdf = test::readAll(file);
        EXPECT_NEAR(test::pdfPageSizeMm(pdf).width(), 210, 0.5);
        EXPECT_NEAR(test::pdfPageSizeMm(pdf).height(), 297, 0.5);
        test::expectSameBars(test::pdfFilledRectsMm(pdf),
                             test::standardBars(Pattern1234567, top, left, pointSize));
    }
}

// A write that fails part-way, here at a file size limit of 100 bytes, is
// reported and leaves an earlier file of the same name as it was.
TEST_F(CliBarcodeFiles, FailedWriteLeavesTheEarlierFileWhole) {
    for (const QString& option : {u"--png"_qs, u"--svg"_qs, u"--pdf"_qs}) {
        test::writeFile(file, "an earlier file");
        const test::CliResult r = test::runCli({u"barcode"_qs, u"1234567"_qs, option, file}, [] {
            std::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{100, 100};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        EXPECT_EQ(r.exitCode, 1) << option.toStdString();
        EXPECT_TRUE(r.err.endsWith(u"yubin-cli: cannot write "_qs + file + u'\n'));
        EXPECT_EQ(test::readAll(file), "an earlier file") << option.toStdString();
    }
}

} // namespace
} // namespace yubin
