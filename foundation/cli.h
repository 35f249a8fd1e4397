#pragma once

// What the command-line verbs share: how a verb is declared, its parsed
// arguments, its output streams, the output formats and the exit codes.
// Each subsystem implements its verbs beside its rules; yubin-cli's main()
// holds the table of declarations and hands it to runCommandLine().
//
// A verb is declared once, in one CliVerb; the parsing, `yubin-cli --help`,
// `yubin-cli VERB --help`, the usage shown on a misuse, the man page and the
// bash completion are all made from it:
//
//   {"towns",                                     // name
//    "the town lines of a municipality",          // one line for --help
//    {{"PREF", "prefecture code or name"},        // positional arguments:
//     {"NAME", "municipality or office name"}},   //   "X" one, "[X]" optional,
//                                                 //   "[X...]" any number
//    {{"offices", "", "the business offices"},    // options: name, value
//     {"size", "1|2|3", "code size"}},            //   ("" for a flag), help
//    runTownsVerb,                                // int (const CliRequest&)
//    PostalRecordFields}                          // tsv/json fields, or {}
//
// The number of positional arguments is checked before the verb runs. A
// value written "a|b|c" names its choices for the help and the completion;
// the verb itself still checks the value. A verb with fields gets --format
// text|tsv|json and writes its output with printTable() or printRecords().
// Every verb also takes --data DIR and -h/--help.

#include "foundation/data_folder.h"
#include "foundation/postal_record.h"

#include <QMap>
#include <QSet>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

namespace yubin {

namespace ExitCode {
inline constexpr int Ok = 0;
inline constexpr int NothingFound = 1; // also: a failure the verb reports
inline constexpr int Usage = 2;
} // namespace ExitCode

enum class OutputFormat { Text, Tsv, Json };

struct CliVerb;

struct CliRequest {
    QStringList positional;        // after the verb
    QMap<QString, QString> values; // --name VALUE
    QSet<QString> flags;           // --name
    DataFolder data;
    OutputFormat format = OutputFormat::Text;
    QTextStream* out = nullptr;    // UTF-8
    QTextStream* err = nullptr;    // UTF-8
    const CliVerb* verb = nullptr; // for the usage shown on a misuse

    bool has(const QString& flag) const { return flags.contains(flag); }
    QString value(const QString& name, const QString& fallback = QString()) const {
        return values.value(name, fallback);
    }
};

struct CliArgument {
    const char* syntax; // "NAME", "[NAME]" or "[NAME...]"
    const char* help;
};

struct CliOption {
    const char* name;  // without the leading "--"
    const char* value; // how the help names its value; "" for a flag
    const char* help;
};

// What a verb needs beyond Qt Core. yubin-cli loads Qt Core alone and hands
// a verb with other needs to yubin-cli-full; a verb that draws text needs
// Qt's fonts, and so a QGuiApplication, there.
enum class CliNeeds { Core, Archives, Drawing, Text };

struct CliVerb {
    const char* name;
    const char* summary; // one line
    std::vector<CliArgument> arguments;
    std::vector<CliOption> options;
    int (*run)(const CliRequest&) = nullptr;
    QStringList fields; // the tsv and json fields; none: no --format
    // Reads the data files: without any, the verb does not run (below).
    bool readsData = false;
    CliNeeds needs = CliNeeds::Core;
};

// Fills the request's empty data folder from the data the program carries,
// saying so on stderr; false when there is none to fill it from.
using DataFiller = std::function<bool(const CliRequest&)>;

// What a verb that reads the data files says, and exits 1 with, when the
// data folder holds none and cannot be filled.
QString noDataText(const QString& dataFolder);

// Parses the arguments (without the program name) against the verbs, runs
// the chosen verb and returns the exit code. Also answers --help, VERB
// --help and --version, and the hidden --man and --bash-completion that
// the build turns into the man page and the completion script. Before a
// verb that reads data runs on a folder without a prefecture file, `fill`
// may fill the folder (the default one is made first, as the desktop
// program makes it); when it cannot, the verb says noDataText and exits 1.
int runCommandLine(const std::vector<CliVerb>& verbs, const QStringList& args,
                   const DataFolder& defaultData, QTextStream& out, QTextStream& err,
                   const DataFiller& fill = {});

// The verb the arguments (without the program name) choose, as
// runCommandLine() reads them; nullptr for none, an unknown one and an
// argument error. What main() asks before it makes its application.
const CliVerb* chosenVerb(const std::vector<CliVerb>& verbs, const QStringList& args);

// The verb's usage line on stderr, then "yubin-cli: MESSAGE"; returns the
// usage exit code.
int usageError(const CliRequest& request, const QString& message);
// The same with a message written in English, shown in the user's language
// (cliText), its %1, %2... filled with the arguments in order.
int usageError(const CliRequest& request, const char* message, const QStringList& arguments = {});

// A text of the command line in the user's language. Every text of a verb's
// declaration and every message written in English goes through this: the
// translations live in resources/translations/yubin-cli_LANG.ts (context
// "yubin-cli"), built into the program. A new verb's texts are translated
// by adding them there; marking them QT_TRANSLATE_NOOP("yubin-cli", ...)
// lets `cmake --build BUILD --target yubin-cli-lupdate` add them.
QString cliText(const char* text);

// The lines as they are for text; otherwise the fields of the verb's
// declaration, one row per line, as tsv (a header row, tab-separated, tabs
// and line breaks in a value turned to blanks) or as a json array of
// objects.
void printTable(const CliRequest& request, const QStringList& lines,
                const std::vector<QStringList>& rows);

// printTable() one row at a time, for a verb that writes each row as its
// input comes: the heading (tsv) or the opening bracket (json), the rows
// numbered from 0, then the end. Text output writes nothing here.
void beginTable(const CliRequest& request);
void printTableRow(const CliRequest& request, const QStringList& row, size_t index);
void endTable(const CliRequest& request, size_t rows);

// printTable() with the fields of the records the lines stand for.
void printRecords(const CliRequest& request, const QStringList& lines,
                  const std::vector<PostalRecord>& records);

// yubin-cli prefectures: the 47 codes and names, one per line.
int runPrefecturesVerb(const CliRequest& request);

// yubin-cli data-folder: the data folder's path; exit 0 when it holds a
// prefecture file, 1 when it holds none (the first run fills it then).
int runDataFolderVerb(const CliRequest& request);

} // namespace yubin
