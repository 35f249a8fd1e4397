#pragma once

// Reading the postal data files: whole, decoded from code page 932, and cut
// into lines. A line ends at CR LF as published, and also at a bare LF or CR.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace yubin {

// The town name of a municipality's entry for every address the file does
// not list.
inline const QString CatchAllTown = QStringLiteral("以下に掲載がない場合");

// The file's bytes; nullopt when it cannot be opened or read (missing, a
// folder, no access).
std::optional<QByteArray> readFileBytes(const QString& path);

// The file decoded from code page 932, or from UTF-8 when it is valid UTF-8
// text; nullopt as above. Undecodable bytes become U+FFFD.
std::optional<QString> readDecodedFile(const QString& path);

// Calls fn(line) for every line of the text, without its line end. A final
// line without a line end counts; an empty text has no lines.
template <typename View, typename Fn> void forEachLine(View text, Fn&& fn) {
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = text[i];
        if (c == '\r' || c == '\n') {
            fn(text.sliced(start, i - start));
            if (c == '\r' && i + 1 < size && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < size)
        fn(text.sliced(start));
}

} // namespace yubin
