#include "address/address_cli.h"
#include "address/resolver.h"
#include "barcode/barcode_cli.h"
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

} // namespace

namespace full {
constexpr auto runBarcodeVerb = &runInFullProgram;
constexpr auto runPrepareVerb = &runInFullProgram;
constexpr auto runLabelsVerb = &runInFullProgram;
constexpr auto runPostcardsVerb = &runInFullProgram;
} // namespace full

#else

namespace full {
using yubin::runBarcodeVerb;
using yubin::runLabelsVerb;
using yubin::runPostcardsVerb;
using yubin::runPrepareVerb;
} // namespace full

#endif

int main(int argc, char* argv[]) {
    yubin::reportFileSizeLimitAsWriteError();
#ifdef YUBIN_CLI_FRONT
    // No QCoreApplication: nothing here runs an event loop, and making one
    // would lengthen the start of every lookup by about 0.3 ms. The
    // arguments and the program's folder are taken as it takes them: the
    // arguments in the locale's encoding, the folder from the executable.
    for (int i = 1; i < argc; ++i)
        givenArguments << QString::fromLocal8Bit(argv[i]);
    programFolder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).path();
#else
    // Only the label sheets need fonts; they are drawn off any screen.
    std::unique_ptr<QCoreApplication> application;
    if (yubin::cliDrawsText(argc, argv)) {
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

    using yubin::PostalRecordFields;
    // One entry per verb: its name, its line in --help, its arguments, its
    // options, what runs it and its tsv/json fields (foundation/cli.h).
    const std::vector<yubin::CliVerb> verbs = {
        {"prefectures", "the 47 prefecture codes and names", {}, {}, yubin::runPrefecturesVerb, {}},
        {"data-folder",
         "the data folder; exit 1 while it holds no prefecture file",
         {},
         {},
         yubin::runDataFolderVerb,
         {}},
        {"municipalities",
         "the municipality list of a prefecture, or its business offices",
         {{"PREF", "prefecture: its code 01-47 or its name"}},
         {{"offices", "", "list the prefecture's business offices instead"}},
         yubin::runMunicipalitiesVerb,
         PostalRecordFields},
        {"towns",
         "the town lines of a municipality, or the lines of an office",
         {{"PREF", "prefecture: its code 01-47 or its name"},
          {"NAME", "municipality, or office name with --offices"}},
         {{"offices", "", "NAME is a business office of the prefecture"}},
         yubin::runTownsVerb,
         PostalRecordFields},
        {"town-search",
         "the towns of a municipality whose name or reading holds TEXT",
         {{"PREF", "prefecture: its code 01-47 or its name"},
          {"MUNICIPALITY", "municipality"},
          {"TEXT", "part of a town name, or of its reading in katakana or hiragana"}},
         {},
         yubin::runTownSearchVerb,
         PostalRecordFields},
        {"search",
         "search all data for one word or two (the count goes to stderr)",
         {{"TEXT", "one word, or two separated by a blank (quote them)"}},
         {{"fold", "", "also match in the full-width and hiragana forms of a line"},
          {"no-offices", "", "leave out the business offices"}},
         yubin::runSearchVerb,
         PostalRecordFields},
        {"code",
         "search all data for a postal code",
         {{"CODE", "7 digits, or 3 digits, \"-\" and 4"}},
         {{"no-offices", "", "leave out the business offices"}},
         yubin::runCodeVerb,
         PostalRecordFields},
        {"map-url",
         "the address of the map search for an address",
         {{"TEXT", "the address (quote an address with blanks)"}},
         {{"site", "0|1", "the map site: 0 (the default) or 1"},
          {"office", "", "TEXT is a business-office name, which has no map search"}},
         yubin::runMapUrlVerb,
         {}},
        {"web-url",
         "the address of the web search for a text",
         {{"TEXT", "the text (quote a text with blanks)"}},
         {{"engine", "0|1", "the search engine: 0 (the default) or 1"}},
         yubin::runWebUrlVerb,
         {}},
        {"barcode",
         "the customer barcode's check value and bar pattern, or its picture",
         {{"[ZIP]", "postal code, 7 digits (not with --address)"},
          {"[ADDRESS]", "address number, as 1-3-2 or 1丁目3番2号"}},
         {{"address", "ADDRESS", "take the postal code and address number from an address"},
          {"size", "1|2|3", "code size: 8, 10 or 11.5 point (default 2)"},
          {"png", "FILE", "write the window's preview picture"},
          {"svg", "FILE", "write the barcode alone at its printed size"},
          {"pdf", "FILE", "write an A4 page with the barcode at --top and --left"},
          {"top", "MM", "millimetres from the paper's top edge (default 35)"},
          {"left", "MM", "millimetres from the paper's left edge (default 15)"}},
         full::runBarcodeVerb,
         {}},
        {"prepare",
         "turn downloaded archives into the data files",
         {{"prefectures|nationwide", "the per-prefecture archives, or the nationwide one"},
          {"DIR", "the folder holding the downloaded archives"}},
         {},
         full::runPrepareVerb,
         {}},
        {"resolve",
         "postal code, address number and record of addresses",
         {{"[ADDRESS...]", "addresses; without one, one address per line of stdin"}},
         {},
         yubin::runResolveVerb,
         yubin::address::ResolutionFields},
        {"address-number",
         "the address number of the part after the town",
         {{"TEXT", "as 3丁目30-8　郵便ビル403号"}},
         {},
         yubin::runAddressNumberVerb,
         {}},
        {"labels",
         "label sheets with customer barcodes from an address list (CSV or TSV)",
         {{"FILE", "the address list: UTF-8 or Shift_JIS, with or without a heading row"}},
         {{"layout", "12|21|24|CUSTOM",
           "the A4 sheet (default 12); CUSTOM is COLSxROWS:WIDTHxHEIGHT:TOP,LEFT:HPITCH,VPITCH "
           "in millimetres"},
          {"size", "1|2|3",
           "code size: 8, 10 or 11.5 point (default 2, or 1 where 2 does not fit)"},
          {"start", "N", "the first label used on the first sheet (default 1)"},
          {"pdf", "OUT.pdf", "write the sheets as an A4 PDF"},
          {"report", "OUT.csv", "write every row's status and reason as CSV"},
          {"skip-unresolved", "",
           "leave rows in error out instead of printing them without a barcode"}},
         full::runLabelsVerb,
         {}},
        {"postcards",
         "the address side of postcards or envelopes from an address list, checked row by row",
         {{"[FILE]", "the address list, as for labels (not with --calibration)"}},
         {{"paper", "postcard|naga3|naga4|WxH",
           "postcard (100x148, the default), naga3 (120x235) or naga4 (90x205) envelope, or "
           "WIDTHxHEIGHT in mm"},
          {"horizontal", "", "write across instead of down (縦書き is the default)"},
          {"numerals", "digits|kanji",
           "numbers in vertical writing: 一二〇三 (digits, the default) or 千二百三 (kanji)"},
          {"sender-name", "NAME", "the sender's name"},
          {"sender-code", "CODE", "the sender's postal code, 7 digits"},
          {"sender-address", "ADDRESS", "the sender's address"},
          {"offset", "X,Y", "the printer's offset in millimetres, right and down (default 0,0)"},
          {"barcode", "", "add the customer barcode (bulk mail)"},
          {"draw-boxes", "", "draw the red postal-code boxes (envelopes printed without them)"},
          {"keep-unresolved", "", "print rows in error too, with the postal code as given"},
          {"calibration", "", "write the calibration page alone to --pdf"},
          {"pdf", "OUT.pdf", "write the pieces as a PDF, one a page"},
          {"report", "OUT.csv", "write every row's status and reason as CSV"}},
         full::runPostcardsVerb,
         {}},
    };
#ifndef YUBIN_CLI_FRONT
    const QStringList givenArguments = app.arguments().mid(1);
    const QString programFolder = QCoreApplication::applicationDirPath();
#endif
    return yubin::runCommandLine(verbs, givenArguments, yubin::DataFolder(programFolder), out, err);
}
