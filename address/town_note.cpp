#include "address/town_note.h"

#include "address/address_text.h"
#include "foundation/text.h"

namespace yubin::address {

namespace {

bool hasDigit(QStringView s) {
    return std::any_of(s.begin(), s.end(), text::isAsciiDigit);
}

// The words that give a number its place, longest first where one begins
// another (番地 before 番, 丁目 before 丁).
struct UnitWord {
    QStringView word;
    Level level;
};
constexpr UnitWord NoteUnits[] = {
    {u"丁目", Level::Chome}, {u"番地", Level::Banchi},  {u"番", Level::Banchi},
    {u"号", Level::Go},      {u"地割", Level::Chiwari}, {u"条", Level::Jo},
    {u"線", Level::Sen},     {u"区", Level::Ku},        {u"階", Level::Floor},
};
constexpr UnitWord AddressUnits[] = {
    {u"丁目", Level::Chome}, {u"丁", Level::Chome}, {u"番地", Level::Banchi},
    {u"番", Level::Banchi},  {u"号", Level::Go},    {u"地割", Level::Chiwari},
    {u"条", Level::Jo},      {u"線", Level::Sen},   {u"区", Level::Ku},
    {u"階", Level::Floor},   {u"F", Level::Floor},
};

template <std::size_t N>
std::optional<Level> unitAt(QStringView s, qsizetype& at, const UnitWord (&units)[N]) {
    for (const UnitWord& u : units) {
        if (s.sliced(at).startsWith(u.word)) {
            at += u.word.size();
            return u.level;
        }
    }
    return std::nullopt;
}

std::optional<int> numberAt(QStringView s, qsizetype& at) {
    qsizetype end = at;
    while (end < s.size() && text::isAsciiDigit(s[end]) && end - at < 6)
        ++end;
    if (end == at)
        return std::nullopt;
    const int value = s.sliced(at, end - at).toInt();
    at = end;
    return value;
}

// 13-4 or 13ノ4: a number and its sub-numbers.
std::vector<int> pathAt(QStringView s, qsizetype& at) {
    std::vector<int> path;
    while (const std::optional<int> n = numberAt(s, at)) {
        path.push_back(*n);
        if (at + 1 < s.size() && (s[at] == u'-' || s[at] == u'ノ') && text::isAsciiDigit(s[at + 1]))
            ++at;
        else
            break;
    }
    return path;
}

// Kyoto writes where a house stands by its street and the way from the
// crossing: 上る (north), 下る (south), 東入, 西入, in either kana.
constexpr QStringView Directions[] = {u"上る", u"下る", u"上ル", u"下ル", u"東入", u"西入"};

bool namesStreet(QStringView s) {
    return std::any_of(std::begin(Directions), std::end(Directions),
                       [&](QStringView d) { return s.contains(d); });
}

// A street as it is compared: る and ル after a direction dropped, as both
// are written and 入る is written 入.
QString streetKey(QStringView folded) {
    QString out;
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const QChar c = folded[i];
        if ((c == u'る' || c == u'ル') && i > 0 &&
            (folded[i - 1] == u'上' || folded[i - 1] == u'下' || folded[i - 1] == u'入'))
            continue;
        out += c;
    }
    return out;
}

// The top-level parts of a note: split at 、 and ・ and 及び outside 「」.
std::vector<QString> splitItems(QStringView s) {
    std::vector<QString> items;
    QString current;
    int depth = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'「')
            ++depth;
        else if (c == u'」')
            depth = std::max(0, depth - 1);
        if (depth == 0 && (c == u'、' || c == u'・' || s.sliced(i).startsWith(u"及び"))) {
            items.push_back(current);
            current.clear();
            if (c == u'及')
                ++i;
            continue;
        }
        current += c;
    }
    items.push_back(current);
    return items;
}

struct ParsedItem {
    NoteItem item;
    std::vector<bool> unitGiven; // per condition
};

std::vector<NoteItem> parseItems(QStringView s);

