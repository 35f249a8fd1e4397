#include "postcards/postcards_cli.h"

#include "postcards/card_painter.h"
#include "postcards/postcard_run.h"
#include "postcards/postcard_settings.h"

namespace yubin {

int runPostcardsVerb(const CliRequest& request) {
    using namespace postcards;
    QTextStream& err = *request.err;
    PostcardOptions options;
    QString problem;
    const std::optional<Paper> paper =
        parsePaper(request.value(QStringLiteral("paper"), QStringLiteral("postcard")), &problem);
    if (!paper)
        return usageError(request, problem);
    options.card.paper = *paper;
    options.card.writing =
        request.has(QStringLiteral("horizontal")) ? Writing::Horizontal : Writing::Vertical;
    const QString numerals = request.value(QStringLiteral("numerals"), QStringLiteral("digits"));
    if (numerals != u"digits" && numerals != u"kanji")
        return usageError(
            request,
            QStringLiteral("漢数字は digits（一二〇三）か kanji（千二百三）です（--numerals）"));
    options.card.numerals =
        numerals == u"kanji" ? text::KanjiNumerals::WithPlaces : text::KanjiNumerals::DigitByDigit;
    options.card.sender.name = request.value(QStringLiteral("sender-name"));
    options.card.sender.address = request.value(QStringLiteral("sender-address"));
    if (const QString code = request.value(QStringLiteral("sender-code")); !code.isEmpty()) {
        const std::optional<QString> digits = labels::givenPostalCode(code);
        if (!digits || digits->size() != 7 || code.size() < 7)
            return usageError(
                request,
                QStringLiteral("差出人の郵便番号は 7 桁の数字です（--sender-code）：%1").arg(code));
        options.card.sender.postalCode = *digits;
    }
    if (request.values.contains(QStringLiteral("offset"))) {
        const std::optional<QPointF> offset = parseOffset(request.value(QStringLiteral("offset")));
        if (!offset)
            return usageError(
                request,
                QStringLiteral("オフセットは 右,下 の mm で、それぞれ ±20 までです（--offset）"));
        options.card.offsetMm = *offset;
    }
    options.card.barcode = request.has(QStringLiteral("barcode"));
    options.card.drawBoxes = request.has(QStringLiteral("draw-boxes"));
    options.keepUnresolved = request.has(QStringLiteral("keep-unresolved"));
    const QString pdfPath = request.value(QStringLiteral("pdf"));
    const QString reportPath = request.value(QStringLiteral("report"));
    const QString input = request.positional.value(0);

    if (request.has(QStringLiteral("calibration"))) {
        if (pdfPath.isEmpty())
            return usageError(request, QStringLiteral("位置合わせのページには --pdf が要ります"));
        CardComposer composer(options.card);
        QByteArray pdf;
        if (const QString e = calibrationPdf(pdf, composer); !e.isEmpty()) {
            err << QStringLiteral("yubin-cli: ") << e << '\n';
            return ExitCode::NothingFound;
        }
        if (const QString e = labels::saveOutputs(input, pdfPath, pdf, QString(), {});
            !e.isEmpty()) {
            err << QStringLiteral("yubin-cli: ") << e << '\n';
            return ExitCode::NothingFound;
        }
        return ExitCode::Ok;
    }

    if (input.isEmpty())
        return usageError(request, QStringLiteral("宛名リストのファイルを指定してください"));
    const labels::AddressList list = labels::readAddressList(input);
    if (!list.error.isEmpty()) {
        err << QStringLiteral("yubin-cli: ") << list.error << '\n';
        return ExitCode::NothingFound;
    }
    PostcardChecker checker(list, request.data, options);
    std::vector<CardRow> rows;
    rows.reserve(list.rows.size());
    for (const labels::Record& row : list.rows)
        rows.push_back(checker.check(row));

    QByteArray pdf;
    if (!pdfPath.isEmpty()) {
        const std::vector<ComposedCard> cards = printedCards(rows);
        if (const QString e = cardsPdf(pdf, cards, checker.composer()); !e.isEmpty()) {
            err << QStringLiteral("yubin-cli: ") << e << '\n';
            return ExitCode::NothingFound;
        }
    }
    const QByteArray report =
        reportPath.isEmpty() ? QByteArray() : labels::reportCsv(list, rowChecks(rows));
    if (const QString e = labels::saveOutputs(input, pdfPath, pdf, reportPath, report);
        !e.isEmpty()) {
        err << QStringLiteral("yubin-cli: ") << e << '\n';
        return ExitCode::NothingFound;
    }
    *request.out << cardCountsLine(rows) << '\n';
    bool clean = true;
    for (const CardRow& r : rows)
        clean = clean && r.check.status == labels::RowStatus::Ok;
    return clean ? ExitCode::Ok : ExitCode::NothingFound;
}

} // namespace yubin
