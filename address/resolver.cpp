#include "address/resolver.h"

#include "address/address_number.h"
#include "address/address_text.h"
#include "address/town_note.h"
#include "data_prep/change_log.h"
#include "foundation/access_csv.h"
#include "foundation/data_file.h"
#include "foundation/postal_code.h"
#include "foundation/postal_record.h"
#include "foundation/prefectures.h"
#include "foundation/text.h"

#include <QSet>

namespace yubin::address {

struct AddressResolver::Town {
    std::array<char, 7> code{}; // the postal code's digits: a nationwide table is held
    QString name;               // with its note
    TownNote note;
    QString foldedBase;
    // A building with codes of its own floors: its name after the name of
    // the town it stands in, folded.
    QString building;
    bool catchAll = false;
    bool wholeArea = false; // 〜一円: the municipality as a whole
    QString postalCode() const { return QString::fromLatin1(code.data(), qsizetype(code.size())); }
};

struct AddressResolver::Municipality {
    int prefecture = 0;
    QString name;
    std::vector<Town> towns;
    QHash<QChar, std::vector<int>> byFirst;       // towns to match, by first folded character
    QHash<QString, std::vector<int>> buildingsOf; // a town's buildings' floor records
};

struct AddressResolver::Prefecture {
    bool missing = false;
    std::vector<Municipality> municipalities;
    QHash<QString, std::vector<int>> byFolded; // also without 郡, and a ward without its city
    int longest = 0;
};

struct AddressResolver::Office {
    QString foldedName;
    QString name;
    QString foldedTown;
    QString block;
    QString postalCode;
};

namespace {

// The keys a municipality is found by: its name, and for a town or village
// of a district (郡) also the name without the district, as addresses are
// often written.
QStringList municipalityKeys(const QString& name) {
    QStringList keys{folded(name)};
    if (const qsizetype gun = name.indexOf(u'郡'); gun > 0 && gun + 1 < name.size())
        keys.append(folded(QStringView(name).sliced(gun + 1)));
    // A ward of a designated city, written without the city: 中央区銀座.
    if (const qsizetype city = name.indexOf(u'市');
        city > 0 && city + 2 < name.size() && name.endsWith(u'区'))
        keys.append(folded(QStringView(name).sliced(city + 1)));
    return keys;
}

const std::array<QString, 48>& foldedPrefectureNames() {
    static const std::array<QString, 48> names = [] {
        std::array<QString, 48> n;
        for (int i = 1; i <= PrefectureCount; ++i)
            n[size_t(i)] = folded(QString::fromUtf8(prefectureTable()[size_t(i - 1)].name));
        return n;
    }();
    return names;
}

// The names as written without 都, 府 or 県: 岩手花巻市, 東京千代田区.
const std::array<QString, 48>& shortPrefectureNames() {
    static const std::array<QString, 48> names = [] {
        std::array<QString, 48> n;
        for (int i = 1; i <= PrefectureCount; ++i) {
            const QString& full = foldedPrefectureNames()[size_t(i)];
            n[size_t(i)] = full.endsWith(u'都') || full.endsWith(u'府') || full.endsWith(u'県')
                               ? full.chopped(1)
                               : full;
        }
        return n;
    }();
    return names;
}

QString prefectureName(int index) {
    return QString::fromUtf8(prefectureTable()[size_t(index - 1)].name);
}

const QString NoTown = QStringLiteral("町域がないため「以下に掲載がない場合」の郵便番号です");
const QString UnlistedTown =
    QStringLiteral("町域が見つからないため「以下に掲載がない場合」の郵便番号です");
const QString UnrecognisedTown = UnlistedTown + QStringLiteral("（要確認）");

// The 1-based column of a data line as bytes, without its quotes. Code page
// 932 has no quote or comma among its trail bytes, so the bytes can be cut
// as they are, without decoding the line.
QByteArrayView byteColumn(QByteArrayView line, int column) {
    int field = 1;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] == '"') {
            quoted = !quoted;
        } else if (i == line.size() || (line[i] == ',' && !quoted)) {
            if (field == column) {
                QByteArrayView raw = line.sliced(start, i - start).trimmed();
                if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
                    raw = raw.sliced(1, raw.size() - 2);
                return raw;
            }
            ++field;
            start = i + 1;
        }
    }
    return {};
}

