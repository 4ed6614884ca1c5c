#include "journal/Export.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "common/Utf8.h"
#include "journal/Session.h"
#include "sale/Return.h"
#include "sale/Sale.h"
#include "tests/journal/MemoryStorage.h"
#include "tests/journal/ShiftJis.h"

using namespace journal;
using namespace journal_test;
using regi::Command;
using regi::TaxClass;

namespace {

const std::wstring kFolder = L"C:\\shop";
const std::vector<std::wstring> kTenders = {L"クレジット", L"電子マネー", L"QRコード"};

// A sale keyed as the operator keys it.
regi::SaleRecord Keyed(const std::vector<std::pair<const wchar_t*, Command>>& keys) {
    regi::TSale sale;
    regi::SaleRecord settled;
    sale.recorder.settling = [&](regi::SaleRecord& record) { settled = record; };
    const regi::Rates rates(10, 8, false, kTenders);
    for (const auto& [entry, command] : keys) EXPECT_FALSE(sale.Run(command, regi::Entry(entry), rates).Refused());
    return settled;
}

std::vector<std::wstring> Rows(const std::wstring& text) {
    std::vector<std::wstring> rows;
    std::wstringstream in(text);
    for (std::wstring row; std::getline(in, row);) rows.push_back(row.substr(0, row.size() - 1));  // less the CR
    return rows;
}

class ExportTest : public testing::Test {
protected:
    std::unique_ptr<Session> Open() {
        return std::make_unique<Session>(
            storage_, kFolder, [this] { return now_; }, ShiftJis());
    }
    // The first day: ¥1,100 less ¥100 at 10 % and ¥540 at 8 % in cash; ¥2,160
    // at 8 % by card; ¥2,200 at 10 % and ¥300 exempt less 10 %, by e-money,
    // QR and cash; the ¥540 line of the first sale back in cash; ¥5,000 in,
    // ¥1,200 out; the Z. The second day: a return without a receipt, the Z.
    void TwoDays() {
        auto session = Open();
        session->Load();
        session->RecordSale(Keyed({{L"1100", Command::EnterLine},
                                   {L"100", Command::LineYenOff},
                                   {L"540", Command::OtherLine},
                                   {L"2000", Command::Settle}}));
        session->RecordSale(Keyed({{L"2160", Command::OtherLine}, {L"", Command::Tender1}}));
        session->RecordSale(Keyed({{L"2200", Command::EnterLine},
                                   {L"300", Command::ExemptLine},
                                   {L"10", Command::SubtotalPercentOff},
                                   {L"1000", Command::Tender2},
                                   {L"500", Command::Tender3},
                                   {L"1000", Command::Settle}}));
        ReturnableSale found = session->FindReturnable(1);
        session->RecordReturn(regi::ReturnAgainst(found.sale, {2}, found.returned, regi::RefundTo::Cash));
        session->RecordMoney(Kind::In, 5000, L"両替");
        session->RecordMoney(Kind::Out, 1200, L"仕入");
        firstZ_ = session->TakeZ(0, kTenders);
        now_ = {2026, 12, 9, 10, 0, 0};
        session->RecordReturn(regi::ReturnWithoutReceipt({{TaxClass::Standard, 1100, 1, 1100}}, 10, 8));
        session->TakeZ(0, kTenders);
    }
    std::vector<ClosedDay> Days(std::int64_t first, std::int64_t last) {
        std::optional<std::vector<ClosedDay>> days =
            ReadClosedDays(storage_, kFolder + L"\\" + kJournalName, {}, nullptr, first, last);
        EXPECT_TRUE(days);
        return days.value_or(std::vector<ClosedDay>());
    }
    std::vector<std::wstring> RowsOf(Program program, const std::vector<ClosedDay>& days) {
        std::vector<Entry> entries;
        for (const ClosedDay& day : days)
            for (const Entry& entry : DayEntries(day, DefaultBookNames(program), kTenders)) entries.push_back(entry);
        return Rows(BookRows(program, entries));
    }

