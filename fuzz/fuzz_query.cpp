// The map and web query encodings on any characters: an encoded query holds
// only URL-safe ASCII with well-formed escapes, every URL is plain ASCII,
// and SJIStoJIS refuses exactly the codes that are not double-byte Shift_JIS
// and gives a JIS code that maps back to the code it was given.

#include "fuzz_check.h"
#include "map_search/map_query.h"

using namespace yubin;

namespace {

bool upperHex(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

void checkEncoded(const QString& query) {
    for (qsizetype i = 0; i < query.size(); ++i) {
        const QChar c = query[i];
        if (c == u'%') {
            FUZZ_CHECK(i + 2 < query.size());
            FUZZ_CHECK(upperHex(query[i + 1]) && upperHex(query[i + 2]));
            i += 2;
            continue;
        }
        FUZZ_CHECK((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
                   (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == u'_' || c == u'~');
    }
}

// The Shift_JIS code of a JIS X 0208 row and cell.
int shiftJisOf(int row, int cell) {
    const int lead = (row - 0x21) / 2 + (row <= 0x5E ? 0x81 : 0xC1);
    const int trail = row % 2 ? cell + (cell <= 0x5F ? 0x1F : 0x20) : cell + 0x7E;
    return lead << 8 | trail;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::utf16Of(data, size);
    checkEncoded(eucJpQuery(text));
    checkEncoded(shiftJisQuery(text));
    for (const QString& url :
         {mapSearchUrl(MapSite::GoogleMaps, text), mapSearchUrl(MapSite::OpenStreetMap, text),
          webSearchUrl(WebEngine::Google, text), webSearchUrl(WebEngine::Yahoo, text)}) {
        FUZZ_CHECK(url.startsWith(QStringLiteral("http")));
        for (QChar c : url)
            FUZZ_CHECK(c > u' ' && c < QChar(0x7F));
    }

    if (size >= 2) {
        const int sjis = data[0] << 8 | data[1];
        const QString given = QStringLiteral("%1").arg(sjis, 4, 16, QLatin1Char('0')).toUpper();
        const QString jis = SJIStoJIS(given);
        const int lead = data[0];
        const int trail = data[1];
        const bool valid = ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) &&
                           trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
        FUZZ_CHECK(jis.isEmpty() == !valid);
        if (valid) {
            FUZZ_CHECK(jis.size() == 4);
            for (QChar c : jis)
                FUZZ_CHECK(upperHex(c));
            const int row = jis.left(2).toInt(nullptr, 16);
            const int cell = jis.right(2).toInt(nullptr, 16);
            FUZZ_CHECK(cell >= 0x21 && cell <= 0x7E);
            if (lead <= 0xEF)
                FUZZ_CHECK(row >= 0x21 && row <= 0x7E);
            FUZZ_CHECK(shiftJisOf(row, cell) == sjis);
        }
    }
    return 0;
}
