#pragma once

// A label run: every row of an address list checked against the postal data,
// its label composed, the labels laid out on sheets from the chosen start
// position, and the sheets and the report written. The window and
// `yubin-cli labels` drive the same steps.

#include "address/resolver.h"
#include "labels/address_list.h"
#include "labels/label_painter.h"
#include "labels/sheet_layout.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QPagedPaintDevice;

namespace yubin::labels {

enum class RowStatus { Ok, Warning, Error };

// "ok", "warning", "error" as the report writes them.
QString statusKey(RowStatus status);
// "正常", "警告", "エラー" as the window shows them.
QString statusName(RowStatus status);

struct LabelOptions {
    SheetLayout layout = builtInLayouts()[0];
    int codeSize = 2;            // 1, 2, 3: 8, 10, 11.5 pt
    int start = 1;               // first label used on the first sheet, 1-based
    bool skipUnresolved = false; // leave rows in error out instead of printing them bare
    // Print the barcode of a municipality's 「以下に掲載がない場合」 code
    // even where the town was not recognised.
    bool allowCatchAll = false;
};

struct RowResult {
    int line = 0; // where the row starts in the file
    RowStatus status = RowStatus::Ok;
    QStringList reasons;   // Japanese
    QString postalCode;    // as resolved; empty when unresolved
    QString printedCode;   // on the label: the resolved code, or the given one of a row in error
    QString addressNumber; // as resolved
    bool printed = true;
    bool withBarcode = false;
    ComposedLabel label;
};

// A postal-code field as seven digits: as people write a code (text.h,
// readPostalCode), or a code a spreadsheet turned into a number (five or
// six digits) given back its leading zeros. nullopt when it is anything
// else.
std::optional<QString> givenPostalCode(QStringView field);

// Checks rows one at a time against the data folder and composes their
// labels for the options' layout and code size.
class RowChecker {
public:
    RowChecker(const AddressList& list, const DataFolder& data, const LabelOptions& options);
    RowResult check(const Record& row);
    LabelComposer& composer() { return labelComposer; }

private:
    const AddressList& list;
    LabelOptions options;
    address::AddressResolver resolver;
    LabelComposer labelComposer;
};

// Told of the progress of a long step; false from keepGoing stops it.
class RunProgress {
public:
    virtual ~RunProgress() = default;
    virtual bool keepGoing(int done, int total) = 0;
};

// The printed rows on their sheets, from the start position on.
std::vector<std::vector<SheetLabel>> arrangeSheets(const std::vector<RowResult>& results,
                                                   const LabelOptions& options);

// Paints the sheets on a paged device (a PDF writer, a printer), one page a
// sheet. "" when done; a Japanese message when the device fails or the
// progress stops it.
QString paintSheets(QPagedPaintDevice& device, const std::vector<std::vector<SheetLabel>>& sheets,
                    const LabelOptions& options, LabelComposer& composer,
                    RunProgress* progress = nullptr);

// The sheets as a PDF of A4 pages.
QString sheetsPdf(QByteArray& pdf, const std::vector<std::vector<SheetLabel>>& sheets,
                  const LabelOptions& options, LabelComposer& composer,
                  RunProgress* progress = nullptr);

// A whole run: every row checked and, when `pdf` is given, the sheets
// painted into it as they fill. The rows are checked on a second thread,
// so painting a sheet overlaps checking the next; the results are in row
// order. The error is "" when done, else Japanese.
struct CheckedRun {
    std::vector<RowResult> results;
    QString error;
};
CheckedRun checkAndPaint(const AddressList& list, const DataFolder& data,
                         const LabelOptions& options, QByteArray* pdf);

// The report: UTF-8 with a byte-order mark, CR LF, every field quoted; the
// list's unused columns, when any, in a first line ("# 使わない列：…"); the
// input's columns, then the line, the postal code found, the address
// number, the status and the reason.
QByteArray reportCsv(const AddressList& list, const std::vector<RowResult>& results);

// Writes the PDF and the report (either may be "") whole, never over the
// input file: both or neither. "" on success, else a Japanese message.
QString saveOutputs(const QString& inputPath, const QString& pdfPath, const QByteArray& pdf,
                    const QString& reportPath, const QByteArray& report);

struct RunCounts {
    int rows = 0;
    int printed = 0;
    int withoutBarcode = 0;
    int warned = 0;
    int errors = 0;
    int leftOut = 0;
    int sheets = 0;
};
RunCounts countRun(const std::vector<RowResult>& results, const LabelOptions& options);

// "印刷 11 件（バーコードなし 1 件）、警告 2 件、エラー 1 件、除外 0 件／全 12 行、1 シート"
QString countsLine(const RunCounts& counts);

} // namespace yubin::labels
