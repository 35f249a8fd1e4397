#pragma once

// The change log of the data folder: what each applied month of difference
// files added and abolished, and what the program answers from it for a
// postal code that is no longer in the data. Plain values in and out, so
// that the full search, yubin-cli and any other caller ask the same way.
//
// The file is CHANGES.CSV in the data folder, UTF-8, one line a change:
//   2603,廃止,住所,1000001,<the record's columns as the data held them>
// month as the difference files name it (YYMM), kind (追加 or 廃止), source
// (住所 or 事業所), postal code, then the record line.

#include "foundation/data_folder.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace yubin {

inline const QString ChangeLogFileName = QStringLiteral("CHANGES.CSV");

// ---- months ------------------------------------------------------------

// Months are held as year * 100 + month (202603). The difference files name
// them YYMM, of this century.
int monthFromYymm(QStringView yymm); // 0 when it is no month
QString yymmText(int month);         // "2603"
QString monthText(int month);        // "2026年3月"
int nextMonth(int month);
int monthOf(QDate date);

// ---- the log -----------------------------------------------------------

enum class ChangeKind { Added, Abolished };

struct ChangeEntry {
    int month = 0;
    ChangeKind kind = ChangeKind::Added;
    bool office = false; // a business-office record, else an address record
    QString postalCode;  // 7 digits
    QString record;      // the record's line, decoded
};

QString changeLogLine(const ChangeEntry& entry);
// nullopt for a line that is not a change (damaged or foreign).
std::optional<ChangeEntry> parseChangeLogLine(QStringView line);

// The log of the data folder, in file order; empty when there is none.
std::vector<ChangeEntry> readChangeLog(const DataFolder& data);
// The whole file for the entries: the old bytes, then a line each.
QByteArray appendedChangeLog(const QByteArray& oldBytes, const std::vector<ChangeEntry>& added);

// The prefecture, municipality and town of an address record, or the office
// name and its address for an office record, as one text.
QString changeRecordText(const ChangeEntry& entry);

// ---- abolished codes ---------------------------------------------------

// A postal code the log says is abolished: the record it was abolished
// with, and the codes that the same month added for the same town (or the
// same office).
struct AbolishedCode {
    ChangeEntry entry;
    QStringList newCodes;
};

// The abolished records of `code` (7 digits): none unless the last month
// that names the code abolished it and did not add it again (a changed
// town abolishes and adds the same code in one month, and the code lives).
std::vector<AbolishedCode> findAbolished(const std::vector<ChangeEntry>& log, const QString& code);

// What any caller says of a given code the log says is abolished:
// "廃止（2026年3月）", then " → 新しい郵便番号 123-4567" for each new code of
// its town; "" when the code is not abolished. The resolver and the labels
// report a given code with this one call.
QString abolishedCodeNote(const std::vector<ChangeEntry>& log, const QString& code);
QString abolishedCodeNote(const AbolishedCode& abolished);

// "廃止（2026年3月）"
QString abolishedText(int month);
// "→ 新しい郵便番号 123-4567"
QString newCodeText(const QString& code);

// ---- yubin-cli changes -------------------------------------------------

inline const QStringList ChangeFields = {
    QStringLiteral("month"),       QStringLiteral("kind"),        QStringLiteral("source"),
    QStringLiteral("postal_code"), QStringLiteral("prefecture"),  QStringLiteral("municipality"),
    QStringLiteral("town"),        QStringLiteral("office_name"), QStringLiteral("address"),
};

// "2026年3月 廃止 100-0001 東京都千代田区千代田"
QString changeLine(const ChangeEntry& entry);
QStringList changeFieldValues(const ChangeEntry& entry);

} // namespace yubin
