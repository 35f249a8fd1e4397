#include "barcode/bar_measure.h"
#include "barcode/gui/bar_print.h"
#include "foundation/gui/window_owner.h"
#include "support/fakes.h"

#include <QApplication>
#include <QClipboard>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace yubin {
namespace {

const QString NotNumeric = u"郵便番号は7桁数値のみです。     "_qs;

class BarcodeWindow : public testing::Test {
protected:
    BAR_Print& open(const QString& zip = u"1234567"_qs) {
        shared.BarZipCode = zip;
        owner = std::make_unique<WindowOwner>(platform, shared);
        return owner->barPrint();
    }
    // Makes the window the active one, as the desktop would, and lets the
    // draw that the activation schedules run.
    static void activate(QWidget& w) {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(w.isActiveWindow());
        if (auto* dialog = qobject_cast<BAR_Print*>(&w)) {
            ASSERT_TRUE(QTest::qWaitFor([dialog] { return !dialog->Timer1->isActive(); }));
        }
    }
    static void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    test::TestPlatform env;
    Platform platform = env.platform();
    SharedValues shared;
    std::unique_ptr<WindowOwner> owner;
};

TEST_F(BarcodeWindow, CaptionsGroupsFontsAndStartingValues) {
    BAR_Print& w = open(u"  1000001　"_qs);
    EXPECT_EQ(w.windowTitle(), u" 郵便ｶｽﾀﾏｰﾊﾞｰｺｰﾄﾞ"_qs);
    // Each control's caption or starting text, group by group.
    const auto captions = [](QWidget* group, std::initializer_list<QWidget*> controls) {
        QStringList texts;
        for (QWidget* c : controls)
            texts << c->property(c->parentWidget() != group    ? "notInTheGroup"
                                 : qobject_cast<QGroupBox*>(c) ? "title"
                                 : qobject_cast<QComboBox*>(c) ? "currentText"
                                                               : "text")
                         .toString();
        return texts.join(u'|');
    };
    EXPECT_EQ(captions(&w, {w.Frame1, w.Frame2, w.cmdExecute, w.Command1}),
              u"郵便番号|設 定|実行(&E)|閉じる(&C)"_qs);
    // The postal code is the opener's, trimmed.
    EXPECT_EQ(captions(w.Frame1, {w.Label2[0], w.txtData1, w.Label4[0], w.Label4[1], w.txtData2,
                                  w.Label2[1], w.lblDeg, w.Label1}),
              u"郵便番号(7桁)|1000001|住所表示(番地)または整理番号|※ 通常は空白で可||CD||"
              u"ﾊﾞｰｺｰﾄﾞ資料(PDF)"_qs);
    EXPECT_EQ(captions(w.Frame2, {w.Label5, w.Option1[0], w.Option1[1], w.Label8, w.cmbBlock,
                                  w.Label6, w.txtStartY, w.Label7[0], w.txtStartX, w.Label7[1]}),
              u"出力方法|画像|印刷|ｺｰﾄﾞｻｲｽﾞ|2|印刷・上端位置|35|印刷・左端位置|15|※ 余白 5㎜"_qs);
    EXPECT_EQ(w.txtData1->maxLength() * 100 + w.txtData2->maxLength(), 713);
    for (QLineEdit* box : {w.txtData1, w.txtData2, w.txtStartY, w.txtStartX})
        EXPECT_FALSE(box->testAttribute(Qt::WA_InputMethodEnabled));
    for (QWidget* c : std::initializer_list<QWidget*>{w.txtData1, w.txtData2, w.txtStartY,
                                                      w.txtStartX, w.cmbBlock, w.lblDeg})
        EXPECT_EQ(c->font().family(), u"ＭＳ ゴシック"_qs);
    EXPECT_EQ(w.cmbBlock->count(), 3);
    EXPECT_TRUE(w.Option1[0]->isChecked());
    EXPECT_EQ(w.lblDeg->palette().color(QPalette::Window).name() +
                  w.Label1->palette().color(QPalette::Window).name(),
              u"#808080#ffffc0"_qs);
}

TEST_F(BarcodeWindow, OpeningAndEveryActivationFromAnotherWindowDrawAndPrintAgain) {
    BAR_Print& w = open();
    activate(w);
    EXPECT_EQ(w.lblDeg->text(), u"18"_qs);
    EXPECT_FALSE(w.picTarget->image() == test::blankPreview());
    EXPECT_EQ(shared.BarCodeSize, 2);
    EXPECT_EQ(env.printing.shown, 0); // "画像" only previews
    w.Option1[1]->setChecked(true);
    QWidget other;
    for (int round = 1; round <= 2; ++round) {
        w.txtData2->setText(round == 1 ? u"6-6"_qs : u"1-1"_qs);
        activate(other);
        activate(w);
        EXPECT_EQ(w.lblDeg->text(), round == 1 ? u"00"_qs : u"10"_qs);
        EXPECT_EQ(env.printing.files.size(), round);
    }
    // Coming back from its own dialog or from another program is no new
    // activation: a message box or the print dialog would start it all over.
    w.txtData2->setText(u"　1-2ab "_qs);
    {
        QDialog child(&w);
        child.setModal(true);
        activate(child);
        child.hide();
    }
    activate(w);
    QApplication::setActiveWindow(nullptr);
    activate(w);
    EXPECT_EQ(w.lblDeg->text(), u"10"_qs);
    // The address number is trimmed and shown upper-cased.
    click(w.cmdExecute);
    EXPECT_EQ(w.txtData2->text(), u"1-2AB"_qs);
    EXPECT_EQ(w.lblDeg->text(), u"04"_qs);
    // The manual link opens the PDF; the close button unloads the window.
    QTest::mouseClick(w.Label1, Qt::LeftButton); // one click, as a link
    EXPECT_EQ(env.web.opened,
              QStringList{u"https://www.post.japanpost.jp/zipcode/dl/zipmanual/manual.pdf"_qs});
    QPointer<BAR_Print> window(&w);
    click(w.Command1);
    EXPECT_FALSE(owner->isLoaded(window));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
}

// Which codes and positions are refused, and the messages' texts, are the
// core's (barcode_cli_test); the window explains a refused postal code only.
TEST_F(BarcodeWindow, RefusedInputKeepsThePreviewAndOnlyAPostalCodeIsExplained) {
    BAR_Print& w = open();
    activate(w);
    const QImage before = w.picTarget->image();
    env.messages.shown.clear();
    w.txtStartX->setFocus();
    w.txtData1->setText(u"１２３４５６７"_qs);
    click(w.cmdExecute);
    ASSERT_EQ(env.messages.shown.size(), 1u);
    const test::ShownMessage& m = env.messages.shown.front();
    EXPECT_TRUE(m.icon == MessageIcon::Exclamation && m.buttons == MessageButtons::Ok);
    EXPECT_EQ(m.title + u'|' + m.text, u"郵便ﾊﾞｰｺｰﾄﾞ|"_qs + NotNumeric);
    EXPECT_EQ(w.focusWidget(), w.txtData1);
    EXPECT_EQ(w.lblDeg->text(), QString());
    EXPECT_TRUE(w.picTarget->image() == before);
    // A position that is no number ends the draw silently.
    env.messages.shown.clear();
    w.txtData1->setText(u"1234567"_qs);
    click(w.cmdExecute);
    ASSERT_EQ(w.lblDeg->text(), u"18"_qs);
    w.txtStartX->setText(u"2147483648"_qs);
    w.cmbBlock->setCurrentIndex(2);
    click(w.cmdExecute);
    EXPECT_EQ(w.lblDeg->text(), QString());
    EXPECT_TRUE(w.picTarget->image() == before);
    EXPECT_EQ(shared.BarCodeSize, 2) << "only a draw keeps the size";
    // An unencodable character ends it once the preview has been cleared.
    w.txtStartX->setText(u"15"_qs);
    w.txtData2->setText(u"1#2"_qs);
    click(w.cmdExecute);
    EXPECT_EQ(w.lblDeg->text(), QString());
    EXPECT_TRUE(w.picTarget->image() == test::blankPreview());
    EXPECT_TRUE(env.messages.shown.empty());
}

TEST_F(BarcodeWindow, EnterMovesAlongTheFieldsAndDigitBoxesTakeOnlyDigits) {
    BAR_Print& w = open(u"123456"_qs);
    activate(w);
    env.messages.shown.clear();
    w.txtData1->setFocus();
    QTest::keyClick(w.txtData1, Qt::Key_Return); // six digits: stays
    EXPECT_EQ(w.focusWidget(), w.txtData1);
    QTest::keyClick(w.txtData1, Qt::Key_7);
    for (auto [from, to] : {std::pair<QWidget*, QWidget*>{w.txtData1, w.txtData2},
                            {w.txtData2, w.cmdExecute},
                            {w.txtStartY, w.txtStartX},
                            {w.txtStartX, w.cmdExecute}}) {
        from->setFocus();
        QTest::keyClick(from, Qt::Key_Return);
        EXPECT_EQ(w.focusWidget(), to) << from->objectName().toStdString();
    }
    EXPECT_TRUE(env.messages.shown.empty()); // and no draw on the way
    w.txtData2->setText(u"1-1"_qs);
    w.txtData2->setCursorPosition(0);
    w.txtData2->setFocus();
    EXPECT_EQ(w.txtData2->cursorPosition(), 3);
    QTest::keyClick(w.cmdExecute, Qt::Key_Return);
    EXPECT_EQ(w.lblDeg->text(), u"10"_qs);
    // The digit boxes take digits and Backspace only, typed or pasted.
    QApplication::clipboard()->setText(u"-9"_qs);
    for (QLineEdit* box : {w.txtStartY, w.txtStartX, w.txtData1}) {
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, u"-1a2.3 e+5"_qs);
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, u"４"_qs, Qt::NoModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), u"123"_qs) << box->objectName().toStdString();
    }
}

