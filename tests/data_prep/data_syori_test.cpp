#include "archive_builders.h"
#include "data_prep/data_syori.h"
#include "foundation/settings.h"
#include "main_window/main_layout.h"
#include "main_window/window_owner.h"
#include "main_window/yubin_main.h"
#include "prep_support.h"
#include "support/data_files.h"
#include "support/fakes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace yubin {
namespace {

using test::fileEntry;
using test::makeLzh;
using test::makeZip;

struct Snapshot {
    bool taken = false;
    qint16 busy = 0;
    bool visibleAfterClose = false;
    bool command1Enabled = true, command2Enabled = true, command3Enabled = true;
    bool command4Enabled = true, command4Visible = true, command5Visible = false;
    bool label3Visible = false;
    bool text1HasFocus = false;
};

class DataSyoriWindow : public testing::Test {
protected:
    void SetUp() override {
        writeSetting(SettingKey::DataDir, QString());
        owner = std::make_unique<WindowOwner>(env.platform(), shared);
        shared.PrefectureNames = makePrefectureNames();
        window = &owner->dataSyori();
        window->setWorkFolders(WorkFolders::under(work.path()));
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
        writeSetting(SettingKey::DataDir, downloadFolder());
        window->show();
    }
    QString downloadFolder() const { return download.path() + u'/'; }
    QString dataFolder() const { return owner->dataFolder().path(); }
    void put(const QString& name, const QByteArray& bytes) const {
        test::writeFile(downloadFolder() + name, bytes);
    }
    QStringList dataNames() const { return QDir(dataFolder()).entryList(QDir::Files, QDir::Name); }
    // Runs `during` at the run's first yield to the event loop.
    void atFirstYield(const std::function<void()>& during) {
        QTimer::singleShot(0, window, during);
    }
    Snapshot snapshot() {
        Snapshot s;
        s.taken = true;
        s.busy = window->BusyFlag;
        s.command1Enabled = window->Command1->isEnabled();
        s.command2Enabled = window->Command2->isEnabled();
        s.command3Enabled = window->Command3->isEnabled();
        s.command4Enabled = window->Command4->isEnabled();
        s.command4Visible = window->Command4->isVisible();
        s.command5Visible = window->Command5->isVisible();
        s.label3Visible = window->Label3->isVisible();
        s.text1HasFocus = window->focusWidget() == window->Text1;
        return s;
    }
    // The main window's lists as a chosen prefecture leaves them.
    void fillMainLists() {
        Yubin_Main& main = owner->main();
        for (QListWidget* list :
             {static_cast<QListWidget*>(main.List2), static_cast<QListWidget*>(main.List3)}) {
            list->clear();
            list->addItem(QStringLiteral("千代田区"));
            list->setEnabled(true);
        }
        main.Label4->setText(QStringLiteral("ﾃﾞｰﾀ日付：2001/01/01"));
    }
    void expectMainListsIdle() {
        Yubin_Main& main = owner->main();
        for (QListWidget* list :
             {static_cast<QListWidget*>(main.List2), static_cast<QListWidget*>(main.List3)}) {
            ASSERT_EQ(list->count(), 1);
            EXPECT_EQ(list->item(0)->text(), QStringLiteral("都道府県を指定してください"));
            EXPECT_FALSE(list->isEnabled());
        }
        EXPECT_TRUE(main.Label4->text().isEmpty());
    }
    void expectMessage(size_t index, MessageIcon icon, const QString& title, const QString& text,
                       MessageButtons buttons) const {
        ASSERT_GT(env.messages.shown.size(), index);
        const test::ShownMessage& m = env.messages.shown[index];
        EXPECT_EQ(m.icon, icon);
        EXPECT_EQ(m.title, title);
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.buttons, buttons);
    }
    QByteArray nationwide(int linesEach, std::initializer_list<int> prefectures) const {
        QStringList records;
        for (int j : prefectures)
            records << test::prefectureRecords(j, linesEach);
        test::TestEntry e = fileEntry("KEN_ALL.CSV", test::nationwideBytes(records));
        e.modified = QDateTime(QDate(2025, 9, 30), QTime(0, 0));
        return makeZip({e});
    }

