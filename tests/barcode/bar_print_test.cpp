#include "barcode/bar_measure.h"
#include "barcode/bar_print.h"
#include "barcode/barcode_code.h"
#include "barcode/barcode_input.h"
#include "main_window/window_owner.h"
#include "support/fakes.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace yubin {
namespace {

const QString GothicFamily = QStringLiteral("ＭＳ ゴシック");

class BarcodeWindow : public testing::Test {
protected:
    BAR_Print& open(const QString& zip = QStringLiteral("1234567")) {
        shared.BarZipCode = zip;
        owner = std::make_unique<WindowOwner>(env.platform(), shared);
        return owner->barPrint();
    }
    // Shows the window, makes it the application's active window as the
    // desktop would, and lets the draw that the activation schedules run.
    static void activate(QWidget& w) {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(w.isActiveWindow());
        if (auto* dialog = qobject_cast<BAR_Print*>(&w)) {
            ASSERT_TRUE(QTest::qWaitFor([dialog] { return !dialog->Timer1->isActive(); }));
        }
    }
    static QImage picture(const BAR_Print& w) { return w.picTarget->image(); }
    static bool blank(const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    return false;
        return true;
    }
    // The picture holds the preview of `code` at `size` and nothing else.
    static void expectPreviewOf(const QImage& image, const QString& code, int size) {
        const auto data = barcode::dataCharacters(code);
        ASSERT_TRUE(data.has_value());
        const auto bars = barcode::previewBars(
            barcode::fullPattern(*data, barcode::checkValue(*data)), size, size);
        ASSERT_TRUE(bars.has_value());
        QImage expected(image.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        for (const QRect& bar : *bars)
            for (int y = bar.top(); y <= bar.bottom(); ++y)
                for (int x = bar.left(); x <= bar.right(); ++x)
                    expected.setPixel(x, y, qRgb(0, 0, 0));
        EXPECT_TRUE(image.convertToFormat(QImage::Format_RGB32) == expected);
    }
    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    test::TestPlatform env;
    SharedValues shared;
    std::unique_ptr<WindowOwner> owner;
};

// ---- controls ----------------------------------------------------------------

TEST_F(BarcodeWindow, CaptionsAndGroups) {
    BAR_Print& w = open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" 郵便ｶｽﾀﾏｰﾊﾞｰｺｰﾄﾞ"));
    EXPECT_EQ(w.Frame1->title(), QStringLiteral("郵便番号"));
    EXPECT_EQ(w.Frame2->title(), QStringLiteral("設 定"));
    const std::vector<std::pair<QLabel*, QString>> labels = {
        {w.Label2[0], QStringLiteral("郵便番号(7桁)")},
        {w.Label4[0], QStringLiteral("住所表示(番地)または整理番号")},
        {w.Label4[1], QStringLiteral("※ 通常は空白で可")},
        {w.Label2[1], QStringLiteral("CD")},
        {w.Label1, QStringLiteral("ﾊﾞｰｺｰﾄﾞ資料(PDF)")},
        {w.Label5, QStringLiteral("出力方法")},
        {w.Label8, QStringLiteral("ｺｰﾄﾞｻｲｽﾞ")},
        {w.Label6, QStringLiteral("印刷・上端位置")},
        {w.Label7[0], QStringLiteral("印刷・左端位置")},
        {w.Label7[1], QStringLiteral("※ 余白 5㎜")},
    };
    for (const auto& [label, caption] : labels)
        EXPECT_EQ(label->text(), caption) << label->objectName().toStdString();
    EXPECT_EQ(w.Option1[0]->text(), QStringLiteral("画像"));
    EXPECT_EQ(w.Option1[1]->text(), QStringLiteral("印刷"));
    EXPECT_EQ(w.cmdExecute->text(), QStringLiteral("実行(&E)"));
    EXPECT_EQ(w.Command1->text(), QStringLiteral("閉じる(&C)"));
    for (QWidget* c :
         std::initializer_list<QWidget*>{w.Label2[0], w.txtData1, w.Label4[0], w.Label4[1],
                                         w.txtData2, w.Label2[1], w.lblDeg, w.Label1})
        EXPECT_EQ(c->parentWidget(), w.Frame1) << c->objectName().toStdString();
    for (QWidget* c : std::initializer_list<QWidget*>{w.Label5, w.Option1[0], w.Option1[1],
                                                      w.Label8, w.cmbBlock, w.Label6, w.txtStartY,
                                                      w.Label7[0], w.txtStartX, w.Label7[1]})
        EXPECT_EQ(c->parentWidget(), w.Frame2) << c->objectName().toStdString();
    // The preview lies below both groups.
    EXPECT_GT(w.picTarget->y(), w.Frame2->geometry().bottom());
    EXPECT_GT(w.picTarget->y(), w.Frame1->geometry().bottom());
}

