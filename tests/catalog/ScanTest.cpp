#include <gtest/gtest.h>

#include "catalog/Scan.h"
#include "common/Utf8.h"

namespace catalog {
namespace {

using Kind = regi::CodeRing::Kind;

Catalog Products() {
    std::string file = common::ToUtf8(
        L"コード,名前,単価,部門\r\n"
        L"4912345678904,緑茶,150,1\r\n"
        L"49722536,のり,300,2\r\n"
        L"0045496730413,輸入ビール,280,1\r\n"
        L"04972259,古い JAN-8,90,1\r\n"
        L"02100,まぐろ,0,3\r\n"
        L"120025,牛肉,0,3\r\n"
        L"2212345000005,刺身盛合せ,980,3\r\n"
        L"7,七番,70,1\r\n");
    ReadResult read = ReadProducts(file, {}, [](int n) { return n >= 1 && n <= 3; });
    EXPECT_TRUE(read.faults.empty()) << common::ToUtf8(FaultsMessage(read.faults));
    return std::move(read.catalog);
}

struct ScanRow {
    const char* keyed;
    bool productKey;
    std::optional<Kind> kind;  // nothing: rung as a price
    const wchar_t* name;       // of the product rung
    std::int64_t price;
    const wchar_t* shown;  // in the message, for a code refused
};

// What ENTER and the product key ring for digits keyed or scanned; the
// in-store layout is the usual one, item 5 and price 5.
TEST(ScanTest, WhatDigitsRing) {
    const ScanRow rows[] = {
        // A JAN-13, JAN-8 and UPC-A scanned with Enter.
        {"4912345678904", false, Kind::Product, L"緑茶", 150, nullptr},
        {"49722536", false, Kind::Product, L"のり", 300, nullptr},
        {"045496730413", false, Kind::Product, L"輸入ビール", 280, nullptr},
        {"0045496730413", false, Kind::Product, L"輸入ビール", 280, nullptr},
        // Wrong check digits and unknown codes are told, never a price.
        {"4912345678905", false, Kind::WrongCheckDigit, nullptr, 0, L"4912345678905"},
        {"49722535", false, Kind::WrongCheckDigit, nullptr, 0, L"49722535"},
        {"4901085089385", false, Kind::Unknown, nullptr, 0, L"4901085089385"},
        {"12345670", false, Kind::Unknown, nullptr, 0, L"12345670"},
        // Up to 7 digits are a price with ENTER, whatever their last digit.
        {"1234567", false, std::nullopt, nullptr, 0, nullptr},
        {"150", false, std::nullopt, nullptr, 0, nullptr},
        // 8 digits with a leading 0: a product only when the file has it.
        {"04972259", false, Kind::Product, L"古い JAN-8", 90, nullptr},
        {"01234565", false, std::nullopt, nullptr, 0, nullptr},  // right check digit, no product
        {"01234567", false, std::nullopt, nullptr, 0, nullptr},  // wrong check digit: a price
        // In-store codes: the price in the code, the item by its number.
        {"0202100001509", false, Kind::Product, L"まぐろ", 150, nullptr},
        {"202100001509", false, Kind::Product, L"まぐろ", 150, nullptr},  // its leading zero lost
        {"2012345001008", false, Kind::Unknown, nullptr, 0, L"2012345001008 (品番 12345)"},
        // An in-store code the file has whole is a product of its own (no price inside).
        {"2212345000005", false, Kind::Product, L"刺身盛合せ", 980, nullptr},
        // The product key takes any code of 1 to 13 digits.
        {"7", true, Kind::Product, L"七番", 70, nullptr},
        {"0007", true, Kind::Product, L"七番", 70, nullptr},
        {"8", true, Kind::Unknown, nullptr, 0, L"8"},
        {"4912345678904", true, Kind::Product, L"緑茶", 150, nullptr},
        {"4912345678905", true, Kind::WrongCheckDigit, nullptr, 0, L"4912345678905"},
        {"", true, Kind::Unknown, nullptr, 0, L""},
        {"12.5", true, Kind::Unknown, nullptr, 0, L"12.5"},
        {"12.5", false, std::nullopt, nullptr, 0, nullptr},
    };
    const Catalog catalog = Products();
    for (const ScanRow& row : rows) {
        std::string name = std::string(row.keyed) + (row.productKey ? " PLU" : " ENTER");
        std::optional<regi::CodeRing> ring = ReadCode(row.keyed, row.productKey, catalog, InStoreLayout{});
        ASSERT_EQ(ring.has_value(), row.kind.has_value()) << name;
        if (!ring) continue;
        EXPECT_EQ(ring->kind, *row.kind) << name;
        if (row.name) {
            EXPECT_EQ(ring->product.name, row.name) << name;
            EXPECT_EQ(ring->product.price, row.price) << name;
        }
        if (row.shown) {
            EXPECT_EQ(ring->shown, row.shown) << name;
        }
    }
}

TEST(ScanTest, InStoreLayoutsAndPriceCheckDigits) {
    const Catalog catalog = Products();
    std::optional<regi::CodeRing> ring = ReadCode("2112002515005", false, catalog, {6, 4, false});
    ASSERT_TRUE(ring);
    EXPECT_EQ(ring->product.name, L"牛肉");
    EXPECT_EQ(ring->product.price, 1500);
    EXPECT_EQ(ring->product.code, "120025");
    // Item 02100, price check digit 9, ¥2,875.
    ring = ReadCode("2002100928756", false, catalog, {5, 4, true});
    ASSERT_TRUE(ring);
    EXPECT_EQ(ring->kind, Kind::Product);
    EXPECT_EQ(ring->product.price, 2875);
    ring = ReadCode("2002100828759", false, catalog, {5, 4, true});
    ASSERT_TRUE(ring);
    EXPECT_EQ(ring->kind, Kind::WrongPriceCheckDigit);
}

}  // namespace
}  // namespace catalog
