#include <gtest/gtest.h>

#include <limits>

#include "sale/Money.h"

using namespace regi;

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

TEST(CheckedMoney, GivesTheResultOrNothingNeverAWrappedOne) {
    struct Case {
        std::int64_t a, b;
        std::optional<std::int64_t> sum, difference, product;
    };
    const Case cases[] = {
        {2, 3, 5, -1, 6},
        {-7, 3, -4, -10, -21},
        {kMax, 1, std::nullopt, kMax - 1, kMax},
        {kMin, -1, std::nullopt, kMin + 1, std::nullopt},
        {kMin, 1, kMin + 1, std::nullopt, kMin},
        {kMax, kMin, -1, std::nullopt, std::nullopt},
        {0, kMin, kMin, std::nullopt, 0},
        {3'037'000'500, 3'037'000'500, 6'074'001'000, 0, std::nullopt},
        {kMaxSaleTotal, -kMaxSaleTotal, 0, 2 * kMaxSaleTotal, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckedAdd(c.a, c.b), c.sum) << c.a << " + " << c.b;
        EXPECT_EQ(CheckedSub(c.a, c.b), c.difference) << c.a << " - " << c.b;
        EXPECT_EQ(CheckedMul(c.a, c.b), c.product) << c.a << " * " << c.b;
    }
}

}  // namespace
