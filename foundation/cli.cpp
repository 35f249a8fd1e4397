#include "foundation/cli.h"

#include "foundation/prefectures.h"
#include "version.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>

namespace yubin {

namespace {

const CliOption DataOption{
    "data", "DIR",
    QT_TRANSLATE_NOOP("yubin-cli", "read the data files in DIR instead of the data folder")};
const CliOption FormatOption{
    "format", "text|tsv|json",
    QT_TRANSLATE_NOOP("yubin-cli", "the lines (text, the default), tab-separated fields under a "
                                   "header row (tsv) or a JSON array of objects (json)")};
const CliOption HelpOption{"help", "", QT_TRANSLATE_NOOP("yubin-cli", "show this help")};

const QString Program = QStringLiteral("yubin-cli");

QString versionText() {
    return QStringLiteral("%1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}

QString qstr(const char* text) {
    return QString::fromUtf8(text);
}

// The user's language's translation, built into the program; none (and
// the English of the code) when there is no translation for it.
const QTranslator* translation() {
    static const std::unique_ptr<QTranslator> loaded = [] {
        auto t = std::make_unique<QTranslator>();
        if (!t->load(QLocale(), QStringLiteral("yubin-cli"), QStringLiteral("_"),
                     QStringLiteral(":/i18n")))
            t.reset();
        return t;
    }();
    return loaded.get();
}

// Help texts are written in English in the code and shown translated.
QString inLanguage(const char* text) {
    return cliText(text);
}

// A verb's summary as a sentence of its own.
QString sentence(const char* summary) {
    QString s = inLanguage(summary);
    if (s.isEmpty())
        return s;
    s[0] = s[0].toUpper();
    return s + (s.back().unicode() < 0x80 ? QStringLiteral(".") : QStringLiteral("。"));
}

// Every option a verb takes, in the order its help lists them.
std::vector<CliOption> optionsOf(const CliVerb& verb) {
    std::vector<CliOption> options = verb.options;
    if (!verb.fields.isEmpty())
        options.push_back(FormatOption);
    options.push_back(DataOption);
    options.push_back(HelpOption);
    return options;
}

bool takesValue(const CliOption& option) {
    return *option.value != '\0';
}

QString optionSyntax(const CliOption& option) {
    QString s = QStringLiteral("--") + qstr(option.name);
    if (takesValue(option))
        s += u' ' + qstr(option.value);
    return s;
}

QString usageLine(const CliVerb& verb) {
    QString line = inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "usage:")) +
                   QStringLiteral(" yubin-cli [--data DIR] ") + qstr(verb.name);
    for (const CliArgument& a : verb.arguments)
        line += u' ' + qstr(a.syntax);
    for (const CliOption& o : verb.options)
        line += QStringLiteral(" [") + optionSyntax(o) + u']';
    if (!verb.fields.isEmpty())
        line += QStringLiteral(" [") + optionSyntax(FormatOption) + u']';
    return line;
}

QString globalUsage() {
    const QString usage = inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "usage:"));
    qsizetype columnsWide = 0; // a wide character takes two columns of a terminal
    for (const QChar c : usage)
        columnsWide += c.unicode() >= 0x1100 ? 2 : 1;
    return usage + QStringLiteral(" yubin-cli [--data DIR] VERB [ARGUMENTS...]\n") +
           QString(columnsWide, u' ') +
           QStringLiteral(" yubin-cli VERB --help | --help | --version");
}

// Two columns: the terms, and their help aligned after the longest term.
QString columns(const std::vector<std::pair<QString, QString>>& rows) {
    qsizetype width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.first.size());
    QString text;
    for (const auto& [term, help] : rows)
        text += QStringLiteral("  ") + term.leftJustified(width + 2) + help + u'\n';
    return text;
}

