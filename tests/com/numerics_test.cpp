#include <gtest/gtest.h>
#include "com/vbnum.h"
#include <vector>

using namespace com;

TEST(Numerics, RoundsHalvesToEven) {
    EXPECT_EQ(round_half_even(0.5), 0);
    EXPECT_EQ(round_half_even(1.5), 2);
    EXPECT_EQ(round_half_even(2.5), 2);
    EXPECT_EQ(round_half_even(3.5), 4);
    EXPECT_EQ(round_half_even(-2.5), -2);
    EXPECT_EQ(round_half_even(22.0 / 16), 1);
    EXPECT_EQ(round_half_even(40.0 / 16), 2);
    EXPECT_EQ(round_half_even(2.4999), 2);
    EXPECT_EQ(round_half_even(2.5001), 3);
}

TEST(Numerics, RoundingOutsideThe32BitRangeOverflows) {
    EXPECT_EQ(round_half_even(2147483647.4), 2147483647);
    try {
        round_half_even(2147483647.6);
        FAIL() << "no overflow";
    } catch (const ComError& e) {
        EXPECT_EQ(e.hr(), CTL_E_OVERFLOW);
    }
}

TEST(Numerics, Int16LoopVisitsEveryPositionAndOverflowsLikeA16BitCounter) {
    std::vector<int> seen;
    for_int16(3, [&](int16_t i) { seen.push_back(i); });
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));

    int visits = 0;
    for_int16(0, [&](int16_t) { ++visits; });
    EXPECT_EQ(visits, 0);

    // Above 32768 the last position does not fit: nothing is visited.
    visits = 0;
    EXPECT_THROW(for_int16(32769, [&](int16_t) { ++visits; }), ComError);
    EXPECT_EQ(visits, 0);

    // Exactly 32768: every position is visited, then the step past 32767 overflows.
    visits = 0;
    try {
        for_int16(32768, [&](int16_t) { ++visits; });
        FAIL() << "no overflow";
    } catch (const ComError& e) {
        EXPECT_EQ(e.hr(), CTL_E_OVERFLOW);
    }
    EXPECT_EQ(visits, 32768);

    visits = 0;
    for_int16(32767, [&](int16_t) { ++visits; });
    EXPECT_EQ(visits, 32767);
}

TEST(Numerics, BooleansAreVariantBools) {
    EXPECT_EQ(vb(true), VARIANT_BOOL(-1));
    EXPECT_EQ(vb(false), VARIANT_BOOL(0));
    EXPECT_TRUE(is_true(VARIANT_BOOL(1)));
}
