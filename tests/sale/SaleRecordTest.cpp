#include <gtest/gtest.h>

#include "sale/SaleRecord.h"

using namespace regi;

namespace {

// The contained tax by the definition, in exact rational arithmetic: the
// fraction a/b cut toward zero.
std::int64_t Expected(std::int64_t amount, std::int64_t rate) {
    if (100 + rate <= 0) return 0;
    return amount * rate / (100 + rate);  // C++ division truncates toward zero
}

LineRecord Line(TaxClass c, std::int64_t price, std::int64_t quantity = 1) {
    return {c, price, quantity, price * quantity};
}

TEST(SumTaxes, CutsOncePerRateNotPerLine) {
    constexpr auto S = TaxClass::Standard, R = TaxClass::Reduced, E = TaxClass::Exempt;
    struct Case {
        std::vector<LineRecord> lines;
        std::int64_t r1, r2;
        std::int64_t standard, reduced, exempt;
    };
    const Case cases[] = {
        {{Line(R, 50), Line(R, 50), Line(R, 50)}, 10, 8, 0, 150, 0},  // 11, not 3 x 3
        {{Line(R, 1080), Line(S, 1100), Line(E, 300)}, 10, 8, 1100, 1080, 300},
        {{Line(S, 1000), Line(S, -199), Line(R, 999, 3)}, 10, 8, 801, 2997, 0},
        {{Line(S, -1100), Line(R, -50)}, 10, 8, -1100, -50, 0},
        {{Line(S, 1000), Line(R, 1000)}, 0, 0, 1000, 1000, 0},
        {{Line(S, 1000), Line(R, 1000)}, -100, -150, 1000, 1000, 0},
        {{Line(S, 1000), Line(R, 1000)}, 8, 8, 1000, 1000, 0},
        {{Line(S, 9'999'999, 999), Line(R, 9'999'999, 999)}, 10, 8, 9'989'999'001, 9'989'999'001, 0},
        {{}, 10, 8, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TaxTotals t = SumTaxes(c.lines, c.r1, c.r2);
        EXPECT_EQ(t.standardAmount, c.standard);
        EXPECT_EQ(t.reducedAmount, c.reduced);
        EXPECT_EQ(t.exemptAmount, c.exempt);
        EXPECT_EQ(t.standardTax, Expected(c.standard, c.r1)) << c.standard << " at " << c.r1;
        EXPECT_EQ(t.reducedTax, Expected(c.reduced, c.r2)) << c.reduced << " at " << c.r2;
        EXPECT_EQ(t.Total(), c.standard + c.reduced + c.exempt);
        EXPECT_EQ(t.Tax(), t.standardTax + t.reducedTax);
        EXPECT_EQ(t.standardRate, c.r1);
        EXPECT_EQ(t.reducedRate, c.r2);
    }
    EXPECT_EQ(SumTaxes({Line(R, 50), Line(R, 50), Line(R, 50)}, 10, 8).Tax(), 11);
    EXPECT_EQ(SumTaxes({Line(R, 1080), Line(S, 1100)}, 10, 8).Tax(), 180);
}

}  // namespace
