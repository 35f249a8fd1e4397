#include "data_prep/record_lines.h"

#include "data_prep/nationwide_split.h"
#include "foundation/data_file.h"
#include "foundation/text.h"

namespace yubin {

namespace {

template <typename View> ColumnRanges columnRangesOf(View line) {
    ColumnRanges ranges;
    const qsizetype size = line.size();
    qsizetype i = 0;
    while (true) {
        ColumnRange r;
        if (i < size && line[i] == u'"') {
            // A quoted column runs to the quote that is not doubled.
            r.from = ++i;
            while (i < size && !(line[i] == u'"' && (i + 1 >= size || line[i + 1] != u'"')))
                i += line[i] == u'"' ? 2 : 1;
            r.to = std::min(i, size);
            while (i < size && line[i] != u',')
                ++i;
        } else {
            r.from = i;
            while (i < size && line[i] != u',')
                ++i;
            r.to = i;
        }
        ranges.append(r);
        if (i >= size)
            return ranges;
        ++i; // the comma
    }
}

} // namespace

ColumnRanges columnRanges(QByteArrayView line) {
    return columnRangesOf(line);
}

QByteArrayView columnBytes(QByteArrayView line, const ColumnRanges& ranges, int n) {
    if (n < 1 || n > ranges.size())
        return {};
    const ColumnRange& r = ranges[n - 1];
    return line.sliced(r.from, r.size());
}

namespace {

constexpr int CodeColumn = 3;
constexpr int TownReadingColumn = 6;
constexpr int TownColumn = 9;

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Full-width "（" less full-width "）" in code page 932 bytes.
int parenthesisBalance(QByteArrayView bytes) {
    int balance = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (!isLeadByte(b))
            continue;
        if (i + 1 < bytes.size() && b == 0x81) {
            const auto t = static_cast<unsigned char>(bytes[i + 1]);
            if (t == 0x69)
                ++balance;
            else if (t == 0x6A)
                --balance;
        }
        ++i;
    }
    return balance;
}

// Two lines of one record: the same local public body code, postal code,
// prefecture and municipality (columns 1 to 5, 7 and 8).
bool sameRecord(QByteArrayView a, const ColumnRanges& ra, QByteArrayView b,
                const ColumnRanges& rb) {
    for (int n : {1, 2, 3, 4, 5, 7, 8})
        if (columnBytes(a, ra, n) != columnBytes(b, rb, n))
            return false;
    return true;
}

} // namespace

int SplitRecordJoiner::add(QByteArrayView line, QByteArray& out) {
    const ColumnRanges ranges = columnRanges(line);
    int emitted = 0;
    if (!pending.isEmpty()) {
        const ColumnRanges pendingRanges = columnRanges(pending);
        if (ranges.size() >= TownColumn && sameRecord(pending, pendingRanges, line, ranges)) {
            join(line);
            if (openParentheses <= 0)
                emitted += finish(out);
            return emitted;
        }
        emitted += finish(out);
    }
    const int balance =
        ranges.size() >= TownColumn ? parenthesisBalance(columnBytes(line, ranges, TownColumn)) : 0;
    if (balance > 0) {
        pending = line.toByteArray();
        lastReadingPart = columnBytes(line, ranges, TownReadingColumn).toByteArray();
        openParentheses = balance;
        return emitted;
    }
    out.append(line);
    out.append("\r\n", 2);
    return emitted + 1;
}

void SplitRecordJoiner::join(QByteArrayView line) {
    const ColumnRanges ranges = columnRanges(line);
    const QByteArrayView town = columnBytes(line, ranges, TownColumn);
    const QByteArrayView reading = columnBytes(line, ranges, TownReadingColumn);
    const ColumnRanges pendingRanges = columnRanges(pending);
    // The town first, as it lies after the reading in the line.
    pending.insert(pendingRanges[TownColumn - 1].to, town);
    if (reading != lastReadingPart)
        pending.insert(pendingRanges[TownReadingColumn - 1].to, reading);
    lastReadingPart = reading.toByteArray();
    openParentheses += parenthesisBalance(town);
    ++joined;
}

int SplitRecordJoiner::finish(QByteArray& out) {
    if (pending.isEmpty())
        return 0;
    out.append(pending);
    out.append("\r\n", 2);
    pending.clear();
    lastReadingPart.clear();
    openParentheses = 0;
    return 1;
}

QByteArray joinSplitRecords(QByteArrayView file, qint64* joinedLines) {
    QByteArray out;
    out.reserve(file.size() + 2);
    SplitRecordJoiner joiner;
    QString decoded;
    forEachLine(file, [&](QByteArrayView raw) {
        text::decodeCp932(raw, decoded);
        const QStringView trimmed = text::trimBlanks(decoded);
        if (trimmed.isEmpty())
            return;
        joiner.add(trimBlankBytes(raw, decoded), out);
    });
    joiner.finish(out);
    if (joinedLines)
        *joinedLines = joiner.joinedLines();
    return out;
}

namespace {

constexpr char16_t GetaMark = 0x3013; // 〓

// The line in code page 932, each character the code page lacks as 〓 (a
// pair of surrogates as one). False when there was any.
bool encodeKeeping(QStringView line, QByteArray& out) {
    bool ok = true;
    out = text::encodeCp932(line, &ok);
    if (ok)
        return true;
    QString kept;
    kept.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c.isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate()) {
            kept += QChar(GetaMark);
            ++i;
        } else {
            kept += text::cp932Code(c.unicode()) < 0 ? QChar(GetaMark) : c;
        }
    }
    out = text::encodeCp932(kept);
    return false;
}

} // namespace

Utf8Conversion convertUtf8AddressFile(QByteArrayView file) {
    Utf8Conversion result;
    if (file.startsWith("\xEF\xBB\xBF"))
        file = file.sliced(3);
    // Decoded once as a whole: far cheaper than line by line.
    const QString text = QString::fromUtf8(file);
    result.bytes.reserve(file.size());
    QByteArray encoded;
    QString converted;
    forEachLine(QStringView(text), [&](QStringView raw) {
        const QStringView line = text::trimBlanks(raw);
        if (line.isEmpty())
            return;
        // The readings are the only columns whose form differs; the
        // columns around them are taken as they are.
        const ColumnRanges ranges = columnRangesOf(line);
        if (ranges.size() >= TownReadingColumn) {
            const qsizetype from = ranges[3].from;
            const qsizetype to = ranges[TownReadingColumn - 1].to;
            converted.clear();
            converted += line.first(from);
            text::appendKatakanaToHalfWidth(line.sliced(from, to - from), converted);
            converted += line.sliced(to);
        } else {
            converted = line.toString();
        }
        if (!encodeKeeping(converted, encoded)) {
            const ColumnRange code =
                ranges.size() >= CodeColumn ? ranges[CodeColumn - 1] : ColumnRange{};
            result.unencodable.push_back(
                {line.sliced(code.from, code.size()).toString(), line.toString()});
        }
        result.bytes.append(encoded);
        result.bytes.append("\r\n", 2);
    });
    return result;
}

bool isUtf8FormName(const QString& fileName) {
    return fileName.startsWith(QLatin1StringView("utf_"), Qt::CaseInsensitive);
}

} // namespace yubin