    MemoryStorage storage_;
    common::DateTime now_{2026, 12, 8, 18, 0, 0};
    Report firstZ_;
};

TEST_F(ExportTest, EachProgramGetsTheDaysEntriesInItsOwnColumns) {
    TwoDays();
    // Net of the return: ¥2,980 at 10 % (tax ¥270), ¥2,160 at 8 % (¥160),
    // ¥270 exempt; cash ¥2,290 less the ¥540 back, and each tender. The
    // second day's refund is a sale below zero: its sides swap.
    const struct {
        Program program;
        std::vector<std::wstring> rows;
    } cases[] = {
        {Program::Yayoi,
         {L"2110,,,2026/12/08,現金,,,対象外,1750,0,売上高,,,課税売上込10%,2980,270,レジ売上 精算 No.1,,,0,,,0,0,no",
          L"2100,,,2026/12/08,売掛金,クレジット,,対象外,2160,0,売上高,,,課税売上込軽減8%,2160,160,レジ売上 精算 "
          L"No.1,,,0,,,0,0,no",
          L"2100,,,2026/12/08,売掛金,電子マネー,,対象外,1000,0,売上高,,,非課売上,270,0,レジ売上 精算 No.1,,,0,,,0,0,no",
          L"2101,,,2026/12/08,売掛金,QRコード,,対象外,500,0,,,,,0,,レジ売上 精算 No.1,,,0,,,0,0,no",
          L"2000,,,2026/12/08,現金,,,対象外,5000,0,事業主借,,,対象外,5000,0,レジ入金 1件 精算 No.1,,,0,,,0,0,no",
          L"2000,,,2026/12/08,事業主貸,,,対象外,1200,0,現金,,,対象外,1200,0,レジ出金 1件 精算 No.1,,,0,,,0,0,no",
          L"2000,,,2026/12/09,売上高,,,課税売上込10%,1100,100,現金,,,対象外,1100,0,レジ売上 精算 No.2,,,0,,,0,0,no"}},
        {Program::Freee,
         {L"日付,伝票番号,決算整理仕訳,借方勘定科目,借方補助科目,借方税区分,借方金額,借方税額,貸方勘定科目,"
          L"貸方補助科目,貸方税区分,貸方金額,貸方税額,摘要",
          L"2026/12/08,1,,現金,,対象外,1750,0,売上高,,課税売上10%,2980,270,レジ売上 精算 No.1",
          L"2026/12/08,1,,売掛金,クレジット,対象外,2160,0,売上高,,課税売上8%（軽）,2160,160,レジ売上 精算 No.1",
          L"2026/12/08,1,,売掛金,電子マネー,対象外,1000,0,売上高,,非課売上,270,0,レジ売上 精算 No.1",
          L"2026/12/08,1,,売掛金,QRコード,対象外,500,0,,,,,,レジ売上 精算 No.1",
          L"2026/12/08,2,,現金,,対象外,5000,0,事業主借,,対象外,5000,0,レジ入金 1件 精算 No.1",
          L"2026/12/08,3,,事業主貸,,対象外,1200,0,現金,,対象外,1200,0,レジ出金 1件 精算 No.1",
          L"2026/12/09,4,,売上高,,課税売上10%,1100,100,現金,,対象外,1100,0,レジ売上 精算 No.2"}},
        {Program::MoneyForward,
         {L"取引No,取引日,借方勘定科目,借方補助科目,借方部門,借方取引先,借方税区分,借方インボイス,借方金額(円),"
          L"借方税額,貸方勘定科目,貸方補助科目,貸方部門,貸方取引先,貸方税区分,貸方インボイス,貸方金額(円),貸方税額,"
          L"摘要,仕訳メモ,タグ,MF仕訳タイプ,決算整理仕訳,作成日時,作成者,最終更新日時,最終更新者",
          L"1,2026/12/08,現金,,,,対象外,,1750,0,売上高,,,,課税売上 10%,,2980,270,レジ売上 精算 No.1,,,,,,,,",
          L"1,2026/12/08,売掛金,クレジット,,,対象外,,2160,0,売上高,,,,課税売上 (軽)8%,,2160,160,レジ売上 精算 "
          L"No.1,,,,,,,,",
          L"1,2026/12/08,売掛金,電子マネー,,,対象外,,1000,0,売上高,,,,非課税売上,,270,0,レジ売上 精算 No.1,,,,,,,,",
          L"1,2026/12/08,売掛金,QRコード,,,対象外,,500,0,,,,,,,,,レジ売上 精算 No.1,,,,,,,,",
          L"2,2026/12/08,現金,,,,対象外,,5000,0,事業主借,,,,対象外,,5000,0,レジ入金 1件 精算 No.1,,,,,,,,",
          L"3,2026/12/08,事業主貸,,,,対象外,,1200,0,現金,,,,対象外,,1200,0,レジ出金 1件 精算 No.1,,,,,,,,",
          L"4,2026/12/09,売上高,,,,課税売上 10%,,1100,100,現金,,,,対象外,,1100,0,レジ売上 精算 No.2,,,,,,,,"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(common::ToUtf8(ProgramName(c.program)));
        std::vector<std::wstring> rows = RowsOf(c.program, Days(1, 2));
        ASSERT_EQ(rows.size(), c.rows.size());
        for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(common::ToUtf8(rows[i]), common::ToUtf8(c.rows[i])) << i;
    }
}

TEST_F(ExportTest, EveryEntryBalancesAndTheZJustTakenReadsAsTheJournalDoes) {
    TwoDays();
    ASSERT_TRUE(firstZ_.day);
    std::vector<ClosedDay> first = Days(1, 1);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].time, firstZ_.day->time);
    for (Program program : {Program::Yayoi, Program::Freee, Program::MoneyForward})
        EXPECT_EQ(RowsOf(program, first), RowsOf(program, {*firstZ_.day})) << common::ToUtf8(ProgramName(program));
    for (const ClosedDay& day : Days(1, 2))
        for (const Entry& entry : DayEntries(day, DefaultBookNames(Program::Yayoi), kTenders)) {
            std::int64_t debit = 0, credit = 0;
            for (const EntryLine& line : entry.lines) {
                EXPECT_GT(line.amount, 0) << "never negative";
                (line.debit ? debit : credit) += line.amount;
            }
            EXPECT_EQ(debit, credit) << common::ToUtf8(entry.memo);
        }
    EXPECT_EQ(Days(2, 2).size(), 1u);
    EXPECT_EQ(Days(2, 2)[0].z, 2);
    EXPECT_TRUE(Days(3, 9).empty());
}

TEST(BookNames, TheShopsNamesReplaceTheDefaultsAndBadOnesAreSaidByLine) {
    const struct {
        const wchar_t* lines;
        std::wstring cash, standard;
        std::vector<std::wstring> errors;
    } cases[] = {
        {L"", L"現金", L"課税売上込{rate}%", {}},
        {L"Cash=現金預金\r\nYayoiStandard=課税売上内{rate}%\r\nFreeeStandard=x{rate}",
         L"現金預金",
         L"課税売上内{rate}%",
         {}},
        {L"Cash=\nYayoiStandard=課税売上込10%\nBank=銀行\nSales=売上,高",
         L"現金",
         L"課税売上込{rate}%",
         {L"[Books] Cash= : 空か、カンマ・引用符・制御文字を含んでいます",
          L"[Books] YayoiStandard=課税売上込10% : 税率の変わり目で誤らないよう、税率の位置に {rate} を入れて下さい",
          L"[Books] Bank=銀行 : この名前の設定はありません",
          L"[Books] Sales=売上,高 : 空か、カンマ・引用符・制御文字を含んでいます"}},
        {L"MoneyForwardReduced=8%",
         L"現金",
         L"課税売上込{rate}%",
         {L"[Books] MoneyForwardReduced=8% : 税率の変わり目で誤らないよう、税率の位置に {rate} を入れて下さい"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(common::ToUtf8(c.lines));
        BookNamesRead read = ReadBookNames(Program::Yayoi, c.lines);
        EXPECT_EQ(read.names.cash, c.cash);
        EXPECT_EQ(read.names.standard, c.standard);
        EXPECT_EQ(read.errors, c.errors);
    }
}

}  // namespace