// Column 8 of every line, each distinct run once: the municipality names of
// a file without decoding all of it.
QStringList municipalityColumn(const QByteArray& bytes) {
    QStringList names;
    QByteArrayView last;
    QSet<QByteArray> seen;
    forEachLine(QByteArrayView(bytes), [&](QByteArrayView line) {
        const QByteArrayView raw = byteColumn(line, AddressColumn::Municipality);
        if (raw.isEmpty() || raw == last)
            return;
        last = raw;
        if (seen.contains(raw.toByteArray()))
            return;
        seen.insert(raw.toByteArray());
        names.append(text::decodeCp932(raw));
    });
    return names;
}

struct TownMatch {
    int town = -1;
    qsizetype end = 0; // in the folded address
};

// The town whose name without its note the address continues with at
// `pos`, the longest one; a 大字, 小字 or 字 before it is passed over.
TownMatch matchTown(const AddressResolver::Municipality& m, const FoldedText& folding,
                    QStringView input, qsizetype pos) {
    const QStringView f = folding.text;
    // 北1条 is no match for 北11条: a town may not end inside a number.
    // Digits of one kanji run share their origin; two arabic digits stand
    // side by side in the input.
    auto insideNumber = [&](qsizetype end) {
        if (end >= f.size() || !text::isAsciiDigit(f[end]) || !text::isAsciiDigit(f[end - 1]))
            return false;
        const qsizetype a = folding.origin[size_t(end - 1)], b = folding.origin[size_t(end)];
        return a == b || (b == a + 1 && input[a].isDigit() && input[b].isDigit());
    };
    std::vector<qsizetype> starts{pos};
    for (QStringView mark : {u"大字", u"小字", u"字"})
        if (f.sliced(pos).startsWith(mark))
            starts.push_back(pos + mark.size());
    TownMatch best;
    for (qsizetype s : starts) {
        if (s >= f.size())
            continue;
        const auto found = m.byFirst.constFind(f[s]);
        if (found == m.byFirst.cend())
            continue;
        for (int t : *found) {
            const QString& base = m.towns[size_t(t)].foldedBase;
            const qsizetype end = s + base.size();
            if (end <= best.end || !f.sliced(s).startsWith(base) || insideNumber(end))
                continue;
            best = {t, end};
        }
    }
    return best;
}

// The end of each Kyoto direction (上る, 下ル, 東入, 西入る...) after pos.
std::vector<qsizetype> directionEnds(QStringView f, qsizetype pos) {
    std::vector<qsizetype> ends;
    for (qsizetype i = pos; i + 1 < f.size(); ++i) {
        const QStringView two = f.sliced(i, 2);
        if (two == u"上る" || two == u"下る" || two == u"上ル" || two == u"下ル") {
            ends.push_back(i + 2);
        } else if (two == u"東入" || two == u"西入") {
            qsizetype end = i + 2;
            if (end < f.size() && (f[end] == u'る' || f[end] == u'ル'))
                ++end;
            ends.push_back(end);
        }
    }
    return ends;
}

// The text with 大字, 小字 and 字 after `from` left out, keeping each
// character's place in the input.
FoldedText withoutAza(const FoldedText& in, qsizetype from) {
    FoldedText out;
    for (qsizetype i = 0; i < in.text.size(); ++i) {
        if (i >= from) {
            const QStringView rest = QStringView(in.text).sliced(i);
            if (rest.startsWith(u"大字") || rest.startsWith(u"小字")) {
                ++i;
                continue;
            }
            if (rest.startsWith(u"字"))
                continue;
        }
        out.text.append(in.text[i]);
        out.origin.push_back(in.origin[size_t(i)]);
    }
    out.origin.push_back(in.origin.back());
    return out;
}

QString candidatesText(const std::vector<Candidate>& candidates) {
    QStringList parts;
    for (const Candidate& c : candidates) {
        if (parts.size() == 10) {
            parts.append(QStringLiteral("ほか%1件").arg(candidates.size() - 10));
            break;
        }
        parts.append(c.record + QStringLiteral("（") + postalCodeText(c.postalCode) +
                     QStringLiteral("）"));
    }
    return parts.join(u'、');
}

} // namespace

AddressResolver::AddressResolver(DataFolder folder)
    : data(std::move(folder)), fileNames(data.prefectureFileNames()) {}

AddressResolver::~AddressResolver() = default;

