#include "labels/label_run.h"

#include "barcode/barcode_code.h"
#include "foundation/access_csv.h"
#include "foundation/postal_code.h"
#include "foundation/postal_record.h"
#include "foundation/text.h"
#include "foundation/whole_files.h"
#include "labels/page_output.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace yubin::labels {

namespace {

const QString Sama = QStringLiteral("様");
const QString Onchu = QStringLiteral("御中");

} // namespace

QString statusKey(RowStatus status) {
    switch (status) {
    case RowStatus::Ok:
        return QStringLiteral("ok");
    case RowStatus::Warning:
        return QStringLiteral("warning");
    case RowStatus::Error:
        return QStringLiteral("error");
    }
    return {};
}

QString statusName(RowStatus status) {
    switch (status) {
    case RowStatus::Ok:
        return QStringLiteral("正常");
    case RowStatus::Warning:
        return QStringLiteral("警告");
    case RowStatus::Error:
        return QStringLiteral("エラー");
    }
    return {};
}

std::optional<QString> givenPostalCode(QStringView field) {
    if (std::optional<QString> code = text::readPostalCode(field))
        return code;
    // A spreadsheet reads 0600906 as the number 600906.
    const QString digits = text::toHalfWidthAscii(text::trimBlanks(field));
    if ((digits.size() == 5 || digits.size() == 6) &&
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return sevenDigitCode(digits);
    return std::nullopt;
}

RowChecker::RowChecker(const AddressList& addressList, const DataFolder& data,
                       const LabelOptions& labelOptions)
    : list(addressList), options(labelOptions), resolver(data),
      labelComposer(QSizeF(labelOptions.layout.widthMm, labelOptions.layout.heightMm),
                    labelOptions.codeSize) {}

RowResult RowChecker::check(const Record& row) {
    RowResult out;
    out.line = row.line;
    auto fail = [&](const QString& reason) {
        out.status = RowStatus::Error;
        out.reasons << reason;
    };
    auto warn = [&](const QString& reason) {
        if (out.status == RowStatus::Ok)
            out.status = RowStatus::Warning;
        out.reasons << reason;
    };

    qsizetype length = 0;
    for (const QString& f : row.fields)
        length += f.size();
    if (length > MaxRowLength) {
        fail(QStringLiteral("行が長すぎます（%1文字まで）").arg(MaxRowLength));
        out.printed = false;
        out.reasons.last() += QStringLiteral("（印刷していません）");
        return out;
    }

    const auto f = [&](Column c) {
        // A line break inside a field reads as a blank on a label.
        QString v = list.field(row, c);
        v.replace(u'\n', u' ');
        return v;
    };
    LabelText text;
    text.address = list.address(row).replace(u'\n', u' ');
    text.building = f(Column::Building);
    const QString company =
        text::joinNonEmpty({f(Column::Company), f(Column::Department)}, u'\u3000');
    const QString name = f(Column::Name);
    const QString honorific = f(Column::Honorific);
    // 様 for a person, 御中 for a company addressed as a whole, which then
    // stands where the name would; a given honorific wins either way.
    if (!name.isEmpty()) {
        text.name = name + u'\u3000' + (honorific.isEmpty() ? Sama : honorific);
        text.company = company;
    } else if (!company.isEmpty()) {
        text.name = company + u'\u3000' + (honorific.isEmpty() ? Onchu : honorific);
    }

    const QString givenField = f(Column::PostalCode);
    const std::optional<QString> given = givenPostalCode(givenField);
    if (text.address.isEmpty()) {
        fail(QStringLiteral("住所がありません"));
    } else {
        // The building goes with the address: its floor and room numbers
        // belong to the address number.
        const QString address = text::joinNonEmpty({text.address, text.building}, u' ');
        // A code that contradicts the address, an address that fits several
        // records, and a town not recognised all fail: a barcode would carry
        // a guess to what may be the wrong place.
        const address::Resolution r = resolver.resolve(given.value_or(QString()), address);
        out.postalCode = r.postalCode;
        out.addressNumber = r.addressNumber;
        if (!givenField.isEmpty() && !given)
            fail(QStringLiteral("郵便番号「%1」が7桁の数字ではありません").arg(givenField));
        if (!r.resolved()) {
            fail(r.failure);
        } else if (r.needsCheck && !options.allowCatchAll) {
            for (const QString& w : r.warnings)
                fail(w);
        } else {
            for (const QString& w : r.warnings)
                warn(w);
            if (givenField.isEmpty())
                warn(QStringLiteral("郵便番号がないため住所から求めました"));
        }
    }
    if (name.isEmpty() && company.isEmpty())
        warn(QStringLiteral("宛名（氏名・会社名）がありません"));

    if (out.status != RowStatus::Error) {
        if (const std::optional<barcode::Barcode> built =
                barcode::buildBarcode(out.postalCode, out.addressNumber)) {
            text.barcode = built->pattern;
            out.withBarcode = true;
        } else {
            fail(QStringLiteral("住所表示番号「%1」はバーコードにできません")
                     .arg(out.addressNumber));
        }
    }
    text.postalCode = out.status == RowStatus::Error ? given.value_or(QString()) : out.postalCode;
    out.printedCode = text.postalCode;
    if (out.status == RowStatus::Error) {
        out.printed = !options.skipUnresolved;
        out.reasons << (out.printed ? QStringLiteral("バーコードなしで印刷します")
                                    : QStringLiteral("印刷していません"));
    }
    out.label = labelComposer.compose(text);
    for (LabelField cut : out.label.cut)
        warn(QStringLiteral("%1がラベルに収まりません").arg(fieldName(cut)));
    return out;
}

std::vector<std::vector<SheetLabel>> arrangeSheets(const std::vector<RowResult>& results,
                                                   const LabelOptions& options) {
    std::vector<std::vector<SheetLabel>> sheets;
    const int perSheet = options.layout.labelsPerSheet();
    int position = options.start - 1;
    for (const RowResult& r : results) {
        if (!r.printed)
            continue;
        const std::size_t sheet = std::size_t(position / perSheet);
        if (sheets.size() <= sheet)
            sheets.resize(sheet + 1);
        sheets[sheet].push_back({position % perSheet, r.label});
        ++position;
    }
    return sheets;
}

QString paintSheets(QPagedPaintDevice& device, const std::vector<std::vector<SheetLabel>>& sheets,
                    const LabelOptions& options, LabelComposer& composer, RunProgress* progress) {
    return paintPages(device, int(sheets.size()), progress,
                      QStringLiteral("%1枚目のシートを始められません"),
                      [&](QPainter& painter, int i) {
                          paintSheet(painter, device, options.layout, options.codeSize, composer,
                                     sheets[size_t(i)]);
                      });
}

QString sheetsPdf(QByteArray& pdf, const std::vector<std::vector<SheetLabel>>& sheets,
                  const LabelOptions& options, LabelComposer& composer, RunProgress* progress) {
    return writePdf(pdf, QStringLiteral("宛名ラベル"), [&](QPdfWriter& writer) {
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        return paintSheets(writer, sheets, options, composer, progress);
    });
}

CheckedRun checkAndPaint(const AddressList& list, const DataFolder& data,
                         const LabelOptions& options, QByteArray* pdf) {
    CheckedRun run;
    run.results.resize(list.rows.size());
    if (!pdf) {
        RowChecker checker(list, data, options);
        for (std::size_t i = 0; i < list.rows.size(); ++i)
            run.results[i] = checker.check(list.rows[i]);
        return run;
    }
    // The painter's fonts are its own: each thread measures and paints with
    // fonts it made.
    LabelComposer paintFonts(QSizeF(options.layout.widthMm, options.layout.heightMm),
                             options.codeSize);
    std::mutex lock;
    std::condition_variable more;
    std::size_t checked = 0;
    std::thread checking([&] {
        RowChecker checker(list, data, options);
        for (std::size_t i = 0; i < list.rows.size(); ++i) {
            RowResult r = checker.check(list.rows[i]);
            const std::lock_guard held(lock);
            run.results[i] = std::move(r);
            checked = i + 1;
            more.notify_one();
        }
    });

    const QString failure = writePdf(*pdf, QStringLiteral("宛名ラベル"), [&](QPdfWriter& writer) {
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        const bool painting = painter.begin(&writer);
        QString error = painting ? QString() : QStringLiteral("印刷を始められません");
        const int perSheet = options.layout.labelsPerSheet();
        int position = options.start - 1;
        int sheetsDone = 0;
        std::vector<SheetLabel> sheet;
        const auto paint = [&] {
            if (!error.isEmpty())
                return;
            if (sheetsDone > 0 && !writer.newPage()) {
                error = QStringLiteral("%1枚目のシートを始められません").arg(sheetsDone + 1);
                return;
            }
            paintSheet(painter, writer, options.layout, options.codeSize, paintFonts, sheet);
            ++sheetsDone;
        };
        // Every row is waited for, painted or not: the check thread ends
        // before this returns.
        for (std::size_t i = 0; i < list.rows.size(); ++i) {
            {
                std::unique_lock waiting(lock);
                more.wait(waiting, [&] { return checked > i; });
            }
            const RowResult& r = run.results[i];
            if (!r.printed)
                continue;
            sheet.push_back({position % perSheet, r.label});
            if (++position % perSheet == 0) {
                paint();
                sheet.clear();
            }
        }
        if (!sheet.empty())
            paint();
        if (painting && !painter.end() && error.isEmpty())
            error = QStringLiteral("印刷を終えられません");
        return error;
    });
    checking.join();
    run.error = failure;
    return run;
}

QByteArray reportCsv(const AddressList& list, const std::vector<RowResult>& results) {
    qsizetype width = list.headings.size();
    for (const Record& r : list.rows)
        width = std::max(width, r.fields.size());
    QStringList headings = list.headings;
    if (!list.hasHeader)
        headings = {QStringLiteral("郵便番号"), QStringLiteral("住所"), QStringLiteral("氏名")};
    headings = headings.mid(0, width);
    while (headings.size() < width)
        headings << QStringLiteral("列%1").arg(headings.size() + 1);
    headings << QStringLiteral("行") << QStringLiteral("確認した郵便番号")
             << QStringLiteral("住所表示番号") << QStringLiteral("状態") << QStringLiteral("理由");

    QString out;
    auto line = [&](const QStringList& fields) {
        QStringList q;
        for (const QString& f : fields)
            q << Access_CSV::QuoteField(f, Access_CSV::QuoteMode::Text);
        out += q.join(u',') + QStringLiteral("\r\n");
    };
    if (const QString note = list.unusedNote(); !note.isEmpty())
        line({QStringLiteral("# ") + note});
    line(headings);
    for (std::size_t i = 0; i < results.size() && i < list.rows.size(); ++i) {
        const RowResult& r = results[i];
        QStringList fields = list.rows[i].fields;
        while (fields.size() < width)
            fields << QString();
        fields << QString::number(r.line) << postalCodeText(r.postalCode) << r.addressNumber
               << statusKey(r.status) << r.reasons.join(u'；');
        line(fields);
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

QString saveOutputs(const QString& inputPath, const QString& pdfPath, const QByteArray& pdf,
                    const QString& reportPath, const QByteArray& report) {
    const QString input = QFileInfo(inputPath).absoluteFilePath();
    for (const QString& path : {pdfPath, reportPath}) {
        if (path.isEmpty())
            continue;
        const QFileInfo out(path);
        if (out.absoluteFilePath() == input ||
            (out.exists() && out.canonicalFilePath() == QFileInfo(inputPath).canonicalFilePath()))
            return QStringLiteral("出力先が読み込んだファイルと同じです：%1").arg(path);
    }
    if (!pdfPath.isEmpty() && pdfPath == reportPath)
        return QStringLiteral("PDFと報告に同じファイルは使えません：%1").arg(pdfPath);
    StagedFiles files;
    for (const auto& [path, bytes] : {std::pair{pdfPath, &pdf}, std::pair{reportPath, &report}}) {
        if (path.isEmpty())
            continue;
        if (const QString error = files.add(path, *bytes); !error.isEmpty())
            return error;
    }
    return files.commit();
}

RunCounts countRun(const std::vector<RowResult>& results, const LabelOptions& options) {
    RunCounts c;
    c.rows = int(results.size());
    for (const RowResult& r : results) {
        c.printed += r.printed;
        c.withoutBarcode += r.printed && !r.withBarcode;
        c.warned += r.status == RowStatus::Warning;
        c.errors += r.status == RowStatus::Error;
        c.leftOut += !r.printed;
    }
    const int perSheet = options.layout.labelsPerSheet();
    c.sheets = c.printed == 0 ? 0 : (options.start - 1 + c.printed + perSheet - 1) / perSheet;
    return c;
}

QString countsLine(const RunCounts& c) {
    return QStringLiteral("印刷 %1 件（バーコードなし %2 件）、警告 %3 件、エラー %4 件、除外 %5 "
                          "件／全 %6 行、%7 シート")
        .arg(c.printed)
        .arg(c.withoutBarcode)
        .arg(c.warned)
        .arg(c.errors)
        .arg(c.leftOut)
        .arg(c.rows)
        .arg(c.sheets);
}

} // namespace yubin::labels
