#include "barcode/bar_measure.h"
#include "barcode/bar_print.h"
#include "barcode/barcode_code.h"
#include "main_window/window_owner.h"
#include "support/data_files.h"
#include "support/fakes.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace yubin {
namespace {

QString patternOf(const QString& data) {
    const auto chars = barcode::dataCharacters(data);
    return chars ? barcode::fullPattern(*chars, barcode::checkValue(*chars)) : QString();
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct CliCase {
    QStringList args;
    const char* check;
    const char16_t* data;
};

void PrintTo(const CliCase& c, std::ostream* os) {
    *os << c.args.join(u' ').toStdString();
}

class CliBarcode : public testing::TestWithParam<CliCase> {};

TEST_P(CliBarcode, PrintsCheckValueAndFullPattern) {
    const test::CliResult r =
        test::runCli(QStringList{QStringLiteral("barcode")} + GetParam().args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    const QStringList lines = r.out.split(u'\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QLatin1String(GetParam().check));
    EXPECT_EQ(lines[1].size(), 138);
    EXPECT_TRUE(lines[1].startsWith(u"001030"));
    EXPECT_TRUE(lines[1].endsWith(u"301000"));
    EXPECT_EQ(lines[1], patternOf(QString::fromUtf16(GetParam().data)));
    EXPECT_TRUE(lines[2].isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CliBarcode,
    testing::Values(
        CliCase{{QStringLiteral("1234567")}, "18", u"1234567"},
        CliCase{{QStringLiteral("1234567"), QStringLiteral("1-1")}, "10", u"12345671-1"},
        CliCase{{QStringLiteral("1234567"), QStringLiteral("6-6")}, "00", u"12345676-6"},
        // Trimmed and upper-cased as the window does.
        CliCase{{QStringLiteral(" 1000001 "), QStringLiteral(" 3-2-1a ")}, "10", u"10000013-2-1A"},
        CliCase{{QStringLiteral("1234567"), QStringLiteral("1-2ab"), QStringLiteral("--size"),
                 QStringLiteral("3")},
                "04",
                u"12345671-2AB"}));

struct RefusedCase {
    QStringList args;
    const char16_t* message;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.args.join(u' ').toStdString();
}

class CliBarcodeRefuses : public testing::TestWithParam<RefusedCase> {};

TEST_P(CliBarcodeRefuses, PostalCodeWithTheWindowsMessage) {
    const test::CliResult r =
        test::runCli(QStringList{QStringLiteral("barcode")} + GetParam().args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QString::fromUtf16(GetParam().message) + u'\n');
    EXPECT_TRUE(r.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CliBarcodeRefuses,
    testing::Values(RefusedCase{{QString()}, u"郵便番号は7桁数値のみです。     "},
                    RefusedCase{{QStringLiteral("123-4567")}, u"郵便番号は7桁数値のみです。     "},
                    RefusedCase{{QStringLiteral("１２３４５６７")},
                                u"郵便番号は7桁数値のみです。     "},
                    RefusedCase{{QStringLiteral("123456")}, u"郵便番号を7桁にしてください。     "},
                    RefusedCase{{QStringLiteral("12345678"), QStringLiteral("1")},
                                u"郵便番号を7桁にしてください。     "}));

TEST(CliBarcodeInput, UnencodableAddressIsNamedAndFails) {
    const test::CliResult r = test::runCli(
        {QStringLiteral("barcode"), QStringLiteral("1234567"), QStringLiteral("2丁目")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
              QStringLiteral("yubin-cli: \"丁\" cannot be encoded in the customer barcode\n"));
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(CliBarcodeInput, MisusedOptionsAreUsageErrors) {
    const QString zip = QStringLiteral("1234567");
    for (const QStringList& args :
         {QStringList{}, QStringList{zip, QStringLiteral("1"), QStringLiteral("2")},
          QStringList{zip, QStringLiteral("--size"), QStringLiteral("4")},
          QStringList{zip, QStringLiteral("--size"), QStringLiteral("")},
          QStringList{zip, QStringLiteral("--top"), QStringLiteral("-5")},
          QStringList{zip, QStringLiteral("--left"), QStringLiteral("1.5")},
          QStringList{zip, QStringLiteral("--left"), QStringLiteral("99999999999")},
          QStringList{zip, QStringLiteral("--jpg"), QStringLiteral("x")}}) {
        const test::CliResult r = test::runCli(QStringList{QStringLiteral("barcode")} + args);
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(CliBarcodeFiles, UnwritableFileFailsWithoutOutput) {
    for (const QString& option :
         {QStringLiteral("--png"), QStringLiteral("--svg"), QStringLiteral("--pdf")}) {
        const test::CliResult r =
            test::runCli({QStringLiteral("barcode"), QStringLiteral("1234567"), option,
                          QStringLiteral("/nonexistent/dir/file")});
        EXPECT_EQ(r.exitCode, 1) << option.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("yubin-cli: cannot write /nonexistent/dir/file")))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

class CliBarcodeSizes : public testing::TestWithParam<int> {
protected:
    static double pointSize(int codeSize) { return codeSize == 1 ? 8 : codeSize == 2 ? 10 : 11.5; }
    QString file(const char* name) const { return folder.filePath(QLatin1String(name)); }
    QTemporaryDir folder;
};

TEST_P(CliBarcodeSizes, PngIsThePreviewTheWindowDraws) {
    const int size = GetParam();
    const test::CliResult r =
        test::runCli({QStringLiteral("barcode"), QStringLiteral("1000001"), QStringLiteral("1-1"),
                      QStringLiteral("--size"), QString::number(size), QStringLiteral("--png"),
                      file("preview.png")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage png(file("preview.png"));
    ASSERT_FALSE(png.isNull());

    test::TestPlatform env;
    SharedValues shared;
    shared.BarZipCode = QStringLiteral("1000001");
    WindowOwner owner(env.platform(), shared);
    BAR_Print& w = owner.barPrint();
    w.txtData2->setText(QStringLiteral("1-1"));
    w.cmbBlock->setCurrentIndex(size - 1);
    w.cmdExecute_Click();
    ASSERT_EQ(w.lblDeg->text(), r.out.section(u'\n', 0, 0));
    EXPECT_TRUE(png.convertToFormat(QImage::Format_RGB32) ==
                w.picTarget->image().convertToFormat(QImage::Format_RGB32));
}

// The SVG's rectangles, taken to millimetres through its size and view box.
TEST_P(CliBarcodeSizes, SvgHoldsTheBarcodeAtItsPrintedSize) {
    const int size = GetParam();
    const test::CliResult r =
        test::runCli({QStringLiteral("barcode"), QStringLiteral("1234567"), QStringLiteral("4-5"),
                      QStringLiteral("--size"), QString::number(size), QStringLiteral("--svg"),
                      file("code.svg")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QXmlStreamReader xml(readAll(file("code.svg")));
    double mmPerUnitX = 0, mmPerUnitY = 0;
    QSizeF sizeMm;
    std::vector<QRectF> rects;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == u"svg") {
            sizeMm = QSizeF(a.value(QLatin1String("width")).chopped(2).toDouble(),
                            a.value(QLatin1String("height")).chopped(2).toDouble());
            const QStringList box = a.value(QLatin1String("viewBox")).toString().split(u' ');
            ASSERT_EQ(box.size(), 4);
            mmPerUnitX = sizeMm.width() / box[2].toDouble();
            mmPerUnitY = sizeMm.height() / box[3].toDouble();
        } else if (xml.name() == u"rect") {
            rects.emplace_back(a.value(QLatin1String("x")).toDouble() * mmPerUnitX,
                               a.value(QLatin1String("y")).toDouble() * mmPerUnitY,
                               a.value(QLatin1String("width")).toDouble() * mmPerUnitX,
                               a.value(QLatin1String("height")).toDouble() * mmPerUnitY);
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    const double a = pointSize(size);
    EXPECT_NEAR(sizeMm.width(), 138 * 0.06 * a, 0.02);
    EXPECT_NEAR(sizeMm.height(), 0.36 * a, 0.02);
    test::expectSameBars(rects, test::standardBars(patternOf(u"12345674-5"_qs), 0, 0, a), 0.02);
}

TEST_P(CliBarcodeSizes, PdfIsAnA4PageAsThePrintPathDrawsIt) {
    const int size = GetParam();
    const test::CliResult r = test::runCli(
        {QStringLiteral("barcode"), QStringLiteral("1234567"), QStringLiteral("--size"),
         QString::number(size), QStringLiteral("--pdf"), file("page.pdf"), QStringLiteral("--top"),
         QStringLiteral("50"), QStringLiteral("--left"), QStringLiteral("20")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray pdf = readAll(file("page.pdf"));
    const QSizeF page = test::pdfPageSizeMm(pdf);
    EXPECT_NEAR(page.width(), 210, 0.5);
    EXPECT_NEAR(page.height(), 297, 0.5);
    test::expectSameBars(test::pdfFilledRectsMm(pdf),
                         test::standardBars(patternOf(u"1234567"_qs), 50, 20, pointSize(size)),
                         0.02);
}

INSTANTIATE_TEST_SUITE_P(CodeSizes, CliBarcodeSizes, testing::Values(1, 2, 3));

TEST(CliBarcodeFiles, PdfPositionDefaultsToTheWindowsFields) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.pdf"));
    const test::CliResult r = test::runCli(
        {QStringLiteral("barcode"), QStringLiteral("1234567"), QStringLiteral("--pdf"), path});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    test::expectSameBars(test::pdfFilledRectsMm(readAll(path)),
                         test::standardBars(patternOf(u"1234567"_qs), 35, 15, 10), 0.02);
}

} // namespace
} // namespace yubin