AddressResolver::Prefecture& AddressResolver::prefecture(int index) {
    auto& slot = prefectures[size_t(index)];
    if (slot)
        return *slot;
    slot = std::make_unique<Prefecture>();
    Prefecture& p = *slot;
    const QString file = fileNames.value(index);
    // Read as every other reader reads a data file (code page 932, or UTF-8
    // where the file is valid UTF-8).
    const std::optional<QString> decoded =
        file.isEmpty() ? std::nullopt : readDecodedFile(data.path() + file);
    if (!decoded) {
        p.missing = true;
        return p;
    }
    Access_CSV csv;
    QHash<QString, int> byName;
    // A municipality's lines come together, so the name is looked up only
    // when it changes.
    QString lastCity;
    int lastIndex = -1;
    forEachLine(QStringView(*decoded), [&](QStringView rawLine) {
        const QStringView line = text::trimBlanks(rawLine);
        if (!isRecordLine(line))
            return;
        csv.readLine(line);
        const QStringView city = csv.field(AddressColumn::Municipality);
        if (lastIndex < 0 || city != lastCity) {
            lastCity = city.toString();
            auto found = byName.find(lastCity);
            if (found == byName.end()) {
                found = byName.insert(lastCity, int(p.municipalities.size()));
                p.municipalities.push_back({index, lastCity, {}, {}, {}});
            }
            lastIndex = *found;
        }
        Town town;
        const QString code = sevenDigitCode(csv.field(AddressColumn::PostalCode));
        for (size_t i = 0; i < town.code.size(); ++i)
            town.code[i] = char(code[qsizetype(i)].toLatin1());
        town.name = csv.field(AddressColumn::Town).toString();
        town.catchAll = town.name == CatchAllTown;
        town.wholeArea = town.name.endsWith(WholeAreaEnding) && town.name != WholeAreaEnding;
        const TownName split = splitTownName(town.name);
        town.note = parseTownNote(split.note);
        // Most names fold to themselves: the text is then shared.
        const QString base = split.note.isEmpty() ? town.name : split.base;
        town.foldedBase = folded(base);
        if (town.foldedBase == base)
            town.foldedBase = base;
        p.municipalities[size_t(lastIndex)].towns.push_back(std::move(town));
    });
    for (size_t m = 0; m < p.municipalities.size(); ++m) {
        Municipality& city = p.municipalities[m];
        // A building's floors are told apart within the town it stands in:
        // 霞が関霞が関ビル（１２階） is 霞が関ビル of 霞が関.
        QSet<QString> plain;
        for (const Town& t : city.towns)
            if (!t.note.isFloor() && t.note.kind != TownNote::Kind::FloorUnknown)
                plain.insert(t.foldedBase);
        for (Town& t : city.towns) {
            if (!t.note.isFloor() && t.note.kind != TownNote::Kind::FloorUnknown)
                continue;
            for (qsizetype len = t.foldedBase.size() - 1; len > 0; --len) {
                if (plain.contains(t.foldedBase.left(len))) {
                    t.building = t.foldedBase.sliced(len);
                    break;
                }
            }
        }
        for (size_t t = 0; t < city.towns.size(); ++t) {
            const Town& town = city.towns[t];
            if (town.catchAll)
                continue;
            if (!town.building.isEmpty())
                city.buildingsOf[town.foldedBase.chopped(town.building.size())].push_back(int(t));
            else if (!town.wholeArea && !town.foldedBase.isEmpty())
                city.byFirst[town.foldedBase.front()].push_back(int(t));
        }
        for (const QString& key : municipalityKeys(city.name)) {
            p.byFolded[key].push_back(int(m));
            p.longest = std::max(p.longest, int(key.size()));
        }
    }
    return p;
}

void AddressResolver::indexAllMunicipalities() {
    allIndexed = true;
    for (int i = 1; i <= PrefectureCount; ++i) {
        QStringList names;
        if (prefectures[size_t(i)]) {
            for (const Municipality& m : prefectures[size_t(i)]->municipalities)
                names.append(m.name);
        } else if (!fileNames.value(i).isEmpty()) {
            if (const auto bytes = readFileBytes(data.path() + fileNames.value(i)))
                names = municipalityColumn(*bytes);
        }
        for (const QString& name : names) {
            for (const QString& key : municipalityKeys(name)) {
                auto& list = municipalityIndex[key];
                if (std::find(list.begin(), list.end(), std::pair{i, name}) == list.end())
                    list.emplace_back(i, name);
                longestMunicipality = std::max(longestMunicipality, int(key.size()));
            }
        }
    }
}

const std::vector<std::pair<int, QString>>*
AddressResolver::municipalitiesNamed(const QString& key) {
    const auto found = municipalityIndex.constFind(key);
    return found == municipalityIndex.cend() ? nullptr : &*found;
}

