#include "receipt/ReturnReceipt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Utf8.h"
#include "sale/Money.h"
#include "tests/receipt/ReceiptText.h"

using namespace receipt;
using regi::TaxClass;

namespace {

// A return of ¥9,999 or ¥10,000 against sale 42: a reduced line of 2 × ¥1,080,
// then the standard rest, ¥1,000 by card and the rest in cash.
regi::ReturnRecord GiveBack(std::int64_t total) {
    const std::int64_t standard = total - 2160;
    regi::ReturnRecord back;
    back.number = 1207;
    back.time = L"2026-12-09T10:15:00";
    back.sale = 42;
    back.saleTime = L"2026-12-08T21:07:56";
    back.lines = {{2, {TaxClass::Reduced, 1080, 2, 2160}, 2160},
                  {3, {TaxClass::Standard, standard + 100, 1, standard + 100}, standard}};
    back.taxes = regi::SumTaxes({{TaxClass::Reduced, 1080, 2, 2160}, {TaxClass::Standard, standard, 1, standard}}, 10, 8);
    back.tenders = {{1, 1000}};
    return back;
}

std::vector<std::wstring> Rows(const regi::ReturnRecord& back, const Settings& settings) {
    std::wstring text = PlainText(ReturnReceiptLines(back, settings, false), settings.Columns());
    std::vector<std::wstring> rows;
    for (size_t at = 0, end; (end = text.find(L"\r\n", at)) != std::wstring::npos; at = end + 2) {
        std::wstring row = text.substr(at, end - at);
        row.erase(0, row.find_first_not_of(L' '));
        rows.push_back(row);
    }
    return rows;
}

bool Has(const std::vector<std::wstring>& rows, const std::wstring& start) {
    for (const std::wstring& row : rows)
        if (row.compare(0, start.size(), start) == 0) return true;
    return false;
}

TEST(ReturnReceipt, ARegisteredShopsRefundOfTenThousandYenIsAReturnInvoice) {
    Settings unregistered = receipt_test::Shop(80);
    unregistered.registrationNumber.clear();
    struct Case {
        const char* name;
        std::int64_t total;
        Settings settings;
        bool invoice;
    } cases[] = {
        {"¥9,999", 9999, receipt_test::Shop(80), false},
        {"¥10,000", 10000, receipt_test::Shop(80), true},
        {"¥10,000 from a shop not registered", 10000, unregistered, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::wstring> rows = Rows(GiveBack(c.total), c.settings);
        // On every return receipt: its title, dates and numbers, the lines
        // with their marks, per rate the refund and its tax, how it went back.
        for (const std::wstring& field :
             {std::wstring(L"返品"), std::wstring(L"返品日 2026年12月09日(水) 10:15"), std::wstring(L"売上日 2026年12月08日(火) 21:07"),
              std::wstring(L"※商品"), std::wstring(L"2 × ¥1,080"), std::wstring(L"値引後"),
              L"10%対象 " + regi::FormatMoney(c.total - 2160) + L" 内消費税", std::wstring(L"8%対象 ¥2,160 内消費税 ¥160"),
              std::wstring(L"その他の支払1へ返金"), std::wstring(L"現金で返金"), std::wstring(L"※は軽減税率対象")})
            EXPECT_TRUE(Has(rows, field)) << common::ToUtf8(field);
        EXPECT_EQ(Has(rows, L"返還インボイス"), c.invoice);
        EXPECT_EQ(Has(rows, L"登録番号 T1234567890123"), c.settings.Registered());
    }
}

TEST(ReturnReceipt, AReturnWithoutAReceiptSaysSoAndAReprintTooAndOnlyCash) {
    regi::ReturnRecord back = regi::ReturnWithoutReceipt({{TaxClass::Standard, 500, 1, 500}}, 10, 8);
    back.number = 9;
    back.time = L"2026-12-09T10:15:00";
    const Settings shop = receipt_test::Shop(58);
    std::wstring text = PlainText(ReturnReceiptLines(back, shop, true), shop.Columns());
    EXPECT_NE(text.find(L"再発行"), std::wstring::npos);
    EXPECT_NE(text.find(L"レシートなし"), std::wstring::npos);
    EXPECT_EQ(text.find(L"売上日"), std::wstring::npos);
    EXPECT_EQ(text.find(L"へ返金"), std::wstring::npos);
    EXPECT_NE(text.find(L"現金で返金"), std::wstring::npos);
}

}  // namespace