    test::TestPlatform env;
    SharedValues shared;
    QTemporaryDir download;
    QTemporaryDir work;
    std::unique_ptr<WindowOwner> owner;
    QPointer<Data_Syori> window;
};

TEST_F(DataSyoriWindow, ControlsCarryTheirCaptionsTooltipsAndPlaces) {
    Data_Syori& w = *window;
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" 郵便番号ﾃﾞｰﾀ処理"));
    EXPECT_EQ(w.size(), QSize(368, 372));
    EXPECT_EQ(w.Label2[1]->text(), QStringLiteral("ｲﾝﾀｰﾈｯﾄでﾀﾞｳﾝﾛｰﾄﾞ (LZHﾌｧｲﾙ)"));
    EXPECT_EQ(w.Label2[0]->text(), QStringLiteral("ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙ(LZH)のﾌｫﾙﾀﾞ名"));
    EXPECT_EQ(w.Command1->text(), QStringLiteral("参照"));
    EXPECT_EQ(w.Command2->text(), QStringLiteral("都道府県"));
    EXPECT_EQ(w.Command3->text(), QStringLiteral("閉じる(&C)"));
    EXPECT_EQ(w.Command4->text(), QStringLiteral("全国一括"));
    EXPECT_EQ(w.Command5->text(), QStringLiteral("中止"));
    EXPECT_EQ(w.Command2->toolTip(),
              QStringLiteral("「都道府県」別、「事業所」ﾌｧｲﾙを解凍してﾃﾞｰﾀ化"));
    EXPECT_EQ(w.Command3->toolTip(), QStringLiteral("閉じる"));
    EXPECT_EQ(w.Command4->toolTip(),
              QStringLiteral("「全国一括」、「事業所」ﾌｧｲﾙを解凍して分割ﾃﾞｰﾀ化"));
    EXPECT_EQ(w.Label4[0]->text(), QStringLiteral("◎"));
    EXPECT_EQ(w.Label4[0]->toolTip(),
              QStringLiteral("https://www.post.japanpost.jp/zipcode/dl/kogaki/lzh/ken_all.lzh"));
    EXPECT_EQ(w.Label4[1]->toolTip(),
              QStringLiteral("https://www.post.japanpost.jp/zipcode/dl/jigyosyo/lzh/jigyosyo.lzh"));
    EXPECT_EQ(w.Label3->text(), QStringLiteral("解凍中 01"));
    EXPECT_TRUE(w.Label3->isHidden());
    EXPECT_TRUE(w.Command5->isHidden());
    EXPECT_EQ(w.Command5->geometry(), w.Command4->geometry());
    EXPECT_EQ(w.Image1->pixmap().size(), QSize(322, 194));
    EXPECT_EQ(w.Label5[0]->geometry(), QRect(48, 120, 129, 25));
    EXPECT_EQ(w.Label5[1]->geometry(), QRect(40, 152, 153, 25));
    EXPECT_FALSE(QRect(0, 0, 368, 372).intersects(w.Text1->geometry()));
    EXPECT_TRUE(w.Label1->text().isEmpty());
}

struct LinkCase {
    int control; // 0 Image1, 1-2 Label5(0-1), 3-4 Label4(0-1)
    const char* url;
};
void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.url;
}
class DataSyoriLinks : public DataSyoriWindow, public testing::WithParamInterface<LinkCase> {};