const std::vector<AddressResolver::Office>& AddressResolver::officesOf(int pref,
                                                                       const QString& city) {
    const QString key = QString::number(pref) + u'|' + city;
    if (const auto found = offices.constFind(key); found != offices.cend())
        return *found;
    if (!officeBytes) {
        // The file is read once and its lines grouped by their municipality
        // column, undecoded; a municipality's lines are decoded when an
        // address there first asks. Neither a comma nor a quote is ever the
        // second byte of a code page 932 character, so the bytes split as
        // the text would.
        officeBytes = readFileBytes(data.businessOfficeFilePath()).value_or(QByteArray());
        forEachLine(QByteArrayView(*officeBytes), [&](QByteArrayView raw) {
            if (const QByteArrayView column = byteColumn(raw, OfficeColumn::Municipality);
                !column.isEmpty())
                officeLines[column.toByteArray()].push_back(raw);
        });
    }
    std::vector<Office>& list = offices[key];
    const auto lines = officeLines.constFind(text::encodeCp932(city));
    if (lines == officeLines.cend())
        return list;
    Access_CSV csv;
    for (const QByteArrayView raw : *lines) {
        const QString line = text::trimmed(text::decodeCp932(raw));
        if (!isRecordLine(line) ||
            prefectureIndex(csv.Col(OfficeColumn::Prefecture, line)) != pref ||
            csv.Col(OfficeColumn::Municipality, line) != city)
            continue;
        const QString name = csv.Col(OfficeColumn::Name, line);
        list.push_back({folded(name), name, folded(csv.Col(OfficeColumn::Town, line)),
                        csv.Col(OfficeColumn::Block, line),
                        sevenDigitCode(csv.Col(OfficeColumn::PostalCode, line))});
    }
    return list;
}

QString certaintyKey(Certainty certainty) {
    switch (certainty) {
    case Certainty::None:
        return QStringLiteral("none");
    case Certainty::Exact:
        return QStringLiteral("exact");
    case Certainty::Office:
        return QStringLiteral("office");
    case Certainty::CatchAll:
        return QStringLiteral("catch-all");
    case Certainty::Ambiguous:
        return QStringLiteral("ambiguous");
    }
    return {};
}

Resolution AddressResolver::resolve(QStringView input) {
    // A code written before the address counts as given with it.
    if (const std::optional<text::PostalCodeFound> code = text::readLeadingPostalCode(input))
        return resolve(code->code, input.sliced(code->end));
    return resolve(QStringView(), input);
}

Resolution AddressResolver::resolve(QStringView codeText, QStringView input) {
    const QStringView trimmedCode = text::trimBlanks(codeText);
    std::optional<QString> code;
    if (!trimmedCode.isEmpty()) {
        code = text::readPostalCode(trimmedCode);
        if (!code) {
            Resolution r;
            r.failure = QStringLiteral("郵便番号「%1」が7桁の数字ではありません")
                            .arg(trimmedCode.toString());
            return r;
        }
    }
    lastMunicipality = nullptr;
    Resolution r = resolveText(input);
    if (code) {
        applyGivenCode(r, *code);
        noteAbolishedCode(r, *code);
    }
    return r;
}

// A given code that is not the one used, and that the monthly updates
// abolished, is most likely an old list's: say what became of it, in the
// words of the code search.
void AddressResolver::noteAbolishedCode(Resolution& r, const QString& code) {
    if (r.postalCode == code)
        return;
    if (!changeLog)
        changeLog = readChangeLog(data);
    const QString note = abolishedCodeNote(*changeLog, code);
    if (note.isEmpty())
        return;
    const QString said = QStringLiteral("入力の郵便番号%1は%2").arg(code, note);
    if (r.failure.isEmpty())
        r.warnings.append(said);
    else
        r.failure += u'。' + said;
}