ParsedItem parseItem(QStringView raw) {
    ParsedItem p;
    NoteItem& item = p.item;
    if (namesStreet(raw)) {
        item.street = true;
        item.name = streetKey(raw);
        return p;
    }
    // The main part, then 「…」 parts: what is left out (「…を除く」, 「…」以外)
    // or a name that only says more (「古町」).
    const qsizetype open = raw.indexOf(u'「');
    const QStringView main = open < 0 ? raw : raw.left(open);
    if (open >= 0) {
        QStringView rest = raw.sliced(open);
        while (rest.startsWith(u'「')) {
            const qsizetype close = rest.indexOf(u'」');
            if (close < 0) {
                item.unreadable = true;
                return p;
            }
            QStringView inner = rest.sliced(1, close - 1);
            rest = rest.sliced(close + 1);
            bool excluded = false;
            if (inner.endsWith(u"を除く")) {
                inner.chop(3);
                excluded = true;
            } else if (rest.startsWith(u"以外")) {
                rest = rest.sliced(2);
                excluded = true;
            }
            if (excluded)
                for (NoteItem& e : parseItems(inner))
                    item.except.push_back(std::move(e));
            else if (hasDigit(inner))
                item.unreadable = true; // a range's ends refined: not read
        }
        if (!rest.isEmpty())
            item.unreadable = true;
    }

    qsizetype at = 0;
    while (at < main.size() && !text::isAsciiDigit(main[at]) &&
           !(main[at] == u'第' && at + 1 < main.size() && text::isAsciiDigit(main[at + 1])))
        ++at;
    const QStringView name = main.left(at);
    while (at < main.size()) {
        if (main[at] == u'第')
            ++at;
        NoteCondition c;
        c.range.from = pathAt(main, at);
        if (c.range.from.empty())
            break;
        std::optional<Level> unit = unitAt(main, at, NoteUnits);
        c.range.to = c.range.from;
        if (at < main.size() && main[at] == u'~') {
            ++at;
            if (at < main.size() && main[at] == u'第')
                ++at;
            std::vector<int> to = pathAt(main, at);
            if (to.empty()) {
                item.unreadable = true;
                break;
            }
            // 1-1~5 runs from 1-1 to 1-5.
            if (to.size() < c.range.from.size())
                to.insert(to.begin(), c.range.from.begin(),
                          c.range.from.begin() + qsizetype(c.range.from.size() - to.size()));
            c.range.to = to;
            if (const std::optional<Level> second = unitAt(main, at, NoteUnits))
                unit = second;
        }
        if (main.sliced(at).startsWith(u"以上")) {
            c.range.to.clear();
            at += 2;
        } else if (main.sliced(at).startsWith(u"以下")) {
            c.range.from.clear();
            at += 2;
        }
        c.level = unit.value_or(Level::Banchi);
        p.unitGiven.push_back(unit.has_value());
        item.conditions.push_back(c);
    }
    if (at < main.size() || (item.conditions.empty() && !name.isEmpty())) {
        // 北1号沢, 1丁目本通り: a name with numbers in it, not numbers.
        item.conditions.clear();
        p.unitGiven.clear();
        if (hasDigit(main.sliced(std::min(at, main.size()))))
            item.unreadable = true;
        item.name = main.toString();
        return p;
    }
    item.name = name.toString();
    if (item.name.isEmpty() && item.conditions.empty() && item.except.empty())
        item.unreadable = true;
    return p;
}

// Items of one list: a number without its word takes the word of the next
// number that has one (４、５丁目), and a lone number after 「３丁目５」 stays
// within that 丁目 (３丁目５、１３－４、２０番地).
std::vector<NoteItem> parseItems(QStringView s) {
    std::vector<ParsedItem> parsed;
    for (const QString& part : splitItems(s))
        parsed.push_back(parseItem(part));
    for (size_t i = 0; i < parsed.size(); ++i) {
        ParsedItem& p = parsed[i];
        if (p.unitGiven.empty() || p.unitGiven.back())
            continue;
        for (size_t j = i + 1; j < parsed.size(); ++j) {
            const ParsedItem& next = parsed[j];
            if (next.unitGiven.empty() || !next.item.name.isEmpty())
                break;
            if (next.unitGiven.back()) {
                p.item.conditions.back().level = next.item.conditions.back().level;
                break;
            }
        }
    }
    std::vector<NoteItem> items;
    for (size_t i = 0; i < parsed.size(); ++i) {
        NoteItem item = std::move(parsed[i].item);
        if (i > 0 && item.name.isEmpty() && item.conditions.size() == 1 && !items.back().street) {
            const NoteItem& before = items.back();
            if (before.conditions.size() > 1 &&
                before.conditions.back().level == item.conditions.front().level) {
                item.conditions.insert(item.conditions.begin(), before.conditions.begin(),
                                       before.conditions.end() - 1);
                item.name = before.name;
            } else if (!before.name.isEmpty() && !before.conditions.empty() &&
                       before.conditions.back().level == item.conditions.front().level) {
                item.name = before.name; // 北原１番地、２番地
            }
        }
        // What is left out lies within the part: 「３を除く」 of ２丁目 is
        // ２丁目３番地.
        for (NoteItem& e : item.except) {
            std::vector<NoteCondition> within = item.conditions;
            if (!within.empty() && !e.conditions.empty() &&
                within.back().level == e.conditions.front().level)
                within.pop_back();
            e.conditions.insert(e.conditions.begin(), within.begin(), within.end());
            if (e.name.isEmpty())
                e.name = item.name;
        }
        items.push_back(std::move(item));
    }
    return items;
}

