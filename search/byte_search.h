#pragma once

// The byte search under the full-search pass: where a run of bytes first
// stands in a block of a data file or of its fold key.

#include <QByteArrayView>

namespace yubin {

// The first offset at or after `from` where the needle stands in the
// haystack, or -1; `from` itself for an empty needle.
qsizetype findBytes(QByteArrayView haystack, QByteArrayView needle, qsizetype from);

} // namespace yubin
