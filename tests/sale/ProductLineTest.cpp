#include <gtest/gtest.h>

#include "register/SaleView.h"
#include "sale/Sale.h"

namespace regi {
namespace {

Rates ShopRates() {
    Rates rates(10, 8);
    rates.departments.named = {{1, L"飲料", TaxClass::Standard}, {2, L"食品", TaxClass::Reduced}};
    return rates;
}

CodeRing Found(const char* code, const wchar_t* name, std::int64_t price, int department) {
    CodeRing ring;
    ring.kind = CodeRing::Kind::Product;
    ring.product = {code, name, price, department};
    ring.shown = std::wstring(code, code + std::char_traits<char>::length(code));
    return ring;
}

TEST(ProductLines, RingInTheirDepartmentWithTheirNameAndCode) {
    TSale sale;
    ASSERT_TRUE(sale.RunCode(Found("4912345678904", L"緑茶", 150, 1), ShopRates()).acted);
    ASSERT_TRUE(sale.RunCode(Found("49722536", L"のり", 300, 2), ShopRates()).acted);
    // Quantities, discounts and voids work on them as on any line.
    ASSERT_TRUE(sale.Run(Command::Quantity, Entry(L"3"), ShopRates()).acted);
    ASSERT_TRUE(sale.Run(Command::LineYenOff, Entry(L"100"), ShopRates()).acted);
    const std::vector<LineRecord> lines = sale.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].product, "4912345678904");
    EXPECT_EQ(lines[0].name, L"緑茶");
    EXPECT_EQ(lines[0].taxClass, TaxClass::Standard);
    EXPECT_EQ(lines[1].taxClass, TaxClass::Reduced);
    EXPECT_EQ(lines[1].department, 2);
    EXPECT_EQ(lines[1].subtotal, 900);
    EXPECT_EQ(sale.Totals().Total(), 150 + 900 - 100);
    EXPECT_EQ(CellText(sale, 1, 1), L"300");
    EXPECT_EQ(DepartmentText(sale, ShopRates().departments), L"2行目 ※のり (食品)");
    ASSERT_TRUE(sale.Run(Command::Void, Entry(L"1"), ShopRates()).acted);
    EXPECT_EQ(sale.Lines()[0].product, "49722536");
}

// A department armed before the scan does not take the product's line, and is used up.
TEST(ProductLines, GoToTheirOwnDepartment) {
    TSale sale;
    ASSERT_TRUE(sale.Run(Command::ArmDepartment, Entry(L"2"), ShopRates()).acted);
    ASSERT_TRUE(sale.RunCode(Found("4912345678904", L"緑茶", 150, 1), ShopRates()).acted);
    EXPECT_EQ(sale.Lines()[0].department, 1);
    EXPECT_EQ(sale.ArmedDepartment(), 0);
}

struct RefusedRow {
    CodeRing ring;
    Refusal refusal;
    const wchar_t* says;
};

TEST(ProductLines, RefusedInWordsAndNothingRung) {
    CodeRing unknown, wrong, price;
    unknown.kind = CodeRing::Kind::Unknown, unknown.shown = L"4901085089385";
    wrong.kind = CodeRing::Kind::WrongCheckDigit, wrong.shown = L"4912345678905";
    price.kind = CodeRing::Kind::WrongPriceCheckDigit, price.shown = L"2002100828759";
    const RefusedRow rows[] = {
        {unknown, Refusal::UnknownProduct, L"登録されていない商品です｡\r\nコード: 4901085089385"},
        {wrong, Refusal::WrongCheckDigit, L"コード 4912345678905 はチェックデジットが違います"},
        {price, Refusal::WrongPriceCheckDigit, L"インストアコード 2002100828759 は価格のチェックデジット"},
        {Found("123", L"消えた部門", 100, 9), Refusal::NoSuchDepartment, L"部門 9 はありません"},
    };
    for (const RefusedRow& row : rows) {
        TSale sale;
        Outcome outcome = sale.RunCode(row.ring, ShopRates());
        EXPECT_EQ(outcome.refusal, row.refusal) << static_cast<int>(row.refusal);
        EXPECT_EQ(outcome.Message().rfind(row.says, 0), 0u) << static_cast<int>(row.refusal);
        EXPECT_EQ(outcome.EntryAfter(L"4912345678905"), L"4912345678905");  // left for correction
        EXPECT_EQ(sale.LineCount(), 0);
    }
}

}  // namespace
}  // namespace regi
