#include "postcards/postcard_run.h"

#include "foundation/text.h"

namespace yubin::postcards {

namespace {

// The row check composes a label as well; on a label this wide nothing is
// ever cut, so the only warnings are the row's own.
labels::LabelOptions checkOptions(const PostcardOptions& options) {
    labels::LabelOptions o;
    o.layout.key = QStringLiteral("postcard");
    o.layout.columns = 1;
    o.layout.rows = 1;
    o.layout.widthMm = 190;
    o.layout.heightMm = 120;
    o.layout.hPitchMm = 190;
    o.layout.vPitchMm = 120;
    o.codeSize = 2;
    o.skipUnresolved = !options.keepUnresolved;
    return o;
}

} // namespace

CardText cardText(const labels::AddressList& list, const labels::Record& row,
                  const labels::RowResult& check) {
    using labels::Column;
    const auto f = [&](Column c) {
        QString v = list.field(row, c);
        v.replace(u'\n', u' ');
        return v;
    };
    CardText t;
    t.postalCode = check.status == labels::RowStatus::Error
                       ? labels::givenPostalCode(f(Column::PostalCode)).value_or(QString())
                       : check.postalCode;
    t.address = text::joinNonEmpty(
        {f(Column::Address), f(Column::Address1), f(Column::Address2), f(Column::Address3)}, u' ');
    t.building = f(Column::Building);
    const QString name = list.personName(row);
    const QString honorific = f(Column::Honorific);
    // As on the labels: 様 for a person, 御中 for a company addressed as a
    // whole, which then stands where the name would.
    if (!name.isEmpty()) {
        t.name = name;
        t.honorific = honorific.isEmpty() ? QStringLiteral("様") : honorific;
        t.company = f(Column::Company);
        t.department = f(Column::Department);
        t.title = list.part(row, labels::Part::Title);
        for (labels::Part joint :
             {labels::Part::Joint1, labels::Part::Joint2, labels::Part::Joint3})
            if (const QString v = list.part(row, joint); !v.isEmpty())
                t.jointNames << v;
    } else {
        t.name = text::joinNonEmpty({f(Column::Company), f(Column::Department)}, u'\u3000');
        if (!t.name.isEmpty())
            t.honorific = honorific.isEmpty() ? QStringLiteral("御中") : honorific;
    }
    if (check.withBarcode)
        t.barcode = check.label.barcode;
    return t;
}

PostcardChecker::PostcardChecker(const labels::AddressList& addressList, const DataFolder& data,
                                 const PostcardOptions& options)
    : list(addressList), rowChecker(addressList, data, checkOptions(options)),
      cardComposer(options.card) {}

CardRow PostcardChecker::check(const labels::Record& row) {
    CardRow out;
    out.check = rowChecker.check(row);
    // The label composed in passing is not needed once its bars are taken.
    const QString bars = out.check.label.barcode;
    out.check.label = {};
    out.check.label.barcode = bars;
    if (!out.check.printed)
        return out;
    out.card = cardComposer.compose(cardText(list, row, out.check));
    for (CardField cut : out.card.cut) {
        if (out.check.status == labels::RowStatus::Ok)
            out.check.status = labels::RowStatus::Warning;
        out.check.reasons << QStringLiteral("%1が%2に収まりません")
                                 .arg(cardFieldName(cut), cardComposer.options().paper.name);
    }
    return out;
}

std::vector<ComposedCard> printedCards(const std::vector<CardRow>& rows) {
    std::vector<ComposedCard> cards;
    for (const CardRow& r : rows)
        if (r.check.printed)
            cards.push_back(r.card);
    return cards;
}

std::vector<labels::RowResult> rowChecks(const std::vector<CardRow>& rows) {
    std::vector<labels::RowResult> out;
    out.reserve(rows.size());
    for (const CardRow& r : rows)
        out.push_back(r.check);
    return out;
}

QString cardCountsLine(const std::vector<CardRow>& rows) {
    int printed = 0, warned = 0, errors = 0, leftOut = 0;
    for (const CardRow& r : rows) {
        printed += r.check.printed;
        warned += r.check.status == labels::RowStatus::Warning;
        errors += r.check.status == labels::RowStatus::Error;
        leftOut += !r.check.printed;
    }
    return QStringLiteral("印刷 %1 枚、警告 %2 件、エラー %3 件、除外 %4 件／全 %5 行")
        .arg(printed)
        .arg(warned)
        .arg(errors)
        .arg(leftOut)
        .arg(rows.size());
}

} // namespace yubin::postcards
