#pragma once
// Discounts as the register keeps them: yen off (値引) or whole percent off
// (割引) a line or the whole sale, and the split of a discount on the whole
// sale between the tax classes, so that each rate's tax is computed once on
// its amount after the discount. Windows-free.
#include <array>
#include <cstdint>

namespace regi {

enum class DiscountKind : int { Yen = 0, Percent = 1 };

// The highest percent a 割引 takes.
constexpr std::int64_t kMaxPercentOff = 99;

// A discount as keyed and the yen it takes off.
struct Discount {
    DiscountKind kind = DiscountKind::Yen;
    std::int64_t keyed = 0;   // the yen, or the percent, as keyed
    std::int64_t amount = 0;  // the yen it takes off: keyed yen, or a percent of the amount rounded down
    bool operator==(const Discount& other) const {
        return kind == other.kind && keyed == other.keyed && amount == other.amount;
    }
};

// The yen a discount of kind and keyed takes off amount (0 or more): the yen
// as keyed, or keyed percent of amount rounded down.
std::int64_t DiscountYen(DiscountKind kind, std::int64_t keyed, std::int64_t amount);

// Per tax class, by the class's value (TaxClass: exempt 0, standard 1, reduced 2).
using ClassAmounts = std::array<std::int64_t, 3>;

// Splits yen (0 to the sum of the positive amounts) between the classes in
// proportion to their amounts: each class with a positive amount gets its
// share rounded down, and the yen those leave go to reduced, then standard,
// then exempt, as far as each has room. The parts add up to yen exactly, and
// no part is above its class's amount.
ClassAmounts SplitDiscount(std::int64_t yen, const ClassAmounts& amounts);

// floor(a * b / c) for 0 <= a, b < 2^40 and c > 0, exactly within 64 bits
// (a sale's amounts stay below 2^40, their products do not).
std::int64_t MulDiv(std::int64_t a, std::int64_t b, std::int64_t c);

}  // namespace regi
