#include "search/byte_search.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace yubin {
namespace {

// A haystack of 100 dots with the given bytes placed in it.
struct FindCase {
    std::vector<std::pair<qsizetype, const char*>> placed;
    const char* needle;
    qsizetype from;
    qsizetype expected;
};

class ByteSearch : public testing::TestWithParam<FindCase> {};

// Placements on both sides of the 16- and 32-byte steps and at the very
// end, where no whole vector fits, find the same first place.
TEST_P(ByteSearch, FindsTheFirstWholeNeedleFromTheGivenPlace) {
    const FindCase& c = GetParam();
    QByteArray haystack(100, '.');
    for (const auto& [at, bytes] : c.placed)
        haystack.replace(at, qsizetype(qstrlen(bytes)), bytes);
    EXPECT_EQ(findBytes(haystack, QByteArrayView(c.needle), c.from), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ByteSearch,
    testing::Values(FindCase{{{0, "xyz"}}, "xyz", 0, 0}, FindCase{{{15, "xyz"}}, "xyz", 0, 15},
                    FindCase{{{16, "xyz"}}, "xyz", 0, 16}, FindCase{{{31, "xyz"}}, "xyz", 0, 31},
                    FindCase{{{32, "xyz"}}, "xyz", 0, 32}, FindCase{{{63, "xyz"}}, "xyz", 0, 63},
                    FindCase{{{97, "xyz"}}, "xyz", 0, 97}, FindCase{{{98, "xy"}}, "xyz", 0, -1},
                    // First and last bytes alone are no hit.
                    FindCase{{{10, "xaz"}, {50, "xyz"}}, "xyz", 0, 50},
                    FindCase{{{5, "xyz"}, {70, "xyz"}}, "xyz", 6, 70},
                    FindCase{{{40, "x"}}, "x", 0, 40}, FindCase{{{40, "xy"}}, "xy", 41, -1},
                    FindCase{{}, "xyz", 0, -1}, FindCase{{}, "", 7, 7},
                    FindCase{{{3, "x"}}, "x", 100, -1}));

} // namespace
} // namespace yubin