QString globalHelp(const std::vector<CliVerb>& verbs) {
    std::vector<std::pair<QString, QString>> verbRows;
    for (const CliVerb& verb : verbs)
        verbRows.emplace_back(qstr(verb.name), inLanguage(verb.summary));
    return globalUsage() + QStringLiteral("\n\n") +
           inLanguage(QT_TRANSLATE_NOOP(
               "yubin-cli",
               "Looks up Japanese postal codes in the postal data, as the desktop program "
               "yubin does.")) +
           QStringLiteral("\n\n") + inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "Verbs:")) + u'\n' +
           columns(verbRows) + u'\n' + inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "Options:")) +
           u'\n' +
           columns({{optionSyntax(DataOption), inLanguage(DataOption.help)},
                    {QStringLiteral("-h, --help"), inLanguage(HelpOption.help)},
                    {QStringLiteral("-v, --version"),
                     inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "show the version"))}}) +
           u'\n' +
           inLanguage(QT_TRANSLATE_NOOP(
               "yubin-cli", "'yubin-cli VERB --help' shows a verb's arguments and options.")) +
           u'\n';
}

QString verbHelp(const CliVerb& verb) {
    QString text = usageLine(verb) + QStringLiteral("\n\n") + sentence(verb.summary) + u'\n';
    if (!verb.arguments.empty()) {
        std::vector<std::pair<QString, QString>> rows;
        for (const CliArgument& a : verb.arguments)
            rows.emplace_back(qstr(a.syntax), inLanguage(a.help));
        text += u'\n' + inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "Arguments:")) + u'\n' +
                columns(rows);
    }
    std::vector<std::pair<QString, QString>> rows;
    for (const CliOption& o : optionsOf(verb))
        rows.emplace_back(qstr(o.name) == u"help" ? QStringLiteral("-h, --help") : optionSyntax(o),
                          inLanguage(o.help));
    text += u'\n' + inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "Options:")) + u'\n' + columns(rows);
    if (!verb.fields.isEmpty())
        text += u'\n' + inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "Fields (tsv, json):")) + u' ' +
                verb.fields.join(QStringLiteral(", ")) + u'\n';
    return text;
}

// ---- man page and completion, made from the declarations ----------------

QString roff(const QString& text) {
    QString out = text;
    out.replace(u'\\', QStringLiteral("\\e"));
    out.replace(u'-', QStringLiteral("\\-"));
    if (out.startsWith(u'.') || out.startsWith(u'\''))
        out.prepend(QStringLiteral("\\&"));
    return out;
}

QString roffOption(const CliOption& o) {
    QString s = QStringLiteral("\\fB\\-\\-") + roff(qstr(o.name)) + QStringLiteral("\\fR");
    if (takesValue(o))
        s += QStringLiteral(" \\fI") + roff(qstr(o.value)) + QStringLiteral("\\fR");
    return s;
}