TEST_P(DataSyoriLinks, ClickOpensThePostalServicePage) {
    window->show();
    QWidget* controls[] = {window->Image1, window->Label5[0], window->Label5[1], window->Label4[0],
                           window->Label4[1]};
    QTest::mouseClick(controls[GetParam().control], Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(env.web.opened, QStringList{QString::fromUtf8(GetParam().url)});
}

INSTANTIATE_TEST_SUITE_P(
    Links, DataSyoriLinks,
    testing::Values(LinkCase{0, "https://www.post.japanpost.jp/zipcode/download.html"},
                    LinkCase{1, "https://www.post.japanpost.jp/zipcode/dl/kogaki.html"},
                    LinkCase{2, "https://www.post.japanpost.jp/zipcode/dl/jigyosyo/index.html"},
                    LinkCase{3, "https://www.post.japanpost.jp/zipcode/dl/kogaki/lzh/ken_all.lzh"},
                    LinkCase{
                        4, "https://www.post.japanpost.jp/zipcode/dl/jigyosyo/lzh/jigyosyo.lzh"}));

TEST_F(DataSyoriWindow, ChosenFolderIsShownWholeWithOneTrailingSeparator) {
    window->show();
    env.folders.next = QStringLiteral("/home/taro/ダウンロード");
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(env.folders.titles,
              QStringList{QStringLiteral("郵便番号(LZH)フォルダを選択してください")});
    EXPECT_EQ(window->Label1->text(), QStringLiteral("/home/taro/ダウンロード/"));

    const QString deep = QStringLiteral("/data/") + QString(300, u'あ');
    env.folders.next = deep;
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(window->Label1->text(), deep + u'/');

    env.folders.next = QStringLiteral("/"); // the root of the file system
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(window->Label1->text(), QStringLiteral("/"));
}

TEST_F(DataSyoriWindow, CancelledFolderBrowserKeepsThePreviousFolder) {
    open();
    env.folders.next.clear();
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(env.folders.titles.size(), 1);
    EXPECT_EQ(window->Label1->text(), downloadFolder());
}

TEST_F(DataSyoriWindow, FolderIsReadWhenShownAndSavedWhenClosed) {
    writeSetting(SettingKey::DataDir, QStringLiteral("/saved/folder/"));
    window->show();
    EXPECT_EQ(window->Label1->text(), QStringLiteral("/saved/folder/"));
    env.folders.next = QStringLiteral("/new/folder");
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    // Coming back from a dialog keeps what the user chose.
    QApplication::setActiveWindow(window);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->Label1->text(), QStringLiteral("/new/folder/"));
    QTest::mouseClick(window->Command3, Qt::LeftButton);
    EXPECT_EQ(readSetting(SettingKey::DataDir), QStringLiteral("/new/folder/"));
    EXPECT_FALSE(owner->isLoaded(window));
}

TEST_F(DataSyoriWindow, WorkFoldersAreOwnerOnlyAndRemovedOnCloseUnlessSomethingIsLeft) {
    const WorkFolders folders = window->workFolders();
    for (const QString& folder : {folders.temp, folders.tofuken, folders.tofukenLzh}) {
        ASSERT_TRUE(QDir(folder).exists());
        EXPECT_EQ(QFile::permissions(folder) &
                      (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther |
                       QFile::ExeOther),
                  QFile::Permissions());
    }
    test::writeFile(folders.tofuken + QStringLiteral("left.CSV"), "x");
    window->show();
    window->close();
    EXPECT_TRUE(QDir(folders.tofuken).exists());
    EXPECT_FALSE(QDir(folders.tofukenLzh).exists());
    EXPECT_TRUE(QDir(folders.temp).exists());
    EXPECT_TRUE(env.messages.shown.empty());
}

TEST_F(DataSyoriWindow, CloseIsRefusedWhileTheNationwideRunLasts) {
    put(QStringLiteral("ken_all.zip"), nationwide(101, {13, 14}));
    open();
    Snapshot during;
    atFirstYield([&] {
        window->close();
        during = snapshot();
        during.visibleAfterClose = window->isVisible();
    });
    QPointer<Data_Syori> w = window;
    QTest::mouseClick(window->Command4, Qt::LeftButton);
    ASSERT_TRUE(during.taken);
    EXPECT_EQ(during.busy, 1);
    EXPECT_TRUE(during.visibleAfterClose);
    EXPECT_FALSE(during.command1Enabled);
    EXPECT_FALSE(during.command2Enabled);
    EXPECT_FALSE(during.command3Enabled);
    EXPECT_FALSE(during.command4Visible);
    EXPECT_TRUE(during.command5Visible);
    EXPECT_TRUE(during.label3Visible);
    EXPECT_TRUE(during.text1HasFocus);
    // After the run the window closed itself and saved the folder.
    EXPECT_TRUE(!w || !w->isVisible());
    EXPECT_EQ(readSetting(SettingKey::DataDir), downloadFolder());
}

