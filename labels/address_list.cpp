#include "labels/address_list.h"

#include "foundation/access_csv.h"
#include "foundation/data_file.h"
#include "foundation/text.h"
#include "labels/workbook.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace yubin::labels {

namespace {

bool isBlankRecord(const QStringList& fields) {
    for (const QString& f : fields)
        if (!text::trimBlanks(f).isEmpty())
            return false;
    return true;
}

QString columnName(const AddressList& list, int i) {
    const QString heading = text::trimmed(list.headings.value(i));
    return heading.isEmpty() ? QStringLiteral("%1列目").arg(i + 1) : heading;
}

// Gives each part the column that holds it, from the heading row. The
// address comes from one set: the set of the first address column, so that
// a home and a work address are never mixed. A second column of a part
// already taken, or of another set, is left unused and named.
void assignColumns(AddressList& list, const std::vector<std::optional<HeadingMatch>>& matches) {
    int chosenSet = -1;
    for (const std::optional<HeadingMatch>& m : matches)
        if (m && isAddressPart(m->part)) {
            chosenSet = m->set;
            break;
        }
    // The postal code of the chosen set wins over a plain one.
    int codeColumn = -1;
    for (std::size_t i = 0; i < matches.size(); ++i) {
        const std::optional<HeadingMatch>& m = matches[i];
        if (!m || m->part != Part::PostalCode || (m->set != chosenSet && m->set != 0))
            continue;
        if (codeColumn < 0 ||
            (m->set == chosenSet && matches[std::size_t(codeColumn)]->set == 0 && chosenSet != 0))
            codeColumn = int(i);
    }
    list.parts[std::size_t(Part::PostalCode)] = codeColumn;
    for (std::size_t i = 0; i < matches.size(); ++i) {
        const std::optional<HeadingMatch>& m = matches[i];
        bool used = false;
        if (m && m->part == Part::PostalCode) {
            used = int(i) == codeColumn;
        } else if (m && (!isAddressPart(m->part) || m->set == chosenSet)) {
            int& slot = list.parts[std::size_t(m->part)];
            used = slot < 0;
            if (used)
                slot = int(i);
        }
        if (!used)
            list.unusedColumns << columnName(list, int(i));
    }
}

// A postal code a workbook holds as a number has lost its leading zeros:
// 0600906 is stored as 600906.
void restoreNumericCodes(AddressList& list, const std::vector<std::vector<int>>& numbers) {
    const int code = list.column(Part::PostalCode);
    if (code < 0)
        return;
    for (std::size_t r = 0; r < list.rows.size() && r < numbers.size(); ++r) {
        const std::vector<int>& numeric = numbers[r];
        if (std::find(numeric.begin(), numeric.end(), code) == numeric.end())
            continue;
        QStringList& fields = list.rows[r].fields;
        if (code >= fields.size())
            continue;
        bool ok = false;
        const double v = fields[code].toDouble(&ok);
        if (ok && v >= 0 && v < 1e7 && v == double(qint64(v)))
            fields[code] = QStringLiteral("%1").arg(qint64(v), 7, 10, QLatin1Char('0'));
    }
}

} // namespace

QString AddressList::part(const Record& row, Part p) const {
    const int i = column(p);
    return i < 0 ? QString() : text::trimmed(row.fields.value(i));
}

QString AddressList::field(const Record& row, Column c) const {
    switch (c) {
    case Column::PostalCode:
        return part(row, Part::PostalCode);
    case Column::Address:
        // The split address reads as one: 東京都 + 千代田区 + 霞が関1-3-2.
        return text::joinNonEmpty({part(row, Part::Prefecture), part(row, Part::City),
                                   part(row, Part::Town), part(row, Part::Street),
                                   part(row, Part::Address)},
                                  u"");
    case Column::Address1:
        return part(row, Part::AddressLine1);
    case Column::Address2:
        return part(row, Part::AddressLine2);
    case Column::Address3:
        return part(row, Part::AddressLine3);
    case Column::Building:
        return part(row, Part::Building);
    case Column::Company:
        return part(row, Part::Company);
    case Column::Department:
        return part(row, Part::Department);
    case Column::Honorific:
        return part(row, Part::Honorific);
    case Column::Name: {
        // Joint names follow the first; a title goes before it: 営業部長　山田 太郎.
        const QString name = text::joinNonEmpty({personName(row), part(row, Part::Joint1),
                                                 part(row, Part::Joint2), part(row, Part::Joint3)},
                                                u"・");
        return text::joinNonEmpty({part(row, Part::Title), name}, u"\u3000");
    }
    }
    return {};
}