QString manPage(const std::vector<CliVerb>& verbs) {
    auto section = [](const char* name) {
        return QStringLiteral(".SH ") + inLanguage(name) + u'\n';
    };
    QString m =
        QStringLiteral(".TH YUBIN\\-CLI 1 \"\" \"yubin %1\" \"%2\"\n.nh\n")
            .arg(versionText(), inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "User Commands")));
    m += section(QT_TRANSLATE_NOOP("yubin-cli", "NAME")) + QStringLiteral("yubin\\-cli \\- ") +
         roff(inLanguage(
             QT_TRANSLATE_NOOP("yubin-cli", "look up Japanese postal codes (郵便番号)"))) +
         u'\n';
    m += section(QT_TRANSLATE_NOOP("yubin-cli", "SYNOPSIS")) +
         QStringLiteral(".B yubin\\-cli\n"
                        "[\\fB\\-\\-data\\fR \\fIDIR\\fR] \\fIVERB\\fR "
                        "[\\fIARGUMENTS\\fR...] [\\fIOPTIONS\\fR]\n"
                        ".br\n"
                        ".B yubin\\-cli\n"
                        "\\fIVERB\\fR \\fB\\-\\-help\\fR | \\fB\\-\\-help\\fR | "
                        "\\fB\\-\\-version\\fR\n");
    m += section(QT_TRANSLATE_NOOP("yubin-cli", "DESCRIPTION")) +
         roff(inLanguage(QT_TRANSLATE_NOOP(
             "yubin-cli",
             "The command-line companion of the desktop program yubin: it reads the same "
             "postal data files (Japan Post's KEN_ALL.CSV split by prefecture, and "
             "JIGYOSYO.CSV) and prints the same lines as the program's lists, in "
             "UTF-8."))) +
         u'\n';
    m += section(QT_TRANSLATE_NOOP("yubin-cli", "OPTIONS"));
    for (const CliOption& o : {DataOption, HelpOption})
        m += QStringLiteral(".TP\n") + roffOption(o) + u'\n' + roff(inLanguage(o.help)) + u'\n';
    m += QStringLiteral(".TP\n\\fB\\-\\-version\\fR\n") +
         roff(inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "show the version"))) + u'\n' +
         section(QT_TRANSLATE_NOOP("yubin-cli", "VERBS"));
    for (const CliVerb& verb : verbs) {
        m += QStringLiteral(".TP\n\\fB") + roff(qstr(verb.name)) + QStringLiteral("\\fR");
        for (const CliArgument& a : verb.arguments)
            m += QStringLiteral(" \\fI") + roff(qstr(a.syntax)) + QStringLiteral("\\fR");
        for (const CliOption& o : verb.options)
            m += QStringLiteral(" [") + roffOption(o) + u']';
        if (!verb.fields.isEmpty())
            m += QStringLiteral(" [") + roffOption(FormatOption) + u']';
        m += u'\n' + roff(sentence(verb.summary)) + u'\n';
        if (verb.arguments.empty() && verb.options.empty() && verb.fields.isEmpty())
            continue;
        m += QStringLiteral(".RS\n");
        for (const CliArgument& a : verb.arguments)
            m += QStringLiteral(".TP\n\\fI") + roff(qstr(a.syntax)) + QStringLiteral("\\fR\n") +
                 roff(inLanguage(a.help)) + u'\n';
        for (const CliOption& o : verb.options)
            m += QStringLiteral(".TP\n") + roffOption(o) + u'\n' + roff(inLanguage(o.help)) + u'\n';
        if (!verb.fields.isEmpty())
            m += QStringLiteral(".TP\n") + roffOption(FormatOption) + u'\n' +
                 roff(inLanguage(FormatOption.help)) + u' ' +
                 roff(inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "Fields:"))) + u' ' +
                 roff(verb.fields.join(QStringLiteral(", "))) + u'\n';
        m += QStringLiteral(".RE\n");
    }
    m += section(QT_TRANSLATE_NOOP("yubin-cli", "OUTPUT FORMATS")) +
         roff(inLanguage(QT_TRANSLATE_NOOP(
             "yubin-cli",
             "With --format tsv the first line names the fields and each further line "
             "holds one record, its fields separated by tabs. With --format json the "
             "output is one JSON array of objects, one object per record, every value a "
             "string. Readings are in full-width katakana, postal codes seven digits "
             "without the hyphen; kind is municipality, town or office."))) +
         u'\n';
    m +=
        section(QT_TRANSLATE_NOOP("yubin-cli", "EXIT STATUS")) +
        roff(inLanguage(QT_TRANSLATE_NOOP(
            "yubin-cli", "0 when the verb found or did what was asked, 1 when it found nothing or "
                         "failed (for example without data files), 2 on a misuse, after the verb's "
                         "usage."))) +
        u'\n';
    m += section(QT_TRANSLATE_NOOP("yubin-cli", "FILES")) +
         QStringLiteral(".TP\n\\fI~/.local/share/Zunelka/yubin/DATA/\\fR\n") +
         roff(inLanguage(QT_TRANSLATE_NOOP(
             "yubin-cli", "the data folder of an installed copy; on the first start the desktop "
                          "program, and yubin-cli on its first lookup, fill it from "
                          "/usr/share/yubin/data/."))) +
         u'\n';
    m += section(QT_TRANSLATE_NOOP("yubin-cli", "EXAMPLES")) +
         QStringLiteral(".nf\n"
                        "yubin\\-cli municipalities 14\n"
                        "yubin\\-cli towns 01 札幌市中央区 \\-\\-format json\n"
                        "yubin\\-cli search \"川崎 かわさき\" \\-\\-fold \\-\\-no\\-offices\n"
                        "yubin\\-cli code 100\\-0001 \\-\\-format tsv\n"
                        "yubin\\-cli resolve \"千代田区霞が関1丁目3番2号\"\n"
                        "yubin\\-cli barcode 1000001 1\\-1 \\-\\-pdf bar.pdf\n"
                        ".fi\n");
    m += section(QT_TRANSLATE_NOOP("yubin-cli", "SEE ALSO")) + QStringLiteral("\\fByubin\\fR ") +
         roff(inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "the desktop program."))) + u'\n';
    return m;
}