TEST_F(DataSyoriWindow, PrefectureRunDisablesEveryStartButton) {
    put(QStringLiteral("13tokyo.zip"), makeZip({fileEntry("13tokyo.CSV", "x\r\n")}));
    open();
    Snapshot during;
    atFirstYield([&] { during = snapshot(); });
    QTest::mouseClick(window->Command2, Qt::LeftButton);
    ASSERT_TRUE(during.taken);
    EXPECT_EQ(during.busy, 1);
    EXPECT_FALSE(during.command4Enabled);
    EXPECT_TRUE(during.command4Visible);
    EXPECT_FALSE(during.command5Visible);
    EXPECT_TRUE(during.label3Visible);
}

TEST_F(DataSyoriWindow, CompletedRunTellsTheCountResetsTheMainListsAndCloses) {
    put(QStringLiteral("13tokyo.lzh"), makeLzh({fileEntry("13tokyo.CSV", "tokyo\r\n")}));
    put(QStringLiteral("27osaka.lzh"), makeLzh({fileEntry("27osaka.CSV", "osaka\r\n")}));
    fillMainLists();
    open();
    QTest::mouseClick(window->Command2, Qt::LeftButton);
    ASSERT_EQ(env.messages.shown.size(), 2u);
    expectMessage(0, MessageIcon::Question, QStringLiteral("LZHﾌｧｲﾙ解凍 (都道府県＋事業所)  "),
                  QStringLiteral("郵便番号(都道府県別)LZHﾌｧｲﾙを解凍しますか？     "),
                  MessageButtons::OkCancel);
    expectMessage(1, MessageIcon::Exclamation, QStringLiteral("LZHﾌｧｲﾙ解凍 (都道府県＋事業所)  "),
                  QStringLiteral("郵便番号ﾃﾞｰﾀ解凍完了数 ： 2 件    \n\n"
                                 "郵便番号ﾃﾞｰﾀの解凍が完了しました。     "),
                  MessageButtons::Ok);
    expectMainListsIdle();
    EXPECT_FALSE(owner->isLoaded(window));
    EXPECT_EQ(dataNames(),
              (QStringList{QStringLiteral("13tokyo.CSV"), QStringLiteral("27osaka.CSV")}));
}

TEST_F(DataSyoriWindow, RunThatPlacedOnlyTheBusinessOfficesStaysOpenOnCommand3) {
    put(QStringLiteral("jigyosyo.zip"), makeZip({fileEntry("JIGYOSYO.CSV", "office\r\n")}));
    fillMainLists();
    open();
    QTest::mouseClick(window->Command2, Qt::LeftButton);
    ASSERT_EQ(env.messages.shown.size(), 2u);
    EXPECT_EQ(env.messages.shown[1].text,
              QStringLiteral("郵便番号ﾃﾞｰﾀ解凍完了数 ： 1 件    \n\n"
                             "郵便番号ﾃﾞｰﾀの解凍が完了しました。     "));
    expectMainListsIdle();
    ASSERT_TRUE(owner->isLoaded(window));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->focusWidget(), window->Command3);
    EXPECT_EQ(window->BusyFlag, 0);
    EXPECT_TRUE(window->Label3->isHidden());
}

