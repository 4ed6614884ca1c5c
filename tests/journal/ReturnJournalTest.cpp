#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/Error.h"
#include "common/Utf8.h"
#include "journal/Checkpoint.h"
#include "journal/ReturnRecords.h"
#include "journal/Session.h"
#include "tests/journal/MemoryStorage.h"
#include "tests/journal/ShiftJis.h"
#include "tests/support/SettledSale.h"

using namespace journal;
using namespace journal_test;
using regi::TaxClass;

namespace {

const std::wstring kFolder = L"C:\\shop";

// ¥5,000 at 10 %, ¥2,160 at 8 %, ¥500 exempt in department 3; ¥3,000 by tender 1, the rest in cash.
regi::SaleRecord ThreeLineSale() {
    regi::SaleRecord sale = testing_support::SettledSale(
        {{TaxClass::Standard, 5000, 1, 5000}, {TaxClass::Reduced, 1080, 2, 2160}, {TaxClass::Exempt, 500, 1, 500, 3}},
        5000);
    sale.tenders = {{1, 3000}};
    sale.change = 5000 - (7660 - 3000);
    return sale;
}

class ReturnJournalTest : public testing::Test {
protected:
    std::unique_ptr<Session> Open() {
        return std::make_unique<Session>(storage_, kFolder, [this] { return now_; }, ShiftJis());
    }
    std::vector<std::wstring> XLines(Session& session) { return session.TakeX(0).Lines(); }

    MemoryStorage storage_;
    common::DateTime now_{2026, 12, 8, 18, 0, 0};
};

void ExpectLines(const std::vector<std::wstring>& lines, const std::vector<const wchar_t*>& expected) {
    for (const wchar_t* line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << common::ToUtf8(line);
}

std::wstring Refusal(Session& session, std::int64_t number) {
    try {
        session.FindReturnable(number);
    } catch (const common::Error& error) {
        return error.Message();
    }
    return L"";
}

TEST_F(ReturnJournalTest, AReturnAfterTheZIsKeptApartAndItsLinesGoBackOnce) {
    auto session = Open();
    session->Load();
    const regi::SaleRecord sale = session->RecordSale(ThreeLineSale());
    session->RecordCancel(1, 100);
    session->TakeZ(0);
    now_ = {2026, 12, 9, 10, 0, 0};

    // The next day, in a new run: lines 1 and 2 back to the card and the rest in cash.
    session = Open();
    session->Load();
    ReturnableSale found = session->FindReturnable(sale.number);
    EXPECT_TRUE(found.returned.lines.empty());
    regi::ReturnRecord back = session->RecordReturn(
        regi::ReturnAgainst(found.sale, {1, 2}, found.returned, regi::RefundTo::Tenders));
    EXPECT_EQ(back.time, L"2026-12-09T10:00:00");
    EXPECT_EQ(back.saleTime, L"2026-12-08T18:00:00");
    EXPECT_EQ(back.tenders, (std::vector<regi::TenderPaid>{{1, 3000}}));
    EXPECT_EQ(back.Cash(), 4160);

    const std::vector<const wchar_t*> x = {
        L"客数\t0",          L"返品\t1件\t¥7,160", L"返品 10%対象\t¥5,000", L"返品 10%内消費税\t¥454",
        L"返品 軽減8%対象\t¥2,160", L"返品 軽減8%内消費税\t¥160", L"返品 現金\t¥4,160",
        L"返品 その他の支払1\t1件\t¥3,000", L"純売上\t-¥7,160", L"純売上 10%対象\t-¥5,000",
        L"純売上 軽減8%内消費税\t-¥160", L"純消費税合計\t-¥614", L"現金予定額\t-¥4,160"};
    ExpectLines(XLines(*session), x);

    // Read again from the journal: the period's sums and the lines gone back.
    session = Open();
    session->Load();
    ExpectLines(XLines(*session), x);
    found = session->FindReturnable(sale.number);
    ASSERT_EQ(found.returned.lines.size(), 2u);
    EXPECT_EQ(found.returned.lines[1].refund, 2160);
    EXPECT_EQ(found.returned.tenders, (std::vector<regi::TenderPaid>{{1, 3000}}));
    EXPECT_THROW(regi::ReturnAgainst(found.sale, {2}, found.returned, regi::RefundTo::Cash), common::Error);
    back = session->RecordReturn(regi::ReturnAgainst(found.sale, {3}, found.returned, regi::RefundTo::Tenders));
    EXPECT_EQ(back.Cash(), 500) << "the card took back all it paid";
    ExpectLines(XLines(*session), {L"返品\t2件\t¥7,660", L"返品 非課税\t¥500", L"返品 非課税商品\t1点\t¥500"});

    EXPECT_EQ(Refusal(*session, sale.number), L"No.1 の売上はすべて返品済みです｡");
    EXPECT_EQ(Refusal(*session, 2), L"No.2 は取引中止で、返品できる売上ではありません｡");
    EXPECT_EQ(Refusal(*session, 3), L"No.3 の売上は記録にありません｡");
}

TEST_F(ReturnJournalTest, AReturnWithoutAReceiptReadsBackAndTheCheckpointKeepsItsSums) {
    auto session = Open();
    session->Load();
    regi::ReturnRecord back = session->RecordReturn(
        regi::ReturnWithoutReceipt({{TaxClass::Reduced, 540, 1, 540, 12}, {TaxClass::Standard, 110, 1, 110}}, 10, 8));
    EXPECT_GT(back.number, 0);

    std::vector<Record> records;
    const std::string& bytes = storage_.files[session->Path()];
    BackwardReader reader = ReadJournal(bytes);
    EXPECT_TRUE(reader.Findings().empty());
    size_t at = bytes.find("\r\n") + 2;
    for (size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
        records.push_back(*ParseRecord(bytes.substr(at, end + 2 - at)));
    regi::ReturnRecord read = ReturnOf(records);
    EXPECT_EQ(read.number, back.number);
    EXPECT_EQ(read.sale, 0);
    ASSERT_EQ(read.lines.size(), 2u);
    EXPECT_EQ(read.lines[0].record.department, 12);
    EXPECT_EQ(read.taxes.reducedTax, 40);
    EXPECT_EQ(read.taxes.standardTax, 10);

    Checkpoint c;
    c.period = reader.Result();
    EXPECT_EQ(c.period.returns, 1);
    EXPECT_EQ(c.period.returnCash, 650);
    const std::string text = FormatCheckpoint(c);
    std::optional<Checkpoint> kept = ParseCheckpoint(text);
    ASSERT_TRUE(kept);
    EXPECT_EQ(FormatCheckpoint(*kept), text);
    EXPECT_EQ(kept->period.returnAmount, 650);
    ASSERT_EQ(kept->period.departmentReturns.size(), 2u);
    EXPECT_EQ(kept->period.departmentReturns[1].number, 12);
    EXPECT_EQ(kept->period.ExpectedCash(1000), 350);
}

}  // namespace
