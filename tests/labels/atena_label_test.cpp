#include "labels/gui/atena_label.h"
#include "support/running_program.h"

namespace yubin {
namespace {

class LabelWindow : public test::RunningProgram {
protected:
    void SetUp() override {
        QStringList towns;
        for (const auto& [code, town] :
             {std::pair{u"1000013"_qs, u"霞が関"_qs}, {u"1000000"_qs, u"以下に掲載がない場合"_qs}})
            towns << test::addressRecord(u"13101"_qs, code, u"ﾄｳｷﾖｳﾄ"_qs, u"ﾁﾖﾀﾞｸ"_qs, u"ﾁﾖｳ"_qs,
                                         u"東京都"_qs, u"千代田区"_qs, town);
        test::writeFile(env.dataFolder() + u"13tokyo.CSV"_qs, test::sjisLines(towns));
        test::writeFile(
            listPath,
            u"郵便番号,住所,氏名\n1000013,東京都千代田区霞が関1-3-2,山田\n"
            ",東京都千代田区霞が関2,鈴木\n1000014,東京都千代田区霞が関3,田中\n"_qs.toUtf8());
    }
    // Chooses the list and waits for its check.
    void read(Atena_Label& w) {
        env.files.next.push_back(listPath);
        QTest::mouseClick(w.cmdFile, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.running() && w.grdRows->rowCount() == 3; }));
    }
    QTemporaryDir dir;
    const QString listPath = dir.filePath(u"list.csv"_qs);
};

TEST_F(LabelWindow, OpensFromTheMainWindowAndSavesTheCheckedSheets) {
    Yubin_Main& main = start();
    for (QWidget* other : main.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(other == main.Label8 || !other->geometry().intersects(main.Label8->geometry()))
            << other->objectName().toStdString();
    const QString pdf = dir.filePath(u"labels.pdf"_qs);
    EXPECT_TRUE(test::answerModal<Atena_Label>(
        [&] { QTest::mouseClick(main.Label8, Qt::LeftButton); },
        [&](Atena_Label& w) {
            EXPECT_EQ(w.windowTitle(), u"宛名ラベル"_qs);
            read(w);
            EXPECT_EQ(w.lblCounts->text(), u"印刷 3 件（バーコードなし 1 件）、警告 1 件、エラー 1 "
                                           "件、除外 0 件／全 3 行、1 シート"_qs);
            EXPECT_EQ(w.grdRows->item(2, 1)->text(), u"エラー"_qs);
            EXPECT_EQ(w.grdRows->item(2, 1)->background().color(), QColor(0xFF, 0xD0, 0xD0));
            // The code as printed: the found one, or the given one of a row in error.
            EXPECT_EQ(w.grdRows->item(0, 2)->text(), u"100-0013"_qs);
            EXPECT_EQ(w.grdRows->item(2, 2)->text(), u"100-0014"_qs);
            EXPECT_FALSE(w.picSheet->pixmap().isNull());
            // Within a 1024×768 screen, with room for the frame and a panel.
            EXPECT_LE(w.width(), 1000);
            EXPECT_LE(w.height(), 700);
            EXPECT_LE(w.minimumSizeHint().width(), w.width());
            env.files.next.push_back(pdf);
            QTest::mouseClick(w.cmdPdf, Qt::LeftButton);
        }));
    EXPECT_EQ(test::readAll(pdf).count("/Type /Page\n"), 1);
    ASSERT_EQ(env.messages.shown.size(), 1u);
    EXPECT_EQ(env.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(env.messages.shown[0].text, u"保存しました：\n"_qs + pdf);
}

TEST_F(LabelWindow, RefusesASheetThatCannotHoldTheBarcode) {
    start(false);
    Atena_Label& w = owner->atenaLabel();
    w.show();
    read(w);
    w.cmbLayout->setCurrentIndex(2); // 24 labels of 70 mm: 8 pt
    EXPECT_EQ(w.cmbBlock->currentIndex(), 0);
    EXPECT_EQ(w.txtLayout->text(), u"3x8:70x33.9:12.9,0:70,33.9"_qs);
    EXPECT_FALSE(w.txtLayout->isEnabled());
    w.cmbBlock->setCurrentIndex(1);
    EXPECT_TRUE(w.lblProblem->text().startsWith(u"70×33.9 mm のラベルには"_qs));
    QTest::mouseClick(w.cmdPrint, Qt::LeftButton);
    QTest::mouseClick(w.cmdPdf, Qt::LeftButton);
    EXPECT_EQ(env.printing.shown, 0);
    EXPECT_EQ(env.files.titles, QStringList{u"宛名リストを開く"_qs});
    EXPECT_EQ(w.sheetCount(), 0);
    EXPECT_TRUE(env.messages.shown.empty()); // nothing saved, nothing said
}

TEST_F(LabelWindow, PrintsACatchAllCodeForAnUnrecognisedTownOnlyWhenAsked) {
    start(false);
    Atena_Label& w = owner->atenaLabel();
    w.show();
    test::writeFile(listPath,
                    u"郵便番号,住所,氏名\n,東京都千代田区丸の内1,山田\n"
                    u",東京都千代田区霞が関2,鈴木\n,東京都千代田区霞が関3,田中\n"_qs.toUtf8());
    read(w);
    EXPECT_EQ(w.grdRows->item(0, 1)->text(), u"エラー"_qs);
    EXPECT_EQ(w.grdRows->item(0, 2)->text(), QString());
    w.chkCatchAll->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.running() && w.grdRows->rowCount() == 3; }));
    EXPECT_EQ(w.grdRows->item(0, 1)->text(), u"警告"_qs);
    EXPECT_EQ(w.grdRows->item(0, 2)->text(), u"100-0000"_qs);
}

TEST_F(LabelWindow, NamesTheColumnsItDoesNotRead) {
    start(false);
    Atena_Label& w = owner->atenaLabel();
    w.show();
    read(w);
    EXPECT_TRUE(w.lblUnused->isHidden());
    test::writeFile(
        listPath, u"郵便番号,住所,氏名,電話番号\n1000013,東京都千代田区霞が関1,山田,03\n"
                  u",東京都千代田区霞が関2,鈴木,03\n,東京都千代田区霞が関3,田中,03\n"_qs.toUtf8());
    read(w);
    EXPECT_EQ(w.lblUnused->text(), u"使わない列：電話番号"_qs);
    EXPECT_TRUE(w.lblUnused->isVisible());
}

} // namespace
} // namespace yubin