// Words for a value: the choices of "a|b|c", or nothing (a file then).
QString choicesOf(const char* syntax) {
    const QString s = qstr(syntax);
    return s.contains(u'|') ? QString(s).replace(u'|', u' ') : QString();
}

QString bashCompletion(const std::vector<CliVerb>& verbs) {
    QString verbNames;
    QString perVerb;
    QString values;
    for (const CliVerb& verb : verbs) {
        verbNames += qstr(verb.name) + u' ';
        QString valued;
        QString all;
        for (const CliOption& o : optionsOf(verb)) {
            all += QStringLiteral("--") + qstr(o.name) + u' ';
            if (!takesValue(o))
                continue;
            valued += QStringLiteral("--") + qstr(o.name) + u' ';
            const QString choices = choicesOf(o.value);
            const QString words =
                choices.isEmpty()
                    ? (qstr(o.value) == u"DIR" ? QStringLiteral("-d") : QStringLiteral("-f"))
                    : QStringLiteral("-W '%1'").arg(choices);
            values += QStringLiteral("    \"%1 --%2\") COMPREPLY=($(compgen %3 -- \"$cur\")); "
                                     "return ;;\n")
                          .arg(qstr(verb.name), qstr(o.name), words);
        }
        QString positional;
        for (const CliArgument& a : verb.arguments)
            positional += QStringLiteral(" '") + choicesOf(a.syntax) + u'\'';
        perVerb += QStringLiteral("        %1) valued=' %2'; options='%3'; positional=(%4) ;;\n")
                       .arg(qstr(verb.name), valued, all.trimmed(), positional.trimmed());
    }
    return QStringLiteral(
               "# bash completion for yubin-cli; made by 'yubin-cli --bash-completion' from its "
               "verb declarations.\n"
               "_yubin_cli() {\n"
               "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
               "    local verb='' valued=' --data ' options='' n=0 i w\n"
               "    local -a positional=()\n"
               "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
               "        w=${COMP_WORDS[i]}\n"
               "        if [[ $valued == *\" $w \"* ]]; then ((i++)); continue; fi\n"
               "        [[ $w == -* ]] && continue\n"
               "        if [[ -n $verb ]]; then ((n++)); continue; fi\n"
               "        verb=$w\n"
               "        case $verb in\n"
               "%1"
               "        esac\n"
               "    done\n"
               "    if [[ -z $verb ]]; then\n"
               "        [[ $prev == --data ]] && { COMPREPLY=($(compgen -d -- \"$cur\")); return; "
               "}\n"
               "        COMPREPLY=($(compgen -W '%2--data --help --version' -- \"$cur\"))\n"
               "        return\n"
               "    fi\n"
               "    case \"$verb $prev\" in\n"
               "%3"
               "    esac\n"
               "    if [[ $cur == -* ]]; then\n"
               "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
               "    elif [[ -n ${positional[n]:-} ]]; then\n"
               "        COMPREPLY=($(compgen -W \"${positional[n]}\" -- \"$cur\"))\n"
               "    else\n"
               "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
               "    fi\n"
               "}\n"
               "complete -o filenames -F _yubin_cli yubin-cli\n")
        .arg(perVerb, verbNames, values);
}

