#pragma once

// What the command-line verbs share: their arguments, their output streams
// and the exit codes. Each subsystem implements its verbs beside its rules;
// yubin-cli's main() only dispatches.

#include "foundation/data_folder.h"

#include <QMap>
#include <QSet>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace yubin {

namespace ExitCode {
inline constexpr int Ok = 0;
inline constexpr int NothingFound = 1; // also: a failure the verb reports
inline constexpr int Usage = 2;
} // namespace ExitCode

struct CliRequest {
    QStringList positional;        // after the verb
    QMap<QString, QString> values; // --name VALUE
    QSet<QString> flags;           // --name
    DataFolder data;
    QTextStream* out = nullptr; // UTF-8
    QTextStream* err = nullptr; // UTF-8

    bool has(const QString& flag) const { return flags.contains(flag); }
    QString value(const QString& name, const QString& fallback = QString()) const {
        return values.value(name, fallback);
    }
};

// Options a verb accepts: those that take a value and plain flags.
struct VerbOptions {
    QSet<QString> valued;
    QSet<QString> flags;
};

// Splits the arguments after the verb; nullopt and a message on a misuse.
std::optional<CliRequest> parseVerbArguments(const QStringList& args, const VerbOptions& options,
                                             const DataFolder& data, QString* error);

// One line on stderr and the usage exit code.
int usageError(QTextStream& err, const QString& message);

// yubin-cli prefectures: the 47 codes and names, one per line.
int runPrefecturesVerb(const CliRequest& request);

// yubin-cli data-folder: the data folder's path; exit 0 when it holds a
// prefecture file, 1 when it holds none (the first run fills it then).
int runDataFolderVerb(const CliRequest& request);

} // namespace yubin
