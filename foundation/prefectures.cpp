#include "foundation/prefectures.h"

namespace yubin {

const std::array<Prefecture, PrefectureCount>& prefectureTable() {
    static const std::array<Prefecture, PrefectureCount> table{{
        {"01", "北海道", "01hokkai.CSV"}, {"02", "青森県", "02aomori.CSV"},
        {"03", "岩手県", "03iwate.CSV"},  {"04", "宮城県", "04miyagi.CSV"},
        {"05", "秋田県", "05akita.CSV"},  {"06", "山形県", "06yamaga.CSV"},
        {"07", "福島県", "07fukush.CSV"}, {"08", "茨城県", "08ibarak.CSV"},
        {"09", "栃木県", "09tochig.CSV"}, {"10", "群馬県", "10gumma.CSV"},
        {"11", "埼玉県", "11saitam.CSV"}, {"12", "千葉県", "12chiba.CSV"},
        {"13", "東京都", "13tokyo.CSV"},  {"14", "神奈川県", "14kanaga.CSV"},
        {"15", "新潟県", "15niigat.CSV"}, {"16", "富山県", "16toyama.CSV"},
        {"17", "石川県", "17ishika.CSV"}, {"18", "福井県", "18fukui.CSV"},
        {"19", "山梨県", "19yamana.CSV"}, {"20", "長野県", "20nagano.CSV"},
        {"21", "岐阜県", "21gifu.CSV"},   {"22", "静岡県", "22shizuo.CSV"},
        {"23", "愛知県", "23aichi.CSV"},  {"24", "三重県", "24mie.CSV"},
        {"25", "滋賀県", "25shiga.CSV"},  {"26", "京都府", "26kyouto.CSV"},
        {"27", "大阪府", "27osaka.CSV"},  {"28", "兵庫県", "28hyogo.CSV"},
        {"29", "奈良県", "29nara.CSV"},   {"30", "和歌山県", "30wakaya.CSV"},
        {"31", "鳥取県", "31tottor.CSV"}, {"32", "島根県", "32shiman.CSV"},
        {"33", "岡山県", "33okayam.CSV"}, {"34", "広島県", "34hirosh.CSV"},
        {"35", "山口県", "35yamagu.CSV"}, {"36", "徳島県", "36tokush.CSV"},
        {"37", "香川県", "37kagawa.CSV"}, {"38", "愛媛県", "38ehime.CSV"},
        {"39", "高知県", "39kochi.CSV"},  {"40", "福岡県", "40fukuok.CSV"},
        {"41", "佐賀県", "41saga.CSV"},   {"42", "長崎県", "42nagasa.CSV"},
        {"43", "熊本県", "43kumamo.CSV"}, {"44", "大分県", "44oita.CSV"},
        {"45", "宮崎県", "45miyaza.CSV"}, {"46", "鹿児島県", "46kagosh.CSV"},
        {"47", "沖縄県", "47okinaw.CSV"},
    }};
    return table;
}

QStringList makePrefectureNames() {
    QStringList names;
    names.reserve(51);
    names << BusinessOfficeName;
    for (const Prefecture& p : prefectureTable())
        names << QString::fromUtf8(p.name);
    while (names.size() < 51)
        names << QString();
    return names;
}

QString prefectureCode(int index) {
    return (QStringLiteral("00") + QString::number(index)).right(2);
}

int prefectureIndex(const QString& codeOrName) {
    const auto& table = prefectureTable();
    for (int i = 0; i < PrefectureCount; ++i) {
        if (codeOrName == QLatin1String(table[i].code) ||
            codeOrName == QString::fromUtf8(table[i].name))
            return i + 1;
    }
    return 0;
}

} // namespace yubin