QString AddressList::personName(const Record& row) const {
    // 姓 and 名 in Japanese order, whatever order the columns stand in.
    const QString name = part(row, Part::Name);
    return name.isEmpty()
               ? text::joinNonEmpty({part(row, Part::LastName), part(row, Part::FirstName)}, u" ")
               : name;
}

QString AddressList::address(const Record& row) const {
    return text::joinNonEmpty({field(row, Column::Address), field(row, Column::Address1),
                               field(row, Column::Address2), field(row, Column::Address3)},
                              u" ");
}

QString AddressList::unusedNote() const {
    return unusedColumns.isEmpty() ? QString()
                                   : QStringLiteral("使わない列：") + unusedColumns.join(u'、');
}

std::optional<QString> decodeList(QByteArrayView bytes, Encoding* encoding) {
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bom ? bytes.sliced(3) : bytes);
    if (!utf8.hasError()) {
        *encoding = bom ? Encoding::Utf8WithBom : Encoding::Utf8;
        return text;
    }
    if (bom)
        return std::nullopt; // marked as UTF-8, yet broken
    text = text::decodeCp932(bytes);
    if (text.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    *encoding = Encoding::Cp932;
    return text;
}

QChar detectSeparator(QStringView text) {
    // Only what stands outside quotes counts: a quoted field may hold a tab
    // or a line break of its own.
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'\t')
            return u'\t';
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
    }
    return u',';
}

std::optional<std::vector<Record>> splitRecords(QStringView text, QChar separator,
                                                int* unclosedLine) {
    std::vector<Record> records;
    Record record;
    QString field;
    int line = 1;
    int quoteLine = 0;
    bool quoted = false;
    bool pending = false; // something of the current record has been read
    record.line = 1;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
                continue;
            }
            if (c == u'\r' || c == u'\n') {
                // A line break inside a field is kept as a plain LF.
                if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                    ++i;
                field += u'\n';
                ++line;
                continue;
            }
            field += c;
            continue;
        }
        if (c == u'"') {
            quoted = true;
            quoteLine = line;
            pending = true;
        } else if (c == separator) {
            record.fields << field;
            field.clear();
            pending = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            record.fields << field;
            records.push_back(std::move(record));
            record = Record();
            field.clear();
            pending = false;
            ++line;
            record.line = line;
        } else {
            field += c;
            pending = true;
        }
    }
    if (quoted) {
        if (unclosedLine)
            *unclosedLine = quoteLine;
        return std::nullopt;
    }
    if (pending) {
        record.fields << field;
        records.push_back(std::move(record));
    }
    return records;
}

namespace {

// The rows of a list, from any source, to its columns.
AddressList listOfRecords(AddressList list, std::vector<Record> records,
                          std::vector<std::vector<int>> numbers) {
    std::vector<Record> rows;
    std::vector<std::vector<int>> rowNumbers;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (isBlankRecord(records[i].fields))
            continue;
        rows.push_back(std::move(records[i]));
        rowNumbers.push_back(i < numbers.size() ? std::move(numbers[i]) : std::vector<int>());
    }
    if (rows.empty()) {
        list.error = QStringLiteral("ファイルに行がありません");
        return list;
    }

