#pragma once

// The two runs that turn downloaded archives into data files: one archive
// per prefecture plus the business-office archive, or the nationwide archive
// split into prefecture files plus the business-office archive. The window
// and yubin-cli drive the same runs; they differ only in their RunHost and
// in how they show messages.

#include "data_prep/nationwide_split.h"
#include "data_prep/work_folders.h"
#include "foundation/platform.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace yubin {

enum class RunKind { Prefectures, Nationwide, Update };

// The window, yubin-cli or a test, as a run sees it.
class RunHost : public SplitProgress {
public:
    // The question was confirmed and the run begins.
    virtual void started(RunKind) {}
    // Reading is over and the files are being written; no abort from here on.
    virtual void writing() {}
    // A short wait after a caption so that it can be read.
    virtual void pause(double /*seconds*/) {}
};

struct PrepFolders {
    QString download; // where the archives are, as the user chose it
    QString data;     // the data folder
    WorkFolders work;
};

struct RunOutcome {
    enum class Status {
        NoFolder,   // no usable download folder: nothing was asked
        Cancelled,  // the question was answered Cancel
        Completed,  // ended; `placed` and `offices` say what was placed
        Aborted,    // stopped by the user while reading; nothing placed
        CsvMissing, // the nationwide archive held no KEN_ALL.CSV
        Failed,     // `error` describes the failure; `placed` and `offices`
                    // say what was placed before it
    };
    Status status = Status::NoFolder;
    int placed = 0;  // n: prefecture files placed in the data folder
    int offices = 0; // m: 1 when the business-office file was placed
    QString error;
    qint64 unroutedLines = 0;
    // What the completion message adds: which nationwide file was taken,
    // the records joined, the characters code page 932 lacks.
    QStringList notes;
};

// ---- the window's texts ------------------------------------------------

inline const QString ArchiveTitle = QStringLiteral("LZHﾌｧｲﾙ解凍");
inline const QString PrefecturesTitle = QStringLiteral("LZHﾌｧｲﾙ解凍 (都道府県＋事業所)  ");
inline const QString NationwideTitle = QStringLiteral("LZHﾌｧｲﾙ解凍 (全国一括＋事業所)  ");
// The questions name the kind of archive found: "LZH", "ZIP" or "LZH・ZIP"
// (the postal service has published both); "LZH" when none was found.
QString archiveKindText(const QStringList& archiveNames);
QString askPrefecturesText(const QString& archiveKind);
QString askNationwideText(const QString& archiveKind);
inline const QString NoNationwideArchiveText =
    QStringLiteral("郵便番号(全国一括)LZHﾌｧｲﾙがありません。     ");
inline const QString NoNationwideCsvText =
    QStringLiteral("郵便番号(全国一括)CSVﾌｧｲﾙがありません。     ");
inline const QString NothingPlacedText = QStringLiteral("解凍された郵便番号ﾃﾞｰﾀはありません。    ");
inline const QString ErrorPrefix = QStringLiteral("ｴﾗｰ ： ");

inline const QString ExtractingCaption = QStringLiteral("解凍中    ");
inline const QString OfficesDoneCaption = QStringLiteral("解凍中 終了");
inline const QString CopyingCaption = QStringLiteral("データコピー中");

// "2＋1 件", "2 件" or "1 件".
QString completionCountText(int placed, int offices);
// The completion message of a run that placed something.
QString completionText(int placed, int offices);

// True when the run put at least one file into the data folder, whether it
// then completed or failed; the main window must then read the data anew.
bool placedAnything(const RunOutcome& outcome);

// The messages a run ends with, in order: the completion (or that nothing
// was placed) of a run that completed or placed something before it failed,
// then the error of a failed run. None for a cancelled or aborted run and
// for a missing KEN_ALL.CSV, which was told during the run.
struct FinalMessage {
    bool failure = false;
    QString title;
    QString text;
};
QList<FinalMessage> finalMessages(RunKind kind, const RunOutcome& outcome);

// ---- finding archives --------------------------------------------------

// True when the folder caption can name a folder: more than two characters
// once trimmed (a bare drive such as "C:" cannot).
bool usableDownloadFolder(const QString& caption);

// The first "*.lzh" entry of the folder, in the order the file system lists
// them, whose first two characters are the code; when there is none, the
// first such "*.zip" entry. Extensions in any case; "" when there is neither.
QString FindArchiveByCode(const QString& folder, const QString& code);

// The archive `base`.lzh, else `base`.zip, in the folder, names compared
// without regard to case: the path, or "" when there is none.
QString findNamedArchive(const QString& folder, const QString& base);

// ---- the runs ----------------------------------------------------------

// Per-prefecture archives, then the business-office archive. Asks its
// question through `messages`. Each file is replaced whole as it is
// extracted; a failure keeps those placed before it. Another run in progress
// (WorkLock) fails this one before it asks or changes anything.
RunOutcome runPrefectures(const PrepFolders& folders, const QStringList& names, RunHost& host,
                          MessageBoxes& messages);

// The nationwide archive split into prefecture files, then the
// business-office archive. Tells and asks through `messages`; `clock` paces
// the yields. The prefecture files are replaced all together or not at all;
// the business-office file after them, on its own. Another run in progress
// fails this one before it asks or changes anything.
RunOutcome runNationwide(const PrepFolders& folders, const QStringList& names, RunHost& host,
                         MessageBoxes& messages, Clock& clock);

// The messages of a run with no window: written to a stream, one a line, the
// questions too when asked for; every question is answered OK.
class StreamMessages final : public MessageBoxes {
public:
    StreamMessages(QTextStream& stream, bool withQuestions)
        : stream(stream), withQuestions(withQuestions) {}
    bool show(MessageIcon icon, const QString& title, const QString& text,
              MessageButtons buttons) override;

private:
    QTextStream& stream;
    bool withQuestions;
};

} // namespace yubin
