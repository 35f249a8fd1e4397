#include "search/byte_search.h"

#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <immintrin.h>
#endif

namespace yubin {

namespace {

// Candidates are the places where the needle's first and last bytes both
// stand, tested a vector of places at a time; only those are compared
// whole. This passes over the bytes several times faster than a general
// substring search. One loop serves every vector width: a width's lanes
// say only which of their places are candidates.

#ifdef __SSE2__
struct Sse2Lanes {
    static constexpr qsizetype width = 16;
    // One bit a place from `a`: its byte is `first` and the byte at the
    // same place from `b` is `last`.
    static unsigned candidates(const char* a, const char* b, char first, char last) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
        return unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(first)),
                                                        _mm_cmpeq_epi8(y, _mm_set1_epi8(last)))));
    }
};
#endif

#ifdef __x86_64__
// Where the processor has AVX2, which halves the pass again.
struct Avx2Lanes {
    static constexpr qsizetype width = 32;
    __attribute__((target("avx2"))) static unsigned candidates(const char* a, const char* b,
                                                               char first, char last) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b));
        return unsigned(
            _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(x, _mm256_set1_epi8(first)),
                                                  _mm256_cmpeq_epi8(y, _mm256_set1_epi8(last)))));
    }
};
#endif

// Whole vectors of places from `i` while the needle fits behind the last
// of them; `i` is left at the first place not looked at. Inlined into each
// width's caller, so that the lanes are compiled for that width's
// processor and inlined in turn. The needle has two bytes at least.
template <typename Lanes>
[[gnu::always_inline]] inline qsizetype findInLanes(const char* h, qsizetype size, const char* n,
                                                    qsizetype m, qsizetype& i) {
    for (; i + Lanes::width + m - 1 <= size; i += Lanes::width) {
        for (unsigned bits = Lanes::candidates(h + i, h + i + m - 1, n[0], n[m - 1]); bits != 0;
             bits &= bits - 1) {
            const int k = std::countr_zero(bits);
            if (std::memcmp(h + i + k + 1, n + 1, size_t(m - 2)) == 0)
                return i + k;
        }
    }
    return -1;
}

#ifdef __x86_64__
__attribute__((target("avx2"))) qsizetype findAvx2(const char* h, qsizetype size, const char* n,
                                                   qsizetype m, qsizetype& i) {
    return findInLanes<Avx2Lanes>(h, size, n, m, i);
}

bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") != 0;
    return has;
}
#endif

} // namespace

qsizetype findBytes(QByteArrayView haystack, QByteArrayView needle, qsizetype from) {
    const char* h = haystack.data();
    const char* n = needle.data();
    const qsizetype size = haystack.size();
    const qsizetype m = needle.size();
    if (m == 0 || size - from < m)
        return m == 0 ? from : -1;
    qsizetype i = from;
    if (m >= 2) {
#ifdef __x86_64__
        if (hasAvx2())
            if (const qsizetype hit = findAvx2(h, size, n, m, i); hit >= 0)
                return hit;
#endif
#ifdef __SSE2__
        if (const qsizetype hit = findInLanes<Sse2Lanes>(h, size, n, m, i); hit >= 0)
            return hit;
#endif
    }
    // The places too near the end for a whole vector, and one-byte needles.
    const void* hit = memmem(h + i, size_t(size - i), n, size_t(m));
    return hit ? static_cast<const char*>(hit) - h : -1;
}

} // namespace yubin
