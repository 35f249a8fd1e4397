#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace yubin {

struct Prefecture {
    const char* code;      // two digits, "01" to "47"
    const char* name;      // kanji, as in the data's prefecture column
    const char* splitFile; // file name the nationwide split writes
};

inline constexpr int PrefectureCount = 47;

// The 47 prefectures in the order of their two-digit codes.
const std::array<Prefecture, PrefectureCount>& prefectureTable();

// The shared table of 51 names: index 0 "事業所" (business offices), 1 to 47
// the prefectures in code order, 48 to 50 empty.
QStringList makePrefectureNames();

inline const QString BusinessOfficeName = QStringLiteral("事業所");

// "01" for 1, "47" for 47: the rightmost two characters of "00" + index.
QString prefectureCode(int index);

// Index 1 to 47 for a two-digit code or a kanji prefecture name; 0 when
// the text names no prefecture.
int prefectureIndex(const QString& codeOrName);

} // namespace yubin
