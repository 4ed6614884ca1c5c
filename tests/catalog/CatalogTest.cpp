#include <gtest/gtest.h>

#include <string>

#include "catalog/Catalog.h"
#include "common/Utf8.h"
#include "tests/journal/ShiftJis.h"

namespace catalog {
namespace {

bool Departments1To3(int number) { return number >= 1 && number <= 3; }

ReadResult Read(const std::string& bytes) {
    return ReadProducts(bytes, journal_test::FromShiftJis, Departments1To3);
}

std::string Utf8(const std::wstring& text) { return common::ToUtf8(text); }

const std::string kHeader = Utf8(L"コード,名前,単価,部門\r\n");

// The forms a spreadsheet saves: each file holds the one product 4912345678904 文具 ¥1,280 in department 2.
TEST(CatalogTest, FormsASpreadsheetSaves) {
    const std::pair<const char*, std::string> rows[] = {
        {"UTF-8 with the mark, CRLF", "\xEF\xBB\xBF" + kHeader + Utf8(L"4912345678904,文具,1280,2\r\n")},
        {"UTF-8 without the mark, LF", Utf8(L"コード,名前,単価,部門\n4912345678904,文具,1280,2\n")},
        {"CR line ends, no last line end", Utf8(L"コード,名前,単価,部門\r4912345678904,文具,1280,2")},
        {"Shift_JIS", journal_test::ToShiftJis(L"コード,名前,単価,部門\r\n4912345678904,文具,1280,2\r\n")},
        {"quoted fields, a grouped price", kHeader + Utf8(L"\"4912345678904\",\"文具\",\"1,280\",\"2\"\r\n")},
        {"blanks around fields, a yen sign", kHeader + Utf8(L" 4912345678904 , 文具 ,¥1280, 2 \r\n")},
        {"full-width digits in the code", kHeader + Utf8(L"４９１２３４５６７８９０４,文具,1280,2\r\n")},
        {"more columns than four", kHeader + Utf8(L"4912345678904,文具,1280,2,,\r\n")},
        {"no header row", Utf8(L"4912345678904,文具,1280,2\r\n")},
        {"blank rows between", kHeader + Utf8(L",,,\r\n\r\n4912345678904,文具,1280,2\r\n")},
    };
    for (const auto& [form, bytes] : rows) {
        ReadResult read = Read(bytes);
        EXPECT_TRUE(read.faults.empty()) << form << ": " << common::ToUtf8(FaultsMessage(read.faults));
        ASSERT_EQ(read.catalog.Size(), 1u) << form;
        const Product* product = read.catalog.Find(4912345678904);
        ASSERT_NE(product, nullptr) << form;
        EXPECT_EQ(read.catalog.Name(*product), L"文具") << form;
        EXPECT_EQ(product->price, 1280) << form;
        EXPECT_EQ(product->department, 2) << form;
    }
}

TEST(CatalogTest, QuotedNamesKeepCommasAndQuotes) {
    ReadResult read = Read(kHeader + Utf8(L"1,\"酒, \"\"特選\"\"\",3000,1\r\n2,\"二行の\r\n名前\",100,1\r\n3,ok,1,1\r\n"));
    ASSERT_TRUE(read.faults.empty()) << common::ToUtf8(FaultsMessage(read.faults));
    EXPECT_EQ(read.catalog.Name(*read.catalog.Find(1)), L"酒, \"特選\"");
    EXPECT_EQ(read.catalog.Name(*read.catalog.Find(2)), L"二行の  名前");
    EXPECT_NE(read.catalog.Find(3), nullptr);
}

struct FaultRow {
    const wchar_t* row;  // the product row, under the header
    const wchar_t* says;  // a part of what the fault says
};

// Each row is the file's second row: the fault names row 2 and nothing is used.
TEST(CatalogTest, RowsThatDoNotReadAreToldByTheirRow) {
    const FaultRow rows[] = {
        {L"4912345678905,文具,100,1", L"チェックデジット"},      // JAN-13, wrong check digit
        {L"49722535,文具,100,1", L"チェックデジット"},           // JAN-8
        {L"045496730414,文具,100,1", L"チェックデジット"},       // UPC-A
        {L"12345678901234,文具,100,1", L"1 から 13 桁"},        // 14 digits
        {L"12-34,文具,100,1", L"1 から 13 桁"},
        {L",文具,100,1", L"1 から 13 桁"},
        {L"123,,100,1", L"名前がありません"},
        {L"123,あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむ,100,1", L"32 文字"},
        {L"123,文具,10000000,1", L"単価"},
        {L"123,文具,-10000000,1", L"単価"},
        {L"123,文具,百円,1", L"単価"},
        {L"123,文具,100,4", L"部門"},  // no department 4
        {L"123,文具,100,0", L"部門"},
        {L"123,文具,100,", L"部門"},
        {L"123,文具,100", L"項目が足りません"},
    };
    for (const FaultRow& row : rows) {
        ReadResult read = Read(kHeader + Utf8(row.row) + "\r\n");
        std::string name = Utf8(row.row);
        EXPECT_EQ(read.catalog.Size(), 0u) << name;
        ASSERT_EQ(read.faults.size(), 1u) << name;
        EXPECT_EQ(read.faults[0].row, 2) << name;
        EXPECT_NE(read.faults[0].what.find(row.says), std::wstring::npos) << name << ": " << Utf8(read.faults[0].what);
    }
}

TEST(CatalogTest, LimitsAreKept) {
    ReadResult read = Read(kHeader + Utf8(L"1,あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみ,9999999,1\r\n"
                                          L"2,マイナス,-9999999,3\r\n3,ゼロ,0,1\r\n"));
    EXPECT_TRUE(read.faults.empty()) << common::ToUtf8(FaultsMessage(read.faults));
    EXPECT_EQ(read.catalog.Size(), 3u);
}

// Row numbers as a spreadsheet shows them: a quoted cell's line end is no new row.
TEST(CatalogTest, RowNumbersCountRowsNotLineEnds) {
    ReadResult read = Read(kHeader + Utf8(L"1,\"a\nb\",1,1\r\n2,b,1,9\n3,c,1,1\r4,d,1,8\r\n"));
    ASSERT_EQ(read.faults.size(), 2u);
    EXPECT_EQ(read.faults[0].row, 3);
    EXPECT_EQ(read.faults[1].row, 5);
    EXPECT_EQ(read.catalog.Size(), 2u);
}

TEST(CatalogTest, ACodeGivenTwiceIsLeftOutBothTimes) {
    // 0123 and 123 are one code: a spreadsheet may have dropped the zero.
    ReadResult read = Read(kHeader + Utf8(L"0123,a,1,1\r\n5,b,1,1\r\n123,c,2,1\r\n"));
    EXPECT_EQ(read.catalog.Size(), 1u);
    EXPECT_EQ(read.catalog.Find(123), nullptr);
    ASSERT_EQ(read.faults.size(), 2u);
    EXPECT_EQ(read.faults[0].row, 2);
    EXPECT_NE(read.faults[0].what.find(L"4 行目"), std::wstring::npos);
    EXPECT_EQ(read.faults[1].row, 4);
    EXPECT_NE(read.faults[1].what.find(L"2 行目"), std::wstring::npos);
}

TEST(CatalogTest, CodesKeepTheirLeadingZerosInText) {
    ReadResult read = Read(kHeader + Utf8(L"02100,まぐろ,0,1\r\n0045496730413,輸入品,500,1\r\n"));
    ASSERT_EQ(read.catalog.Size(), 2u);
    EXPECT_EQ(Catalog::CodeText(*read.catalog.Find(2100)), "02100");
    EXPECT_EQ(Catalog::CodeText(*read.catalog.Find(45496730413)), "0045496730413");
}

TEST(CatalogTest, AtMostTheLimitOfProducts) {
    std::string bytes = kHeader;
    for (size_t i = 1; i <= kMaxProducts + 2; ++i) bytes += std::to_string(i) + ",p,1,1\r\n";
    ReadResult read = Read(bytes);
    EXPECT_EQ(read.catalog.Size(), kMaxProducts);
    ASSERT_EQ(read.faults.size(), 1u);  // told once
    EXPECT_EQ(read.faults[0].row, static_cast<std::int64_t>(kMaxProducts) + 2);
}

TEST(CatalogTest, TheMessageNamesEachRowUpToAScreenful) {
    std::vector<Fault> faults;
    for (int i = 0; i < 25; ++i) faults.push_back({i + 2, L"x"});
    std::wstring message = FaultsMessage(faults);
    EXPECT_NE(message.find(L"25 行"), std::wstring::npos);
    EXPECT_NE(message.find(L"21 行目: x"), std::wstring::npos);
    EXPECT_EQ(message.find(L"22 行目"), std::wstring::npos);
    EXPECT_NE(message.find(L"ほか 5 行"), std::wstring::npos);
    EXPECT_EQ(FaultsMessage({}), L"");
}

}  // namespace
}  // namespace catalog