void AddressResolver::applyGivenCode(Resolution& r, const QString& code) {
    const auto mismatch = [&](const QString& found) {
        r.failure =
            QStringLiteral("入力の郵便番号%1は住所の郵便番号%2と異なります").arg(code, found);
        r.candidates = {{found, r.record}};
        r.postalCode.clear();
        r.record.clear();
    };
    const auto take = [&](const Candidate& c) {
        r.postalCode = code;
        r.record = c.record;
        r.failure.clear();
        r.certainty = Certainty::Exact;
    };
    switch (r.certainty) {
    case Certainty::None:
        return;
    case Certainty::Exact:
    case Certainty::Office:
        if (r.postalCode != code) {
            // The code of an office at the address is as right as the
            // town's: a company's own code with its street address.
            if (lastMunicipality) {
                for (const Office& o :
                     officesOf(lastMunicipality->prefecture, lastMunicipality->name)) {
                    if (o.postalCode == code &&
                        (r.addressA.isEmpty() || folded(r.addressA).endsWith(o.foldedTown))) {
                        r.postalCode = code;
                        r.addressNumber.clear();
                        r.certainty = Certainty::Office;
                        r.record = prefectureName(lastMunicipality->prefecture) +
                                   lastMunicipality->name + o.block + u' ' + o.name;
                        r.warnings.append(
                            QStringLiteral("大口事業所「%1」の個別番号です").arg(o.name));
                        return;
                    }
                }
            }
            mismatch(r.postalCode);
        }
        return;
    case Certainty::Ambiguous:
        for (const Candidate& c : r.candidates) {
            if (c.postalCode == code) {
                take(c);
                return;
            }
        }
        return;
    case Certainty::CatchAll:
        if (r.postalCode == code) {
            // The writer meant the catch-all: nothing left to check.
            if (r.needsCheck)
                r.warnings.replaceInStrings(UnrecognisedTown, UnlistedTown);
            r.needsCheck = false;
            return;
        }
        // The town was not recognised; a code of the municipality's own
        // records is taken as the writer's and said so.
        if (lastMunicipality) {
            for (const Town& t : lastMunicipality->towns) {
                if (t.postalCode() == code && !t.catchAll) {
                    take({code, prefectureName(lastMunicipality->prefecture) +
                                    lastMunicipality->name + t.name});
                    r.needsCheck = false;
                    r.warnings = {
                        QStringLiteral("町域を確かめられないため、入力の郵便番号を使いました")};
                    return;
                }
            }
        }
        mismatch(r.postalCode);
        r.needsCheck = false;
        return;
    }
}

namespace {

// Why an input cannot be an address, or an empty text.
QString inputProblem(QStringView input) {
    if (input.size() > MaxAddressLength)
        return QStringLiteral("住所が長すぎます（%1文字まで）").arg(MaxAddressLength);
    for (QChar c : input) {
        if (c == QChar::ReplacementCharacter)
            return QStringLiteral("住所に読めない文字があります（UTF-8ではありません）");
        if (c != u'\t' && (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0)))
            return QStringLiteral("住所に制御文字があります");
    }
    return {};
}

// Where the town of a municipality stands in the folded address: right
// after the municipality, or after a Kyoto street and its direction.
struct Place {
    TownMatch match;
    qsizetype streetStart = 0;
    qsizetype streetEnd = 0;
};

Place findTown(const AddressResolver::Municipality& m, const FoldedText& text, QStringView input,
               qsizetype cityEnd) {
    Place place;
    place.streetStart = place.streetEnd = cityEnd;
    for (qsizetype end : directionEnds(text.text, cityEnd)) {
        if (const TownMatch after = matchTown(m, text, input, end); after.town >= 0) {
            place.match = after;
            place.streetEnd = end;
        }
    }
    if (place.match.town < 0)
        place.match = matchTown(m, text, input, cityEnd);
    return place;
}

bool isNumberPart(QChar c) {
    return text::isAsciiDigit(c) || c == u'-' || QStringView(u"丁目番地号ノ").contains(c);
}

} // namespace

// What the steps of one resolution hand on to each other.
struct AddressResolver::Reading {
    QString cleaned;  // the input, tabs as blanks
    QStringView rest; // cleaned, trimmed: what addresses A and B are cut from
    FoldedText f;
    std::vector<const Municipality*> candidates;
    qsizetype cityEnd = 0;     // in the folded address
    int pref = 0;              // the prefecture the address names, or 0
    std::vector<Place> places; // one per candidate
    size_t chosen = 0;

    // Addresses A and B, cut where the folded address was cut.
    void cutAt(qsizetype foldedEnd, Resolution& r) const {
        const qsizetype origEnd = f.origin[size_t(foldedEnd)];
        r.addressA = text::trimmed(rest.left(origEnd));
        r.addressB = text::trimmed(rest.sliced(origEnd));
    }
};

