#pragma once

// Generated postal data of the size and shape of the published files.

#include <QByteArray>
#include <QString>

namespace yubin::bench {

// An address file of one prefecture in the published layout, code page 932:
// `lines` records in `municipalities` runs, readings in half-width katakana.
QByteArray prefectureFile(int prefectureIndex, int lines, int municipalities);

// A business-office file of `lines` records spread over the 47 prefectures,
// a fifth of them in Tokyo as in the published file.
QByteArray businessOfficeFile(int lines);

} // namespace yubin::bench
