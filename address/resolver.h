#pragma once

// From a free-form address to its record in the postal data, its postal code
// and its address number, with an account of how they were found. A
// resolver reads a data folder lazily: a prefecture's file when an address
// needs it, the municipality names of every file only for an address
// without its prefecture, the business-office file only for an address that
// goes on with a name.

#include "foundation/data_folder.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace yubin {
struct ChangeEntry;
}

namespace yubin::address {

// How sure a resolution is.
enum class Certainty {
    None,      // nothing found: failure says why
    Exact,     // one record fits the address
    Office,    // a large business office's own code
    CatchAll,  // the municipality's 「以下に掲載がない場合」 record
    Ambiguous, // several records fit, or the town matched and no note fits: no code
};
// "none", "exact", "office", "catch-all", "ambiguous".
QString certaintyKey(Certainty certainty);

struct Candidate {
    QString postalCode; // 7 digits
    QString record;     // prefecture + municipality + town with its note
};

struct Resolution {
    QString postalCode;    // 7 digits; empty when unresolved
    QString addressNumber; // empty for an office's own code
    QString record;        // prefecture + municipality + town with its note
    QString addressA;      // as it stands in the input
    QString addressB;      // as it stands in the input, trimmed
    QStringList warnings;  // Japanese
    QString failure;       // Japanese; empty when resolved
    Certainty certainty = Certainty::None;
    // A catch-all reached though the address goes on after its municipality:
    // far likelier a town not recognised than one the data does not list.
    bool needsCheck = false;
    std::vector<Candidate> candidates; // what an ambiguous address may be
    bool resolved() const { return !postalCode.isEmpty(); }
};

// Longer inputs are refused rather than scanned.
inline constexpr qsizetype MaxAddressLength = 500;

class AddressResolver {
public:
    explicit AddressResolver(DataFolder data);
    ~AddressResolver();
    AddressResolver(const AddressResolver&) = delete;
    AddressResolver& operator=(const AddressResolver&) = delete;

    // An address, perhaps with its postal code written before it
    // (〒100-0013 東京都…), which then counts as given.
    Resolution resolve(QStringView address);
    // An address with the postal code given beside it (empty when none).
    // The code decides among an ambiguous address's candidates and confirms
    // a catch-all; against an exact or office result it is a failure.
    Resolution resolve(QStringView code, QStringView address);

    struct Town;
    struct Municipality;
    struct Prefecture;
    struct Office;

private:
    // The steps of a resolution, in order; each false (or nullptr) when it
    // settled the resolution as a failure.
    struct Reading;
    Resolution resolveText(QStringView address);
    bool findMunicipalities(Reading& reading, Resolution& r);
    static void findTowns(Reading& reading);
    static bool chooseMunicipality(Reading& reading, Resolution& r);
    static const Town* townByNotes(const Reading& reading, Resolution& r);
    static const Town* wholeAreaOrCatchAll(const Reading& reading, Resolution& r);
    bool takeOfficeCode(const Reading& reading, const Town& town, Resolution& r);
    static void takeAddressNumber(Resolution& r);
    void applyGivenCode(Resolution& r, const QString& code);
    void noteAbolishedCode(Resolution& r, const QString& code);
    Prefecture& prefecture(int index);
    const std::vector<std::pair<int, QString>>* municipalitiesNamed(const QString& foldedName);
    void indexAllMunicipalities();
    const std::vector<Office>& officesOf(int prefecture, const QString& municipality);

    DataFolder data;
    QStringList fileNames;
    std::array<std::unique_ptr<Prefecture>, 48> prefectures;
    bool allIndexed = false;
    QHash<QString, std::vector<std::pair<int, QString>>> municipalityIndex;
    int longestMunicipality = 0;
    std::optional<QByteArray> officeBytes;
    // The office file's lines by their municipality column, as bytes.
    QHash<QByteArray, std::vector<QByteArrayView>> officeLines;
    QHash<QString, std::vector<Office>> offices;       // by prefecture and municipality
    const Municipality* lastMunicipality = nullptr;    // of the last resolution
    std::optional<std::vector<ChangeEntry>> changeLog; // read on the first given code
};

// One line of `yubin-cli resolve`: postal code, address number, record,
// address B, and the warnings or the reason, separated by tabs.
QString resolutionLine(const Resolution& resolution);

// The fields of a resolution for the command line's tsv and json output,
// named by ResolutionFields; the warnings joined by "；", the candidates as
// "1340003 東京都江戸川区春江町（４、５丁目）" joined by "；".
inline const QStringList ResolutionFields = {
    QStringLiteral("postal_code"), QStringLiteral("address_number"), QStringLiteral("record"),
    QStringLiteral("address_a"),   QStringLiteral("address_b"),      QStringLiteral("warnings"),
    QStringLiteral("failure"),     QStringLiteral("certainty"),      QStringLiteral("candidates")};
QStringList resolutionFields(const Resolution& resolution);

} // namespace yubin::address