Resolution AddressResolver::resolveText(QStringView input) {
    Resolution r;
    r.failure = inputProblem(input);
    if (!r.failure.isEmpty())
        return r;
    Reading a;
    a.cleaned = input.toString();
    a.cleaned.replace(u'\t', u' ');
    a.rest = text::trimBlanks(a.cleaned);
    if (a.rest.isEmpty()) {
        r.failure = QStringLiteral("住所がありません");
        return r;
    }
    if (std::all_of(fileNames.begin(), fileNames.end(),
                    [](const QString& n) { return n.isEmpty(); })) {
        r.failure = QStringLiteral("データファイルがありません");
        return r;
    }
    a.f = foldForMatch(a.rest);
    if (!findMunicipalities(a, r))
        return r;
    findTowns(a);
    if (!chooseMunicipality(a, r))
        return r;
    const Municipality& city = *a.candidates[a.chosen];
    lastMunicipality = &city;
    const TownMatch match = a.places[a.chosen].match;
    const Town* town = match.town >= 0 ? townByNotes(a, r) : wholeAreaOrCatchAll(a, r);
    if (!town)
        return r;
    a.cutAt(match.town >= 0 ? match.end : a.cityEnd, r);
    r.record = prefectureName(city.prefecture) + city.name + town->name;
    r.postalCode = town->postalCode();
    if (!takeOfficeCode(a, *town, r))
        takeAddressNumber(r);
    return r;
}

bool AddressResolver::findMunicipalities(Reading& a, Resolution& r) {
    // The municipalities the address may name, the longest name first:
    // after the prefecture's full name, its name without 都/府/県, or with
    // no prefecture at all.
    const QStringView ft = a.f.text;
    const auto inPrefecture = [&](int i, qsizetype pos) {
        const Prefecture& p = prefecture(i);
        for (qsizetype len = std::min<qsizetype>(p.longest, ft.size() - pos); len > 0; --len) {
            const auto found = p.byFolded.constFind(ft.sliced(pos, len).toString());
            if (found != p.byFolded.cend()) {
                for (int m : *found)
                    a.candidates.push_back(&p.municipalities[size_t(m)]);
                a.cityEnd = pos + len;
                return;
            }
        }
    };
    for (int i = 1; i <= PrefectureCount && a.pref == 0; ++i)
        if (ft.startsWith(foldedPrefectureNames()[size_t(i)]))
            a.pref = i;
    if (a.pref != 0) {
        if (prefecture(a.pref).missing) {
            r.failure =
                QStringLiteral("%1のデータファイルがありません").arg(prefectureName(a.pref));
            return false;
        }
        inPrefecture(a.pref, foldedPrefectureNames()[size_t(a.pref)].size());
    } else {
        for (int i = 1; i <= PrefectureCount && a.candidates.empty(); ++i) {
            const QString& name = shortPrefectureNames()[size_t(i)];
            if (name.size() < foldedPrefectureNames()[size_t(i)].size() && ft.startsWith(name) &&
                !prefecture(i).missing)
                inPrefecture(i, name.size());
        }
        if (a.candidates.empty()) {
            if (!allIndexed)
                indexAllMunicipalities();
            for (qsizetype len = std::min<qsizetype>(longestMunicipality, ft.size()); len > 0;
                 --len) {
                const auto* named = municipalitiesNamed(ft.sliced(0, len).toString());
                if (!named)
                    continue;
                for (const auto& [index, name] : *named) {
                    Prefecture& p = prefecture(index);
                    const auto found = p.byFolded.constFind(ft.sliced(0, len).toString());
                    if (found != p.byFolded.cend())
                        for (int m : *found)
                            if (p.municipalities[size_t(m)].name == name)
                                a.candidates.push_back(&p.municipalities[size_t(m)]);
                }
                a.cityEnd = len;
                break;
            }
        }
    }
    if (a.candidates.empty()) {
        r.failure = a.pref != 0
                        ? QStringLiteral("%1の市区町村が見つかりません").arg(prefectureName(a.pref))
                        : QStringLiteral("都道府県・市区町村が見つかりません");
        return false;
    }
    return true;
}

void AddressResolver::findTowns(Reading& a) {
    // The town of each candidate; where none has one, again with 大字, 小字
    // and 字 left out.
    for (const Municipality* m : a.candidates)
        a.places.push_back(findTown(*m, a.f, a.rest, a.cityEnd));
    const auto anyTown = [](const std::vector<Place>& places) {
        return std::any_of(places.begin(), places.end(),
                           [](const Place& p) { return p.match.town >= 0; });
    };
    if (anyTown(a.places))
        return;
    FoldedText stripped = withoutAza(a.f, a.cityEnd);
    if (stripped.text.size() == a.f.text.size())
        return;
    std::vector<Place> again;
    for (const Municipality* m : a.candidates)
        again.push_back(findTown(*m, stripped, a.rest, a.cityEnd));
    if (anyTown(again)) {
        a.f = std::move(stripped);
        a.places = std::move(again);
    }
}

