#include "foundation/cli.h"
#include "support/data_files.h"

#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

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

// A misuse shows the usage of the verb (or of the program) and then what
// was wrong, and exits 2.
TEST(CliUsage, MisuseShowsTheUsageThenWhyAndExitsTwo) {
    const QString global = u"usage: yubin-cli [--data DIR] VERB [ARGUMENTS...]\n"
                           u"       yubin-cli VERB --help | --help | --version\n"_qs;
    const QString prefectures = u"usage: yubin-cli [--data DIR] prefectures\n"_qs;
    const QString prepare =
        u"usage: yubin-cli [--data DIR] prepare prefectures|nationwide|update DIR\n"_qs;
    const std::pair<QString, QString> cases[] = {
        {u""_qs, global + u"yubin-cli: no verb given ('yubin-cli --help' lists them)"_qs},
        {u"nonsense"_qs, global + u"yubin-cli: unknown verb nonsense"_qs},
        {u"prefectures extra"_qs, prefectures + u"yubin-cli: prefectures takes no arguments"_qs},
        {u"prefectures --bogus"_qs, prefectures + u"yubin-cli: Unknown option 'bogus'."_qs},
        {u"towns 01 x --format csv"_qs,
         u"usage: yubin-cli [--data DIR] towns PREF NAME [--offices] [--format text|tsv|json]\n"
         u"yubin-cli: --format takes text, tsv or json"_qs},
        {u"prepare nationwide"_qs,
         prepare + u"yubin-cli: prepare takes prefectures|nationwide|update DIR"_qs},
        {u"prepare all /tmp"_qs,
         prepare + u"yubin-cli: prepare prefectures, nationwide or update"_qs},
        {u"prepare nationwide /no/such"_qs, prepare + u"yubin-cli: not a folder: /no/such"_qs},
    };
    for (const auto& [args, err] : cases) {
        const test::CliResult r = test::runCli(args.split(u' ', Qt::SkipEmptyParts));
        EXPECT_EQ(r.exitCode, 2) << args.toStdString();
        EXPECT_EQ(r.err, err + u'\n');
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(CliHelp, ListsEveryVerbOnOneLineAndAVerbsArgumentsAndOptions) {
    const test::CliResult all = test::runCli({u"--help"_qs});
    EXPECT_EQ(all.exitCode, 0);
    const QString verbs = all.out.section(u"Verbs:\n"_qs, 1).section(u"\n\n"_qs, 0, 0);
    QStringList names;
    for (const QString& line : verbs.split(u'\n'))
        names << line.section(u' ', 2, 2);
    EXPECT_EQ(names, QStringLiteral("prefectures data-folder municipalities towns town-search "
                                    "search code map-url web-url barcode prepare changes resolve "
                                    "address-number labels postcards")
                         .split(u' '));

    const test::CliResult towns = test::runCli({u"towns"_qs, u"--help"_qs});
    EXPECT_EQ(towns.exitCode, 0);
    for (
        const QString& part :
        {u"usage: yubin-cli [--data DIR] towns PREF NAME [--offices] [--format text|tsv|json]\n"_qs,
         u"\n  PREF  "_qs, u"\n  NAME  "_qs, u"\n  --offices  "_qs, u"\n  --data DIR  "_qs,
         u"\nFields (tsv, json): kind, postal_code, prefecture, municipality, "
         u"municipality_reading, town, town_reading, office_name, office_reading, address\n"_qs})
        EXPECT_TRUE(towns.out.contains(part)) << part.toStdString();

    const test::CliResult version = test::runCli({u"--version"_qs});
    EXPECT_TRUE(
        QRegularExpression(u"^yubin-cli \\d+\\.\\d+\\.\\d+\n$"_qs).match(version.out).hasMatch())
        << version.out.toStdString();
}

// What the declarations accept: options anywhere after the verb, "--" to
// end them, --data before or after the verb, and as many arguments as the
// syntax allows ("[X]" may be left out, "[X...]" repeats).
TEST(CliArguments, TheDeclarationDecidesWhatIsAccepted) {
    const std::tuple<QStringList, int, QString> cases[] = {
        {{u"map-url"_qs, u"あ"_qs, u"--site"_qs, u"1"_qs}, 0, u"https://"_qs},
        {{u"address-number"_qs, u"--"_qs, u"-1"_qs}, 0, u"1\n"_qs},
        {{u"data-folder"_qs, u"--data"_qs, u"/nowhere"_qs}, 1, u"/nowhere/\n"_qs},
        {{u"--data"_qs, u"/a"_qs, u"data-folder"_qs, u"--data=/b"_qs}, 1, u"/b/\n"_qs},
        {{u"resolve"_qs, u"--data=/nowhere"_qs, u"x"_qs, u"y"_qs, u"z"_qs}, 1, QString()},
        {{u"barcode"_qs, u"1234567"_qs}, 0, u"18\n"_qs},
        {{u"towns"_qs, u"01"_qs}, 2, QString()},
        {{u"towns"_qs, u"-h"_qs}, 0, u"usage: yubin-cli [--data DIR] towns "_qs},
        {{u"--help"_qs, u"code"_qs}, 0, u"usage: yubin-cli [--data DIR] code "_qs},
    };
    for (const auto& [args, exitCode, start] : cases) {
        const test::CliResult r = test::runCli(args);
        EXPECT_EQ(r.exitCode, exitCode) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.startsWith(start)) << r.out.toStdString();
    }
}

// main() asks which verb runs before it makes its application: the first
// argument that is neither an option nor --data's value, as the parser reads.
TEST(CliArguments, TheChosenVerbIsReadAsThePassReadsIt) {
    const std::vector<CliVerb> verbs = {{"labels", "", {}, {}, nullptr, {}, true, CliNeeds::Text},
                                        {"code", "", {}, {}, nullptr, {}}};
    const std::pair<QStringList, const char*> cases[] = {
        {{u"--data"_qs, u"labels"_qs, u"code"_qs, u"labels"_qs}, "code"},
        {{u"--data=/x"_qs, u"labels"_qs, u"a.csv"_qs}, "labels"},
        {{u"code"_qs, u"labels"_qs}, "code"},
        {{u"--help"_qs}, nullptr},
        {{u"--nonsense"_qs, u"labels"_qs}, nullptr},
        {{u"towns"_qs}, nullptr}};
    for (const auto& [args, name] : cases) {
        const CliVerb* verb = chosenVerb(verbs, args);
        EXPECT_STREQ(verb ? verb->name : nullptr, name) << args.join(u' ').toStdString();
    }
}

// The completion script yubin-cli writes for bash, run by bash.
TEST(CliCompletion, OffersVerbsOptionsAndTheChoicesOfAValue) {
    const std::pair<QString, QString> cases[] = {
        {u"yubin-cli to"_qs, u"towns town-search"_qs},
        {u"yubin-cli --data /tmp ma"_qs, u"map-url"_qs},
        {u"yubin-cli towns 01 x --of"_qs, u"--offices"_qs},
        {u"yubin-cli code --format j"_qs, u"json"_qs},
        {u"yubin-cli barcode 1 --size "_qs, u"1 2 3"_qs},
        {u"yubin-cli prepare n"_qs, u"nationwide"_qs},
    };
    const QString script = u"source <(\"$0\" --bash-completion); read -ra COMP_WORDS <<< \"$1\"; "
                           u"[[ $1 == *' ' ]] && COMP_WORDS+=(''); "
                           u"COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _yubin_cli; "
                           u"echo \"${COMPREPLY[*]}\""_qs;
    for (const auto& [line, offered] : cases) {
        const test::CliResult r =
            test::runProgram(u"bash"_qs, {u"-c"_qs, script, test::cliPath(), line});
        EXPECT_EQ(r.out, offered + u'\n') << line.toStdString() << r.err.toStdString();
    }
}

// One town of 北海道 and one office of 東京都; every verb with --format
// prints the fields of the records its lines stand for.
TEST(CliFormats, TsvAndJsonNameTheFieldsOfEachRecord) {
    QTemporaryDir dir;
    test::writeFile(dir.filePath(u"01hokkai.CSV"_qs),
                    test::sjisLines({test::addressRecord(
                        u"01101"_qs, u"0600042"_qs, u"ﾎﾂｶｲﾄﾞｳ"_qs, u"ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ"_qs,
                        u"ｵｵﾄﾞｵﾘﾆｼ"_qs, u"北海道"_qs, u"札幌市中央区"_qs, u"大通西"_qs)}));
    test::writeFile(dir.filePath(u"JIGYOSYO.CSV"_qs),
                    test::sjisLines({test::officeRecord(
                        u"13101"_qs, u"(ｶﾌﾞ) ﾆﾎﾝｼﾖｳｼﾞ"_qs, u"日本商事株式会社"_qs, u"東京都"_qs,
                        u"千代田区"_qs, u"丸の内"_qs, u"１－１"_qs, u"1008799"_qs)}));
    const QString header = u"kind\tpostal_code\tprefecture\tmunicipality\tmunicipality_reading\t"
                           u"town\ttown_reading\toffice_name\toffice_reading\taddress\n"_qs;
    const QString townTsv = u"town\t0600042\t北海道\t札幌市中央区\tサツポロシチユウオウク\t大通西\t"
                            u"オオドオリニシ\t\t\t\n"_qs;
    const QString officeTsv =
        u"office\t1008799\t東京都\t\t\t\t\t日本商事株式会社\tニホンシヨウジ\t千代田区丸の内１－１\n"_qs;
    const QString townJson =
        u"[\n  {\"kind\": \"town\", \"postal_code\": \"0600042\", \"prefecture\": \"北海道\", "
        u"\"municipality\": \"札幌市中央区\", \"municipality_reading\": "
        u"\"サツポロシチユウオウク\", "
        u"\"town\": \"大通西\", \"town_reading\": \"オオドオリニシ\", \"office_name\": \"\", "
        u"\"office_reading\": \"\", \"address\": \"\"}\n]\n"_qs;
    const std::pair<QString, QString> cases[] = {
        {u"municipalities 01 --format tsv"_qs,
         header + u"municipality\t\t北海道\t札幌市中央区\tサツポロシチユウオウク\t\t\t\t\t\n"_qs},
        {u"towns 01 札幌市中央区 --format json"_qs, townJson},
        {u"town-search 01 札幌市中央区 おおどおり --format=tsv"_qs, header + townTsv},
        {u"code 060-0042 --format json"_qs, townJson},
        {u"municipalities 13 --offices --format tsv"_qs, header + officeTsv},
        {u"towns 13 日本商事株式会社 --offices --format tsv"_qs, header + officeTsv},
        {u"search 日本商事 --format tsv"_qs, header + officeTsv},
        {u"code 9999999 --format json"_qs, u"[]\n"_qs},
        {u"resolve 北海道札幌市中央区大通西1 --format tsv"_qs,
         u"postal_code\taddress_number\trecord\taddress_a\taddress_b\twarnings\tfailure\t"
         u"certainty\tcandidates\n"
         u"0600042\t1\t北海道札幌市中央区大通西\t北海道札幌市中央区大通西\t1\t\t\texact\t\n"_qs},
    };
    for (const auto& [args, out] : cases) {
        const test::CliResult r =
            test::runCli(QStringList{u"--data"_qs, dir.path()} + args.split(u' '));
        EXPECT_EQ(r.out, out) << args.toStdString();
    }
}

// The limit line is no record: in tsv and json it goes to stderr, before the
// count, which counts it as the search window's label does.
TEST(CliFormats, TheSearchLimitLineGoesToStderr) {
    QTemporaryDir dir;
    test::writeFile(dir.filePath(u"13tokyo.CSV"_qs), test::recordBytes(13, 10500));
    const test::CliResult r = test::runCli(
        {u"--data"_qs, dir.path(), u"search"_qs, u"本町"_qs, u"--format"_qs, u"tsv"_qs});
    EXPECT_EQ(r.out.count(u'\n'), 10001);
    EXPECT_EQ(r.err,
              u"----------------  件数10000件以上のため中止  ----------------\n10001 件\n"_qs);
}

// Under a Japanese locale the help, the usage errors (Qt's parser's among
// them) and the man page are Japanese; the English of the code otherwise.
TEST(CliLanguage, JapaneseUnderAJapaneseLocaleEnglishOtherwise) {
    const struct {
        const char* lang;
        QStringList args;
        int exitCode;
        QString text; // the first line of stdout, or the last of stderr
    } cases[] = {
        {"ja_JP.UTF-8",
         {u"--help"_qs},
         0,
         u"使い方: yubin-cli [--data DIR] VERB [ARGUMENTS...]"_qs},
        {"ja_JP.UTF-8",
         {u"map-url"_qs, u"--help"_qs},
         0,
         u"使い方: yubin-cli [--data DIR] map-url TEXT [--site 0|1] [--office]"_qs},
        {"ja_JP.UTF-8",
         {u"map-url"_qs, u"--site"_qs, u"2"_qs, u"a"_qs},
         2,
         u"yubin-cli: --site は 0 か 1 です"_qs},
        {"ja_JP.UTF-8",
         {u"map-url"_qs, u"a"_qs, u"--site"_qs},
         2,
         u"yubin-cli: '--site' の後に値がありません。"_qs},
        {"ja_JP.UTF-8", {u"nothing"_qs}, 2, u"yubin-cli: 不明な動詞 nothing です"_qs},
        {"C.UTF-8",
         {u"map-url"_qs, u"--site"_qs, u"2"_qs, u"a"_qs},
         2,
         u"yubin-cli: --site takes 0 or 1"_qs},
        {"en_US.UTF-8", {u"--help"_qs}, 0, u"usage: yubin-cli [--data DIR] VERB [ARGUMENTS...]"_qs},
    };
    for (const auto& c : cases) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            env.remove(QLatin1String(name));
        env.insert(u"LANG"_qs, QLatin1String(c.lang));
        const test::CliResult r = test::runProgram(test::cliPath(), c.args, env);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.lang << ' ' << c.args.join(u' ').toStdString();
        EXPECT_EQ(c.exitCode == 0 ? r.out.section(u'\n', 0, 0) : r.err.section(u'\n', -2, -2),
                  c.text);
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LANG"_qs, u"ja_JP.UTF-8"_qs);
    env.remove(u"LC_ALL"_qs);
    env.remove(u"LANGUAGE"_qs);
    const QString help = test::runProgram(test::cliPath(), {u"map-url"_qs, u"--help"_qs}, env).out;
    EXPECT_TRUE(help.contains(u"地図サイト：0 Googleマップ（既定）、1 OpenStreetMap"_qs));
    const QString man = test::runProgram(test::cliPath(), {u"--man"_qs}, env).out;
    EXPECT_TRUE(man.contains(u"\n.SH 名前\nyubin\\-cli \\- 郵便番号を調べる\n"_qs));
}

// The man page's lines are roff: a hyphen is written as \-, and a verb's line
// shows its arguments and options.
TEST(CliManPage, WritesEachVerbWithItsArgumentsAndOptionsInRoff) {
    const QString man = test::runCli({u"--man"_qs}).out;
    EXPECT_TRUE(man.startsWith(u".TH YUBIN\\-CLI 1 "_qs));
    EXPECT_TRUE(man.contains(u"\n.TP\n\\fBtown\\-search\\fR \\fIPREF\\fR \\fIMUNICIPALITY\\fR "
                             u"\\fITEXT\\fR [\\fB\\-\\-format\\fR \\fItext|tsv|json\\fR]\n"_qs))
        << man.toStdString();
}

// Values are written so that no value can break a row or the JSON text.
TEST(CliFormats, TabsBreaksQuotesAndBackslashesStayInsideTheirValue) {
    const CliVerb verb{"v", "", {}, {}, nullptr, {u"a"_qs, u"b"_qs}};
    const std::vector<QStringList> rows = {{u"1\t2\n3"_qs, u"\"x\\y\"\u0001"_qs}};
    QString text;
    QTextStream out(&text);
    CliRequest request{{},   {},      {},   DataFolder::atPath(u"/"_qs), OutputFormat::Tsv,
                       &out, nullptr, &verb};
    printTable(request, {}, rows);
    request.format = OutputFormat::Json;
    printTable(request, {}, rows);
    out.flush();
    EXPECT_EQ(text,
              u"a\tb\n1 2 3\t\"x\\y\"\u0001\n"
              u"[\n  {\"a\": \"1\\u00092\\u000a3\", \"b\": \"\\\"x\\\\y\\\"\\u0001\"}\n]\n"_qs);
}

} // namespace
} // namespace yubin
