#include "data_prep/record_lines.h"

#include "data_prep/nationwide_split.h"
#include "foundation/data_file.h"
#include "foundation/postal_record.h"
#include "foundation/text.h"

#include <QStringDecoder>

namespace yubin {

namespace {

ColumnRanges columnRangesOf(QByteArrayView line) {
    ColumnRanges ranges;
    const qsizetype size = line.size();
    qsizetype i = 0;
    while (true) {
        ColumnRange r;
        if (i < size && line[i] == '"') {
            // A quoted column runs to the quote that is not doubled.
            r.from = ++i;
            while (i < size && !(line[i] == '"' && (i + 1 >= size || line[i + 1] != '"')))
                i += line[i] == '"' ? 2 : 1;
            r.to = std::min(i, size);
            while (i < size && line[i] != ',')
                ++i;
        } else {
            r.from = i;
            while (i < size && line[i] != ',')
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

constexpr int CodeColumn = AddressColumn::PostalCode;
constexpr int TownReadingColumn = AddressColumn::TownReading;
constexpr int TownColumn = AddressColumn::Town;

// Full-width "（" less full-width "）" in code page 932 bytes.
int parenthesisBalance(QByteArrayView bytes) {
    int balance = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (!text::isCp932LeadByte(b))
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

// The line without the blanks at its ends: U+0020 and U+3000 (E3 80 80).
QByteArrayView trimUtf8Blanks(QByteArrayView line) {
    while (true) {
        if (line.startsWith(' '))
            line = line.sliced(1);
        else if (line.startsWith("\xE3\x80\x80"))
            line = line.sliced(3);
        else if (line.endsWith(' '))
            line.chop(1);
        else if (line.endsWith("\xE3\x80\x80"))
            line.chop(3);
        else
            return line;
    }
}

} // namespace

Utf8Conversion convertUtf8AddressFile(QByteArrayView file) {
    Utf8Conversion result;
    if (file.startsWith("\xEF\xBB\xBF"))
        file = file.sliced(3);
    // Encoded straight from the UTF-8 bytes into the result. No byte takes
    // more than two in code page 932: a character never takes more bytes
    // than in UTF-8, a byte that is no UTF-8 becomes 〓 (two), and a bare LF
    // becomes CR LF.
    result.bytes.resize(2 * file.size() + 2);
    char* out = result.bytes.data();
    qsizetype n = 0;
    const int geta = text::cp932Code(GetaMark);
    const auto putCode = [&](int code) {
        if (code > 0xFF)
            out[n++] = char(code >> 8);
        out[n++] = char(code & 0xFF);
    };
    // Writes UTF-8 bytes in code page 932, each character the code page
    // lacks (or each byte that is no UTF-8) as 〓; false when there was any.
    const auto putUtf8 = [&](QByteArrayView part) {
        bool whole = true;
        const auto* p = reinterpret_cast<const unsigned char*>(part.data());
        const qsizetype size = part.size();
        for (qsizetype i = 0; i < size;) {
            const unsigned char b = p[i];
            if (b < 0x80) {
                out[n++] = char(b);
                ++i;
                continue;
            }
            const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
            char32_t c = length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
            bool valid = length != 0 && i + length <= size;
            for (int k = 1; valid && k < length; ++k) {
                valid = (p[i + k] & 0xC0) == 0x80;
                c = (c << 6) | (p[i + k] & 0x3F);
            }
            const int code = valid ? text::cp932Code(c) : -1;
            if (code < 0) {
                whole = false;
                putCode(geta);
            } else {
                putCode(code);
            }
            i += valid ? length : 1;
        }
        return whole;
    };
    // The same for text, a pair of surrogates as one character.
    const auto putText = [&](QStringView part) {
        bool whole = true;
        for (qsizetype i = 0; i < part.size(); ++i) {
            const char16_t c = part[i].unicode();
            const int code = text::cp932Code(c);
            if (code < 0) {
                whole = false;
                if (QChar::isHighSurrogate(c) && i + 1 < part.size() &&
                    QChar::isLowSurrogate(part[i + 1].unicode()))
                    ++i;
                putCode(geta);
            } else {
                putCode(code);
            }
        }
        return whole;
    };
    QString reading;
    forEachLine(file, [&](QByteArrayView raw) {
        const QByteArrayView line = trimUtf8Blanks(raw);
        if (line.isEmpty())
            return;
        // The readings are the only columns whose form differs; the
        // columns around them are taken as they are.
        const ColumnRanges ranges = columnRanges(line);
        bool whole = true;
        if (ranges.size() >= TownReadingColumn) {
            const qsizetype from = ranges[3].from;
            const qsizetype to = ranges[TownReadingColumn - 1].to;
            reading.clear();
            text::appendKatakanaToHalfWidth(QString::fromUtf8(line.sliced(from, to - from)),
                                            reading);
            whole = putUtf8(line.first(from));
            whole = putText(reading) && whole;
            whole = putUtf8(line.sliced(to)) && whole;
        } else {
            whole = putUtf8(line);
        }
        out[n++] = '\r';
        out[n++] = '\n';
        if (!whole) {
            const QByteArrayView code = columnBytes(line, ranges, CodeColumn);
            // As it is, a byte order mark inside it included.
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                          QStringDecoder::Flag::ConvertInitialBom);
            result.unencodable.push_back({QString::fromUtf8(code), utf8.decode(line)});
        }
    });
    result.bytes.resize(n);
    return result;
}

bool isUtf8FormName(const QString& fileName) {
    return fileName.startsWith(QLatin1StringView("utf_"), Qt::CaseInsensitive);
}

} // namespace yubin
