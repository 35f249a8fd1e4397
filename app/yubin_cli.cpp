#include "address/address_cli.h"
#include "address/resolver.h"
#include "barcode/barcode_cli.h"
#include "data_prep/bundled_data.h"
#include "data_prep/change_log.h"
#include "data_prep/prepare_cli.h"
#include "foundation/cli.h"
#include "foundation/postal_record.h"
#include "foundation/utilities.h"
#include "labels/labels_cli.h"
#include "main_window/browse_cli.h"
#include "map_search/map_cli.h"
#include "postcards/postcards_cli.h"
#include "search/search_cli.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <cerrno>
#include <cstring>
#include <memory>
#include <unistd.h>

// This file makes two programs. yubin-cli itself loads Qt Core alone, so
// that a lookup or a search starts about as fast as a process can; the verbs
// that draw (barcode, labels) or read archives (prepare) need Qt's graphics
// and libarchive, some forty more libraries to load, and yubin-cli hands
// them to yubin-cli-full, built from this same file with every verb in it.
#ifdef YUBIN_CLI_FRONT

namespace {

QStringList givenArguments;
QString programFolder;

// Replaces this process with yubin-cli-full, the data folder already
// settled here so that both programs read the same one.
int runInFullProgram(const yubin::CliRequest& request) {
    const QString& folder = programFolder;
    QString full = folder + QStringLiteral("/../" YUBIN_LIBEXEC_DIR "/yubin/yubin-cli-full");
    if (!QFileInfo(full).isExecutable())
        full = folder + QStringLiteral("/yubin-cli-full");
    const QStringList args =
        QStringList{full, QStringLiteral("--data"), request.data.path()} + givenArguments;
    std::vector<QByteArray> encoded;
    for (const QString& a : args)
        encoded.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& a : encoded)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    request.out->flush();
    request.err->flush();
    ::execv(argv[0], argv.data());
    *request.err << QStringLiteral("yubin-cli: %1 を起動できません（%2）")
                        .arg(full, QString::fromLocal8Bit(std::strerror(errno)))
                 << '\n';
    return yubin::ExitCode::NothingFound;
}

// A new user's empty data folder is filled by yubin-cli-full, which reads
// archives; it is told where the bundled ones are, since it lives elsewhere.
bool fillInFullProgram(const yubin::CliRequest& request) {
    const QString bundled = yubin::bundledDataFolder(programFolder);
    if (!QFileInfo(bundled).isDir())
        return false;
    qputenv("YUBIN_BUNDLED_DATA", QFile::encodeName(bundled));
    runInFullProgram(request);
    return false; // only when it could not be started
}

} // namespace

namespace full {
constexpr auto fillDataFolder = &fillInFullProgram;
constexpr auto runBarcodeVerb = &runInFullProgram;
constexpr auto runPrepareVerb = &runInFullProgram;
constexpr auto runLabelsVerb = &runInFullProgram;
constexpr auto runPostcardsVerb = &runInFullProgram;
} // namespace full

#else

namespace full {
QString programFolder;
bool fillDataFolder(const yubin::CliRequest& request) {
    return yubin::fillFromBundledData(request.data, yubin::bundledDataFolder(programFolder),
                                      *request.err);
}
using yubin::runBarcodeVerb;
using yubin::runLabelsVerb;
using yubin::runPostcardsVerb;
using yubin::runPrepareVerb;
} // namespace full

#endif

