#include "address/resolver.h"

#include "address/address_number.h"
#include "address/address_text.h"
#include "address/town_note.h"
#include "foundation/access_csv.h"
#include "foundation/data_file.h"
#include "foundation/postal_code.h"
#include "foundation/prefectures.h"
#include "foundation/text.h"

#include <QSet>

namespace yubin::address {

struct AddressResolver::Town {
    QString postalCode;
    QString name; // with its note
    TownNote note;
    QString foldedBase;
    bool catchAll = false;
    bool wholeArea = false; // 〜一円: the municipality as a whole
};

struct AddressResolver::Municipality {
    int prefecture = 0;
    QString name;
    std::vector<Town> towns;
};

struct AddressResolver::Prefecture {
    bool missing = false;
    std::vector<Municipality> municipalities;
    QHash<QString, int> byFolded; // also the name after its 郡
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

QString prefectureName(int index) {
    return QString::fromUtf8(prefectureTable()[size_t(index - 1)].name);
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Column 8 of every line, each distinct run once: the municipality names of
// a file without decoding all of it. Code page 932 has no quote or comma
// among its trail bytes, so the bytes can be cut as they are.
QStringList municipalityColumn(const QByteArray& bytes) {
    QStringList names;
    QByteArrayView last;
    QSet<QByteArray> seen;
    const char* p = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        int field = 0;
        bool quoted = false;
        qsizetype start = -1;
        qsizetype end = -1;
        for (; i < size && p[i] != '\n' && p[i] != '\r'; ++i) {
            if (p[i] == '"') {
                quoted = !quoted;
            } else if (p[i] == ',' && !quoted) {
                ++field;
                if (field == 7)
                    start = i + 1;
                else if (field == 8)
                    end = i;
            }
        }
        while (i < size && (p[i] == '\n' || p[i] == '\r'))
            ++i;
        if (start < 0 || end <= start)
            continue;
        QByteArrayView raw(p + start, end - start);
        if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
            raw = raw.sliced(1, raw.size() - 2);
        if (raw == last)
            continue;
        last = raw;
        if (seen.contains(raw.toByteArray()))
            continue;
        seen.insert(raw.toByteArray());
        names.append(text::decodeCp932(raw));
    }
    return names;
}

// A postal code written before the address (〒100-0013 or 1000013), and
// where the address begins after it.
std::optional<QString> leadingPostalCode(QStringView address, qsizetype& after) {
    qsizetype i = 0;
    if (i < address.size() && address[i] == u'〒')
        ++i;
    while (i < address.size() && text::isBlank(address[i]))
        ++i;
    const qsizetype start = i;
    while (i < address.size() && (address[i].isDigit() || isHyphenLike(address[i])))
        ++i;
    QString token = text::toHalfWidthAscii(address.sliced(start, i - start));
    for (QChar& c : token)
        if (isHyphenLike(c))
            c = u'-';
    if (judgePostalCode(token, HyphenRule::AfterThirdDigit) != PostalCodeText::Complete)
        return std::nullopt;
    after = i;
    token.remove(u'-');
    return token;
}

struct TownMatch {
    int town = -1;
    qsizetype end = 0; // in the folded address
};

// The town whose name without its note the address continues with, the
// longest one; a 大字 or 字 before it is passed over.
TownMatch matchTown(const std::vector<AddressResolver::Town>& towns, const FoldedText& folding,
                    QStringView input, qsizetype pos) {
    const QStringView f = folding.text;
    // 北1条 is no match for 北11条: a town may not end inside a number.
    // Digits of one kanji run share their origin; two arabic digits stand
    // side by side in the input.
    auto insideNumber = [&](qsizetype end) {
        if (end >= f.size() || !isDigit(f[end]) || !isDigit(f[end - 1]))
            return false;
        const qsizetype a = folding.origin[size_t(end - 1)], b = folding.origin[size_t(end)];
        return a == b || (b == a + 1 && input[a].isDigit() && input[b].isDigit());
    };
    std::vector<qsizetype> starts{pos};
    if (f.sliced(pos).startsWith(u"大字"))
        starts.push_back(pos + 2);
    else if (f.sliced(pos).startsWith(u"字"))
        starts.push_back(pos + 1);
    TownMatch best;
    for (size_t t = 0; t < towns.size(); ++t) {
        const auto& town = towns[t];
        if (town.catchAll || town.wholeArea || town.foldedBase.isEmpty())
            continue;
        for (qsizetype s : starts) {
            const qsizetype end = s + town.foldedBase.size();
            if (end <= best.end || !f.sliced(s).startsWith(town.foldedBase))
                continue;
            if (insideNumber(end))
                continue;
            best = {int(t), end};
        }
    }
    return best;
}

QString withCode(const QString& record, const QString& code) {
    return record + QStringLiteral("（") + postalCodeText(code) + QStringLiteral("）");
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
    forEachLine(QStringView(*decoded), [&](QStringView rawLine) {
        const QStringView line = text::trimBlanks(rawLine);
        if (line.size() <= 10)
            return;
        const QString l = line.toString();
        const QString city = csv.Col(8, l);
        auto found = byName.find(city);
        if (found == byName.end()) {
            found = byName.insert(city, int(p.municipalities.size()));
            p.municipalities.push_back({index, city, {}});
        }
        Town town;
        town.postalCode = sevenDigitCode(csv.Col(3, l));
        town.name = csv.Col(9, l);
        town.catchAll = town.name == CatchAllTown;
        town.wholeArea = town.name.endsWith(WholeAreaEnding);
        const TownName split = splitTownName(town.name);
        town.note = parseTownNote(split.note);
        town.foldedBase = folded(split.base);
        p.municipalities[size_t(*found)].towns.push_back(std::move(town));
    });
    for (size_t m = 0; m < p.municipalities.size(); ++m) {
        for (const QString& key : municipalityKeys(p.municipalities[m].name)) {
            if (!p.byFolded.contains(key))
                p.byFolded.insert(key, int(m));
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
    if (!officeBytes)
        officeBytes = readFileBytes(data.businessOfficeFilePath()).value_or(QByteArray());
    // Only the lines that hold the municipality's name are decoded: the
    // file is read for one municipality at a time.
    const QByteArray cityBytes = text::encodeCp932(city);
    std::vector<Office>& list = offices[key];
    Access_CSV csv;
    forEachLine(QByteArrayView(*officeBytes), [&](QByteArrayView raw) {
        if (cityBytes.isEmpty() || !raw.contains(cityBytes))
            return;
        const QString line = text::trimmed(text::decodeCp932(raw));
        if (line.size() <= 10 || prefectureIndex(csv.Col(4, line)) != pref ||
            csv.Col(5, line) != city)
            return;
        const QString name = csv.Col(3, line);
        list.push_back({folded(name), name, folded(csv.Col(6, line)), csv.Col(7, line),
                        sevenDigitCode(csv.Col(8, line))});
    });
    return list;
}

Resolution AddressResolver::resolve(QStringView input) {
    Resolution r;
    if (input.size() > MaxAddressLength) {
        r.failure = QStringLiteral("住所が長すぎます（%1文字まで）").arg(MaxAddressLength);
        return r;
    }
    for (QChar c : input) {
        if (c == QChar::ReplacementCharacter) {
            r.failure = QStringLiteral("住所に読めない文字があります（UTF-8ではありません）");
            return r;
        }
        if (c != u'\t' && (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))) {
            r.failure = QStringLiteral("住所に制御文字があります");
            return r;
        }
    }
    QString cleaned = input.toString();
    cleaned.replace(u'\t', u' ');
    QStringView rest = text::trimBlanks(cleaned);
    qsizetype codeEnd = 0;
    const std::optional<QString> givenCode = leadingPostalCode(rest, codeEnd);
    if (givenCode)
        rest = text::trimBlanks(rest.sliced(codeEnd));
    if (rest.isEmpty()) {
        r.failure = QStringLiteral("住所がありません");
        return r;
    }
    if (std::all_of(fileNames.begin(), fileNames.end(),
                    [](const QString& n) { return n.isEmpty(); })) {
        r.failure = QStringLiteral("データファイルがありません");
        return r;
    }
    const FoldedText f = foldForMatch(rest);
    const QStringView ft = f.text;

    int pref = 0;
    qsizetype pos = 0;
    for (int i = 1; i <= PrefectureCount; ++i) {
        if (ft.startsWith(foldedPrefectureNames()[size_t(i)])) {
            pref = i;
            pos = foldedPrefectureNames()[size_t(i)].size();
            break;
        }
    }

    // The municipalities the address may name, the longest name first.
    std::vector<const Municipality*> candidates;
    qsizetype cityEnd = pos;
    if (pref != 0) {
        const Prefecture& p = prefecture(pref);
        if (p.missing) {
            r.failure = QStringLiteral("%1のデータファイルがありません").arg(prefectureName(pref));
            return r;
        }
        for (qsizetype len = std::min<qsizetype>(p.longest, ft.size() - pos); len > 0; --len) {
            const auto found = p.byFolded.constFind(ft.sliced(pos, len).toString());
            if (found != p.byFolded.cend()) {
                candidates.push_back(&p.municipalities[size_t(*found)]);
                cityEnd = pos + len;
                break;
            }
        }
    } else {
        if (!allIndexed)
            indexAllMunicipalities();
        for (qsizetype len = std::min<qsizetype>(longestMunicipality, ft.size()); len > 0; --len) {
            const auto* named = municipalitiesNamed(ft.sliced(0, len).toString());
            if (!named)
                continue;
            for (const auto& [index, name] : *named) {
                Prefecture& p = prefecture(index);
                const auto found = p.byFolded.constFind(ft.sliced(0, len).toString());
                if (found != p.byFolded.cend())
                    candidates.push_back(&p.municipalities[size_t(*found)]);
            }
            cityEnd = len;
            break;
        }
    }
    if (candidates.empty()) {
        r.failure = pref != 0
                        ? QStringLiteral("%1の市区町村が見つかりません").arg(prefectureName(pref))
                        : QStringLiteral("都道府県・市区町村が見つかりません");
        return r;
    }

    std::vector<TownMatch> matches;
    for (const Municipality* m : candidates)
        matches.push_back(matchTown(m->towns, f, rest, cityEnd));
    size_t chosen = 0;
    if (candidates.size() > 1) {
        std::vector<size_t> withTown;
        for (size_t c = 0; c < candidates.size(); ++c)
            if (matches[c].town >= 0)
                withTown.push_back(c);
        QStringList names;
        for (size_t c = 0; c < candidates.size(); ++c) {
            const Municipality& m = *candidates[c];
            const QString place = prefectureName(m.prefecture) + m.name;
            if (withTown.size() != 1) {
                const Town* t = matches[c].town >= 0 ? &m.towns[size_t(matches[c].town)] : nullptr;
                if (!t)
                    for (const Town& town : m.towns)
                        if (town.catchAll)
                            t = &town;
                names.append(
                    t ? withCode(place + (t->catchAll ? QString() : t->name), t->postalCode)
                      : place);
            } else if (c != withTown.front()) {
                names.append(place);
            }
        }
        if (withTown.size() != 1) {
            r.failure = QStringLiteral("候補が複数あります：") + names.join(u'、');
            return r;
        }
        chosen = withTown.front();
        r.warnings.append(QStringLiteral("同じ名前の市区町村がほかにもあります：") +
                          names.join(u'、'));
    }
    const Municipality& city = *candidates[chosen];
    const TownMatch match = matches[chosen];
    const QString place = prefectureName(city.prefecture) + city.name;

    const Town* town = nullptr;
    qsizetype aEnd = cityEnd;
    if (match.town >= 0) {
        aEnd = match.end;
        const QStringView b = ft.sliced(aEnd);
        const AddressFacts facts = readAddressFacts(b);
        const QString& base = city.towns[size_t(match.town)].foldedBase;
        int bestFit = 0;
        for (const Town& t : city.towns) {
            if (t.catchAll || t.foldedBase != base)
                continue;
            const int fit = noteFit(t.note, facts, b);
            if (!town || fit > bestFit) {
                town = &t;
                bestFit = fit;
            }
        }
        if (bestFit == 0)
            r.warnings.append(QStringLiteral("注記に合う記録がないため、最初の記録を使いました"));
    } else {
        for (const Town& t : city.towns)
            if (t.wholeArea)
                town = &t;
        if (!town) {
            for (const Town& t : city.towns)
                if (t.catchAll)
                    town = &t;
            if (!town) {
                r.failure = QStringLiteral("%1の町域が見つかりません").arg(place);
                return r;
            }
            r.warnings.append(
                QStringLiteral("町域が見つからないため「以下に掲載がない場合」の郵便番号です"));
        }
    }
    const qsizetype origEnd = f.origin[size_t(aEnd)];
    r.addressA = text::trimmed(rest.left(origEnd));
    r.addressB = text::trimmed(rest.sliced(origEnd));
    r.record = place + town->name;
    r.postalCode = town->postalCode;

    // A large office at the address has a code of its own.
    const QString foldedB = ft.sliced(aEnd).toString();
    bool office = false;
    const bool namesSomething = std::any_of(foldedB.begin(), foldedB.end(), [](QChar c) {
        return !isDigit(c) && c != u'-' && !QStringView(u"丁目番地号ノ").contains(c);
    });
    if (match.town >= 0 && namesSomething) {
        const QString& townKey = city.towns[size_t(match.town)].foldedBase;
        const Office* best = nullptr;
        for (const Office& o : officesOf(city.prefecture, city.name))
            if (o.foldedTown == townKey && o.foldedName.size() >= 2 &&
                foldedB.contains(o.foldedName) &&
                (!best || o.foldedName.size() > best->foldedName.size()))
                best = &o;
        if (best) {
            office = true;
            r.postalCode = best->postalCode;
            r.record = place + splitTownName(town->name).base + best->block + u' ' + best->name;
            r.warnings.append(QStringLiteral("大口事業所「%1」の個別番号です").arg(best->name));
        }
    }
    if (!office) {
        const AddressNumber number = addressNumber(r.addressB);
        r.addressNumber = number.number;
        if (number.lettersDropped)
            r.warnings.append(QStringLiteral("続いた英字は住所表示番号に入れていません"));
        if (barcodePlaces(r.addressNumber) > AddressNumberPlaces)
            r.warnings.append(
                QStringLiteral("住所表示番号がバーコードの20桁に収まらないため切れます"));
    }
    if (givenCode && *givenCode != r.postalCode)
        r.warnings.append(QStringLiteral("入力の郵便番号%1は住所の郵便番号%2と異なります")
                              .arg(*givenCode, r.postalCode));
    return r;
}

QString resolutionLine(const Resolution& r) {
    const QString account = r.resolved() ? r.warnings.join(u'；') : r.failure;
    return QStringList{r.postalCode, r.addressNumber, r.record, r.addressB, account}.join(u'\t');
}

QStringList resolutionFields(const Resolution& r) {
    return {r.postalCode, r.addressNumber,        r.record, r.addressA,
            r.addressB,   r.warnings.join(u'；'), r.failure};
}

} // namespace yubin::address
