#pragma once

// A postcard run: every row of an address list goes through the same row
// check as the labels (its postal code against its address), and the rows
// that pass, or that the user keeps, become cards. The window and
// `yubin-cli postcards` drive the same steps.

#include "labels/label_run.h"
#include "postcards/card_layout.h"

#include <array>
#include <memory>

namespace yubin::postcards {

struct PostcardOptions {
    CardOptions card;
    bool keepUnresolved = false; // print rows in error too, with the code as given
};

// The texts of a row's card, from its fields and its check. A card sets the
// title and the joint names apart from the name, each in its own place.
CardText cardText(const labels::AddressList& list, const labels::Record& row,
                  const labels::RowResult& check);

struct CardRow {
    labels::RowResult check; // with the card's own warnings added
    ComposedCard card;
};

class PostcardChecker {
public:
    PostcardChecker(const labels::AddressList& list, const DataFolder& data,
                    const PostcardOptions& options);
    CardRow check(const labels::Record& row);
    CardComposer& composer() { return cardComposer; }

private:
    const labels::AddressList& list;
    labels::RowChecker rowChecker;
    CardComposer cardComposer;
};

// The printed rows' cards, in list order.
std::vector<ComposedCard> printedCards(const std::vector<CardRow>& rows);
std::vector<labels::RowResult> rowChecks(const std::vector<CardRow>& rows);

// "印刷 11 枚、警告 2 件、エラー 1 件、除外 1 件／全 12 行"
QString cardCountsLine(const std::vector<CardRow>& rows);

} // namespace yubin::postcards
