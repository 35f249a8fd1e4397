#include "support/data_files.h"

#include <gtest/gtest.h>

namespace yubin {
namespace {

struct CliUrlCase {
    const char* name;
    QStringList args;
    const char* url;
};

class CliSearchUrl : public testing::TestWithParam<CliUrlCase> {};

TEST_P(CliSearchUrl, PrintsOneLineWithTheUrl) {
    const test::CliResult r = test::runCli(GetParam().args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString::fromLatin1(GetParam().url) + u'\n');
    EXPECT_TRUE(r.err.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Verbs, CliSearchUrl,
    testing::Values(
        CliUrlCase{"MapDefaultsToTheFirstSite",
                   {QStringLiteral("map-url"), QStringLiteral("あ")},
                   "https://map.livedoor.com/search/?type=&word=%A4%A2"},
        CliUrlCase{"MapSecondSite",
                   {QStringLiteral("map-url"), QStringLiteral("--site"), QStringLiteral("1"),
                    QStringLiteral("あ")},
                   "https://map.yahoo.co.jp/search?p=%A4%A2&ken_name=&kind_name="},
        CliUrlCase{"MapAppliesTheLoadRewrites",
                   {QStringLiteral("map-url"), QStringLiteral("東京都三宅島三宅村一円")},
                   "https://map.livedoor.com/search/"
                   "?type=&word=%C5%EC%B5%FE%C5%D4%BB%B0%C2%F0%C2%BC"},
        CliUrlCase{"OfficeNameStillSearchesTheMap",
                   {QStringLiteral("map-url"), QStringLiteral("--office"), QStringLiteral("--site"),
                    QStringLiteral("1"), QStringLiteral("あ")},
                   "https://map.yahoo.co.jp/search?p=%A4%A2&ken_name=&kind_name="},
        CliUrlCase{"WebDefaultsToShiftJis",
                   {QStringLiteral("web-url"), QStringLiteral("あ")},
                   "https://www.google.co.jp/search?q=%82%A0&hl=ja&ie=Shift_JIS&oe=Shift_JIS"},
        CliUrlCase{"WebSecondEngineTakesEucJp",
                   {QStringLiteral("web-url"), QStringLiteral("--engine"), QStringLiteral("1"),
                    QStringLiteral("ｱ")},
                   "https://search.yahoo.co.jp/bin/search?p=%8E%B1&fr=top&src=top"},
        CliUrlCase{
            "WebAppliesTheLoadRewrites",
            {QStringLiteral("web-url"), QStringLiteral("東京都大島大島町元町")},
            "https://www.google.co.jp/search?q=%93%8C%8B%9E%93%73%91%E5%93%87%92%AC%8C%B3%92%AC"
            "&hl=ja&ie=Shift_JIS&oe=Shift_JIS"},
        CliUrlCase{"EmptyTextOpensTheSite",
                   {QStringLiteral("web-url"), QString()},
                   "https://www.google.co.jp/search?q=&hl=ja&ie=Shift_JIS&oe=Shift_JIS"},
        CliUrlCase{"TextAfterDoubleDash",
                   {QStringLiteral("map-url"), QStringLiteral("--"), QStringLiteral("--x")},
                   "https://map.livedoor.com/search/?type=&word=--x"}),
    [](const testing::TestParamInfo<CliUrlCase>& info) { return std::string(info.param.name); });

class CliSearchUrlMisuse : public testing::TestWithParam<QStringList> {};

TEST_P(CliSearchUrlMisuse, ExitsTwoWithOneLineOnStderrAndNoUrl) {
    const test::CliResult r = test::runCli(GetParam());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(QLatin1String("yubin-cli: "))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliSearchUrlMisuse,
    testing::Values(
        QStringList{QStringLiteral("map-url")},
        QStringList{QStringLiteral("map-url"), QStringLiteral("a"), QStringLiteral("b")},
        QStringList{QStringLiteral("map-url"), QStringLiteral("--site"), QStringLiteral("2"),
                    QStringLiteral("a")},
        QStringList{QStringLiteral("map-url"), QStringLiteral("a"), QStringLiteral("--site")},
        QStringList{QStringLiteral("map-url"), QStringLiteral("--engine"), QStringLiteral("1"),
                    QStringLiteral("a")},
        QStringList{QStringLiteral("web-url")},
        QStringList{QStringLiteral("web-url"), QStringLiteral("--engine"), QStringLiteral("yahoo"),
                    QStringLiteral("a")},
        QStringList{QStringLiteral("web-url"), QStringLiteral("--office"), QStringLiteral("a")}));

TEST(CliSearchUrlMessages, NameWhatIsWrong) {
    EXPECT_EQ(test::runCli({QStringLiteral("map-url"), QStringLiteral("--site"),
                            QStringLiteral("2"), QStringLiteral("a")})
                  .err,
              QStringLiteral("yubin-cli: --site takes 0 or 1\n"));
    EXPECT_EQ(test::runCli({QStringLiteral("web-url")}).err,
              QStringLiteral("yubin-cli: web-url takes one TEXT (quote an address with blanks)\n"));
}

} // namespace
} // namespace yubin