TEST_F(BarcodeWindow, FieldsFontsAndStartingValues) {
    BAR_Print& w = open();
    EXPECT_EQ(w.txtData1->maxLength(), 7);
    EXPECT_EQ(w.txtData2->maxLength(), 13);
    EXPECT_TRUE(w.txtData2->text().isEmpty());
    EXPECT_EQ(w.txtStartY->text(), QStringLiteral("35"));
    EXPECT_EQ(w.txtStartX->text(), QStringLiteral("15"));
    EXPECT_EQ(w.txtStartY->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(w.txtStartX->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    for (QLineEdit* box : {w.txtData1, w.txtData2, w.txtStartY, w.txtStartX}) {
        EXPECT_FALSE(box->testAttribute(Qt::WA_InputMethodEnabled))
            << box->objectName().toStdString();
        EXPECT_EQ(box->font().family(), GothicFamily) << box->objectName().toStdString();
    }
    EXPECT_EQ(w.cmbBlock->font().family(), GothicFamily);
    EXPECT_EQ(w.lblDeg->font().family(), GothicFamily);
    ASSERT_EQ(w.cmbBlock->count(), 3);
    EXPECT_EQ(w.cmbBlock->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(w.cmbBlock->itemText(1), QStringLiteral("2"));
    EXPECT_EQ(w.cmbBlock->itemText(2), QStringLiteral("3"));
    EXPECT_EQ(w.cmbBlock->currentText(), QStringLiteral("2"));
    EXPECT_TRUE(w.Option1[0]->isChecked());
    EXPECT_FALSE(w.Option1[1]->isChecked());
    EXPECT_TRUE(w.lblDeg->text().isEmpty());
    EXPECT_EQ(w.Timer1->interval(), 10);
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_TRUE(blank(picture(w)));
    EXPECT_EQ(picture(w).size(), barcode::PreviewImageSize);
}

TEST_F(BarcodeWindow, ColoursOfTheCheckAndManualLabels) {
    BAR_Print& w = open();
    EXPECT_EQ(w.lblDeg->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(w.lblDeg->palette().color(QPalette::Window), QColor(128, 128, 128));
    EXPECT_TRUE(w.lblDeg->autoFillBackground());
    EXPECT_EQ(w.Label1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(w.Label1->palette().color(QPalette::Window), QColor(255, 255, 192));
}

TEST_F(BarcodeWindow, LoadTakesTheTrimmedPostalCode) {
    BAR_Print& w = open(QStringLiteral("  1000001　"));
    EXPECT_EQ(w.txtData1->text(), QStringLiteral("1000001"));
}

// ---- drawing on activation ---------------------------------------------------------

TEST_F(BarcodeWindow, OpeningDrawsThePreviewWithoutAClick) {
    BAR_Print& w = open();
    activate(w);
    EXPECT_EQ(w.lblDeg->text(), QStringLiteral("18"));
    // Seven digits and thirteen CC4 at code size 2.
    expectPreviewOf(picture(w), QStringLiteral("1234567"), 2);
    EXPECT_EQ(shared.BarCodeSize, 2);
    EXPECT_TRUE(env.messages.shown.empty());
}

TEST_F(BarcodeWindow, ReturningFromAnotherWindowOfTheProgramDrawsAgain) {
    BAR_Print& w = open();
    activate(w);
    w.txtData2->setText(QStringLiteral("6-6"));
    QWidget other;
    activate(other);
    activate(w);
    EXPECT_EQ(w.lblDeg->text(), QStringLiteral("00"));
}

TEST_F(BarcodeWindow, ReturningFromItsOwnDialogIsNoNewActivation) {
    BAR_Print& w = open();
    activate(w);
    w.txtData2->setText(QStringLiteral("6-6"));
    // A message box or the print dialog: a modal child window of this one.
    QDialog child(&w);
    child.setModal(true);
    activate(child);
    ASSERT_FALSE(w.isActiveWindow());
    child.hide();
    activate(w);
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_EQ(w.lblDeg->text(), QStringLiteral("18"));
}

TEST_F(BarcodeWindow, ReturningFromAnotherProgramIsNoNewActivation) {
    BAR_Print& w = open();
    activate(w);
    w.txtData2->setText(QStringLiteral("6-6"));
    QApplication::setActiveWindow(nullptr);
    ASSERT_FALSE(w.isActiveWindow());
    EXPECT_FALSE(w.Timer1->isActive());
    activate(w);
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_EQ(w.lblDeg->text(), QStringLiteral("18"));
}

// ---- the draw action -----------------------------------------------------------

TEST_F(BarcodeWindow, AddressNumberIsShownUpperCased) {
    BAR_Print& w = open();
    w.txtData2->setText(QStringLiteral("1-2ab"));
    click(w.cmdExecute);
    EXPECT_EQ(w.txtData2->text(), QStringLiteral("1-2AB"));
    // 28 + 1 + 10 + 2 + 11 + 0 + 11 + 1 + 6 * 14 = 148: check 4, shown as two digits.
    EXPECT_EQ(w.lblDeg->text(), QStringLiteral("04"));
    expectPreviewOf(picture(w), QStringLiteral("12345671-2AB"), 2);
}

TEST_F(BarcodeWindow, BothBoxesAreTrimmedAndWrittenBack) {
    BAR_Print& w = open();
    w.txtData2->setText(QStringLiteral("　1-1  "));
    click(w.cmdExecute);
    EXPECT_EQ(w.txtData2->text(), QStringLiteral("1-1"));
    EXPECT_EQ(w.lblDeg->text(), QStringLiteral("10"));
    // Trimmed before it is checked: six digits, not a non-numeric text.
    w.txtData1->setText(QStringLiteral(" 123456"));
    click(w.cmdExecute);
    EXPECT_EQ(w.txtData1->text(), QStringLiteral("123456"));
    ASSERT_EQ(env.messages.shown.size(), std::size_t(1));
    EXPECT_EQ(env.messages.shown.front().text,
              QStringLiteral("郵便番号を7桁にしてください。     "));
}

struct BadCode {
    const char16_t* text;
    const QString* message;
};

class PostalCodeMessages : public BarcodeWindow, public testing::WithParamInterface<BadCode> {};

TEST_P(PostalCodeMessages, ExplainAndKeepThePreviousPreview) {
    BAR_Print& w = open();
    activate(w);
    const QImage before = picture(w);
    ASSERT_FALSE(blank(before));
    w.txtStartX->setFocus();
    w.txtData1->setText(QString::fromUtf16(GetParam().text));
    click(w.cmdExecute);
    ASSERT_EQ(env.messages.shown.size(), std::size_t(1));
    const test::ShownMessage& m = env.messages.shown.front();
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.title, QStringLiteral("郵便ﾊﾞｰｺｰﾄﾞ"));
    EXPECT_EQ(m.text, *GetParam().message);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_EQ(w.focusWidget(), w.txtData1);
    EXPECT_TRUE(w.lblDeg->text().isEmpty());
    EXPECT_TRUE(picture(w) == before);
}

const QString NotNumeric = QStringLiteral("郵便番号は7桁数値のみです。     ");
const QString NotSeven = QStringLiteral("郵便番号を7桁にしてください。     ");

INSTANTIATE_TEST_SUITE_P(
    Codes, PostalCodeMessages,
    testing::Values(BadCode{u"", &NotNumeric}, BadCode{u"   ", &NotNumeric},
                    BadCode{u"12a4567", &NotNumeric}, BadCode{u"-123456", &NotNumeric},
                    BadCode{u"123.456", &NotNumeric}, BadCode{u"１２３４５６７", &NotNumeric},
                    BadCode{u"123", &NotSeven}, BadCode{u"123456", &NotSeven}));

TEST_F(BarcodeWindow, UnencodableAddressEndsSilentlyWithAnEmptyPreview) {
    BAR_Print& w = open();
    activate(w);
    ASSERT_FALSE(blank(picture(w)));
    w.txtData2->setText(QStringLiteral("1#2"));
    click(w.cmdExecute);
    EXPECT_TRUE(env.messages.shown.empty());
    EXPECT_TRUE(w.lblDeg->text().isEmpty());
    EXPECT_TRUE(blank(picture(w)));
}

class BadPosition : public BarcodeWindow, public testing::WithParamInterface<const char16_t*> {};

TEST_P(BadPosition, EndsSilentlyBeforeThePreview) {
    for (bool top : {false, true}) {
        BAR_Print& w = open();
        activate(w);
        const QImage before = picture(w);
        w.cmbBlock->setCurrentIndex(2);
        (top ? w.txtStartY : w.txtStartX)->setText(QString::fromUtf16(GetParam()));
        click(w.cmdExecute);
        EXPECT_TRUE(env.messages.shown.empty());
        EXPECT_TRUE(w.lblDeg->text().isEmpty());
        EXPECT_TRUE(picture(w) == before);
        EXPECT_EQ(shared.BarCodeSize, 2);
        w.close();
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, BadPosition,
                         testing::Values(u"", u"1a", u"-5", u"2147483648", u"99999999999"));

TEST_F(BarcodeWindow, CodeSizeMovesThePreviewAndIsRemembered) {
    BAR_Print& w = open();
    for (int size : {1, 3, 2}) {
        w.cmbBlock->setCurrentIndex(size - 1);
        click(w.cmdExecute);
        EXPECT_EQ(shared.BarCodeSize, size);
        expectPreviewOf(picture(w), QStringLiteral("1234567"), size);
    }
}

// ---- keyboard ---------------------------------------------------------------------------

TEST_F(BarcodeWindow, DigitBoxesDiscardEveryOtherCharacter) {
    BAR_Print& w = open();
    activate(w);
    for (QLineEdit* box : {w.txtStartY, w.txtStartX, w.txtData1}) {
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, QStringLiteral("-1a2.3 "));
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QStringLiteral("４"),
                            Qt::NoModifier);
        QTest::keyClicks(box, QStringLiteral("e+5"));
        EXPECT_EQ(box->text(), QStringLiteral("1235")) << box->objectName().toStdString();
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), QStringLiteral("123"));
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Delete);
        EXPECT_EQ(box->text(), QStringLiteral("23"));
        QApplication::clipboard()->setText(QStringLiteral("-9"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->text(), QStringLiteral("23"));
    }
    w.txtData2->setFocus();
    QTest::keyClicks(w.txtData2, QStringLiteral("1-2a#"));
    EXPECT_EQ(w.txtData2->text(), QStringLiteral("1-2a#"));
}

TEST_F(BarcodeWindow, EnterMovesAlongTheFieldsWithoutDrawing) {
    BAR_Print& w = open(QStringLiteral("123456"));
    activate(w);
    env.messages.shown.clear();
    w.lblDeg->setText(QStringLiteral("xx"));
    w.txtData1->setFocus();
    QTest::keyClick(w.txtData1, Qt::Key_Return);
    EXPECT_EQ(w.focusWidget(), w.txtData1);
    QTest::keyClick(w.txtData1, Qt::Key_7);
    QTest::keyClick(w.txtData1, Qt::Key_Return);
    EXPECT_EQ(w.focusWidget(), w.txtData2);
    QTest::keyClick(w.txtData2, Qt::Key_Enter);
    EXPECT_EQ(w.focusWidget(), w.cmdExecute);
    w.txtStartY->setFocus();
    QTest::keyClick(w.txtStartY, Qt::Key_Return);
    EXPECT_EQ(w.focusWidget(), w.txtStartX);
    QTest::keyClick(w.txtStartX, Qt::Key_Return);
    EXPECT_EQ(w.focusWidget(), w.cmdExecute);
    EXPECT_EQ(w.lblDeg->text(), QStringLiteral("xx"));
    EXPECT_TRUE(env.messages.shown.empty());
    // Enter on the focused button runs the draw.
    QTest::keyClick(w.cmdExecute, Qt::Key_Return);
    EXPECT_EQ(w.lblDeg->text(), QStringLiteral("18"));
}

TEST_F(BarcodeWindow, FocusPutsTheCaretAtTheEnd) {
    BAR_Print& w = open();
    activate(w);
    w.txtData2->setText(QStringLiteral("1-1"));
    w.txtData2->setCursorPosition(0);
    w.txtData1->setFocus();
    EXPECT_EQ(w.txtData1->cursorPosition(), 7);
    QTest::keyClick(w.txtData1, Qt::Key_Tab);
    ASSERT_EQ(w.focusWidget(), w.txtData2);
    EXPECT_EQ(w.txtData2->cursorPosition(), 3);
    EXPECT_FALSE(w.txtData2->hasSelectedText());
}

// ---- other actions -------------------------------------------------------------------------

TEST_F(BarcodeWindow, ManualLinkOpensThePdfManual) {
    BAR_Print& w = open();
    QTest::mouseDClick(w.Label1, Qt::LeftButton);
    ASSERT_EQ(env.web.opened.size(), 1);
    EXPECT_TRUE(env.web.opened.front().endsWith(u"/zipcode/dl/zipmanual/manual.pdf"));
    EXPECT_TRUE(env.web.opened.front().startsWith(u"https://"));
}

TEST_F(BarcodeWindow, CloseButtonUnloadsTheWindow) {
    BAR_Print& w = open();
    activate(w);
    QPointer<BAR_Print> window(&w);
    click(w.Command1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(owner->isLoaded(window));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
}

// ---- printing --------------------------------------------------------------------------------

struct PrintCase {
    int dpi;
    int codeSize;
    double pointSize;
};

void PrintTo(const PrintCase& c, std::ostream* os) {
    *os << c.dpi << " dpi, code size " << c.codeSize;
}

class Printing : public BarcodeWindow, public testing::WithParamInterface<PrintCase> {};

// The page the print path sends, measured from the PDF the printer wrote.
TEST_P(Printing, PrintsAtTheStandardSizeWhereThePositionFieldsSay) {
    BAR_Print& w = open();
    env.printing.resolution = GetParam().dpi;
    w.Option1[1]->setChecked(true);
    w.cmbBlock->setCurrentIndex(GetParam().codeSize - 1);
    w.txtStartY->setText(QStringLiteral("40"));
    w.txtStartX->setText(QStringLiteral("12"));
    w.txtData2->setText(QStringLiteral("3-2-1"));
    click(w.cmdExecute);
    ASSERT_EQ(env.printing.files.size(), 1);
    QFile pdf(env.printing.files.front());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    const auto data = barcode::dataCharacters(u"12345673-2-1");
    const QString pattern = barcode::fullPattern(*data, barcode::checkValue(*data));
    test::expectSameBars(test::pdfFilledRectsMm(bytes),
                         test::standardBars(pattern, 40, 12, GetParam().pointSize), 0.02);
    // The preview was drawn before the print.
    EXPECT_EQ(w.lblDeg->text(), barcode::checkValueText(barcode::checkValue(*data)));
    expectPreviewOf(picture(w), QStringLiteral("12345673-2-1"), GetParam().codeSize);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, Printing,
                         testing::Values(PrintCase{300, 2, 10.0}, PrintCase{1200, 2, 10.0},
                                         PrintCase{300, 1, 8.0}, PrintCase{1200, 3, 11.5}),
                         [](const testing::TestParamInfo<PrintCase>& info) {
                             return std::to_string(info.param.dpi) + "dpiSize" +
                                    std::to_string(info.param.codeSize);
                         });

TEST_F(BarcodeWindow, PreviewOnlyNeverAsksForAPrinter) {
    BAR_Print& w = open();
    activate(w);
    click(w.cmdExecute);
    EXPECT_EQ(env.printing.shown, 0);
}

TEST_F(BarcodeWindow, CancellingThePrintDialogPrintsNothing) {
    BAR_Print& w = open();
    env.printing.accept = false;
    w.Option1[1]->setChecked(true);
    click(w.cmdExecute);
    EXPECT_EQ(env.printing.shown, 1);
    EXPECT_TRUE(env.printing.files.isEmpty());
    EXPECT_EQ(w.lblDeg->text(), QStringLiteral("18"));
    EXPECT_FALSE(blank(picture(w)));
}

TEST_F(BarcodeWindow, WithPrintChosenEveryActivationPrintsAgain) {
    BAR_Print& w = open();
    activate(w);
    EXPECT_EQ(env.printing.shown, 0);
    w.Option1[1]->setChecked(true);
    QWidget other;
    for (int round = 1; round <= 2; ++round) {
        activate(other);
        activate(w);
        EXPECT_EQ(env.printing.shown, round);
    }
    ASSERT_EQ(env.printing.files.size(), 2);
    for (const QString& file : env.printing.files)
        EXPECT_FALSE(test::pdfFilledRectsMm([&] {
                         QFile f(file);
                         return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
                     }())
                         .empty());
}

TEST_F(BarcodeWindow, MissingPrintDialogCountsAsCancelled) {
    Platform bare = env.platform();
    bare.printDialog = nullptr;
    shared.BarZipCode = QStringLiteral("1234567");
    WindowOwner alone(bare, shared);
    BAR_Print& w = alone.barPrint();
    w.Option1[1]->setChecked(true);
    click(w.cmdExecute);
    EXPECT_EQ(w.lblDeg->text(), QStringLiteral("18"));
    EXPECT_EQ(env.printing.shown, 0);
}

} // namespace
} // namespace yubin
