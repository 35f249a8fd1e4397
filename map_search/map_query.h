#pragma once

// What the map and web search sends: the address as the window takes it over,
// the two query encodings the services expect, and the four service URLs.
// The window and yubin-cli both build their URLs here.

#include <QString>
#include <QStringView>

namespace yubin {

// The map sites and web engines in the order of their option buttons, which
// is also the number stored in the settings. The map sites of the first
// release (livedoor, Yahoo!) no longer take a search in the address; a
// stored "0" or "1" now chooses these.
enum class MapSite { GoogleMaps = 0, OpenStreetMap = 1 };
// The option buttons' captions, in the same order.
inline const QString MapSiteNames[2] = {QStringLiteral("Googleマップ"),
                                        QStringLiteral("OpenStreetMap")};
enum class WebEngine { Google = 0, Yahoo = 1 };

// The address as the window shows it: trimmed of blanks, an "一円" ending (the data's "the whole
// area") dropped, then the Tokyo island addresses rewritten to the names the
// map services know.
QString rewriteMapAddress(QStringView address);

// A business-office name (MapMode 99) is no place a map can find: the map
// search is offered only for an address or place name (MapMode 0). The web
// search is offered for both.
bool mapSearchOffered(qint16 mapMode);
inline const QString MapSearchNotOfferedText =
    QStringLiteral("事業所名は地図検索できません。WEB検索をお使いください。");

// The JIS X 0208 code (row byte first, four upper-case hex digits) of the
// double-byte Shift_JIS code given as four hex digits, lead byte first. An
// argument that is not a double-byte Shift_JIS code gives an empty string.
QString SJIStoJIS(const QString& strSJISCODE);

// Percent-encoded query text. ASCII letters, digits and "-._~" stay as they
// are; every other character is sent as the bytes of the service's encoding,
// each as "%" and two upper-case hex digits. A character the encoding cannot
// hold is sent as an HTML numeric character reference ("&#12345;",
// percent-encoded), as a browser submits it in a form of that encoding.
QString eucJpQuery(QStringView text);
QString shiftJisQuery(QStringView text);

// UTF-8, every byte outside ASCII's letters, digits and "-._~" escaped:
// what both map sites take.
QString utf8Query(QStringView text);

// The four services, each from an already encoded query.
QString googleMapsUrl(const QString& encodedQuery);
QString openStreetMapUrl(const QString& encodedQuery);
QString googleSearchUrl(const QString& encodedQuery);
QString yahooSearchUrl(const QString& encodedQuery);

// The page a search opens for the text (trimmed of blanks first), in the
// chosen service's encoding: the map sites take UTF-8, Google web search
// Shift_JIS and Yahoo! web search EUC-JP.
QString mapSearchUrl(MapSite site, QStringView text);
QString webSearchUrl(WebEngine engine, QStringView text);

} // namespace yubin
