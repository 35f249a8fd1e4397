#include "labels/address_list.h"

#include "foundation/data_file.h"
#include "foundation/text.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace yubin::labels {

namespace {

struct Heading {
    QStringView name;
    Column column;
};

// The headings spreadsheets and address books export, Japanese and English.
constexpr Heading Headings[] = {
    {u"郵便番号", Column::PostalCode}, {u"postal_code", Column::PostalCode},
    {u"住所", Column::Address},        {u"address", Column::Address},
    {u"住所1", Column::Address1},      {u"address1", Column::Address1},
    {u"住所2", Column::Address2},      {u"address2", Column::Address2},
    {u"住所3", Column::Address3},      {u"address3", Column::Address3},
    {u"建物", Column::Building},       {u"building", Column::Building},
    {u"会社名", Column::Company},      {u"company", Column::Company},
    {u"部署", Column::Department},     {u"department", Column::Department},
    {u"氏名", Column::Name},           {u"名前", Column::Name},
    {u"宛名", Column::Name},           {u"name", Column::Name},
    {u"敬称", Column::Honorific},      {u"honorific", Column::Honorific},
};

bool isBlankRecord(const QStringList& fields) {
    for (const QString& f : fields)
        if (!text::trimBlanks(f).isEmpty())
            return false;
    return true;
}

} // namespace

std::optional<Column> columnOfHeading(QStringView heading) {
    // Full-width digits and letters count as their ASCII forms: 住所１.
    const QString h = text::toHalfWidthAscii(text::trimBlanks(heading));
    for (const Heading& known : Headings)
        if (h.compare(known.name, Qt::CaseInsensitive) == 0)
            return known.column;
    return std::nullopt;
}

QString AddressList::field(const Record& row, Column c) const {
    const int i = column(c);
    return i < 0 ? QString() : text::trimmed(row.fields.value(i));
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

AddressList parseAddressList(QByteArrayView bytes) {
    AddressList list;
    list.columns.fill(-1);
    if (bytes.isEmpty() || bytes == QByteArrayView("\xEF\xBB\xBF")) {
        list.error = QStringLiteral("ファイルが空です");
        return list;
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
    std::vector<Record> rows;
    for (Record& r : *records)
        if (!isBlankRecord(r.fields))
            rows.push_back(std::move(r));
    if (rows.empty()) {
        list.error = QStringLiteral("ファイルに行がありません");
        return list;
    }

    // The first row names the columns when any of its fields is a known
    // heading; the first of two same headings wins.
    const QStringList& first = rows.front().fields;
    for (int i = 0; i < first.size(); ++i) {
        if (first[i].size() > 40)
            continue;
        if (const std::optional<Column> c = columnOfHeading(first[i])) {
            list.hasHeader = true;
            if (list.columns[std::size_t(*c)] < 0)
                list.columns[std::size_t(*c)] = i;
        }
    }
    if (list.hasHeader) {
        list.headings = first;
        rows.erase(rows.begin());
    } else {
        list.columns[std::size_t(Column::PostalCode)] = 0;
        list.columns[std::size_t(Column::Address)] = 1;
        list.columns[std::size_t(Column::Name)] = 2;
    }
    const bool anyAddress =
        list.column(Column::Address) >= 0 || list.column(Column::Address1) >= 0 ||
        list.column(Column::Address2) >= 0 || list.column(Column::Address3) >= 0;
    // Without headings a list of one column has no address in it either.
    const bool secondField =
        std::any_of(rows.begin(), rows.end(), [](const Record& r) { return r.fields.size() > 1; });
    if (!anyAddress || (!list.hasHeader && !secondField)) {
        list.error = QStringLiteral(
            "住所の列がありません（見出しに「住所」「住所1」～「住所3」のどれかが要ります）");
        return list;
    }
    if (rows.empty()) {
        list.error = QStringLiteral("見出しの行のほかに行がありません");
        return list;
    }
    list.rows = std::move(rows);
    return list;
}

AddressList readAddressList(const QString& path) {
    const std::optional<QByteArray> bytes = readWholeFile(path);
    if (!bytes) {
        AddressList list;
        list.columns.fill(-1);
        list.error = QFileInfo::exists(path) ? QStringLiteral("ファイルを読めません：%1").arg(path)
                                             : QStringLiteral("ファイルがありません：%1").arg(path);
        return list;
    }
    return parseAddressList(*bytes);
}

} // namespace yubin::labels