// One entry per verb: its name, its line in --help, its arguments, its
// options, what runs it, its tsv/json fields, whether it reads the data
// files and what it needs beyond Qt Core (foundation/cli.h).
std::vector<yubin::CliVerb> verbTable() {
    using yubin::PostalRecordFields;
    return {
        {"prefectures",
         QT_TRANSLATE_NOOP("yubin-cli", "the 47 prefecture codes and names"),
         {},
         {},
         yubin::runPrefecturesVerb,
         {}},
        {"data-folder",
         QT_TRANSLATE_NOOP("yubin-cli",
                           "the data folder; exit 1 while it holds no prefecture file"),
         {},
         {},
         yubin::runDataFolderVerb,
         {}},
        {"municipalities",
         QT_TRANSLATE_NOOP("yubin-cli",
                           "the municipality list of a prefecture, or its business offices"),
         {{"PREF", QT_TRANSLATE_NOOP("yubin-cli", "prefecture: its code 01-47 or its name")}},
         {{"offices", "",
           QT_TRANSLATE_NOOP("yubin-cli", "list the prefecture's business offices instead")}},
         yubin::runMunicipalitiesVerb,
         PostalRecordFields,
         true},
        {"towns",
         QT_TRANSLATE_NOOP("yubin-cli",
                           "the town lines of a municipality, or the lines of an office"),
         {{"PREF", QT_TRANSLATE_NOOP("yubin-cli", "prefecture: its code 01-47 or its name")},
          {"NAME", QT_TRANSLATE_NOOP("yubin-cli", "municipality, or office name with --offices")}},
         {{"offices", "",
           QT_TRANSLATE_NOOP("yubin-cli", "NAME is a business office of the prefecture")}},
         yubin::runTownsVerb,
         PostalRecordFields,
         true},
        {"town-search",
         QT_TRANSLATE_NOOP("yubin-cli",
                           "the towns of a municipality whose name or reading holds TEXT"),
         {{"PREF", QT_TRANSLATE_NOOP("yubin-cli", "prefecture: its code 01-47 or its name")},
          {"MUNICIPALITY", QT_TRANSLATE_NOOP("yubin-cli", "municipality")},
          {"TEXT",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "part of a town name, or of its reading in katakana or hiragana")}},
         {},
         yubin::runTownSearchVerb,
         PostalRecordFields,
         true},
        {"search",
         QT_TRANSLATE_NOOP("yubin-cli",
                           "search all data for one word or two (the count goes to stderr)"),
         {{"TEXT",
           QT_TRANSLATE_NOOP("yubin-cli", "one word, or two separated by a blank (quote them)")}},
         {{"fold", "",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "also match in the full-width and hiragana forms of a line")},
          {"no-offices", "", QT_TRANSLATE_NOOP("yubin-cli", "leave out the business offices")}},
         yubin::runSearchVerb,
         PostalRecordFields,
         true},
        {"code",
         QT_TRANSLATE_NOOP("yubin-cli", "search all data for a postal code"),
         {{"CODE", QT_TRANSLATE_NOOP("yubin-cli", "7 digits, or 3 digits, \"-\" and 4")}},
         {{"no-offices", "", QT_TRANSLATE_NOOP("yubin-cli", "leave out the business offices")}},
         yubin::runCodeVerb,
         PostalRecordFields,
         true},
        {"map-url",
         QT_TRANSLATE_NOOP("yubin-cli", "the address of the map search for an address"),
         {{"TEXT", QT_TRANSLATE_NOOP("yubin-cli", "the address (quote an address with blanks)")}},
         {{"site", "0|1",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "the map site: 0 Google Maps (the default), 1 OpenStreetMap")},
          {"office", "",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "TEXT is a business-office name, which has no map search")}},
         yubin::runMapUrlVerb,
         {}},
        {"web-url",
         QT_TRANSLATE_NOOP("yubin-cli", "the address of the web search for a text"),
         {{"TEXT", QT_TRANSLATE_NOOP("yubin-cli", "the text (quote a text with blanks)")}},
         {{"engine", "0|1",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "the search engine: 0 Google (the default), 1 Yahoo! JAPAN")}},
         yubin::runWebUrlVerb,
         {}},
        {"barcode",
         QT_TRANSLATE_NOOP("yubin-cli",
                           "the customer barcode's check value and bar pattern, or its picture"),
         {{"[ZIP]", QT_TRANSLATE_NOOP("yubin-cli", "postal code, 7 digits (not with --address)")},
          {"[ADDRESS]", QT_TRANSLATE_NOOP("yubin-cli", "address number, as 1-3-2 or 1丁目3番2号")}},
         {{"address", "ADDRESS",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "take the postal code and address number from an address")},
          {"size", "1|2|3",
           QT_TRANSLATE_NOOP("yubin-cli", "code size: 8, 10 or 11.5 point (default 2)")},
          {"png", "FILE", QT_TRANSLATE_NOOP("yubin-cli", "write the window's preview picture")},
          {"svg", "FILE",
           QT_TRANSLATE_NOOP("yubin-cli", "write the barcode alone at its printed size")},
          {"pdf", "FILE",
           QT_TRANSLATE_NOOP("yubin-cli", "write an A4 page with the barcode at --top and --left")},
          {"top", "MM",
           QT_TRANSLATE_NOOP("yubin-cli", "millimetres from the paper's top edge (default 35)")},
          {"left", "MM",
           QT_TRANSLATE_NOOP("yubin-cli", "millimetres from the paper's left edge (default 15)")}},
         full::runBarcodeVerb,
         {},
         false,
         yubin::CliNeeds::Drawing},
        {"prepare",
         QT_TRANSLATE_NOOP("yubin-cli",
                           "turn downloaded archives into the data files, or apply the monthly "
                           "differences"),
         {{"prefectures|nationwide|update",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "the per-prefecture archives, the nationwide one (ken_all or "
                             "utf_ken_all), or the monthly difference files (add_YYMM, del_YYMM, "
                             "utf_add_YYMM, utf_del_YYMM, jaddYYMM, jdelYYMM)")},
          {"DIR", QT_TRANSLATE_NOOP("yubin-cli", "the folder holding the downloaded archives")}},
         {},
         full::runPrepareVerb,
         {},
         false,
         yubin::CliNeeds::Archives},
        {"changes",
         QT_TRANSLATE_NOOP("yubin-cli", "what the applied monthly differences added and abolished"),
         {},
         {{"since", "YYMM",
           QT_TRANSLATE_NOOP("yubin-cli", "only the months from YYMM on (2603: March 2026)")}},
         yubin::runChangesVerb,
         yubin::ChangeFields,
         true},
        {"resolve",
         QT_TRANSLATE_NOOP("yubin-cli", "postal code, address number and record of addresses"),
         {{"[ADDRESS...]",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "addresses; without one, one address per line of stdin")}},
         {},
         yubin::runResolveVerb,
         yubin::address::ResolutionFields,
         true},
        {"address-number",
         QT_TRANSLATE_NOOP("yubin-cli", "the address number of the part after the town"),
         {{"TEXT", QT_TRANSLATE_NOOP("yubin-cli", "as 3丁目30-8　郵便ビル403号")}},
         {},
         yubin::runAddressNumberVerb,
         {}},
        {"labels",
         QT_TRANSLATE_NOOP("yubin-cli",
                           "label sheets with customer barcodes from an address list (CSV, TSV or "
                           ".xlsx)"),
         {{"FILE", QT_TRANSLATE_NOOP("yubin-cli", "the address list: CSV or TSV in UTF-8 or "
                                                  "Shift_JIS, or an .xlsx workbook")}},
         {{"layout", "12|21|24|CUSTOM",
           QT_TRANSLATE_NOOP(
               "yubin-cli",
               "the A4 sheet (default 12); CUSTOM is COLSxROWS:WIDTHxHEIGHT:TOP,LEFT:HPITCH,VPITCH "
               "in millimetres")},
          {"size", "1|2|3",
           QT_TRANSLATE_NOOP(
               "yubin-cli",
               "code size: 8, 10 or 11.5 point (default 2, or 1 where 2 does not fit)")},
          {"start", "N",
           QT_TRANSLATE_NOOP("yubin-cli", "the first label used on the first sheet (default 1)")},
          {"pdf", "OUT.pdf", QT_TRANSLATE_NOOP("yubin-cli", "write the sheets as an A4 PDF")},
          {"report", "OUT.csv",
           QT_TRANSLATE_NOOP("yubin-cli", "write every row's status and reason as CSV")},
          {"skip-unresolved", "",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "leave rows in error out instead of printing them without a barcode")},
          {"allow-catch-all", "",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "print the barcode of a municipality's catch-all code where the town "
                             "was not recognised")}},
         full::runLabelsVerb,
         {},
         true,
         yubin::CliNeeds::Text},
        {"postcards",
         QT_TRANSLATE_NOOP("yubin-cli",
                           "the address side of postcards or envelopes from an address "
                           "list, checked row by row"),
         {{"[FILE]", QT_TRANSLATE_NOOP(
                         "yubin-cli", "the address list, as for labels (not with --calibration)")}},
         {{"paper", "postcard|naga3|naga4|WxH",
           QT_TRANSLATE_NOOP("yubin-cli", "postcard (100x148, the default), naga3 (120x235) or "
                                          "naga4 (90x205) envelope, or WIDTHxHEIGHT in mm")},
          {"horizontal", "",
           QT_TRANSLATE_NOOP("yubin-cli", "write across instead of down (縦書き is the default)")},
          {"numerals", "digits|kanji",
           QT_TRANSLATE_NOOP("yubin-cli", "numbers in vertical writing: 一二〇三 (digits, the "
                                          "default) or 千二百三 (kanji)")},
          {"sender-name", "NAME", QT_TRANSLATE_NOOP("yubin-cli", "the sender's name")},
          {"sender-code", "CODE",
           QT_TRANSLATE_NOOP("yubin-cli", "the sender's postal code, 7 digits")},
          {"sender-address", "ADDRESS", QT_TRANSLATE_NOOP("yubin-cli", "the sender's address")},
          {"offset", "X,Y",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "the printer's offset in millimetres, right and down (default 0,0)")},
          {"barcode", "", QT_TRANSLATE_NOOP("yubin-cli", "add the customer barcode (bulk mail)")},
          {"draw-boxes", "",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "draw the red postal-code boxes (envelopes printed without them)")},
          {"keep-unresolved", "",
           QT_TRANSLATE_NOOP("yubin-cli",
                             "print rows in error too, with the postal code as given")},
          {"calibration", "",
           QT_TRANSLATE_NOOP("yubin-cli", "write the calibration page alone to --pdf")},
          {"pdf", "OUT.pdf",
           QT_TRANSLATE_NOOP("yubin-cli", "write the pieces as a PDF, one a page")},
          {"report", "OUT.csv",
           QT_TRANSLATE_NOOP("yubin-cli", "write every row's status and reason as CSV")}},
         full::runPostcardsVerb,
         {},
         true,
         yubin::CliNeeds::Text},
    };
}

int main(int argc, char* argv[]) {
    yubin::reportFileSizeLimitAsWriteError();
    const std::vector<yubin::CliVerb> verbs = verbTable();
#ifdef YUBIN_CLI_FRONT
    // No QCoreApplication: nothing here runs an event loop, and making one
    // would lengthen the start of every lookup by about 0.3 ms. The
    // arguments and the program's folder are taken as it takes them: the
    // arguments in the locale's encoding, the folder from the executable.
    for (int i = 1; i < argc; ++i)
        givenArguments << QString::fromLocal8Bit(argv[i]);
    programFolder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).path();
#else
    // Only the verbs that draw text need fonts; they draw off any screen.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const yubin::CliVerb* chosen = yubin::chosenVerb(verbs, arguments);
    std::unique_ptr<QCoreApplication> application;
    if (chosen && chosen->needs == yubin::CliNeeds::Text) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *application;
#endif
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

#ifndef YUBIN_CLI_FRONT
    const QStringList givenArguments = app.arguments().mid(1);
    const QString programFolder = QCoreApplication::applicationDirPath();
    full::programFolder = programFolder;
#endif
    return yubin::runCommandLine(verbs, givenArguments, yubin::DataFolder(programFolder), out, err,
                                 full::fillDataFolder);
}