// ---- parsing ----------------------------------------------------------------

// How many positional arguments the declaration allows.
std::pair<qsizetype, qsizetype> argumentCounts(const CliVerb& verb) {
    qsizetype least = 0;
    qsizetype most = 0;
    for (const CliArgument& a : verb.arguments) {
        const QString syntax = qstr(a.syntax);
        if (syntax.endsWith(QLatin1String("...]")))
            most = std::numeric_limits<qsizetype>::max();
        else
            ++most;
        if (!syntax.startsWith(u'['))
            ++least;
    }
    return {least, most};
}

QString argumentsText(const CliVerb& verb) {
    if (verb.arguments.empty())
        return inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "no arguments"));
    QStringList syntax;
    for (const CliArgument& a : verb.arguments)
        syntax << qstr(a.syntax);
    return syntax.join(u' ');
}

std::optional<OutputFormat> formatNamed(const QString& name) {
    if (name == u"text")
        return OutputFormat::Text;
    if (name == u"tsv")
        return OutputFormat::Tsv;
    if (name == u"json")
        return OutputFormat::Json;
    return std::nullopt;
}

// QCommandLineParser's own messages, in the user's language: yubin-cli
// makes no QCoreApplication, which Qt's own translations would need.
QString parserError(const QString& error) {
    static const char* const forms[] = {
        QT_TRANSLATE_NOOP("yubin-cli", "Unknown option '%1'."),
        QT_TRANSLATE_NOOP("yubin-cli", "Unknown options: %1."),
        QT_TRANSLATE_NOOP("yubin-cli", "Missing value after '%1'."),
        QT_TRANSLATE_NOOP("yubin-cli", "Unexpected value after '%1'.")};
    for (const char* form : forms) {
        const QStringList around = qstr(form).split(QStringLiteral("%1"));
        const QString& before = around.first();
        const QString& after = around.last();
        if (error.size() >= before.size() + after.size() && error.startsWith(before) &&
            error.endsWith(after))
            return inLanguage(form).arg(
                error.mid(before.size(), error.size() - before.size() - after.size()));
    }
    return error;
}

int globalUsageError(QTextStream& err, const QString& message) {
    err << globalUsage() << '\n' << Program << QStringLiteral(": ") << message << '\n';
    err.flush();
    return ExitCode::Usage;
}

int runVerb(const CliVerb& verb, const QStringList& args, const DataFolder& defaultData,
            QTextStream& out, QTextStream& err, const DataFiller& fill) {
    QCommandLineParser parser;
    const std::vector<CliOption> options = optionsOf(verb);
    for (const CliOption& o : options) {
        QCommandLineOption option(qstr(o.name), inLanguage(o.help));
        if (takesValue(o))
            option.setValueName(qstr(o.value));
        parser.addOption(option);
    }
    parser.addOption(QCommandLineOption(QStringLiteral("h"), inLanguage(HelpOption.help)));

    CliRequest request{{}, {}, {}, defaultData, OutputFormat::Text, &out, &err, &verb};
    if (!parser.parse(QStringList{Program} + args))
        return usageError(request, parserError(parser.errorText()));
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("h"))) {
        out << verbHelp(verb);
        return ExitCode::Ok;
    }
    request.positional = parser.positionalArguments();
    for (const CliOption& o : options) {
        const QString name = qstr(o.name);
        if (!parser.isSet(name))
            continue;
        if (takesValue(o))
            request.values.insert(name, parser.value(name));
        else
            request.flags.insert(name);
    }
    if (request.values.contains(QStringLiteral("data")))
        request.data = DataFolder::atPath(request.value(QStringLiteral("data")));
    if (request.values.contains(QStringLiteral("format"))) {
        const std::optional<OutputFormat> format =
            formatNamed(request.value(QStringLiteral("format")));
        if (!format)
            return usageError(request,
                              QT_TRANSLATE_NOOP("yubin-cli", "--format takes text, tsv or json"));
        request.format = *format;
    }
    const auto [least, most] = argumentCounts(verb);
    if (request.positional.size() < least || request.positional.size() > most)
        return usageError(request, QT_TRANSLATE_NOOP("yubin-cli", "%1 takes %2"),
                          {qstr(verb.name), argumentsText(verb)});
    if (verb.readsData && !request.data.holdsPrefectureFile()) {
        // A new user's first lookup finds the folder the desktop program
        // would have made; a folder given with --data must exist already.
        if (!request.values.contains(QStringLiteral("data")))
            request.data.ensureExists();
        const bool filled = fill && QFileInfo(request.data.path()).isDir() && fill(request) &&
                            request.data.holdsPrefectureFile();
        if (!filled) {
            err << noDataText(request.data.path()) << '\n';
            err.flush();
            return ExitCode::NothingFound;
        }
    }
    const int code = verb.run(request);
    out.flush();
    err.flush();
    return code;
}

} // namespace

