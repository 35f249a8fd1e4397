#include "labels/workbook.h"

#include <QXmlStreamReader>

#include <archive.h>
#include <archive_entry.h>

#include <map>
#include <memory>
#include <set>

namespace yubin::labels {

namespace {

struct ArchiveCloser {
    void operator()(struct archive* a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<struct archive, ArchiveCloser>;

QString damaged(const QString& detail) {
    return QStringLiteral("ブックが壊れています（%1）").arg(detail);
}

QString tooLarge() {
    return QStringLiteral("ブックが大きすぎます（シート1枚の中身は%1 MBまでです）")
        .arg(MaxWorkbookPartBytes >> 20);
}

// The parts wanted from the archive, by their names inside it. Each is
// unpacked within the size bound; a part listed twice is damage.
struct Parts {
    std::map<QString, QByteArray> found;
    QString error;
};

Parts readParts(QByteArrayView bytes, const std::set<QString>& wanted) {
    Parts parts;
    ArchivePtr reader(archive_read_new());
    if (!reader) {
        parts.error = damaged(QStringLiteral("メモリが足りません"));
        return parts;
    }
    struct archive* a = reader.get();
    archive_read_support_format_zip(a);
    if (archive_read_open_memory(a, bytes.data(), size_t(bytes.size())) != ARCHIVE_OK) {
        parts.error = damaged(QString::fromLocal8Bit(archive_error_string(a)));
        return parts;
    }
    std::vector<char> buffer(1 << 16);
    for (;;) {
        struct archive_entry* entry = nullptr;
        const int header = archive_read_next_header(a, &entry);
        if (header == ARCHIVE_EOF)
            break;
        if (header < ARCHIVE_WARN) {
            parts.error = damaged(QString::fromLocal8Bit(archive_error_string(a)));
            return parts;
        }
        const char* rawName = archive_entry_pathname(entry);
        QString name = rawName ? QString::fromUtf8(rawName) : QString();
        if (name.startsWith(u'/'))
            name.remove(0, 1);
        if (!wanted.contains(name))
            continue;
        if (archive_entry_is_encrypted(entry)) {
            parts.error = QStringLiteral("暗号化されたブックは読めません");
            return parts;
        }
        if (parts.found.contains(name)) {
            parts.error = damaged(QStringLiteral("%1 が二つあります").arg(name));
            return parts;
        }
        if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > MaxWorkbookPartBytes) {
            parts.error = tooLarge();
            return parts;
        }
        QByteArray& data = parts.found[name];
        for (;;) {
            const la_ssize_t got = archive_read_data(a, buffer.data(), buffer.size());
            if (got == 0)
                break;
            if (got < 0) {
                parts.error = damaged(QString::fromLocal8Bit(archive_error_string(a)));
                return parts;
            }
            // Checked as it unpacks: a zip bomb states a small size or none.
            if (data.size() + got > MaxWorkbookPartBytes) {
                parts.error = tooLarge();
                return parts;
            }
            data.append(buffer.data(), got);
        }
    }
    return parts;
}

// A stream reader that refuses what an .xlsx part never holds: a document
// type with its entities, and elements nested without end.
class PartReader {
public:
    PartReader(const QByteArray& bytes, const QString& name) : xml(bytes), part(name) {}

