#pragma once

// The first sheet of an .xlsx workbook, read as a CSV file is: one record a
// row of cells, strings shared or inline, numbers as the workbook stores
// them. Workbooks come from anywhere, so every size is bounded and a
// damaged or hostile one is refused with a reason.

#include "labels/address_list.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace yubin::labels {

// Bounds a workbook is read within: far above an address list's needs, far
// below what would exhaust the memory.
inline constexpr qint64 MaxWorkbookPartBytes = 64 << 20; // one XML part, unpacked
inline constexpr int MaxWorkbookColumns = 1000;
inline constexpr qint64 MaxWorkbookCells = 5'000'000;
inline constexpr int MaxWorkbookDepth = 64; // XML elements inside each other

struct WorkbookSheet {
    std::vector<Record> records; // each with its row number as its line
    // For each record, the 0-based fields whose cells held numbers.
    std::vector<std::vector<int>> numbers;
    QString error; // Japanese; set when the sheet cannot be read
};

// Whether the bytes are a ZIP archive, the container of an .xlsx workbook.
bool isWorkbook(QByteArrayView bytes);

// A reason for bytes that are a workbook of a kind not read here: one
// saved with a password, or the old .xls format (both are compound
// documents); nullopt for anything else.
std::optional<QString> workbookFormatProblem(QByteArrayView bytes);

WorkbookSheet readFirstSheet(QByteArrayView bytes);

} // namespace yubin::labels
