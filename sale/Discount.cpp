#include "sale/Discount.h"

#include <cstddef>

namespace regi {

std::int64_t MulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    // b = high * 2^20 + low: each product stays below 2^60.
    const std::int64_t high = b >> 20, low = b & ((std::int64_t{1} << 20) - 1);
    const std::int64_t first = a * high;
    const std::int64_t rest = (first % c << 20) + a * low;
    return (first / c << 20) + rest / c;
}

std::int64_t DiscountYen(DiscountKind kind, std::int64_t keyed, std::int64_t amount) {
    if (kind == DiscountKind::Yen) return keyed;
    return amount > 0 ? MulDiv(amount, keyed, 100) : 0;
}

ClassAmounts SplitDiscount(std::int64_t yen, const ClassAmounts& amounts) {
    ClassAmounts parts{0, 0, 0};
    std::int64_t base = 0;
    for (std::int64_t amount : amounts)
        if (amount > 0) base += amount;
    if (base == 0 || yen <= 0) return parts;
    std::int64_t left = yen;
    for (std::size_t c = 0; c < parts.size(); ++c) {
        if (amounts[c] <= 0) continue;
        parts[c] = MulDiv(yen, amounts[c], base);
        left -= parts[c];
    }
    // The yen the shares leave (fewer than the classes) go to reduced, then
    // standard, then exempt, each as far as its amount has room: the same
    // class every time the room is there.
    for (std::size_t c : {std::size_t{2}, std::size_t{1}, std::size_t{0}}) {
        if (amounts[c] <= 0) continue;
        std::int64_t take = left < amounts[c] - parts[c] ? left : amounts[c] - parts[c];
        parts[c] += take;
        left -= take;
    }
    return parts;
}

}  // namespace regi
