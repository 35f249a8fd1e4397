// Data files the program did not write, put where it looks for its own:
// each window loads the records it can read or shows its missing-data
// state, and answers the next request as usual.

#include "foundation/text.h"
#include "support/running_program.h"

#include <QDir>

#include <string_view>

namespace yubin {
namespace {

using test::linesOf;

const QString Hokkaido = QStringLiteral("01hokkai.CSV");
const QString Offices = QStringLiteral("JIGYOSYO.CSV");

QString goodAddress() {
    return test::addressRecord("01101", "0640941", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｱｻﾋｶﾞｵｶ", "北海道",
                               "札幌市中央区", "旭ケ丘");
}
QString goodOffice() {
    return test::officeRecord("13101", "(ｶﾌﾞ) ﾆﾎﾝｼﾖｳｼﾞ", "日本商事株式会社", "東京都", "千代田区",
                              "丸の内", "１－１", "1008799");
}

// How a hostile file is made around one good record (as code page 932
// bytes with its line end), and whether the program should still find it.
enum class Expect { Nothing, TheGoodRecord, MissingFile };
struct Hostile {
    const char* name;
    QByteArray (*bytes)(const QByteArray& good);
    Expect expect;
};

const Hostile HostileFiles[] = {
    {"Empty", [](const QByteArray&) { return QByteArray(); }, Expect::Nothing},
    {"LineOf50MBWithoutABreak",
     [](const QByteArray& good) { return good + QByteArray(50 << 20, 'x'); },
     Expect::TheGoodRecord},
    {"NulBytesAndInvalidCodePage932",
     [](const QByteArray& good) {
         return QByteArray(40, '\0') +
                QByteArray("\x81\x20\xFF\xFE\x85\x40\xA0\x80\x81\x7F\xEF\xFC\xFD,\x82,\x88\r\n") +
                good + QByteArray(40, '\0') + "\x81";
     },
     Expect::TheGoodRecord},
    {"Utf8", [](const QByteArray& good) { return text::decodeCp932(good).toUtf8(); },
     Expect::TheGoodRecord},
    {"Directory", [](const QByteArray&) { return QByteArray(); }, Expect::MissingFile},
    {"Unreadable", [](const QByteArray& good) { return good; }, Expect::MissingFile},
};

class HostileFile : public test::RunningProgram, public testing::WithParamInterface<Hostile> {
protected:
    // Puts the hostile form of the good record under the file name.
    void place(const QString& name, const QString& good) {
        const QString path = env.dataFolder() + name;
        if (is("Directory")) {
            ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/sub")));
            return;
        }
        test::writeFile(path, GetParam().bytes(test::sjisLines({good})));
        if (is("Unreadable")) {
            ASSERT_TRUE(QFile::setPermissions(path, {}));
            test::openToEveryone(env.programFolder());
            test::openToEveryone(env.dataFolder());
        }
    }
    bool is(std::string_view name) const { return GetParam().name == name; }
    // Runs the check as a user the file's permissions hold for.
    bool check(const std::function<bool()>& seen) {
        return is("Unreadable") ? test::runUnprivileged(seen) : seen();
    }
    // A good file beside the hostile one: the next request reads it as usual.
    void SetUp() override {
        test::writeFile(env.dataFolder() + QStringLiteral("02aomori.CSV"),
                        test::sjisLines({test::addressRecord("02201", "0300000", "ｱｵﾓﾘｹﾝ", "ｱｵﾓﾘｼ",
                                                             "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "青森県", "青森市",
                                                             "以下に掲載がない場合")}));
    }
};

// What the main window shows after a prefecture (or the office file) loads:
// its list, its count, the missing-data label and whether 全検索 shows.
QString seenIn(const Yubin_Main& w) {
    return QStringList{linesOf(*w.List2).join(u','), w.Label1[0]->text(), w.Label3->text(),
                       w.Command2->isHidden() ? "hidden" : "shown"}
        .join(u'|');
}

TEST_P(HostileFile, MainWindowLoadsWhatItCanAndGoesOn) {
    for (const bool offices : {false, true}) {
        SCOPED_TRACE(offices ? "business offices" : "prefecture");
        place(offices ? Offices : Hokkaido, offices ? goodOffice() : goodAddress());
        Yubin_Main& w = start();
        QTest::mouseClick(w.Option1[offices ? 1 : 0], Qt::LeftButton);
        const QString good =
            offices ? QStringLiteral("ニ 日本商事株式会社|1 件||shown")
                    : QStringLiteral("さ 札幌市中央区 (さつぽろしちゆうおうく)|1 件||shown");
        const QString expected = GetParam().expect == Expect::TheGoodRecord ? good
                                 : GetParam().expect == Expect::Nothing
                                     ? QStringLiteral("|0 件||shown")
                                     : QStringLiteral("||データファイルがありません|hidden");
        EXPECT_TRUE(check([&] {
            test::clickLine(*w.List1, offices ? 12 : 0);
            EXPECT_EQ(seenIn(w), expected);
            return seenIn(w) == expected && QApplication::overrideCursor() == nullptr;
        }));
        QTest::mouseClick(w.Option1[0], Qt::LeftButton);
        test::clickLine(*w.List1, 1);
        EXPECT_EQ(linesOf(*w.List2), QStringList{"あ 青森市 (あおもりし)"});
        owner.reset();
    }
}

// Exact on the address file, folded on the office file.
TEST_P(HostileFile, FullSearchFindsWhatItCanAndGoesOn) {
    place(Hokkaido, goodAddress());
    place(Offices, goodOffice());
    start();
    Zen_Kensaku& w = openFullSearch();
    const bool found = GetParam().expect == Expect::TheGoodRecord;
    for (const auto& [text, fold, row] :
         {std::tuple{"札幌", false,
                     "[A] 064-0941 北海道札幌市中央区旭ケ丘 (ﾎﾂｶｲﾄﾞｳｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸｱｻﾋｶﾞｵｶ)"},
          std::tuple{"にほんしようじ", true,
                     "[*] 100-8799 日本商事株式会社 東京都千代田区丸の内１－１"}}) {
        SCOPED_TRACE(text);
        const QStringList rows{QString::fromUtf8(found ? row : "文字列検索をしてください")};
        const bool folded = fold;
        const QString word = QString::fromUtf8(text);
        EXPECT_TRUE(check([&] {
            w.Check2->setChecked(!folded);
            w.Text1->setText(word);
            const bool scanned =
                test::runThroughScanWindow([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); });
            EXPECT_EQ(linesOf(*w.List1), rows);
            return scanned && linesOf(*w.List1) == rows;
        }));
    }
    w.Check2->setChecked(true);
    w.Text1->setText(QStringLiteral("青森市"));
    EXPECT_TRUE(test::runThroughScanWindow([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_EQ(linesOf(*w.List1), QStringList{"[A] 030-0000 青森県青森市(以下に掲載がない場合)"});
}

INSTANTIATE_TEST_SUITE_P(DataFolder, HostileFile, testing::ValuesIn(HostileFiles),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace yubin