    // The next token, with the depth kept; Invalid at the end or on an error.
    QXmlStreamReader::TokenType next() {
        if (!problem.isEmpty() || xml.atEnd())
            return QXmlStreamReader::Invalid;
        const QXmlStreamReader::TokenType t = xml.readNext();
        if (t == QXmlStreamReader::StartElement && ++depth > MaxWorkbookDepth)
            return fail(QStringLiteral("入れ子が深すぎます"));
        if (t == QXmlStreamReader::EndElement)
            --depth;
        if (t == QXmlStreamReader::DTD)
            return fail(QStringLiteral("文書型宣言があります"));
        return t;
    }
    // Steps to the next start element; false at the end or on an error.
    bool nextStart() {
        for (;;) {
            const QXmlStreamReader::TokenType t = next();
            if (t == QXmlStreamReader::Invalid)
                return false;
            if (t == QXmlStreamReader::StartElement)
                return true;
        }
    }
    // On a start element: the text of its <t> descendants, phonetic runs
    // (<rPh>, the furigana of Japanese Excel) left out; ends on its end.
    QString stringItem() {
        QString text;
        const int until = depth;
        int skipFrom = 0; // the depth of an <rPh>
        int textAt = 0;   // the depth of a <t>
        for (;;) {
            const QXmlStreamReader::TokenType t = next();
            if (t == QXmlStreamReader::Invalid)
                return text;
            if (t == QXmlStreamReader::StartElement) {
                if (skipFrom == 0 && xml.name() == u"rPh")
                    skipFrom = depth;
                else if (skipFrom == 0 && xml.name() == u"t")
                    textAt = depth;
            } else if (t == QXmlStreamReader::EndElement) {
                if (depth + 1 == skipFrom)
                    skipFrom = 0;
                if (depth + 1 == textAt)
                    textAt = 0;
                if (depth < until)
                    return text;
            } else if (t == QXmlStreamReader::Characters && textAt != 0) {
                text += xml.text();
            }
        }
    }
    // On a start element without children: its text; ends on its end.
    QString elementText() {
        QString text;
        for (;;) {
            const QXmlStreamReader::TokenType t = next();
            if (t == QXmlStreamReader::Characters)
                text += xml.text();
            else if (t == QXmlStreamReader::EndElement || t == QXmlStreamReader::Invalid)
                return text;
            else if (t == QXmlStreamReader::StartElement)
                return fail(QStringLiteral("値の中に要素があります")), text;
        }
    }
    QStringView name() const { return xml.name(); }
    int level() const { return depth; }
    QStringView attribute(QStringView local) const {
        for (const QXmlStreamAttribute& a : xml.attributes())
            if (a.name() == local)
                return a.value();
        return {};
    }
    // The problem, when the part could not be read to its end.
    QString error() const {
        if (!problem.isEmpty())
            return problem;
        if (xml.hasError())
            return damaged(QStringLiteral("%1：%2").arg(part, xml.errorString()));
        return {};
    }
    QXmlStreamReader::TokenType fail(const QString& why) {
        if (problem.isEmpty())
            problem = damaged(QStringLiteral("%1：%2").arg(part, why));
        return QXmlStreamReader::Invalid;
    }

private:
    QXmlStreamReader xml;
    QString part;
    QString problem;
    int depth = 0;
};

// "C12" → column 2 (0-based); -1 when it names none.
int columnOfReference(QStringView ref) {
    int column = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i] >= u'A' && ref[i] <= u'Z'; ++i) {
        column = column * 26 + (ref[i].unicode() - u'A' + 1);
        if (column > 16384) // XFD, the last column a sheet has
            return -1;
    }
    return i == 0 ? -1 : column - 1;
}

// The target of a relationship, as a name inside the archive: relative to
// xl/ unless it starts with "/".
QString partName(QStringView target) {
    if (target.startsWith(u'/'))
        return target.sliced(1).toString();
    QString name = QStringLiteral("xl/") + target.toString();
    while (name.contains(QLatin1String("/../"))) {
        const qsizetype up = name.indexOf(QLatin1String("/../"));
        const qsizetype parent = name.lastIndexOf(u'/', up - 1);
        name.remove(parent + 1, up + 4 - parent - 1);
    }
    return name;
}

} // namespace

bool isWorkbook(QByteArrayView bytes) {
    return bytes.startsWith("PK\x03\x04");
}

