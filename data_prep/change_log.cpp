#include "data_prep/change_log.h"

#include "foundation/access_csv.h"
#include "foundation/data_file.h"
#include "foundation/postal_code.h"
#include "foundation/postal_record.h"
#include "foundation/text.h"

#include <QFile>

#include <algorithm>

namespace yubin {

int monthFromYymm(QStringView yymm) {
    if (yymm.size() != 4)
        return 0;
    for (const QChar c : yymm)
        if (c < u'0' || c > u'9')
            return 0;
    const int yy = yymm.left(2).toInt();
    const int mm = yymm.right(2).toInt();
    if (mm < 1 || mm > 12)
        return 0;
    return (2000 + yy) * 100 + mm;
}

QString yymmText(int month) {
    return QStringLiteral("%1%2")
        .arg(month / 100 % 100, 2, 10, QLatin1Char('0'))
        .arg(month % 100, 2, 10, QLatin1Char('0'));
}

QString monthText(int month) {
    return QStringLiteral("%1年%2月").arg(month / 100).arg(month % 100);
}

int nextMonth(int month) {
    return month % 100 == 12 ? (month / 100 + 1) * 100 + 1 : month + 1;
}

int monthOf(QDate date) {
    return date.isValid() ? date.year() * 100 + date.month() : 0;
}

namespace {

const QString AddedWord = QStringLiteral("追加");
const QString AbolishedWord = QStringLiteral("廃止");
const QString AddressWord = QStringLiteral("住所");
const QString OfficeWord = QStringLiteral("事業所");

// The columns of a record that name its place.
QStringList placeOf(const ChangeEntry& e) {
    Access_CSV csv;
    csv.setCSV(e.record);
    QStringList columns;
    const ColumnSpan span = placeColumns(e.office);
    for (int n = span.first; n <= span.last; ++n)
        columns << text::trimmed(csv.Col(n));
    return columns;
}

} // namespace

QString changeLogLine(const ChangeEntry& e) {
    return yymmText(e.month) + u',' + (e.kind == ChangeKind::Added ? AddedWord : AbolishedWord) +
           u',' + (e.office ? OfficeWord : AddressWord) + u',' + e.postalCode + u',' + e.record;
}

std::optional<ChangeEntry> parseChangeLogLine(QStringView line) {
    // The first four columns hold no comma and no quote.
    QStringView rest = text::trimBlanks(line);
    QStringView parts[4];
    for (QStringView& part : parts) {
        const qsizetype comma = rest.indexOf(u',');
        if (comma < 0)
            return std::nullopt;
        part = rest.left(comma);
        rest = rest.sliced(comma + 1);
    }
    ChangeEntry e;
    e.month = monthFromYymm(parts[0]);
    if (e.month == 0 || rest.isEmpty())
        return std::nullopt;
    if (parts[1] == AddedWord)
        e.kind = ChangeKind::Added;
    else if (parts[1] == AbolishedWord)
        e.kind = ChangeKind::Abolished;
    else
        return std::nullopt;
    if (parts[2] == OfficeWord)
        e.office = true;
    else if (parts[2] != AddressWord)
        return std::nullopt;
    e.postalCode = parts[3].toString();
    if (e.postalCode.size() != 7)
        return std::nullopt;
    e.record = rest.toString();
    return e;
}

std::vector<ChangeEntry> readChangeLog(const DataFolder& data) {
    std::vector<ChangeEntry> log;
    const std::optional<QByteArray> bytes = readFileBytes(data.path() + ChangeLogFileName);
    if (!bytes)
        return log;
    const QString text = QString::fromUtf8(*bytes);
    forEachLine(QStringView(text), [&](QStringView line) {
        if (std::optional<ChangeEntry> e = parseChangeLogLine(line))
            log.push_back(std::move(*e));
    });
    return log;
}

QByteArray appendedChangeLog(const QByteArray& oldBytes, const std::vector<ChangeEntry>& added) {
    QByteArray bytes = oldBytes;
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += "\r\n";
    for (const ChangeEntry& e : added)
        bytes += changeLogLine(e).toUtf8() + "\r\n";
    return bytes;
}

QString changeRecordText(const ChangeEntry& e) {
    const QStringList p = placeOf(e);
    if (e.office)
        return p[0] + u' ' + p[1] + p[2] + p[3] + p[4];
    return p[0] + p[1] + p[2];
}

std::vector<AbolishedCode> findAbolished(const std::vector<ChangeEntry>& log, const QString& code) {
    std::vector<AbolishedCode> found;
    int lastMonth = 0;
    for (const ChangeEntry& e : log)
        if (e.postalCode == code)
            lastMonth = std::max(lastMonth, e.month);
    if (lastMonth == 0)
        return found;
    for (const ChangeEntry& e : log)
        if (e.month == lastMonth && e.postalCode == code && e.kind == ChangeKind::Added)
            return found; // abolished and added again: the code lives
    for (const ChangeEntry& e : log) {
        if (e.month != lastMonth || e.postalCode != code || e.kind != ChangeKind::Abolished)
            continue;
        AbolishedCode a{e, {}};
        const QStringList place = placeOf(e);
        for (const ChangeEntry& other : log)
            if (other.month == lastMonth && other.kind == ChangeKind::Added &&
                other.office == e.office && other.postalCode != code &&
                !a.newCodes.contains(other.postalCode) && placeOf(other) == place)
                a.newCodes << other.postalCode;
        found.push_back(std::move(a));
    }
    return found;
}

QString abolishedCodeNote(const AbolishedCode& abolished) {
    QString note = abolishedText(abolished.entry.month);
    for (const QString& code : abolished.newCodes)
        note += u' ' + newCodeText(code);
    return note;
}

QString abolishedCodeNote(const std::vector<ChangeEntry>& log, const QString& code) {
    const std::vector<AbolishedCode> found = findAbolished(log, code);
    return found.empty() ? QString() : abolishedCodeNote(found.front());
}

QString abolishedText(int month) {
    return QStringLiteral("廃止（%1）").arg(monthText(month));
}

QString newCodeText(const QString& code) {
    return QStringLiteral("→ 新しい郵便番号 ") + postalCodeText(code);
}

QString changeLine(const ChangeEntry& e) {
    return monthText(e.month) + u' ' + (e.kind == ChangeKind::Added ? AddedWord : AbolishedWord) +
           u' ' + postalCodeText(e.postalCode) + u' ' + changeRecordText(e);
}

QStringList changeFieldValues(const ChangeEntry& e) {
    const QStringList p = placeOf(e);
    const QString month =
        QStringLiteral("%1-%2").arg(e.month / 100).arg(e.month % 100, 2, 10, QLatin1Char('0'));
    const QString kind =
        e.kind == ChangeKind::Added ? QStringLiteral("added") : QStringLiteral("abolished");
    if (e.office)
        return {month, kind, QStringLiteral("office"), e.postalCode, p[1], p[2], p[3], p[0], p[4]};
    return {month, kind, QStringLiteral("address"), e.postalCode, p[0], p[1], p[2], {}, {}};
}

} // namespace yubin