bool AddressResolver::chooseMunicipality(Reading& a, Resolution& r) {
    // Of several municipalities of one name, the one whose town the address
    // names; none or more than one leaves the address ambiguous.
    if (a.candidates.size() <= 1)
        return true;
    std::vector<size_t> withTown;
    for (size_t c = 0; c < a.candidates.size(); ++c)
        if (a.places[c].match.town >= 0)
            withTown.push_back(c);
    QStringList names;
    for (size_t c = 0; c < a.candidates.size(); ++c) {
        const Municipality& m = *a.candidates[c];
        const QString place = prefectureName(m.prefecture) + m.name;
        if (withTown.size() != 1) {
            const Town* t =
                a.places[c].match.town >= 0 ? &m.towns[size_t(a.places[c].match.town)] : nullptr;
            if (!t)
                for (const Town& town : m.towns)
                    if (town.catchAll)
                        t = &town;
            if (t)
                r.candidates.push_back(
                    {t->postalCode(), place + (t->catchAll ? QString() : t->name)});
        } else if (c != withTown.front()) {
            names.append(place);
        }
    }
    if (withTown.size() != 1) {
        r.certainty = r.candidates.empty() ? Certainty::None : Certainty::Ambiguous;
        r.failure = QStringLiteral("候補が複数あります：") + candidatesText(r.candidates);
        return false;
    }
    a.chosen = withTown.front();
    r.warnings.append(QStringLiteral("同じ名前の市区町村がほかにもあります：") + names.join(u'、'));
    return true;
}

const AddressResolver::Town* AddressResolver::townByNotes(const Reading& a, Resolution& r) {
    // Among the records of the matched town's name (or of a building of it
    // named after the town, its floors), the ones whose notes fit what the
    // address goes on with.
    const Municipality& city = *a.candidates[a.chosen];
    const Place& found = a.places[a.chosen];
    const QStringView ft = a.f.text;
    const QString place = prefectureName(city.prefecture) + city.name;
    const QString& base = city.towns[size_t(found.match.town)].foldedBase;
    QStringView b = ft.sliced(found.match.end);
    for (QStringView mark : {u"大字", u"小字", u"字"})
        if (b.startsWith(mark)) {
            b = b.sliced(mark.size());
            break;
        }
    // A building of the town named anywhere after it: its floors.
    const Town* building = nullptr;
    qsizetype buildingAt = -1;
    for (int i : city.buildingsOf.value(base)) {
        const Town& t = city.towns[size_t(i)];
        if (building && t.building.size() <= building->building.size())
            continue;
        if (const qsizetype at = b.indexOf(t.building); at >= 0) {
            building = &t;
            buildingAt = at;
        }
    }
    std::vector<const Town*> group;
    const std::vector<int>& near =
        building ? city.buildingsOf.value(base) : city.byFirst.value(base.front());
    for (int i : near)
        if (city.towns[size_t(i)].foldedBase == (building ? building->foldedBase : base))
            group.push_back(&city.towns[size_t(i)]);
    const QStringView street = ft.sliced(found.streetStart, found.streetEnd - found.streetStart);
    const AddressFacts facts =
        readAddressFacts(building ? b.sliced(buildingAt + building->building.size()) : b, street);
    std::vector<const Town*> fits[4];
    for (const Town* t : group)
        fits[int(noteFit(t->note, facts))].push_back(t);
    const auto oneCode = [](const std::vector<const Town*>& list) {
        return std::all_of(list.begin(), list.end(),
                           [&](const Town* t) { return t->code == list.front()->code; });
    };
    const std::vector<const Town*>& yes = fits[int(Fit::Yes)];
    const std::vector<const Town*>& maybe = fits[int(Fit::Maybe)];
    const std::vector<const Town*>& restOf = fits[int(Fit::Rest)];
    const Town* town = nullptr;
    std::vector<const Town*> open;
    // A name without a note beside the same name with notes is a second
    // place of that name: it settles nothing on its own.
    const bool plainAmongOthers =
        group.size() > 1 && std::any_of(yes.begin(), yes.end(), [](const Town* t) {
            return t->note.kind == TownNote::Kind::None;
        });
    if (plainAmongOthers) {
        open = yes;
        open.insert(open.end(), maybe.begin(), maybe.end());
        open.insert(open.end(), restOf.begin(), restOf.end());
        if (oneCode(open)) {
            town = open.front();
            open.clear();
        }
    } else if (!yes.empty()) {
        if (oneCode(yes))
            town = yes.front();
        else
            open = yes;
    } else if (!maybe.empty()) {
        open = maybe;
        open.insert(open.end(), restOf.begin(), restOf.end());
    } else if (!restOf.empty()) {
        if (oneCode(restOf))
            town = restOf.front();
        else
            open = restOf;
    }
    if (town) {
        r.certainty = Certainty::Exact;
        return town;
    }
    const bool noneFits = open.empty();
    for (const Town* t : noneFits ? group : open)
        r.candidates.push_back({t->postalCode(), place + t->name});
    r.certainty = Certainty::Ambiguous;
    r.failure = (noneFits ? QStringLiteral("注記に合う記録がありません：")
                          : QStringLiteral("候補が複数あります：")) +
                candidatesText(r.candidates);
    a.cutAt(found.match.end, r);
    return nullptr;
}