std::optional<QString> workbookFormatProblem(QByteArrayView bytes) {
    if (!bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return std::nullopt;
    // A workbook saved with a password is a compound document holding a
    // stream of this name; the old format holds none.
    const QByteArray encrypted =
        QByteArrayView("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32).toByteArray();
    if (bytes.contains(encrypted))
        return QStringLiteral("パスワードで保護されたブックは読めません（保護を外して保存し直して"
                              "ください）");
    return QStringLiteral("古い Excel 形式（.xls）のブックは読めません（.xlsx か CSV で保存し直"
                          "してください）");
}

namespace {

// The first sheet's part and the shared strings' part, from the workbook
// and its relationships; the usual names where they say nothing.
struct SheetNames {
    QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");
    QString sharedStrings = QStringLiteral("xl/sharedStrings.xml");
    QString error;
};

SheetNames sheetNames(const QByteArray& workbook, const QByteArray& rels) {
    SheetNames names;
    QString sheetId;
    {
        PartReader xml(workbook, QStringLiteral("workbook.xml"));
        while (sheetId.isEmpty() && xml.nextStart())
            if (xml.name() == u"sheet")
                sheetId = xml.attribute(u"id").toString();
        if (!xml.error().isEmpty() && sheetId.isEmpty()) {
            names.error = xml.error();
            return names;
        }
        if (sheetId.isEmpty()) {
            names.error = QStringLiteral("ブックにシートがありません");
            return names;
        }
    }
    PartReader xml(rels, QStringLiteral("workbook.xml.rels"));
    while (xml.nextStart()) {
        if (xml.name() != u"Relationship")
            continue;
        const QStringView target = xml.attribute(u"Target");
        if (xml.attribute(u"Id") == sheetId)
            names.sheet = partName(target);
        else if (xml.attribute(u"Type").endsWith(u"/sharedStrings"))
            names.sharedStrings = partName(target);
    }
    names.error = xml.error();
    return names;
}

QString readSharedStrings(const QByteArray& part, QStringList& strings) {
    PartReader xml(part, QStringLiteral("sharedStrings.xml"));
    while (xml.nextStart())
        if (xml.name() == u"si")
            strings << xml.stringItem();
    return xml.error();
}

} // namespace

WorkbookSheet readFirstSheet(QByteArrayView bytes) {
    WorkbookSheet sheet;
    const QString workbookName = QStringLiteral("xl/workbook.xml");
    const QString relsName = QStringLiteral("xl/_rels/workbook.xml.rels");
    Parts first = readParts(bytes, {workbookName, relsName});
    if (!first.error.isEmpty()) {
        sheet.error = first.error;
        return sheet;
    }
    if (!first.found.contains(workbookName)) {
        sheet.error = QStringLiteral("Excel のブック（.xlsx）ではありません");
        return sheet;
    }
    const SheetNames names = sheetNames(first.found[workbookName], first.found[relsName]);
    if (!names.error.isEmpty()) {
        sheet.error = names.error;
        return sheet;
    }
    Parts second = readParts(bytes, {names.sheet, names.sharedStrings});
    if (!second.error.isEmpty()) {
        sheet.error = second.error;
        return sheet;
    }
    if (!second.found.contains(names.sheet)) {
        sheet.error = damaged(QStringLiteral("%1 がありません").arg(names.sheet));
        return sheet;
    }
    QStringList shared;
    if (const QString e = readSharedStrings(second.found[names.sharedStrings], shared);
        !e.isEmpty()) {
        sheet.error = e;
        return sheet;
    }

    PartReader xml(second.found[names.sheet], QStringLiteral("sheet"));
    qint64 cells = 0;
    qint64 characters = 0;
    int lastRow = 0;
    Record* record = nullptr;
    int nextColumn = 0;
    while (xml.nextStart()) {
        if (xml.name() == u"row") {
            // Rows without a number follow the one before.
            bool ok = false;
            const int r = xml.attribute(u"r").toInt(&ok);
            if (ok && r <= lastRow) {
                xml.fail(QStringLiteral("行 %1 の順序が違います").arg(r));
                break;
            }
            lastRow = ok ? r : lastRow + 1;
            sheet.records.push_back(Record{{}, lastRow});
            sheet.numbers.emplace_back();
            record = &sheet.records.back();
            nextColumn = 0;
            continue;
        }
        if (xml.name() != u"c" || !record)
            continue;
        const QStringView ref = xml.attribute(u"r");
        const int column = ref.isEmpty() ? nextColumn : columnOfReference(ref);
        if (column < 0 || column < nextColumn) {
            xml.fail(QStringLiteral("セル %1 の位置が違います").arg(ref));
            break;
        }
        if (column >= MaxWorkbookColumns) {
            sheet.error =
                QStringLiteral("ブックの列が多すぎます（%1列まで）").arg(MaxWorkbookColumns);
            return sheet;
        }
        cells += column + 1 - nextColumn;
        if (cells > MaxWorkbookCells) {
            sheet.error =
                QStringLiteral("ブックのセルが多すぎます（%1個まで）").arg(MaxWorkbookCells);
            return sheet;
        }
        nextColumn = column + 1;
        const QString type = xml.attribute(u"t").toString();
        QString value;
        bool inlineText = false;
        const int cellLevel = xml.level();
        while (xml.level() >= cellLevel) {
            const QXmlStreamReader::TokenType t = xml.next();
            if (t == QXmlStreamReader::Invalid)
                break;
            if (t != QXmlStreamReader::StartElement || xml.level() != cellLevel + 1)
                continue;
            if (xml.name() == u"v") {
                value = xml.elementText();
            } else if (xml.name() == u"is") {
                value = xml.stringItem();
                inlineText = true;
            }
        }
        if (type == u"s") {
            bool ok = false;
            const qsizetype i = value.toLongLong(&ok);
            if (!ok || i < 0 || i >= shared.size()) {
                xml.fail(QStringLiteral("共有文字列 %1 がありません").arg(value));
                break;
            }
            value = shared[i];
        } else if (type == u"b") {
            value = value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        } else if (!inlineText && (type.isEmpty() || type == u"n") && !value.isEmpty()) {
            sheet.numbers.back().push_back(column);
        }
        // One long shared string used by every cell would make a small part
        // into a vast sheet.
        characters += value.size();
        if (characters > MaxWorkbookPartBytes) {
            sheet.error = tooLarge();
            return sheet;
        }
        while (record->fields.size() < column)
            record->fields << QString();
        record->fields << value;
    }
    if (const QString e = xml.error(); !e.isEmpty()) {
        sheet.records.clear();
        sheet.numbers.clear();
        sheet.error = e;
    }
    return sheet;
}

} // namespace yubin::labels
