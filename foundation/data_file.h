#pragma once

// Reading the postal data files: whole, decoded from code page 932, and cut
// into lines. A line ends at CR LF as published, and also at a bare LF or CR.

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QIODevice>
#include <QString>
#include <QStringView>

#include <optional>

struct stat;

namespace yubin {

// The town name of a municipality's entry for every address the file does
// not list.
inline const QString CatchAllTown = QStringLiteral("以下に掲載がない場合");
// The ending of a town name that covers its municipality as a whole.
inline const QString WholeAreaEnding = QStringLiteral("一円");

// Opens the path for reading when it names a regular file (or a link to
// one); false for anything else: missing, a folder, no access, and a FIFO,
// socket or device named like a data file, which is never opened in a way
// that could wait for a writer.
bool openRegularFile(const QString& path, QFile& file);
// The same as a descriptor of the caller's own, with the opened file's
// status in `status`; -1 when refused.
int openRegularFileDescriptor(const QString& path, struct stat& status);

// The file's bytes; nullopt when openRegularFile refuses it.
std::optional<QByteArray> readFileBytes(const QString& path);
// The same into `bytes`, whose memory is reused: false when refused.
bool readFileBytes(const QString& path, QByteArray& bytes);

// The file's bytes, all of them or none: nullopt as above and on any read
// error. For what writes data from a file, where a part would be a loss.
std::optional<QByteArray> readWholeFile(const QString& path);

// The device's bytes to its end. A read error keeps the lines read before
// it: the bytes up to the last line end, without the cut line after it.
QByteArray readFileBytes(QIODevice& device);
// The same into `bytes`, whose memory is reused.
void readFileBytes(QIODevice& device, QByteArray& bytes);

// Whether the bytes hold non-ASCII text and are valid UTF-8 throughout: a
// data file saved so by an editor, read as what it says.
bool isUtf8Text(QByteArrayView bytes);

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