QString noDataText(const QString& dataFolder) {
    return QStringLiteral("データファイルがありません。（%1）\n"
                          "郵便局からダウンロードしたアーカイブがあるフォルダーを指定して "
                          "yubin-cli prepare nationwide フォルダー（都道府県別のアーカイブなら "
                          "prepare prefectures）を実行すると、データができます。")
        .arg(QDir::toNativeSeparators(dataFolder));
}

namespace {

// The options before the verb; everything from the verb on is the verb's to
// parse.
struct TopLevel {
    QCommandLineParser parser;
    const QCommandLineOption data{QStringLiteral("data"), QString(), QStringLiteral("DIR")};
    const QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    const QCommandLineOption version{QStringList{QStringLiteral("v"), QStringLiteral("version")}};
    const QCommandLineOption man{QStringLiteral("man")};
    const QCommandLineOption completion{QStringLiteral("bash-completion")};

    bool parse(const QStringList& args) {
        parser.setOptionsAfterPositionalArgumentsMode(
            QCommandLineParser::ParseAsPositionalArguments);
        parser.addOptions({data, help, version, man, completion});
        return parser.parse(QStringList{Program} + args);
    }
};

const CliVerb* verbNamed(const std::vector<CliVerb>& verbs, const QString& name) {
    const auto verb = std::find_if(verbs.begin(), verbs.end(),
                                   [&](const CliVerb& v) { return name == qstr(v.name); });
    return verb == verbs.end() ? nullptr : &*verb;
}

} // namespace

const CliVerb* chosenVerb(const std::vector<CliVerb>& verbs, const QStringList& args) {
    TopLevel top;
    if (!top.parse(args) || top.parser.positionalArguments().isEmpty())
        return nullptr;
    return verbNamed(verbs, top.parser.positionalArguments()[0]);
}

int runCommandLine(const std::vector<CliVerb>& verbs, const QStringList& args,
                   const DataFolder& defaultData, QTextStream& out, QTextStream& err,
                   const DataFiller& fill) {
    TopLevel top;
    const QCommandLineParser& parser = top.parser;
    const QCommandLineOption &data = top.data, &help = top.help, &version = top.version,
                             &man = top.man, &completion = top.completion;
    if (!top.parse(args))
        return globalUsageError(err, parserError(parser.errorText()));
    const QStringList rest = parser.positionalArguments();
    if (rest.isEmpty()) {
        if (parser.isSet(help))
            out << globalHelp(verbs);
        else if (parser.isSet(version))
            out << Program << u' ' << versionText() << '\n';
        else if (parser.isSet(man))
            out << manPage(verbs);
        else if (parser.isSet(completion))
            out << bashCompletion(verbs);
        else
            return globalUsageError(
                err, inLanguage(QT_TRANSLATE_NOOP(
                         "yubin-cli", "no verb given ('yubin-cli --help' lists them)")));
        return ExitCode::Ok;
    }
    const CliVerb* verb = verbNamed(verbs, rest[0]);
    if (!verb)
        return globalUsageError(
            err, inLanguage(QT_TRANSLATE_NOOP("yubin-cli", "unknown verb %1")).arg(rest[0]));
    QStringList verbArgs = rest.mid(1);
    if (parser.isSet(data))
        verbArgs.prepend(QStringLiteral("--data=") + parser.value(data));
    if (parser.isSet(help)) // yubin-cli --help VERB
        verbArgs.prepend(QStringLiteral("--help"));
    return runVerb(*verb, verbArgs, defaultData, out, err, fill);
}

