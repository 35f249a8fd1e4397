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

namespace yubin::address {

struct Resolution {
    QString postalCode;    // 7 digits; empty when unresolved
    QString addressNumber; // empty for an office's own code
    QString record;        // prefecture + municipality + town with its note
    QString addressA;      // as it stands in the input
    QString addressB;      // as it stands in the input, trimmed
    QStringList warnings;  // Japanese
    QString failure;       // Japanese; empty when resolved
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

    Resolution resolve(QStringView address);

    struct Town;
    struct Municipality;
    struct Prefecture;
    struct Office;

private:
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
    QHash<QString, std::vector<Office>> offices; // by prefecture and municipality
};

// One line of `yubin-cli resolve`: postal code, address number, record,
// address B, and the warnings or the reason, separated by tabs.
QString resolutionLine(const Resolution& resolution);

// The fields of a resolution for the command line's tsv and json output,
// named by ResolutionFields; the warnings joined by "；".
inline const QStringList ResolutionFields = {
    QStringLiteral("postal_code"), QStringLiteral("address_number"), QStringLiteral("record"),
    QStringLiteral("address_a"),   QStringLiteral("address_b"),      QStringLiteral("warnings"),
    QStringLiteral("failure")};
QStringList resolutionFields(const Resolution& resolution);

} // namespace yubin::address
