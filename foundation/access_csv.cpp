#include "foundation/access_csv.h"

#include "foundation/text.h"

#include <QLocale>

#include <cmath>
#include <stdexcept>

namespace yubin {

namespace {
constexpr int GrowthStep = 100;
constexpr QChar Quote = u'"';
constexpr QChar Comma = u',';
} // namespace

const QString Access_CSV::NullNothingString = QStringLiteral("NullNothingString");

Access_CSV::Access_CSV() : Fields(GrowthStep + 1) {}

void Access_CSV::applyBase(const QString& BaseStr) {
    if (BaseStr != NullNothingString)
        splitLine(BaseStr);
}

void Access_CSV::ensureIndex(int index) {
    if (index < 0 || index > capacity())
        throw std::out_of_range("Access_CSV: column number beyond the field capacity");
}

void Access_CSV::setCSV(const QString& WrkData) {
    splitLine(WrkData);
}

QString Access_CSV::CSV() {
    // A count raised past the capacity (setMaxColNo, or a setCol that was
    // refused) names fields that do not exist.
    ensureIndex(std::max(FieldCount, 0));
    QString line;
    for (int i = 1; i <= FieldCount; ++i) {
        if (i > 1)
            line += Comma;
        line += QuoteField(Fields[i], QuoteMode::Automatic);
    }
    CurrentLine = line;
    return line;
}

QString Access_CSV::Col(int ColNo, const QString& BaseStr) {
    applyBase(BaseStr);
    if (ColNo < 1 || ColNo > FieldCount)
        return QString();
    ensureIndex(ColNo);
    return Fields[ColNo];
}

void Access_CSV::setCol(int ColNo, const QString& SetString, const QString& BaseStr) {
    applyBase(BaseStr);
    if (ColNo <= 0)
        return;
    if (ColNo > FieldCount) {
        setMaxColNo(ColNo);
        ensureIndex(ColNo);
        Fields[ColNo] = SetString;
        CurrentLine.clear();
        return;
    }
    ensureIndex(ColNo);
    if (Fields[ColNo] != SetString) {
        Fields[ColNo] = SetString;
        CurrentLine.clear();
    }
}

int Access_CSV::MaxColNo(const QString& BaseStr) {
    applyBase(BaseStr);
    return FieldCount;
}

void Access_CSV::setMaxColNo(int SetColNo, const QString& BaseStr) {
    applyBase(BaseStr);
    if (SetColNo < FieldCount) {
        // Fields past the capacity were never there to empty.
        for (int i = std::max(SetColNo + 1, 1); i <= std::min(FieldCount, capacity()); ++i)
            Fields[i].clear();
        CurrentLine.clear();
    }
    FieldCount = SetColNo;
}

// The split walks the line once. A double quote toggles "inside quotes"; a
// comma outside quotes ends a field. Once a field's text has been taken at
// its first quote or comma ("taken"), later characters are appended one by
// one, which swallows the second quote of a doubled pair and an opening
// quote that follows text. A trailing quote is dropped when the field is
// stored.
void Access_CSV::splitLine(const QString& line) {
    if (line == CurrentLine)
        return;
    ++splits;
    CurrentLine = line;

    int i = 1;
    qsizetype s = 1; // 1-based start of the current field, 0 = not yet begun
    QString t;
    bool outside = true;
    bool taken = false;
    // While taken, the characters from runStart on are still to be appended
    // to t; they are appended a run at a time rather than one by one.
    qsizetype runStart = 0;
    const QChar* chars = line.constData();

    auto flush = [&](qsizetype end) {
        if (taken && end > runStart)
            t.append(chars + runStart, end - runStart);
    };
    auto store = [&](qsizetype p) {
        QString& field = Fields[i];
        if (taken) {
            flush(p - 1);
            if (t.endsWith(Quote))
                t.chop(1);
            field = std::move(t);
            t = QString();
        } else if (s != 0) {
            field = line.mid(s - 1, p - s);
        } else {
            field.clear();
        }
    };

    const qsizetype length = line.size();
    for (qsizetype p = 1; p <= length; ++p) {
        const QChar c = chars[p - 1];
        if (c != Quote && c != Comma) {
            if (s == 0)
                s = p;
            continue; // appended with its run when taken
        }
        if (c == Quote)
            outside = !outside;
        if (c == Comma && outside) {
            store(p);
            ++i;
            if (i > capacity())
                Fields.resize(Fields.size() + GrowthStep);
            t.clear();
            s = 0;
            taken = false;
        }
        if (s == 0)
            s = p;
        if ((c == Quote && !outside) || (c == Comma && outside)) {
            if (!taken) {
                if (s == p && c == Comma) {
                    s = 0;
                } else {
                    taken = true;
                    t = line.mid(s - 1, p - s);
                    runStart = p; // the characters after this one
                }
            } else {
                flush(p - 1);
                runStart = p;
            }
        }
        // Any other quote or comma, taken or not, is an ordinary character
        // of the field and stays in the pending run.
    }
    store(length + 1);
    FieldCount = i;
}

void Access_CSV::readLine(QStringView line) {
    Views.assign(1, QStringView());
    const qsizetype n = line.size();
    qsizetype start = 0;
    while (true) {
        qsizetype end; // one past the field's last character
        if (start < n && line[start] == Quote) {
            const qsizetype close = line.indexOf(Quote, start + 1);
            // A quote that does not close the field right before a comma or
            // the end needs the full rules.
            if (close < 0 || (close + 1 < n && line[close + 1] != Comma))
                break;
            Views.push_back(line.sliced(start + 1, close - start - 1));
            end = close + 1;
        } else {
            end = start;
            while (end < n && line[end] != Comma && line[end] != Quote)
                ++end;
            if (end < n && line[end] == Quote)
                break;
            Views.push_back(line.sliced(start, end - start));
        }
        if (end == n)
            return;
        start = end + 1; // past the comma; a comma at the end leaves an empty field
    }
    splitLine(line.toString());
    Views.assign(1, QStringView());
    for (int i = 1; i <= FieldCount; ++i)
        Views.push_back(Fields[size_t(i)]);
}

bool Access_CSV::isNumericText(const QString& text) {
    // Decimal digits with optional surrounding blanks, a sign, digit
    // grouping, a decimal point and an exponent.
    const QString s = text.trimmed();
    qsizetype i = 0;
    const qsizetype n = s.size();
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    int digits = 0;
    while (i < n && (text::isAsciiDigit(s[i]) || s[i] == u',')) {
        if (s[i] != u',')
            ++digits;
        else if (digits == 0)
            return false;
        ++i;
    }
    if (i < n && s[i] == u'.') {
        ++i;
        while (i < n && text::isAsciiDigit(s[i])) {
            ++digits;
            ++i;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        if (i < n && (s[i] == u'+' || s[i] == u'-'))
            ++i;
        int expDigits = 0;
        while (i < n && text::isAsciiDigit(s[i])) {
            ++expDigits;
            ++i;
        }
        if (expDigits == 0)
            return false;
    }
    return i == n;
}

QString Access_CSV::QuoteField(const QString& text, QuoteMode mode) {
    if (mode == QuoteMode::Automatic)
        mode = isNumericText(text) ? QuoteMode::Number : QuoteMode::Text;
    if (mode == QuoteMode::Text) {
        QString escaped = text;
        escaped.replace(Quote, QStringLiteral("\"\""));
        return Quote + escaped + Quote;
    }
    if (!isNumericText(text))
        return QString();
    QString plain = text.trimmed();
    plain.remove(Comma);
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value))
        return QString();
    // The general number format: up to 15 significant digits, the exponent
    // written as E+nn / E-nn.
    QString out = QString::number(value, 'g', 15);
    out.replace(u'e', u'E');
    return out;
}

} // namespace yubin
