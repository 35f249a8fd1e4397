#include "labels/labels_cli.h"

#include "labels/label_run.h"

namespace yubin {

int runLabelsVerb(const CliRequest& request) {
    using namespace labels;
    QTextStream& err = *request.err;
    LabelOptions options;
    QString problem;
    const std::optional<SheetLayout> layout =
        parseLayout(request.value(QStringLiteral("layout"), QStringLiteral("12")), &problem);
    if (!layout)
        return usageError(request, problem);
    options.layout = *layout;
    const QString size =
        request.value(QStringLiteral("size"), QString::number(fittingCodeSize(options.layout)));
    if (size != u"1" && size != u"2" && size != u"3")
        return usageError(request, QStringLiteral("コードサイズは 1、2、3 のどれかです（--size）"));
    options.codeSize = size.toInt();
    if (const std::optional<QString> p = printProblem(options.layout, options.codeSize))
        return usageError(request, *p);
    bool startOk = true;
    options.start = request.value(QStringLiteral("start"), QStringLiteral("1")).toInt(&startOk);
    if (!startOk || options.start < 1 || options.start > options.layout.labelsPerSheet())
        return usageError(request, QStringLiteral("開始位置は 1～%1 です（--start）")
                                       .arg(options.layout.labelsPerSheet()));
    options.skipUnresolved = request.has(QStringLiteral("skip-unresolved"));
    options.allowCatchAll = request.has(QStringLiteral("allow-catch-all"));

    const QString input = request.positional[0];
    const AddressList list = readAddressList(input);
    if (!list.error.isEmpty()) {
        err << QStringLiteral("yubin-cli: ") << list.error << '\n';
        return ExitCode::NothingFound;
    }
    if (const QString note = list.unusedNote(); !note.isEmpty())
        err << QStringLiteral("yubin-cli: ") << note << '\n';
    const QString pdfPath = request.value(QStringLiteral("pdf"));
    const QString reportPath = request.value(QStringLiteral("report"));
    QByteArray pdf;
    const CheckedRun run =
        checkAndPaint(list, request.data, options, pdfPath.isEmpty() ? nullptr : &pdf);
    if (!run.error.isEmpty()) {
        err << QStringLiteral("yubin-cli: ") << run.error << '\n';
        return ExitCode::NothingFound;
    }
    const std::vector<RowResult>& results = run.results;
    const QByteArray report = reportPath.isEmpty() ? QByteArray() : reportCsv(list, results);
    if (const QString e = saveOutputs(input, pdfPath, pdf, reportPath, report); !e.isEmpty()) {
        err << QStringLiteral("yubin-cli: ") << e << '\n';
        return ExitCode::NothingFound;
    }
    const RunCounts counts = countRun(results, options);
    *request.out << countsLine(counts) << '\n';
    return counts.warned + counts.errors == 0 ? ExitCode::Ok : ExitCode::NothingFound;
}

} // namespace yubin