QString cliText(const char* text) {
    if (const QTranslator* t = translation()) {
        const QString translated = t->translate("yubin-cli", text);
        if (!translated.isEmpty())
            return translated;
    }
    return qstr(text);
}

int usageError(const CliRequest& request, const char* message, const QStringList& arguments) {
    QString text = cliText(message);
    for (const QString& a : arguments)
        text = text.arg(a);
    return usageError(request, text);
}

int usageError(const CliRequest& request, const QString& message) {
    QTextStream& err = *request.err;
    if (request.verb)
        err << usageLine(*request.verb) << '\n';
    err << Program << QStringLiteral(": ") << message << '\n';
    err.flush();
    return ExitCode::Usage;
}

namespace {

QString tsvField(QString value) {
    value.replace(u'\t', u' ');
    value.replace(u'\n', u' ');
    value.replace(u'\r', u' ');
    return value;
}

// A JSON string; everything beyond ASCII is written as itself, in UTF-8.
QString jsonString(const QString& value) {
    QString s = QStringLiteral("\"");
    for (const QChar c : value) {
        if (c == u'"' || c == u'\\')
            s += u'\\' + QString(c);
        else if (c.unicode() < 0x20)
            s += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            s += c;
    }
    return s + u'"';
}

} // namespace

void beginTable(const CliRequest& request) {
    if (request.format == OutputFormat::Tsv)
        *request.out << request.verb->fields.join(u'\t') << '\n';
    else if (request.format == OutputFormat::Json)
        *request.out << '[';
}

void printTableRow(const CliRequest& request, const QStringList& row, size_t index) {
    QTextStream& out = *request.out;
    const QStringList& fields = request.verb->fields;
    if (request.format == OutputFormat::Tsv) {
        QStringList cells;
        for (const QString& value : row)
            cells << tsvField(value);
        out << cells.join(u'\t') << '\n';
    } else if (request.format == OutputFormat::Json) {
        out << (index == 0 ? "\n  {" : ",\n  {");
        for (qsizetype f = 0; f < fields.size(); ++f)
            out << (f == 0 ? "" : ", ") << jsonString(fields[f]) << ": "
                << jsonString(row.value(f));
        out << '}';
    }
}

void endTable(const CliRequest& request, size_t rows) {
    if (request.format == OutputFormat::Json)
        *request.out << (rows == 0 ? "]\n" : "\n]\n");
}

void printTable(const CliRequest& request, const QStringList& lines,
                const std::vector<QStringList>& rows) {
    if (request.format == OutputFormat::Text) {
        for (const QString& line : lines)
            *request.out << line << '\n';
        return;
    }
    beginTable(request);
    for (size_t i = 0; i < rows.size(); ++i)
        printTableRow(request, rows[i], i);
    endTable(request, rows.size());
}

void printRecords(const CliRequest& request, const QStringList& lines,
                  const std::vector<PostalRecord>& records) {
    std::vector<QStringList> rows;
    rows.reserve(records.size());
    for (const PostalRecord& record : records)
        rows.push_back(fieldValues(record));
    printTable(request, lines, rows);
}

int runPrefecturesVerb(const CliRequest& request) {
    for (const Prefecture& p : prefectureTable())
        *request.out << p.code << ' ' << QString::fromUtf8(p.name) << '\n';
    return ExitCode::Ok;
}

int runDataFolderVerb(const CliRequest& request) {
    *request.out << request.data.path() << '\n';
    return request.data.holdsPrefectureFile() ? ExitCode::Ok : ExitCode::NothingFound;
}

} // namespace yubin