// Where a place's number stands in an address's run of numbers: the number
// written with its word, else the number its position gives.
std::optional<size_t> locate(const std::vector<AddressFacts::Number>& numbers, Level level,
                             std::optional<size_t> after) {
    const size_t start = after ? *after + 1 : 0;
    for (size_t k = start; k < numbers.size(); ++k)
        if (numbers[k].unit == level)
            return k;
    if (start >= numbers.size() || numbers[start].unit)
        return std::nullopt;
    switch (level) {
    case Level::Chome:
        // 5-12-8: the first of several numbers; a lone 5 says nothing.
        return start == 0 && numbers.size() >= 2 ? std::optional<size_t>(0) : std::nullopt;
    case Level::Banchi:
    case Level::Go:
        return start;
    default:
        return std::nullopt;
    }
}

// -1, 0, 1 as a path compares with a range's end over the end's length;
// nullopt when the path is too short to tell.
std::optional<int> compareOver(const std::vector<int>& path, const std::vector<int>& end) {
    for (size_t i = 0; i < end.size(); ++i) {
        if (i >= path.size())
            return std::nullopt;
        if (path[i] != end[i])
            return path[i] < end[i] ? -1 : 1;
    }
    return 0;
}

Fit fitRange(const std::vector<int>& path, const NumberRange& r) {
    const std::optional<int> low =
        r.from.empty() ? std::optional<int>(1) : compareOver(path, r.from);
    const std::optional<int> high = r.to.empty() ? std::optional<int>(-1) : compareOver(path, r.to);
    if ((low && *low < 0) || (high && *high > 0))
        return Fit::No;
    return low && high ? Fit::Yes : Fit::Maybe;
}

struct NumberRun {
    std::vector<AddressFacts::Number> numbers;
    qsizetype end = 0;
};

// The run of numbers at `at`: 3丁目5番地, 5-12-8, 第3地割12, 13ノ4.
NumberRun numberRun(QStringView s, qsizetype at) {
    NumberRun run;
    while (at < s.size()) {
        qsizetype i = at;
        if (s[i] == u'第')
            ++i;
        const std::optional<int> n = numberAt(s, i);
        if (!n)
            break;
        AddressFacts::Number number;
        number.value = *n;
        number.unit = unitAt(s, i, AddressUnits);
        run.numbers.push_back(number);
        at = i;
        run.end = at;
        if (at + 1 < s.size() && (s[at] == u'-' || s[at] == u'ノ') && text::isAsciiDigit(s[at + 1]))
            ++at;
        else if (!number.unit || at >= s.size() || !(text::isAsciiDigit(s[at]) || s[at] == u'第'))
            break;
    }
    return run;
}

Fit fitItem(const NoteItem& item, const AddressFacts& facts);

Fit fitConditions(const NoteItem& item, const AddressFacts& facts) {
    QStringView text = facts.text;
    if (!item.name.isEmpty()) {
        if (text.isEmpty())
            return Fit::Maybe;
        qsizetype at = 0;
        if (!text.startsWith(item.name)) {
            // 南郷通1丁目南: a part named after the 丁目.
            const NumberRun lead = numberRun(text, 0);
            if (lead.numbers.size() != 1 || lead.numbers[0].unit != Level::Chome ||
                !text.sliced(lead.end).startsWith(item.name))
                return Fit::No;
            at = lead.end;
        }
        text = text.sliced(at + item.name.size());
    }
    if (item.conditions.empty())
        return Fit::Yes;
    const bool floorsOnly =
        std::all_of(item.conditions.begin(), item.conditions.end(),
                    [](const NoteCondition& c) { return c.level == Level::Floor; });
    if (text.isEmpty() && !floorsOnly)
        return Fit::Maybe;
    const NumberRun run = numberRun(text, 0);
    Fit fit = Fit::Yes;
    std::optional<size_t> last;
    for (const NoteCondition& c : item.conditions) {
        if (c.level == Level::Floor) {
            if (!facts.floor || facts.basement)
                return Fit::No;
            const Fit f = fitRange({*facts.floor}, c.range);
            if (f == Fit::No)
                return f;
            continue;
        }
        const std::optional<size_t> k = locate(run.numbers, c.level, last);
        if (!k) {
            fit = Fit::Maybe;
            continue;
        }
        std::vector<int> path;
        for (size_t j = *k; j < run.numbers.size(); ++j)
            path.push_back(run.numbers[j].value);
        const Fit f = fitRange(path, c.range);
        if (f == Fit::No)
            return f;
        if (f == Fit::Maybe)
            fit = Fit::Maybe;
        last = k;
    }
    return fit;
}