    // The first row names the columns when any of its fields is a known
    // heading.
    const QStringList first = rows.front().fields;
    std::vector<std::optional<HeadingMatch>> matches;
    for (const QString& f : first) {
        matches.push_back(partOfHeading(f));
        list.hasHeader = list.hasHeader || matches.back();
    }
    if (list.hasHeader) {
        list.headings = first;
        assignColumns(list, matches);
        rows.erase(rows.begin());
        rowNumbers.erase(rowNumbers.begin());
    } else {
        list.parts[std::size_t(Part::PostalCode)] = 0;
        list.parts[std::size_t(Part::Address)] = 1;
        list.parts[std::size_t(Part::Name)] = 2;
        qsizetype width = 0;
        for (const Record& r : rows)
            width = std::max(width, r.fields.size());
        for (qsizetype i = 3; i < width; ++i)
            list.unusedColumns << QStringLiteral("%1列目").arg(i + 1);
    }
    bool anyAddress = false;
    for (int p = 0; p < PartKinds; ++p)
        anyAddress = anyAddress || (isAddressPart(Part(p)) && Part(p) != Part::Building &&
                                    list.parts[std::size_t(p)] >= 0);
    if (list.hasHeader && !anyAddress) {
        QStringList found;
        for (qsizetype i = 0; i < first.size(); ++i)
            if (!text::trimBlanks(first[i]).isEmpty())
                found << text::trimmed(first[i]);
        list.error = QStringLiteral("住所の列がありません（見出し：%1）。住所には「住所」「住所1」"
                                    "「都道府県」「Address」などの見出しが要ります")
                         .arg(found.join(u'、'));
        return list;
    }
    // Without headings a list of one column has no address in it either.
    if (!list.hasHeader && std::none_of(rows.begin(), rows.end(),
                                        [](const Record& r) { return r.fields.size() > 1; })) {
        list.error = QStringLiteral("住所の列がありません（見出しのない1列だけのリストです）");
        return list;
    }
    if (rows.empty()) {
        list.error = QStringLiteral("見出しの行のほかに行がありません");
        return list;
    }
    list.rows = std::move(rows);
    if (list.fromWorkbook)
        restoreNumericCodes(list, rowNumbers);
    return list;
}

} // namespace

AddressList parseAddressList(QByteArrayView bytes) {
    AddressList list;
    list.parts.fill(-1);
    if (bytes.isEmpty() || bytes == QByteArrayView("\xEF\xBB\xBF")) {
        list.error = QStringLiteral("ファイルが空です");
        return list;
    }
    if (const std::optional<QString> notBook = workbookFormatProblem(bytes)) {
        list.error = *notBook;
        return list;
    }
    if (isWorkbook(bytes)) {
        WorkbookSheet sheet = readFirstSheet(bytes);
        if (!sheet.error.isEmpty()) {
            list.error = sheet.error;
            return list;
        }
        list.fromWorkbook = true;
        return listOfRecords(std::move(list), std::move(sheet.records), std::move(sheet.numbers));
    }
    const std::optional<QString> text = decodeList(bytes, &list.encoding);
    if (!text) {
        list.error =
            QStringLiteral("文字コードを判別できません（UTF-8 でも Shift_JIS でもありません）");
        return list;
    }
    list.separator = detectSeparator(*text);
    int unclosed = 0;
    std::optional<std::vector<Record>> records = splitRecords(*text, list.separator, &unclosed);
    if (!records) {
        list.error = QStringLiteral("%1行目で始まる引用符（\"）が閉じていません").arg(unclosed);
        return list;
    }
    return listOfRecords(std::move(list), std::move(*records), {});
}

AddressList readAddressList(const QString& path) {
    const std::optional<QByteArray> bytes = readWholeFile(path);
    if (!bytes) {
        AddressList list;
        list.parts.fill(-1);
        list.error = QFileInfo::exists(path) ? QStringLiteral("ファイルを読めません：%1").arg(path)
                                             : QStringLiteral("ファイルがありません：%1").arg(path);
        return list;
    }
    return parseAddressList(*bytes);
}

} // namespace yubin::labels
