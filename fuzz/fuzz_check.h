#pragma once

// What every fuzz target shares: a property check that stops the run with
// the failing condition, and the ways the targets turn bytes into text.

#include "foundation/platform.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace yubin::fuzz {

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Any UTF-16 text, lone surrogates and noncharacters included: what a
// damaged file or a pasted text can put in a QString.
inline QString utf16Of(const uint8_t* data, size_t size) {
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    for (size_t i = 0; i + 1 < size; i += 2)
        text[qsizetype(i / 2)] = QChar(char16_t(data[i] | (data[i + 1] << 8)));
    return text;
}

// Time that never passes: a run never yields, so its result depends on the
// input alone.
class StillClock final : public Clock {
public:
    qint64 nowMs() override { return 0; }
};

} // namespace yubin::fuzz
