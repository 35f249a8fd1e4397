#include "foundation/cli.h"

#include "foundation/prefectures.h"

namespace yubin {

std::optional<CliRequest> parseVerbArguments(const QStringList& args, const VerbOptions& options,
                                             const DataFolder& data, QString* error) {
    CliRequest request{{}, {}, {}, data, nullptr, nullptr};
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && arg.startsWith(QLatin1String("--"))) {
            const QString name = arg.mid(2);
            if (options.valued.contains(name)) {
                if (i + 1 >= args.size()) {
                    *error = QStringLiteral("option --%1 needs a value").arg(name);
                    return std::nullopt;
                }
                request.values.insert(name, args[++i]);
            } else if (options.flags.contains(name)) {
                request.flags.insert(name);
            } else {
                *error = QStringLiteral("unknown option %1").arg(arg);
                return std::nullopt;
            }
        } else {
            request.positional << arg;
        }
    }
    return request;
}

int usageError(QTextStream& err, const QString& message) {
    err << "yubin-cli: " << message << '\n';
    err.flush();
    return ExitCode::Usage;
}

int runPrefecturesVerb(const CliRequest& request) {
    if (!request.positional.isEmpty())
        return usageError(*request.err, QStringLiteral("prefectures takes no arguments"));
    for (const Prefecture& p : prefectureTable())
        *request.out << p.code << ' ' << QString::fromUtf8(p.name) << '\n';
    return ExitCode::Ok;
}

} // namespace yubin

namespace yubin {

int runDataFolderVerb(const CliRequest& request) {
    if (!request.positional.isEmpty())
        return usageError(*request.err, QStringLiteral("data-folder takes no arguments"));
    *request.out << request.data.path() << '\n';
    return request.data.holdsPrefectureFile() ? ExitCode::Ok : ExitCode::NothingFound;
}

} // namespace yubin
