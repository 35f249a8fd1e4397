#pragma once

// The monthly difference files: add_YYMM.zip and del_YYMM.zip (or their
// UTF-8 forms utf_add_YYMM.zip and utf_del_YYMM.zip) for the addresses,
// jaddYYMM.zip and jdelYYMM.zip for the business offices. The 更新 run
// applies the months after the data's own, in order, each month's
// deletions before its additions, and places every changed file, the change
// log and the data's month together or not at all.

#include "data_prep/change_log.h"
#include "data_prep/prep_runs.h"
#include "data_prep/record_lines.h"
#include "foundation/data_folder.h"
#include "foundation/prefectures.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace yubin {

inline const QString UpdateTitle = QStringLiteral("郵便番号ﾃﾞｰﾀ更新");
// The month of the data in the folder, as YYMM: written by each update,
// removed by the nationwide and per-prefecture runs, whose files carry the
// data's date instead.
inline const QString DataMonthFileName = QStringLiteral("DATA_MONTH.TXT");

// ---- finding the files -------------------------------------------------

struct MonthArchives {
    int month = 0;
    bool utf8 = false;  // the address files are the UTF-8 forms
    QString addressAdd; // paths; "" where the folder has none
    QString addressDel;
    QString officeAdd;
    QString officeDel;
};

// The difference archives of the folder (".zip" or ".lzh", names in any
// case), one entry a month, in month order. Where a month has both forms of
// the address files, the UTF-8 pair is taken when it is whole.
std::vector<MonthArchives> findDifferenceArchives(const QString& folder);

// The month of the data: DATA_MONTH.TXT, else the month of the newest
// prefecture file's date (the runs stamp files with the data's date); 0
// when the folder holds no prefecture file.
int readDataMonth(const DataFolder& data);

// ---- applying a month --------------------------------------------------

// A data line with the columns an update looks up, taken once.
struct DataLine {
    QByteArray bytes;   // trimmed, no line end
    QByteArray code;    // the postal code column
    int codeValue = -1; // the same as a number, for a quick first test
    int localCode = 0;  // column 1
};

// The data of the folder in memory: index 0 the business offices, 1 to 47
// the prefectures.
struct UpdateData {
    std::array<std::vector<DataLine>, PrefectureCount + 1> files;
    std::array<bool, PrefectureCount + 1> present{}; // the folder has the file
    std::array<bool, PrefectureCount + 1> changed{};
};
// Cuts a file's bytes into its lines; `office` for the business-office
// layout.
std::vector<DataLine> dataLines(QByteArrayView bytes, bool office);
QByteArray fileBytes(const std::vector<DataLine>& lines);

// A month's files, decoded and in the program's data format (code page 932,
// split records joined).
struct MonthDifferences {
    int month = 0;
    QByteArray addressAdd;
    QByteArray addressDel;
    bool hasOffices = false;
    QByteArray officeAdd;
    QByteArray officeDel;
};

struct KindCounts {
    int added = 0;
    int abolished = 0;
};
struct UpdateTally {
    std::array<KindCounts, PrefectureCount + 1> counts; // index 0: offices
    int notFound = 0;                                   // deleted lines the data did not hold
    int alreadyThere = 0;                               // added lines the data held already
    int withoutFile = 0; // lines of a prefecture that has no data file
    int withoutPrefecture = 0;
};

// Applies one month to the data: its deletions, then its additions. A
// deleted line names its record by the postal code and the name columns
// (prefecture, municipality and town; an office's name and address); the
// update columns of a deleted line differ from the data's and are not
// compared. An added line goes after the last line of its municipality
// (local public body code), or where that code falls in order. Each change
// is appended to `log`.
void applyMonth(UpdateData& data, const MonthDifferences& month, const QStringList& names,
                std::vector<ChangeEntry>& log, UpdateTally& tally);

// ---- the run -----------------------------------------------------------

struct UpdateOutcome {
    enum class Status {
        NoFolder,  // no usable download folder: nothing was asked
        Refused,   // `message` says why; nothing changed
        Cancelled, // the question was answered Cancel
        Completed, // `report` tells what changed
        Failed,    // `error` describes the failure; nothing was placed
    };
    Status status = Status::NoFolder;
    QString message;
    QString report;
    QString error;
    int placedFiles = 0;
    std::vector<int> applied; // the months applied, in order
};

// The 更新 run, under the same lock as the other runs. Asks its question
// through `messages`.
UpdateOutcome runUpdate(const PrepFolders& folders, const QStringList& names, RunHost& host,
                        MessageBoxes& messages);

// The question, the refusals and the report, as the window shows them.
QString askUpdateText(int firstMonth, int lastMonth);
QString noDataText();
QString noDifferencesText();
QString upToDateText(int dataMonth);
QString missingMonthText(int missingMonth, const QStringList& missingFiles, int dataMonth);
QString updateReportText(const std::vector<int>& months, const UpdateTally& tally,
                         const QStringList& names, const QStringList& notes);

} // namespace yubin
