#pragma once

// What the barcode window and `yubin-cli barcode` check and show around the
// encoder: the postal code rule and its two messages, the print position
// fields, the address number's case, the check character as text, and the
// barcode manual's address.

#include <QString>
#include <QStringView>

#include <optional>

namespace yubin::barcode {

inline const QString MessageTitle = QStringLiteral("郵便ﾊﾞｰｺｰﾄﾞ");
inline const QString NotNumericMessage = QStringLiteral("郵便番号は7桁数値のみです。     ");
inline const QString NotSevenDigitsMessage = QStringLiteral("郵便番号を7桁にしてください。     ");

inline const QString ManualUrl =
    QStringLiteral("https://www.post.japanpost.jp/zipcode/dl/zipmanual/manual.pdf");

// Code sizes the window offers, and the one it starts with.
inline constexpr int SmallestCodeSize = 1;
inline constexpr int LargestCodeSize = 3;
inline constexpr int DefaultCodeSize = 2;
// The printer's size unit is four times the preview's.
inline constexpr int PrinterBlockPerCodeSize = 4;

// Print position fields as the window starts with them, in millimetres.
inline const QString DefaultTopText = QStringLiteral("35");
inline const QString DefaultLeftText = QStringLiteral("15");

// The message for a trimmed postal code that cannot be used, or nullopt.
// Only the digits 0-9 count: an empty text, a sign, a decimal point or a
// full-width digit is not numeric.
std::optional<QString> postalCodeProblem(QStringView postalCode);

// A print position field as a number: digits only, surrounding blanks
// allowed, small enough for a 32-bit integer; nullopt otherwise.
std::optional<qint32> parsePosition(QStringView field);

// The address number as it is encoded and shown back: upper case.
QString addressNumberForBarcode(QStringView addressNumber);

// The check value shown beside the preview: two digits, "00" to "18".
QString checkValueText(int check);

} // namespace yubin::barcode
