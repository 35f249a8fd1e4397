#include "labels/gui/atena_label.h"
#include "postcards/gui/postcard_panel.h"
#include "support/running_program.h"

namespace yubin {
namespace {

class PostcardWindow : public test::RunningProgram {
protected:
    void SetUp() override {
        test::writeFile(env.dataFolder() + u"13tokyo.CSV"_qs,
                        test::sjisLines({test::addressRecord(
                            u"13101"_qs, u"1000013"_qs, u"ﾄｳｷﾖｳﾄ"_qs, u"ﾁﾖﾀﾞｸ"_qs, u"ｶｽﾐｶﾞｾｷ"_qs,
                            u"東京都"_qs, u"千代田区"_qs, u"霞が関"_qs)}));
        test::writeFile(listPath, u"郵便番号,住所,氏名,連名\n"
                                  "1000013,東京都千代田区霞が関1-3-2,山田 太郎,花子\n"
                                  "1000013,東京都千代田区霞が関2,鈴木 一郎,\n"
                                  "1000014,東京都千代田区霞が関3,田中 次郎,\n"_qs.toUtf8());
    }
    // Reads the list and turns to the postcards.
    PostcardPanel& open() {
        start(false);
        Atena_Label& w = owner->atenaLabel();
        w.show();
        env.files.next.push_back(listPath);
        QTest::mouseClick(w.cmdFile, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.running() && w.grdRows->rowCount() == 3; }));
        w.tabKind->setCurrentWidget(w.pnlCards);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.pnlCards->running(); }));
        return *w.pnlCards;
    }
    QTemporaryDir dir;
    const QString listPath = dir.filePath(u"list.csv"_qs);
};

TEST_F(PostcardWindow, ChecksTheListAndSavesTheCardsAsAPdf) {
    PostcardPanel& p = open();
    EXPECT_EQ(p.lblCounts->text(), u"印刷 2 枚、警告 0 件、エラー 1 件、除外 1 件／全 3 行"_qs);
    EXPECT_EQ(p.lblPage->text(), u"1 / 2 枚"_qs);
    EXPECT_FALSE(p.picCard->pixmap().isNull());
    QTest::mouseClick(p.cmdNext, Qt::LeftButton);
    EXPECT_EQ(p.lblPage->text(), u"2 / 2 枚"_qs);
    p.chkKeep->setChecked(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !p.running(); }));
    EXPECT_EQ(p.lblPage->text(), u"1 / 3 枚"_qs);
    const QString pdf = dir.filePath(u"cards.pdf"_qs);
    env.files.next.push_back(pdf);
    QTest::mouseClick(p.cmdPdf, Qt::LeftButton);
    EXPECT_EQ(test::readAll(pdf).count("/Type /Page\n"), 3);
}

TEST_F(PostcardWindow, RefusesAPaperOutsideTheLimits) {
    PostcardPanel& p = open();
    p.cmbPaper->setCurrentIndex(p.cmbPaper->count() - 1);
    p.txtPaper->setText(u"80x148"_qs);
    emit p.txtPaper->editingFinished();
    EXPECT_EQ(p.lblProblem->text(), u"用紙は幅 90～250 mm、高さ 140～340 mm の縦長です：80x148"_qs);
    EXPECT_FALSE(p.cmdPdf->isEnabled());
    QTest::mouseClick(p.cmdPdf, Qt::LeftButton);
    EXPECT_EQ(env.files.titles, QStringList{u"宛名リストを開く"_qs});
    EXPECT_EQ(p.cardCount(), 0);
}

} // namespace
} // namespace yubin