Fit fitItem(const NoteItem& item, const AddressFacts& facts) {
    if (item.unreadable)
        return Fit::Maybe;
    if (item.street) {
        if (facts.street.isEmpty())
            return Fit::Rest;
        const QString key = streetKey(facts.street);
        return key == item.name || (key.size() >= 3 && item.name.endsWith(key)) ? Fit::Yes
                                                                                : Fit::Rest;
    }
    Fit fit = fitConditions(item, facts);
    for (const NoteItem& e : item.except) {
        if (fit == Fit::No)
            break;
        const Fit out = fitItem(e, facts);
        if (out == Fit::Yes)
            fit = Fit::No;
        else if (out == Fit::Maybe)
            fit = Fit::Maybe;
    }
    return fit;
}

} // namespace

TownName splitTownName(QStringView town) {
    const qsizetype open = town.indexOf(u'（');
    if (open < 0)
        return {town.toString(), QString()};
    // A building written with its part, 名駅ミッドランドスクエア（高層棟）（１階）:
    // the last parentheses hold the note that tells the records apart.
    const qsizetype lastOpen = town.lastIndexOf(u'（');
    QStringView note = town.sliced(lastOpen + 1);
    if (note.endsWith(u'）'))
        note.chop(1);
    return {town.left(open).toString(), note.toString()};
}

bool TownNote::isFloor() const {
    return kind == Kind::Items && items.size() == 1 && items[0].conditions.size() == 1 &&
           items[0].conditions[0].level == Level::Floor;
}

TownNote parseTownNote(QStringView rawNote) {
    TownNote note;
    const QString raw = text::trimmed(text::toHalfWidthAscii(rawNote));
    QString s = folded(raw);
    s.replace(u'〜', u'~');
    // 〔…〕 says what a place is, not where.
    for (qsizetype open; (open = s.indexOf(u'〔')) >= 0;) {
        const qsizetype close = s.indexOf(u'〕', open);
        s.remove(open, close < 0 ? s.size() - open : close - open + 1);
    }
    using Kind = TownNote::Kind;
    if (s.isEmpty())
        return note;
    if (raw == u"地階・階層不明") {
        note.kind = Kind::FloorUnknown;
    } else if (raw == u"次のビルを除く") {
        note.kind = Kind::ExceptBuildings;
    } else if (raw == u"その他" || raw == u"大字" || raw.endsWith(u"を含む")) {
        note.kind = Kind::Others;
    } else if (raw == u"丁目") {
        note.kind = Kind::AnyChome;
    } else if (raw == u"番地") {
        note.kind = Kind::Banchi;
    } else {
        note.kind = Kind::Items;
        note.items = parseItems(s);
        if (std::all_of(note.items.begin(), note.items.end(),
                        [](const NoteItem& i) { return i.unreadable; }))
            note.kind = Kind::Unreadable;
    }
    return note;
}

AddressFacts readAddressFacts(QStringView b, QStringView street) {
    AddressFacts facts;
    facts.text = b.toString();
    facts.street = street.toString();
    const NumberRun run = numberRun(b, 0);
    facts.numbers = run.numbers;
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (!text::isAsciiDigit(b[i]))
            continue;
        qsizetype end = i;
        const std::optional<int> n = numberAt(b, end);
        if (end < b.size() && (b[end] == u'階' || b[end] == u'F') && !facts.floor &&
            !facts.basement) {
            if (i > 0 && (b[i - 1] == u'B' || b[i - 1] == u'下'))
                facts.basement = true;
            else
                facts.floor = n;
        }
        i = end - 1;
    }
    facts.basement = facts.basement || b.contains(u"地階") || b.contains(u"地下");
    if (facts.basement)
        facts.floor.reset(); // 地下2階 is no second floor
    return facts;
}

Fit noteFit(const TownNote& note, const AddressFacts& facts) {
    using Kind = TownNote::Kind;
    const auto& n = facts.numbers;
    const bool chomeWritten =
        std::any_of(n.begin(), n.end(), [](const auto& x) { return x.unit == Level::Chome; });
    switch (note.kind) {
    case Kind::None:
        return Fit::Yes;
    case Kind::ExceptBuildings:
    case Kind::Others:
        return Fit::Rest;
    case Kind::FloorUnknown:
        return facts.basement ? Fit::Yes : Fit::Rest;
    case Kind::Unreadable:
        return Fit::Maybe;
    case Kind::AnyChome:
        if (chomeWritten || n.size() >= 3)
            return Fit::Yes;
        return n.size() == 2 || n.empty() ? Fit::Maybe : Fit::No;
    case Kind::Banchi:
        if (chomeWritten || n.size() >= 3)
            return Fit::No;
        if (n.empty() || (n.size() == 2 && !n[0].unit))
            return Fit::Maybe;
        return Fit::Yes;
    case Kind::Items:
        break;
    }
    Fit best = Fit::No;
    for (const NoteItem& item : note.items)
        best = std::max(best, fitItem(item, facts));
    return best;
}

} // namespace yubin::address