const AddressResolver::Town* AddressResolver::wholeAreaOrCatchAll(const Reading& a, Resolution& r) {
    // No town named: the municipality as a whole, else its catch-all.
    const Municipality& city = *a.candidates[a.chosen];
    const Town* town = nullptr;
    for (const Town& t : city.towns)
        if (t.wholeArea)
            town = &t;
    if (town) {
        r.certainty = Certainty::Exact;
        return town;
    }
    for (const Town& t : city.towns)
        if (t.catchAll)
            town = &t;
    if (!town) {
        r.failure = QStringLiteral("%1の町域が見つかりません")
                        .arg(prefectureName(city.prefecture) + city.name);
        return nullptr;
    }
    r.certainty = Certainty::CatchAll;
    // Only a number or nothing after the municipality says no town; any
    // other text is a town this program did not recognise.
    const QStringView after = QStringView(a.f.text).sliced(a.cityEnd);
    r.needsCheck = !std::all_of(after.begin(), after.end(), isNumberPart);
    r.warnings.append(r.needsCheck ? UnrecognisedTown : after.isEmpty() ? NoTown : UnlistedTown);
    return town;
}

bool AddressResolver::takeOfficeCode(const Reading& a, const Town& town, Resolution& r) {
    // A large office at the address has a code of its own.
    const Municipality& city = *a.candidates[a.chosen];
    const TownMatch match = a.places[a.chosen].match;
    if (match.town < 0)
        return false;
    const QString foldedB = QStringView(a.f.text).sliced(match.end).toString();
    if (std::all_of(foldedB.begin(), foldedB.end(), isNumberPart))
        return false;
    const QString& townKey = city.towns[size_t(match.town)].foldedBase;
    const Office* best = nullptr;
    for (const Office& o : officesOf(city.prefecture, city.name))
        if (o.foldedTown == townKey && o.foldedName.size() >= 2 && foldedB.contains(o.foldedName) &&
            (!best || o.foldedName.size() > best->foldedName.size()))
            best = &o;
    if (!best)
        return false;
    r.certainty = Certainty::Office;
    r.postalCode = best->postalCode;
    r.record = prefectureName(city.prefecture) + city.name + splitTownName(town.name).base +
               best->block + u' ' + best->name;
    r.warnings.append(QStringLiteral("大口事業所「%1」の個別番号です").arg(best->name));
    return true;
}

void AddressResolver::takeAddressNumber(Resolution& r) {
    const AddressNumber number = addressNumber(r.addressB);
    r.addressNumber = number.number;
    if (number.lettersDropped)
        r.warnings.append(QStringLiteral("続いた英字は住所表示番号に入れていません"));
    if (barcodePlaces(r.addressNumber) > AddressNumberPlaces)
        r.warnings.append(QStringLiteral("住所表示番号がバーコードの20桁に収まらないため切れます"));
}

QString resolutionLine(const Resolution& r) {
    const QString account = r.resolved() ? r.warnings.join(u'；') : r.failure;
    return QStringList{r.postalCode, r.addressNumber, r.record, r.addressB, account}.join(u'\t');
}

QStringList resolutionFields(const Resolution& r) {
    QStringList candidates;
    for (const Candidate& c : r.candidates)
        candidates.append(c.postalCode + u' ' + c.record);
    return {r.postalCode,
            r.addressNumber,
            r.record,
            r.addressA,
            r.addressB,
            r.warnings.join(u'；'),
            r.failure,
            certaintyKey(r.certainty),
            candidates.join(u'；')};
}

} // namespace yubin::address