struct PrintCase {
    int dpi;
    int size;
    QRectF firstBar; // mm from the page corner
    double lastBarLeft;
};

class Printing : public BarcodeWindow, public testing::WithParamInterface<PrintCase> {};

// The page the print path sends, measured from the PDF the printer wrote: 67
// bars at a pitch of 0.12a from the left field, the first a long bar 0.06a
// wide and 0.36a tall from the top field, for the size's point size a (8,
// 10, 11.5).
TEST_P(Printing, PrintsAtTheStandardSizeWhereThePositionFieldsSay) {
    const PrintCase& c = GetParam();
    BAR_Print& w = open();
    env.printing.resolution = c.dpi;
    w.Option1[1]->setChecked(true);
    w.cmbBlock->setCurrentIndex(c.size - 1);
    w.txtStartY->setText(u"40"_qs);
    w.txtStartX->setText(u"12"_qs);
    click(w.cmdExecute);
    ASSERT_EQ(env.printing.files.size(), 1);
    const auto bars = test::pdfFilledRectsMm(test::readAll(env.printing.files.front()));
    ASSERT_EQ(bars.size(), 67u);
    test::expectSameBars({bars.front()}, {c.firstBar});
    EXPECT_NEAR(bars.back().left(), c.lastBarLeft, 0.02);
    EXPECT_EQ(shared.BarCodeSize, c.size);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, Printing,
                         testing::Values(PrintCase{300, 1, QRectF(12.96, 40, 0.48, 2.88), 76.32},
                                         PrintCase{1200, 2, QRectF(13.2, 40, 0.6, 3.6), 92.4},
                                         PrintCase{300, 3, QRectF(13.38, 40, 0.69, 4.14), 104.46}));

