#include "data_prep/gui/data_syori.h"
#include "foundation/data_folder.h"
#include "foundation/gui/window_owner.h"
#include "foundation/settings.h"
#include "main_window/gui/yubin_main.h"
#include "prep_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace yubin {
namespace {

using namespace Qt::StringLiterals;

const QString Idle = u"01111--"_s;
class DataSyoriWindow : public testing::Test {
protected:
    void SetUp() override {
        writeSetting(SettingKey::DataDir, QString());
        owner = std::make_unique<WindowOwner>(env.platform(), shared);
        shared.PrefectureNames = makePrefectureNames();
        window = &owner->dataSyori();
        window->setWorkFolders(dirs.work());
        // The main window's list as a chosen prefecture leaves it.
        owner->main().List2->clear();
        owner->main().List2->addItem(u"千代田区"_s);
    }
    void TearDown() override {
        if (window) {
            window->BusyFlag = 0;
            window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Shows the window with the download folder chosen.
    void open() {
        writeSetting(SettingKey::DataDir, dirs.download());
        window->show();
    }
    QString dataFolder() const { return owner->dataFolder().path(); }
    QStringList dataNames() const { return QDir(dataFolder()).entryList(QDir::Files, QDir::Name); }
    QString mainList() const { return owner->main().List2->item(0)->text(); }
    void click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }
    // The busy flag, then Command1 to Command5 and Label3: "-" hidden, else
    // "1" enabled or "0" disabled.
    QString state() const {
        const Data_Syori& w = *window;
        QString s = QString::number(w.BusyFlag);
        const QWidget* controls[] = {w.Command1, w.Command2, w.Command3,
                                     w.Command4, w.Command5, w.Label3};
        for (const QWidget* c : controls)
            s += !c->isVisible() ? u'-' : c->isEnabled() ? u'1' : u'0';
        return s;
    }
    void nationwide(int first, int second) const {
        dirs.archive(u"ken_all.zip"_s, "KEN_ALL.CSV",
                     test::recordBytes(first, 101) + test::recordBytes(second, 101),
                     QDateTime(QDate(2025, 9, 30), QTime(0, 0)));
    }

    test::TestPlatform env;
    SharedValues shared;
    test::PrepDirs dirs; // its download folder and work folders
    std::unique_ptr<WindowOwner> owner;
    QPointer<Data_Syori> window;
};

TEST_F(DataSyoriWindow, ControlsCarryTheirCaptionsTooltipsPlacesAndLinks) {
    const Data_Syori& w = *window;
    const auto joined = [](const char* property, std::initializer_list<const QWidget*> controls) {
        QStringList texts;
        for (const QWidget* c : controls)
            texts << c->property(property).toString();
        return texts.join(u'|');
    };
    EXPECT_EQ(joined("windowTitle", {&w}), u" 郵便番号ﾃﾞｰﾀ処理"_s);
    EXPECT_EQ(
        joined("text", {w.Label2[1], w.Label2[0], w.Command1, w.Command2, w.Command3, w.Command4,
                        w.Command5, w.Command6, w.Label4[0], w.Label4[1], w.Label3, w.Label1}),
        u"ｲﾝﾀｰﾈｯﾄでﾀﾞｳﾝﾛｰﾄﾞ (ZIPﾌｧｲﾙ)|ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙ(ZIP/LZH)のﾌｫﾙﾀﾞ名|参照|都道府県|"
        u"閉じる(&C)|全国一括|中止|更新|◎|◎|解凍中 01|"_s);
    EXPECT_EQ(
        joined("toolTip",
               {w.Command2, w.Command3, w.Command4, w.Command6, w.Label4[0], w.Label4[1]}),
        u"「都道府県」別、「事業所」ﾌｧｲﾙを解凍してﾃﾞｰﾀ化|閉じる|"
        u"「全国一括」、「事業所」ﾌｧｲﾙを解凍して分割ﾃﾞｰﾀ化|"
        u"毎月の差分ﾌｧｲﾙ（add・del）でﾃﾞｰﾀを更新|"
        u"https://www.post.japanpost.jp/service/search/zipcode/download/utf/zip/utf_ken_all.zip|"
        u"https://www.post.japanpost.jp/zipcode/dl/jigyosyo/zip/jigyosyo.zip"_s);
    EXPECT_EQ(w.size(), QSize(368, 372));
    EXPECT_TRUE(w.Label3->isHidden() && w.Command5->isHidden());
    EXPECT_EQ(w.Command5->geometry(), w.Command4->geometry());
    // The click areas lie over the two menu entries of the picture.
    EXPECT_EQ(w.Image1->pixmap().size(), QSize(322, 194));
    EXPECT_EQ(w.Label5[0]->geometry(), QRect(48, 120, 129, 25));
    EXPECT_EQ(w.Label5[1]->geometry(), QRect(40, 152, 153, 25));
    EXPECT_FALSE(w.rect().intersects(w.Text1->geometry()));
    // The picture, its click areas and the two marks open the postal service's pages.
    window->show();
    for (ClickableLabel* link : {w.Image1, w.Label5[0], w.Label5[1], w.Label4[0], w.Label4[1]})
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(env.web.opened.join(u' ').remove(u"https://www.post.japanpost.jp"_s),
              u"/service/search/zipcode/download/ /service/search/zipcode/download/utf-zip.html "
              u"/zipcode/dl/jigyosyo/index-zip.html "
              u"/service/search/zipcode/download/utf/zip/utf_ken_all.zip "
              u"/zipcode/dl/jigyosyo/zip/jigyosyo.zip"_s);
}

TEST_F(DataSyoriWindow, FolderIsReadWhenShownChosenWholeAndSavedWhenClosed) {
    writeSetting(SettingKey::DataDir, u"/saved/folder/"_s);
    window->show();
    EXPECT_EQ(window->Label1->text(), u"/saved/folder/"_s);
    const QString deep = u"/home/taro/ダウンロード/"_s + QString(300, u'あ');
    const std::pair<QString, QString> choices[] = {
        {deep, deep + u'/'},
        {QString(), deep + u'/'}, // cancelled: the folder stays
        {u"/"_s, u"/"_s}};        // the root of the file system
    for (const auto& [chosen, shown] : choices) {
        env.folders.next = chosen;
        click(window->Command1);
        // Coming back from the dialog keeps what the user chose.
        QApplication::setActiveWindow(window);
        QCoreApplication::processEvents();
        EXPECT_EQ(window->Label1->text(), shown);
    }
    EXPECT_EQ(env.folders.titles, QStringList(3, u"郵便番号(ZIP/LZH)フォルダを選択してください"_s));
    click(window->Command3);
    EXPECT_EQ(readSetting(SettingKey::DataDir), u"/"_s);
    EXPECT_FALSE(owner->isLoaded(window));
}

TEST_F(DataSyoriWindow, WorkFoldersAreOwnerOnlyAndRemovedOnCloseUnlessSomethingIsLeft) {
    const WorkFolders folders = window->workFolders();
    for (const QString& folder : {folders.temp, folders.tofuken, folders.tofukenLzh})
        EXPECT_EQ(QFile::permissions(folder) & QFileDevice::Permissions(0x0777),
                  QFileDevice::Permissions(0x0700));
    test::writeFile(folders.tofuken + u"left.CSV"_s, "x");
    window->show();
    window->close();
    EXPECT_TRUE(QDir(folders.tofuken).exists());
    EXPECT_FALSE(QDir(folders.tofukenLzh).exists());
    EXPECT_TRUE(QDir(folders.temp).exists());
    EXPECT_TRUE(env.messages.shown.empty());
}

// The run's steps and messages are the core's (prep_runs_test); the window
// locks itself while a run lasts and hands the new files to the main window.
class DataSyoriRun : public DataSyoriWindow, public testing::WithParamInterface<bool> {};

TEST_P(DataSyoriRun, RefusesToCloseWhileRunningThenResetsTheMainListsAndCloses) {
    const bool national = GetParam();
    if (national) {
        nationwide(13, 14);
    } else {
        dirs.archive(u"13tokyo.lzh"_s, "13tokyo.CSV", "tokyo\r\n");
        dirs.archive(u"27osaka.zip"_s, "27osaka.CSV", "osaka\r\n");
    }
    open();
    QString during;
    QTimer::singleShot(0, window, [&] { // at the run's first yield to the event loop
        window->close();
        during = state() + (window->focusWidget() == window->Text1 ? u"Text1"_s : u""_s);
    });
    click(national ? window->Command4 : window->Command2);
    EXPECT_EQ(during, national ? u"1000-11Text1"_s : u"10000-1Text1"_s);
    ASSERT_EQ(env.messages.shown.size(), 2u); // the question, the count
    EXPECT_EQ(env.messages.shown[1].title, national ? u"LZHﾌｧｲﾙ解凍 (全国一括＋事業所)  "_s
                                                    : u"LZHﾌｧｲﾙ解凍 (都道府県＋事業所)  "_s);
    EXPECT_EQ(mainList(), u"都道府県を指定してください"_s);
    EXPECT_FALSE(owner->isLoaded(window));
    EXPECT_EQ(readSetting(SettingKey::DataDir), dirs.download());
    EXPECT_EQ(dataNames(),
              (QStringList{u"13tokyo.CSV"_s, national ? u"14kanaga.CSV"_s : u"27osaka.CSV"_s}));
}

INSTANTIATE_TEST_SUITE_P(NationwideOrNot, DataSyoriRun, testing::Bool());

TEST_F(DataSyoriWindow, StopReturnsToIdleKeepingTheOldFilesAndASecondRunCompletes) {
    nationwide(1, 47);
    test::writeFile(dataFolder() + u"01hokkai.CSV"_s, "previous\r\n");
    open();
    QTimer::singleShot(0, window, [&] { click(window->Command5); }); // while reading
    click(window->Command4);
    EXPECT_EQ(env.messages.shown.size(), 1u); // the question only
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_EQ(state(), Idle);
    EXPECT_EQ(test::readAll(dataFolder() + u"01hokkai.CSV"_s), QByteArray("previous\r\n"));

    click(window->Command4);
    EXPECT_EQ(env.messages.shown.size(), 3u);
    EXPECT_EQ(dataNames(), (QStringList{u"01hokkai.CSV"_s, u"47okinaw.CSV"_s}));
}

TEST_F(DataSyoriWindow, RunThatPlacesNoAddressFileStaysOpenAndIdle) {
    dirs.download(u"13tokyo.zip"_s, "x"); // the question comes first
    window->show();
    window->Label1->setText(u"C:"_s);
    window->Text1->setFocus();
    click(window->Command2);
    EXPECT_TRUE(env.messages.shown.empty());
    EXPECT_EQ(window->focusWidget(), window->Command1); // a folder first

    window->Label1->setText(dirs.download());
    env.messages.answers = {false};
    click(window->Command2); // cancelled
    click(window->Command2); // confirmed: nothing usable is placed
    EXPECT_EQ(env.messages.shown.size(), 3u);
    EXPECT_EQ(mainList(), u"千代田区"_s); // nothing new to read
    EXPECT_EQ(state(), Idle);

    QFile::remove(dirs.download() + u"13tokyo.zip"_s);
    dirs.archive(u"jigyosyo.zip"_s, "JIGYOSYO.CSV", "office\r\n");
    click(window->Command2);
    EXPECT_EQ(env.messages.shown.size(), 5u);
    EXPECT_EQ(mainList(), u"都道府県を指定してください"_s);
    EXPECT_EQ(state(), Idle);
    EXPECT_EQ(window->focusWidget(), window->Command3);
    EXPECT_TRUE(window->isVisible());
}

// 更新 applies the months found and tells its report, or says why not and
// stays open.
TEST_F(DataSyoriWindow, UpdateAppliesTheMonthsOrSaysWhyNot) {
    const QString before = test::addressRecord(u"13101"_s, u"1000001"_s, u"ﾄｳｷｮｳﾄ"_s, u"ﾁﾖﾀﾞｸ"_s,
                                               u"ﾁﾖﾀﾞ"_s, u"東京都"_s, u"千代田区"_s, u"千代田"_s);
    const QString after = test::addressRecord(u"13101"_s, u"1000009"_s, u"ﾄｳｷｮｳﾄ"_s, u"ﾁﾖﾀﾞｸ"_s,
                                              u"ﾁﾖﾀﾞ"_s, u"東京都"_s, u"千代田区"_s, u"千代田"_s);
    test::writeFile(dataFolder() + u"13tokyo.CSV"_s, test::sjisLines({before}));
    test::writeFile(dataFolder() + DataMonthFileName, "2602\r\n");
    open();
    click(window->Command6); // no difference files yet
    ASSERT_EQ(env.messages.shown.size(), 1u);
    EXPECT_EQ(env.messages.shown[0].title, u"郵便番号ﾃﾞｰﾀ更新"_s);
    EXPECT_TRUE(window && window->isVisible());
    EXPECT_EQ(state(), Idle);
    EXPECT_EQ(mainList(), u"千代田区"_s);

    dirs.archive(u"del_2603.zip"_s, "DEL_2603.CSV", test::sjisLines({before}));
    dirs.archive(u"add_2603.zip"_s, "ADD_2603.CSV", test::sjisLines({after}));
    click(window->Command6);
    ASSERT_EQ(env.messages.shown.size(), 3u); // the question, the report
    EXPECT_TRUE(env.messages.shown[2].text.startsWith(
        u"郵便番号ﾃﾞｰﾀ更新完了 ： 2026年3月\n追加 1 件、廃止 1 件\n"_s));
    EXPECT_EQ(test::readAll(dataFolder() + u"13tokyo.CSV"_s), test::sjisLines({after}));
    EXPECT_EQ(mainList(), u"都道府県を指定してください"_s);
    EXPECT_FALSE(owner->isLoaded(window));
}

} // namespace
} // namespace yubin
