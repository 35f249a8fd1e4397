#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace yubin {

// One comma-separated line of the postal data with 1-based field access.
// The readers pass the line with every request; the line is split only when
// it differs from the one held, so nine column requests cost one split.
//
// This is deliberately not an RFC 4180 parser: its quote rules are the ones
// the postal data files have always been read with (see splitLine), and the
// rebuilt line is not a faithful copy of a data line.
class Access_CSV {
public:
    // The default of every optional line argument: no new line is given.
    static const QString NullNothingString;

    Access_CSV();

    /// 操作対象となるCSV形式文字列データをセットします。
    void setCSV(const QString& WrkData);
    /// 操作対象となるCSV形式文字列データをセットします。
    QString CSV();

    /// [CSVData]でセットされている文字列から、任意の項目を取出し・修正する。
    QString Col(int ColNo, const QString& BaseStr = NullNothingString);
    /// [CSVData]でセットされている文字列から、任意の項目を取出し・修正する。
    void setCol(int ColNo, const QString& SetString, const QString& BaseStr = NullNothingString);

    /// [CSVData]でセットされている文字列の、項目数を取り出す。
    int MaxColNo(const QString& BaseStr = NullNothingString);
    /// [CSVData]でセットされている文字列の、項目数を取り出す。
    void setMaxColNo(int SetColNo, const QString& BaseStr = NullNothingString);

    // For readers that only read: splits the line and keeps its fields as
    // views. A line whose every field is plain (no double quote) or wholly
    // quoted with no quote inside, as every line of the postal data is, is
    // split without copying; any other line goes through the rules of Col.
    // Either way field(n) is what Col(n, line) would give, and fieldCount()
    // what MaxColNo(line) would (an empty line has one empty field). The
    // views last until the next readLine and no longer than the line.
    void readLine(QStringView line);
    QStringView field(int ColNo) const {
        return ColNo >= 1 && ColNo < qsizetype(Views.size()) ? Views[size_t(ColNo)] : QStringView();
    }
    int fieldCount() const { return int(Views.size()) - 1; }

    // Room for fields before the next growth step (100, 200, ...).
    int capacity() const { return int(Fields.size()) - 1; }

    // How many times a line was actually split; lets tests see the cache work.
    int splitCount() const { return splits; }

    enum class QuoteMode { Automatic = 0, Text = 1, Number = 2 };
    static QString QuoteField(const QString& text, QuoteMode mode);
    static bool isNumericText(const QString& text);

private:
    void applyBase(const QString& BaseStr);
    void splitLine(const QString& line);
    void ensureIndex(int index); // throws std::out_of_range past the capacity

    QString CurrentLine;
    std::vector<QString> Fields;    // index 0 holds no field
    std::vector<QStringView> Views; // readLine's fields; index 0 holds none
    int FieldCount = 0;
    int splits = 0;
};

} // namespace yubin
