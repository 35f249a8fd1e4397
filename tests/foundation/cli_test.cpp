#include "support/data_files.h"

#include <gtest/gtest.h>

namespace yubin {
namespace {

TEST(CliPrefectures, PrintsTheFortySevenCodesAndNames) {
    const test::CliResult r = test::runCli({QStringLiteral("prefectures")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 47);
    EXPECT_EQ(lines.first(), QStringLiteral("01 北海道"));
    EXPECT_EQ(lines[13], QStringLiteral("14 神奈川県"));
    EXPECT_EQ(lines.last(), QStringLiteral("47 沖縄県"));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST(CliUsage, MisuseExitsTwoWithOneLineOnStderr) {
    for (const QStringList& args :
         {QStringList{}, QStringList{QStringLiteral("nonsense")},
          QStringList{QStringLiteral("prefectures"), QStringLiteral("extra")},
          QStringList{QStringLiteral("prefectures"), QStringLiteral("--bogus")},
          // The preparation's kind and its download folder.
          QStringLiteral("prepare nationwide").split(u' '),
          QStringLiteral("prepare all /tmp").split(u' '),
          QStringLiteral("prepare nationwide /no/such").split(u' '),
          QStringLiteral("prepare prefectures /").split(u' ')}) {
        const test::CliResult r = test::runCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith(u"yubin-cli: ")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

} // namespace
} // namespace yubin
