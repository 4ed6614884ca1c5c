#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "journal/Checkpoint.h"
#include "journal/Period.h"
#include "journal/Record.h"

using namespace journal;

namespace {

regi::LineRecord ProductLine(const char* code, std::int64_t price, std::int64_t quantity) {
    regi::LineRecord line{regi::TaxClass::Standard, price, quantity, price * quantity, 1};
    line.product = code;
    return line;
}

TEST(ProductJournal, ALineKeepsItsCodeAndOldLinesReadAsBefore) {
    Record line;
    line.sequence = 5, line.time = L"2026-12-10T10:00:00", line.sale = 2, line.line = 1;
    SetLine(line, ProductLine("0202100", 150, 2));
    const std::string text = FormatRecord(line);
    EXPECT_EQ(text.substr(text.size() - 13), ",,1,0202100\r\n");
    std::optional<Record> back = ParseRecord(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(LineOf(*back).product, "0202100");
    // The same line given back keeps its code, so that its return receipt names it again.
    Record returned = line;
    returned.kind = Kind::ReturnLine;
    ASSERT_TRUE(ParseRecord(FormatRecord(returned)));
    EXPECT_EQ(ParseRecord(FormatRecord(returned))->product, "0202100");
    // A keyed price's line is written as it always was: no field after the last.
    Record keyed = line;
    keyed.product.clear();
    keyed.department = 0;
    const std::string old = FormatRecord(keyed);
    EXPECT_EQ(std::count(text.begin(), text.end(), ',') - std::count(old.begin(), old.end(), ','), 3)
        << "the note's, the department's and the product's fields";
    ASSERT_TRUE(ParseRecord(old));
    EXPECT_EQ(ParseRecord(old)->product, "");
    // A code that is no code, or on a kind that has none, is no record.
    EXPECT_FALSE(ParseRecord(text.substr(0, text.size() - 9) + "02a100\r\n"));
}

TEST(ProductJournal, TheOpenSaleKeepsTheCode) {
    OpenSale sale{3, {ProductLine("4912345678904", 150, 1), {regi::TaxClass::Reduced, 100, 1, 100}}};
    std::optional<OpenSale> back = ParseOpenSale(FormatOpenSale(sale));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->lines[0].product, "4912345678904");
    EXPECT_EQ(back->lines[1].product, "");
}

TEST(ProductJournal, TheCloseListsBestSellersFirstAndTheCheckpointKeepsThem) {
    Period period;
    regi::SaleRecord sale;
    sale.lines = {ProductLine("4912345678904", 150, 2), ProductLine("49722536", 300, 1),
                  ProductLine("4912345678904", 150, 1), {regi::TaxClass::Standard, 999, 1, 999}};
    sale.taxes = regi::SumTaxes(sale.lines, 10, 8);
    sale.tendered = sale.taxes.Total();
    for (const Record& record : period.SaleRecords(sale)) ASSERT_TRUE(period.Add(record));
    ASSERT_EQ(period.products.size(), 2u);
    auto describe = [](std::int64_t code) -> std::pair<std::string, std::wstring> {
        if (code == 4912345678904) return {"4912345678904", L"緑茶"};
        return {};
    };
    std::vector<ReportLine> items = ProductItems(period.products, describe);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].Text(), L"商品別\t数量\t金額");
    EXPECT_EQ(items[1].Text(), L"4912345678904 緑茶\t3点\t¥450");
    EXPECT_EQ(items[2].Text(), L"49722536\t1点\t¥300");  // gone from the file: its code alone
    EXPECT_TRUE(ProductItems({}, describe).empty());

    Checkpoint checkpoint;
    checkpoint.period = period;
    std::optional<Checkpoint> back = ParseCheckpoint(FormatCheckpoint(checkpoint));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->period.products.size(), 2u);
    EXPECT_EQ(back->period.products[1].code, 4912345678904);
    EXPECT_EQ(back->period.products[1].quantity, 3);
}

}  // namespace
