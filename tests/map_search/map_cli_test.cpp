#include "support/data_files.h"

#include <gtest/gtest.h>

namespace yubin {
namespace {

// Without an option each verb takes the first service; the URLs of all four
// are checked against the window's. Misuse exits 2 saying why after the usage; a map search
// for a business-office name, which the window does not offer, exits 1.
TEST(CliSearchUrl, PrintsTheUrlOnOneLineOrSaysWhatIsWrong) {
    const std::tuple<QString, int, QString> cases[] = {
        {u"map-url あ"_qs, 0, u"https://www.google.com/maps/search/?api=1&query=%E3%81%82"_qs},
        {u"map-url --site 1 a&b"_qs, 0, u"https://www.openstreetmap.org/search?query=a%26b"_qs},
        {u"web-url あ"_qs, 0,
         u"https://www.google.co.jp/search?q=%82%A0&hl=ja&ie=Shift_JIS&oe=Shift_JIS"_qs},
        {u"map-url -- --x"_qs, 0, u"https://www.google.com/maps/search/?api=1&query=--x"_qs},
        {u"map-url"_qs, 2, u"yubin-cli: map-url takes TEXT"_qs},
        {u"web-url a b"_qs, 2, u"yubin-cli: web-url takes TEXT"_qs},
        {u"map-url --site 2 a"_qs, 2, u"yubin-cli: --site takes 0 or 1"_qs},
        {u"web-url --engine yahoo a"_qs, 2, u"yubin-cli: --engine takes 0 or 1"_qs},
        {u"map-url a --site"_qs, 2, u"yubin-cli: Missing value after '--site'."_qs},
        {u"map-url --engine 1 a"_qs, 2, u"yubin-cli: Unknown option 'engine'."_qs},
        {u"web-url --office a"_qs, 2, u"yubin-cli: Unknown option 'office'."_qs},
        {u"map-url --office 外務省"_qs, 1,
         u"事業所名は地図検索できません。WEB検索をお使いください。"_qs},
    };
    for (const auto& [args, exitCode, line] : cases) {
        const test::CliResult r = test::runCli(args.split(u' '));
        EXPECT_EQ(r.exitCode, exitCode) << args.toStdString();
        // A misuse shows the verb's usage first.
        EXPECT_EQ(exitCode == 0 ? r.out : r.err.section(u'\n', -2), line + u'\n');
        EXPECT_TRUE((exitCode == 0 ? r.err : r.out).isEmpty());
    }
}

} // namespace
} // namespace yubin
