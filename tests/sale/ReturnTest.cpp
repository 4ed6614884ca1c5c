#include "sale/Return.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Error.h"
#include "tests/support/SettledSale.h"

using namespace regi;
using testing_support::SettledSale;

namespace {

const LineRecord kBag{TaxClass::Standard, 3300, 1, 3300};
const LineRecord kBread{TaxClass::Reduced, 1080, 2, 2160};
const LineRecord kStamp{TaxClass::Exempt, 500, 1, 500, 3};

// ¥3,300 at 10 % and ¥2,160 at 8 % with ¥1,000 off the whole sale, split 604 and 396.
SaleRecord DiscountedSale() {
    return SettledSale({kBag, kBread}, 10000, 7, L"2026-12-08T10:00:00", Discount{DiscountKind::Yen, 1000, 1000});
}

std::wstring Refusal(const SaleRecord& sale, const std::vector<int>& picked, const Returned& before) {
    try {
        ReturnAgainst(sale, picked, before, RefundTo::Cash);
    } catch (const common::Error& error) {
        return error.Message();
    }
    return L"";
}

TEST(Return, EachLineGoesBackOnce) {
    const SaleRecord sale = DiscountedSale();
    const Returned bagBack{{{1, kBag, 2696}}, {}};
    const Returned allBack{{{1, kBag, 2696}, {2, kBread, 1764}}, {}};
    struct Case {
        const char* name;
        std::vector<int> picked;
        Returned before;
        std::wstring refusal;  // empty: it goes back
    } cases[] = {
        {"a line not returned", {2}, bagBack, L""},
        {"a line returned before", {1, 2}, bagBack, L"1 行目は返品済みです｡"},
        {"a line picked twice", {2, 2}, {}, L"2 行目は返品済みです｡"},
        {"no such line", {3}, {}, L"3 行目は返品済みです｡"},
        {"nothing picked", {}, bagBack, kNothingPicked},
        {"every line returned", {1}, allBack, L"No.7 の売上はすべて返品済みです｡"},
    };
    for (const Case& c : cases) EXPECT_EQ(Refusal(sale, c.picked, c.before), c.refusal) << c.name;
}

TEST(Return, RefundsWhatTheLineWasSoldForAtTheSalesRates) {
    SaleRecord atOldRates = SettledSale({kBag, kBread}, 6000, 3, L"2026-03-31T18:00:00");
    atOldRates.taxes = SumTaxes(atOldRates.lines, 8, 5);
    LineRecord discounted = kBag;
    discounted.discount = Discount{DiscountKind::Percent, 10, 330};
    const SaleRecord lineDiscount = SettledSale({discounted, kBread}, 6000, 4);
    struct Case {
        const char* name;
        SaleRecord sale;
        std::vector<int> picked;
        Returned before;
        std::vector<std::int64_t> refunds;  // per line returned
        std::int64_t standardRate, standardAmount, standardTax, reducedRate, reducedAmount, reducedTax, exempt;
    } cases[] = {
        {"the rates the sale had", atOldRates, {1, 2}, {}, {3300, 2160}, 8, 3300, 244, 5, 2160, 102, 0},
        {"its own discount off", lineDiscount, {1}, {}, {2970}, 10, 2970, 270, 8, 0, 0, 0},
        {"its class's part of the sale's discount", DiscountedSale(), {1}, {}, {2696}, 10, 2696, 245, 8, 0, 0, 0},
        {"the part of the reduced class", DiscountedSale(), {2}, {}, {1764}, 10, 0, 0, 8, 1764, 130, 0},
        {"the whole sale gives back its total", DiscountedSale(), {2, 1}, {}, {2696, 1764}, 10, 2696, 245, 8, 1764,
         130, 0},
    };
    for (const Case& c : cases) {
        ReturnRecord back = ReturnAgainst(c.sale, c.picked, c.before, RefundTo::Cash);
        std::vector<std::int64_t> refunds;
        for (const ReturnLine& line : back.lines) refunds.push_back(line.refund);
        EXPECT_EQ(refunds, c.refunds) << c.name;
        EXPECT_EQ(back.sale, c.sale.number) << c.name;
        const TaxTotals& t = back.taxes;
        EXPECT_EQ((std::vector<std::int64_t>{t.standardRate, t.standardAmount, t.standardTax, t.reducedRate,
                                             t.reducedAmount, t.reducedTax, t.exemptAmount}),
                  (std::vector<std::int64_t>{c.standardRate, c.standardAmount, c.standardTax, c.reducedRate,
                                             c.reducedAmount, c.reducedTax, c.exempt}))
            << c.name;
        EXPECT_EQ(back.Cash(), back.Total()) << c.name;
    }
}

TEST(Return, SharesOfTheSalesDiscountAddUpOverSeveralReturns) {
    // Three lines of ¥1,000 with ¥100 off the sale: 33, 33 and the 34 left over three returns.
    const LineRecord line{TaxClass::Standard, 1000, 1, 1000};
    const SaleRecord sale = SettledSale({line, line, line}, 3000, 9, L"", Discount{DiscountKind::Yen, 100, 100});
    Returned before;
    std::int64_t refunded = 0;
    std::vector<std::int64_t> refunds;
    for (int n : {2, 3, 1}) {
        ReturnRecord back = ReturnAgainst(sale, {n}, before, RefundTo::Cash);
        before.lines.push_back(back.lines[0]);
        refunds.push_back(back.lines[0].refund);
        refunded += back.Total();
    }
    EXPECT_EQ(refunds, (std::vector<std::int64_t>{967, 967, 966}));
    EXPECT_EQ(refunded, sale.taxes.Total());
}

TEST(Return, MoneyGoesBackByTheSalesTenders) {
    // ¥5,000 and ¥500 paid ¥4,000 by card (1), ¥1,000 by QR (3), ¥500 in cash.
    const LineRecord big{TaxClass::Standard, 5000, 1, 5000}, small{TaxClass::Standard, 500, 1, 500};
    SaleRecord sale = SettledSale({big, small}, 500, 11);
    sale.tenders = {{1, 4000}, {3, 1000}};
    sale.change = 0;
    struct Case {
        const char* name;
        std::vector<int> picked;
        Returned before;
        RefundTo to;
        std::vector<TenderPaid> tenders;
        std::int64_t cash;
    } cases[] = {
        {"the tenders first, in their order", {1}, {}, RefundTo::Tenders, {{1, 4000}, {3, 1000}}, 0},
        {"within a tender", {2}, {}, RefundTo::Tenders, {{1, 500}}, 0},
        {"what the tenders took back before", {2}, {{{1, big, 5000}}, {{1, 4000}, {3, 1000}}}, RefundTo::Tenders, {},
         500},
        {"a tender in part", {1}, {{{2, small, 500}}, {{1, 500}}}, RefundTo::Tenders, {{1, 3500}, {3, 1000}}, 500},
        {"all in cash", {1, 2}, {}, RefundTo::Cash, {}, 5500},
    };
    for (const Case& c : cases) {
        ReturnRecord back = ReturnAgainst(sale, c.picked, c.before, c.to);
        EXPECT_EQ(back.tenders, c.tenders) << c.name;
        EXPECT_EQ(back.Cash(), c.cash) << c.name;
    }
}

TEST(Return, WithoutAReceiptAtTheRatesGivenInCash) {
    ReturnRecord back = ReturnWithoutReceipt({kBag, kStamp}, 10, 8);
    EXPECT_EQ(back.sale, 0);
    EXPECT_EQ(back.Total(), 3800);
    EXPECT_EQ(back.taxes.standardTax, 300);
    EXPECT_EQ(back.Cash(), 3800);
    EXPECT_THROW(ReturnWithoutReceipt({}, 10, 8), common::Error);
    EXPECT_THROW(ReturnWithoutReceipt({{TaxClass::Standard, -100, 1, -100}}, 10, 8), common::Error);
}

TEST(Return, ReturnInvoiceFromTenThousandYenForARegisteredShop) {
    const LineRecord line{TaxClass::Standard, 9999, 1, 9999}, yen{TaxClass::Standard, 1, 1, 1};
    struct Case {
        const char* name;
        std::vector<LineRecord> lines;
        bool registered, owed;
    } cases[] = {
        {"¥9,999", {line}, true, false},
        {"¥10,000", {line, yen}, true, true},
        {"¥10,000 from a shop not registered", {line, yen}, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NeedsReturnInvoice(ReturnWithoutReceipt(c.lines, 10, 8), c.registered), c.owed) << c.name;
}

}  // namespace
