// Writes the double-byte half of code page 932 as C++, for the program's
// decoding and encoding tables to be made from at compile time: every pair
// of a lead byte 81-FF and a trail byte 40-FC that ICU's windows-31j
// converter decodes to one character of U+0080 or above, as
// { lead << 8 | trail, character }, in rising order. Made here rather than
// at every start, where the converter and the tables cost about as much as
// all the rest of a lookup.

#include <QByteArray>
#include <QList>
#include <QSaveFile>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: yubin-cp932-pairs OUT.inc\n");
        return 2;
    }
    QByteArray out = "// Made by yubin-cp932-pairs from ICU's windows-31j converter.\n"
                     "inline constexpr Cp932Pair Cp932Pairs[] = {\n";
    int count = 0;
    for (unsigned lead = 0x81; lead <= 0xFF; ++lead) {
        // One call a lead byte: each pair is followed by a line feed, which no
        // pair can take in, so the output splits back into one piece a pair
        // and an unmapped pair cannot shift the others.
        QByteArray pairs;
        QList<unsigned> trails;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            trails << trail;
            pairs.append(char(lead)).append(char(trail)).append('\n');
        }
        QStringDecoder decoder("windows-31j", QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(pairs);
        const QStringList pieces = decoded.split(u'\n');
        if (pieces.size() != trails.size() + 1) {
            std::fprintf(stderr, "yubin-cp932-pairs: lead %02X lost a pair separator\n", lead);
            return 1;
        }
        for (qsizetype i = 0; i < trails.size(); ++i) {
            const unsigned trail = trails[i];
            const QString& piece = pieces[i];
            if (piece.size() != 1 || piece[0].unicode() < 0x80 || piece[0].unicode() == 0xFFFD)
                continue;
            out += QByteArray("{0x") + QByteArray::number(lead << 8 | trail, 16).toUpper() +
                   ", 0x" + QByteArray::number(piece[0].unicode(), 16).toUpper() + "},";
            out += ++count % 6 == 0 ? "\n" : " ";
        }
    }
    out += "\n};\n";
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.flush() ||
        !file.commit()) {
        std::fprintf(stderr, "yubin-cp932-pairs: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
