#include <gtest/gtest.h>

#include "receipt/ReceiptPolicy.h"

using receipt::ReceiptPolicy;

namespace {

regi::SaleRecord SaleNumbered(std::int64_t number) {
    regi::SaleRecord sale;
    sale.number = number;
    return sale;
}

}  // namespace

TEST(ReceiptPolicy, OnlyEverySaleModePrintsAtTheSettlement) {
    EXPECT_FALSE(ReceiptPolicy::PrintsWhenSettled(receipt::PrintMode::Never));
    EXPECT_TRUE(ReceiptPolicy::PrintsWhenSettled(receipt::PrintMode::EverySale));
    EXPECT_FALSE(ReceiptPolicy::PrintsWhenSettled(receipt::PrintMode::OnRequest));
}

TEST(ReceiptPolicy, F5ShowsThisRunsLastSaleElseTheJournalsAsAReprint) {
    struct Case {
        const char* name;
        std::int64_t thisRun;  // 0: no sale settled in this run
        int journal;           // -1: no journal kept; else its last sale's number (0: none)
        std::int64_t printed;  // the sale whose receipt was printed, -1: none
        std::int64_t shown;    // 0: nothing shown
        bool reprint;
    };
    const Case cases[] = {
        {"nothing anywhere", 0, -1, -1, 0, false},
        {"journal without sales", 0, 0, -1, 0, false},
        {"this run's sale", 7, -1, -1, 7, false},
        {"this run's sale before the journal's", 7, 6, -1, 7, false},
        {"this run's sale printed once", 7, -1, 7, 7, true},
        {"another sale printed", 7, -1, 6, 7, false},
        {"an earlier run's sale", 0, 12, -1, 12, true},
    };
    for (const Case& c : cases) {
        ReceiptPolicy policy;
        if (c.printed >= 0) policy.Printed(SaleNumbered(c.printed));
        regi::SaleRecord journalLast = SaleNumbered(c.journal);
        ReceiptPolicy::JournalLastSale journal = [&]() -> const regi::SaleRecord* {
            return c.journal < 0 ? nullptr : &journalLast;
        };
        std::optional<ReceiptPolicy::Choice> choice = policy.ForReissue(SaleNumbered(c.thisRun), journal);
        ASSERT_EQ(choice.has_value(), c.shown != 0) << c.name;
        if (!choice) continue;
        EXPECT_EQ(choice->sale.number, c.shown) << c.name;
        EXPECT_EQ(choice->reprint, c.reprint) << c.name;
    }
}