// The user sets up a printer, then cancels: a page sent anyway would land in
// the file.
class CancelledPrintDialog final : public PrintDialog {
public:
    bool choosePrinter(QPrinter& printer) override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        return false;
    }
    QTemporaryDir folder;
    QString file = folder.filePath(u"page.pdf"_qs);
};

TEST_F(BarcodeWindow, CancellingThePrintDialogPrintsNothing) {
    CancelledPrintDialog cancelled;
    platform.printDialog = &cancelled;
    BAR_Print& w = open();
    w.Option1[1]->setChecked(true);
    click(w.cmdExecute);
    EXPECT_EQ(w.lblDeg->text(), u"18"_qs);
    EXPECT_FALSE(QFile::exists(cancelled.file));
}

TEST_F(BarcodeWindow, AddressButtonFillsBothBoxesAndDrawsOrSaysWhyNot) {
    test::writeFile(env.dataFolder() + u"13tokyo.CSV"_qs,
                    test::sjisLines({test::addressRecord(
                        u"13101"_qs, u"1000013"_qs, u"ﾄｳｷﾖｳﾄ"_qs, u"ﾁﾖﾀﾞｸ"_qs, u"ｶｽﾐｶﾞｾｷ"_qs,
                        u"東京都"_qs, u"千代田区"_qs, u"霞が関（次のビルを除く）"_qs)}));
    BAR_Print& w = open();
    EXPECT_GT(w.Frame3->x(), w.Frame1->geometry().right());
    w.Option1[1]->setChecked(true); // "印刷": still only the preview from an address
    w.txtAddress->setText(u"大阪市北区"_qs);
    click(w.cmdAddress);
    EXPECT_EQ(w.lblAddress->text(), u"※ 都道府県・市区町村が見つかりません"_qs);
    EXPECT_EQ(w.txtData1->text(), u"1234567"_qs);
    EXPECT_EQ(w.lblDeg->text(), u""_qs);

    w.txtAddress->setText(u"東京都千代田区霞が関1-3-2"_qs);
    QTest::keyClick(w.txtAddress, Qt::Key_Return);
    EXPECT_EQ(w.lblAddress->text(), u"該当：東京都千代田区霞が関（次のビルを除く）"_qs);
    EXPECT_EQ(w.txtData1->text() + u' ' + w.txtData2->text(), u"1000013 1-3-2"_qs);
    EXPECT_EQ(w.lblDeg->text(), u"09"_qs);
    QTest::keyClick(w.txtAddress, Qt::Key_Return);
    EXPECT_EQ(env.printing.shown, 0);
}

} // namespace
} // namespace yubin