TEST_F(DataSyoriWindow, RunThatPlacedNothingSaysSoAndLeavesTheMainListsAlone) {
    fillMainLists();
    open();
    QTest::mouseClick(window->Command2, Qt::LeftButton);
    expectMessage(1, MessageIcon::Exclamation, QStringLiteral("LZHﾌｧｲﾙ解凍"),
                  QStringLiteral("解凍された郵便番号ﾃﾞｰﾀはありません。    "), MessageButtons::Ok);
    EXPECT_EQ(owner->main().List2->item(0)->text(), QStringLiteral("千代田区"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(DataSyoriWindow, FailedRunShowsTheErrorAndReturnsToIdle) {
    put(QStringLiteral("ken_all.lzh"), "damaged");
    open();
    QTest::mouseClick(window->Command4, Qt::LeftButton);
    ASSERT_EQ(env.messages.shown.size(), 2u);
    EXPECT_EQ(env.messages.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(env.messages.shown[1].title, QStringLiteral("LZHﾌｧｲﾙ解凍"));
    EXPECT_TRUE(env.messages.shown[1].text.startsWith(QStringLiteral("ｴﾗｰ ： ")));
    EXPECT_GT(env.messages.shown[1].text.size(), 6);
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->BusyFlag, 0);
    EXPECT_TRUE(window->Command4->isVisible());
    EXPECT_TRUE(window->Command4->isEnabled());
    EXPECT_TRUE(window->Command5->isHidden());
    EXPECT_TRUE(window->Label3->isHidden());
    EXPECT_TRUE(dataNames().isEmpty());
}

TEST_F(DataSyoriWindow, AbortReturnsToIdleWithoutAMessageAndASecondRunCompletes) {
    put(QStringLiteral("ken_all.zip"), nationwide(101, {1, 47}));
    test::writeFile(dataFolder() + QStringLiteral("01hokkai.CSV"), "previous\r\n");
    open();
    atFirstYield([&] { QTest::mouseClick(window->Command5, Qt::LeftButton); });
    QTest::mouseClick(window->Command4, Qt::LeftButton);
    EXPECT_EQ(env.messages.shown.size(), 1u); // the question only
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->BusyFlag, 0);
    EXPECT_TRUE(window->Command5->isHidden());
    EXPECT_TRUE(window->Command4->isVisible());
    EXPECT_TRUE(window->Command1->isEnabled());
    EXPECT_TRUE(window->Label3->isHidden());
    EXPECT_EQ(dataNames(), QStringList{QStringLiteral("01hokkai.CSV")});
    QFile previous(dataFolder() + QStringLiteral("01hokkai.CSV"));
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), QByteArray("previous\r\n"));
    previous.close();

    QTest::mouseClick(window->Command4, Qt::LeftButton);
    ASSERT_EQ(env.messages.shown.size(), 3u);
    EXPECT_EQ(env.messages.shown[2].text,
              QStringLiteral("郵便番号ﾃﾞｰﾀ解凍完了数 ： 2 件    \n\n"
                             "郵便番号ﾃﾞｰﾀの解凍が完了しました。     "));
    EXPECT_EQ(dataNames(),
              (QStringList{QStringLiteral("01hokkai.CSV"), QStringLiteral("47okinaw.CSV")}));
    EXPECT_EQ(dataDateText(QFileInfo(dataFolder() + QStringLiteral("47okinaw.CSV")).lastModified()),
              QStringLiteral("ﾃﾞｰﾀ日付：2025/09/30"));
}

TEST_F(DataSyoriWindow, BareDriveCaptionStartsNothingAndFocusesTheFolderButton) {
    window->show();
    window->Label1->setText(QStringLiteral("C:"));
    for (QPushButton* start : {window->Command2, window->Command4}) {
        window->Text1->setFocus();
        QTest::mouseClick(start, Qt::LeftButton);
        EXPECT_TRUE(env.messages.shown.empty());
        EXPECT_EQ(window->focusWidget(), window->Command1);
    }
}

TEST_F(DataSyoriWindow, CancelledQuestionLeavesTheWindowIdle) {
    put(QStringLiteral("13tokyo.zip"), makeZip({fileEntry("13tokyo.CSV", "x\r\n")}));
    open();
    env.messages.answers = {false};
    QTest::mouseClick(window->Command2, Qt::LeftButton);
    EXPECT_EQ(env.messages.shown.size(), 1u);
    EXPECT_EQ(window->BusyFlag, 0);
    EXPECT_TRUE(window->Command2->isEnabled());
    EXPECT_TRUE(dataNames().isEmpty());
}

} // namespace
} // namespace yubin
