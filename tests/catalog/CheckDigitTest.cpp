#include <gtest/gtest.h>

#include "catalog/CheckDigit.h"
#include "catalog/InStore.h"

namespace catalog {
namespace {

struct JanRow {
    const char* code;
    bool valid;
};

TEST(CheckDigitTest, JanCodesOfEachLength) {
    const JanRow rows[] = {
        {"4912345678904", true},   // JAN-13
        {"4912345678905", false},  // its last digit off by one
        {"4901085089385", true},   // JAN-13
        {"49722536", true},        // JAN-8
        {"49722535", false},
        {"045496730413", true},    // UPC-A: a JAN-13 with its leading 0 left off
        {"0045496730413", true},   // the same as a JAN-13
        {"045496730414", false},
        {"0202100001509", true},   // in-store
        {"2300020050008", true},
        {"2112002515005", true},
        {"12a4", false},           // not all digits
        {"", false},
        {"5", false},              // no digits before the check digit
    };
    for (const JanRow& row : rows) EXPECT_EQ(HasJanCheckDigit(row.code), row.valid) << row.code;
    EXPECT_EQ(JanCheckDigit("491234567890"), 4);
    EXPECT_EQ(JanCheckDigit("4972253"), 6);
}

TEST(CheckDigitTest, PriceCheckDigitOfFourDigits) {
    const std::pair<const char*, int> rows[] = {
        {"2875", 9}, {"0000", 0}, {"1500", 3}, {"0150", 1}, {"9999", 6}, {"287", -1}, {"28a5", -1},
    };
    for (const auto& [price, digit] : rows) EXPECT_EQ(PriceCheckDigit(price), digit) << price;
}

struct InStoreRow {
    const char* code;
    InStoreLayout layout;
    const char* item;  // nullptr: not an in-store code of that layout
    std::int64_t price;
    bool priceCheckWrong;
};

TEST(InStoreTest, LayoutsTakeTheCodeApart) {
    const InStoreRow rows[] = {
        {"0202100001509", {5, 5, false}, "02100", 150, false},
        {"2300020050008", {5, 5, false}, "00020", 5000, false},
        {"2112002515005", {6, 4, false}, "120025", 1500, false},
        {"2112340128004", {4, 6, false}, "1234", 12800, false},
        {"2112345928753", {5, 4, true}, "12345", 2875, false},
        {"2112345828756", {5, 4, true}, "12345", 2875, true},  // price check digit 8, not 9
        {"4912345678904", {5, 5, false}, nullptr, 0, false},    // a JAN, no flag
        {"1912345678904", {5, 5, false}, nullptr, 0, false},
        {"021000015", {5, 5, false}, nullptr, 0, false},         // not 13 digits
    };
    for (const InStoreRow& row : rows) {
        std::optional<InStoreParts> parts = ReadInStore(row.code, row.layout);
        ASSERT_EQ(parts.has_value(), row.item != nullptr) << row.code;
        if (!parts) continue;
        EXPECT_EQ(parts->item, row.item) << row.code;
        EXPECT_EQ(parts->price, row.price) << row.code;
        EXPECT_EQ(parts->priceCheckDigitWrong, row.priceCheckWrong) << row.code;
    }
}

TEST(InStoreTest, LayoutTextsReadBack) {
    for (const InStoreLayout& layout : InStoreLayouts()) {
        EXPECT_EQ(ReadLayout(LayoutText(layout)), layout) << std::string(LayoutText(layout).begin(), LayoutText(layout).end());
        EXPECT_EQ(2 + layout.itemDigits + layout.priceDigits + (layout.priceCheckDigit ? 1 : 0) + 1, 13);
    }
    EXPECT_FALSE(ReadLayout(L"5-6"));
    EXPECT_FALSE(ReadLayout(L""));
}

}  // namespace
}  // namespace catalog
