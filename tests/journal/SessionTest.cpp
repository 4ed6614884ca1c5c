#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "common/Error.h"
#include "common/MessageText.h"
#include "journal/Session.h"
#include "tests/journal/MemoryStorage.h"
#include "tests/journal/Rows.h"
#include "tests/journal/ShiftJis.h"

using namespace journal;
using namespace journal_test;
using regi::TaxClass;

namespace {

const std::string kTime = "2026-12-08T21:07:56";
const std::wstring kFolder = L"C:\\shop";

regi::SaleRecord Sale(std::vector<regi::LineRecord> lines, std::int64_t tendered) {
    regi::SaleRecord sale;
    sale.lines = lines;
    sale.taxes = regi::SumTaxes(lines, 10, 8);
    sale.tendered = tendered;
    sale.change = tendered - sale.taxes.Total();
    return sale;
}

// Sessions over files in memory, their clock at kTime.
class SessionTest : public testing::Test {
protected:
    std::unique_ptr<Session> Open() {
        return std::make_unique<Session>(
            storage_, kFolder, [] { return common::DateTime{2026, 12, 8, 21, 7, 56}; }, ShiftJis());
    }
    std::string& Bytes(const wchar_t* name) { return storage_.files[kFolder + L"\\" + name]; }
    std::string Header() const { return std::string(kBom) + kColumnNames + "\r\n"; }

    MemoryStorage storage_;
};

TEST_F(SessionTest, TheOpenSaleComesBackOnlyAfterAGoodLoadAndOnlyWhenTheJournalLacksIt) {
    const std::vector<regi::LineRecord> lines = {{TaxClass::Reduced, 540, 3, 1620}};
    struct Case {
        const char* what;
        std::int64_t keptSale;  // the number the recovery file gives its sale
        bool readable;
        bool restored;
    };
    const Case cases[] = {
        {"sale 1 reached the journal, which cannot be read", 1, false, false},
        {"sale 1 reached the journal", 1, true, false},
        {"sale 2 was open", 2, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        storage_ = MemoryStorage();
        Open()->RecordSale(Sale(lines, 2000));
        storage_.Release();  // that run ended
        Bytes(kOpenSaleName) = FormatOpenSale({c.keptSale, lines});
        if (!c.readable) storage_.failing[kFolder + L"\\" + kJournalName] = Fault::Other;
        std::unique_ptr<Session> session = Open();
        std::vector<regi::LineRecord> back;
        try {
            back = session->Start().lines;
            EXPECT_TRUE(c.readable);
        } catch (const common::Error& e) {
            EXPECT_FALSE(c.readable);
            EXPECT_EQ(e.Message(), L"売上の記録を読めません\r\n" + session->Path() + L"\r\n(the reason)");
        }
        EXPECT_EQ(back.size(), c.restored ? 1u : 0u);
        EXPECT_EQ(Bytes(kOpenSaleName), FormatOpenSale({c.keptSale, lines})) << "the file stays until the sale changes";
    }
}

TEST_F(SessionTest, TheRecorderNumbersSalesWithTheJournalAndWithoutIt) {
    for (bool journalOn : {false, true}) {
        SCOPED_TRACE(journalOn ? "journal on" : "journal off");
        storage_ = MemoryStorage();
        std::unique_ptr<Session> session = Open();
        regi::SaleRecorder recorder;
        ConnectRecorder(
            recorder, [&] { return journalOn ? session.get() : nullptr; },
            [] { return common::DateTime{2026, 12, 8, 21, 7, 56}; });
        regi::SaleRecord first = Sale({{TaxClass::Standard, 1000, 1, 1000}}, 1000);
        recorder.settling(first);
        recorder.voiding(1, {TaxClass::Reduced, 200, 1, 200});
        recorder.cancelling({{TaxClass::Reduced, 300, 1, 300}, {TaxClass::Exempt, -20, 1, -20}}, 280);
        regi::SaleRecord second = Sale({{TaxClass::Exempt, 70, 1, 70}}, 70);
        recorder.settling(second);
        EXPECT_EQ(first.number, 1);
        EXPECT_EQ(first.time, L"2026-12-08T21:07:56");
        EXPECT_EQ(second.number, journalOn ? 3 : 2) << "a cancel uses up a number of the journal";
        if (!journalOn) {
            EXPECT_TRUE(storage_.files.empty());
            continue;
        }
        std::int64_t seq = 1;
        std::string expected = Header() + TestSale{1, kTime, {{1, 1000, 1}}, 10, 8, 1000}.Rows(seq);
        expected += Row({{"seq", N(seq++)},
                         {"time", kTime},
                         {"kind", "void"},
                         {"sale", "2"},
                         {"line", "1"},
                         {"class", "reduced"},
                         {"unit price", "200"},
                         {"quantity", "1"},
                         {"subtotal", "200"}});
        expected += Row(
            {{"seq", N(seq++)}, {"time", kTime}, {"kind", "cancel"}, {"sale", "2"}, {"lines", "2"}, {"total", "280"}});
        expected += TestSale{3, kTime, {{0, 70, 1}}, 10, 8, 70}.Rows(seq);
        EXPECT_EQ(Bytes(kJournalName), expected);
        EXPECT_EQ(session->SalesTotal(), 1070);
    }
}

TEST_F(SessionTest, AWriteTheStorageRefusesIsToldWithItsReasonAndChangesNoNumber) {
    struct Case {
        Fault fault;
        std::wstring told;  // after the path
    };
    const Case cases[] = {
        {Fault::Busy, L""},
        {Fault::Other, L"\r\n(the reason)"},
    };
    for (const Case& c : cases) {
        storage_ = MemoryStorage();
        std::unique_ptr<Session> session = Open();
        session->RecordSale(Sale({{TaxClass::Standard, 100, 1, 100}}, 100));
        storage_.Release();
        session = Open();
        session->Load();
        const std::wstring path = session->Path();
        if (c.fault == Fault::Busy)
            storage_.heldElsewhere.insert(path);
        else
            storage_.failing[path] = c.fault;
        const std::wstring start =
            c.fault == Fault::Busy ? L"売上の記録は別の Pelmora が使っています\r\n" : L"売上の記録に書き込めません\r\n";
        std::string before = Bytes(kJournalName);
        try {
            session->RecordSale(Sale({{TaxClass::Standard, 200, 1, 200}}, 200));
            ADD_FAILURE() << "no error";
        } catch (const common::Error& e) {
            EXPECT_EQ(e.Message(), start + path + c.told);
        }
        EXPECT_EQ(session->NextSaleNumber(), 2);
        EXPECT_EQ(session->SalesTotal(), 100);
        storage_.failing.clear();
        storage_.heldElsewhere.clear();
        EXPECT_EQ(Bytes(kJournalName), before);
        EXPECT_EQ(session->RecordSale(Sale({{TaxClass::Standard, 200, 1, 200}}, 200)).number, 2);
    }
}

TEST_F(SessionTest, TheExpectedCashBeyondTheRegistersLimitsIsRefused) {
    Period period;
    period.total = INT64_MAX - 10;
    EXPECT_EQ(period.ExpectedCash(10), INT64_MAX);
    try {
        period.ExpectedCash(11);
        ADD_FAILURE() << "wrapped";
    } catch (const common::Error& e) {
        EXPECT_EQ(e.Message(), common::FormatMessageText(regi::kOutOfRange, regi::FormatMoney(period.total)));
    }
    EXPECT_THROW(period.ReportRecord(Kind::X, 11, L"2026-12-08T21:07:56"), common::Error);
}

TEST(JournalSums, ARecordThatWouldOverflowASumIsLeftOutWhole) {
    struct Case {
        const char* what;
        Kind kind;
        std::int64_t Period::*sum;
        std::int64_t Record::*field;
    };
    const Case cases[] = {
        {"the sales total", Kind::Sale, &Period::total, &Record::total},
        {"the exempt amount", Kind::Sale, &Period::exempt, &Record::exemptAmount},
        {"the lines", Kind::Sale, &Period::lines, &Record::lines},
        {"the voided amount", Kind::Void, &Period::voidAmount, &Record::subtotal},
        {"the cancelled amount", Kind::Cancel, &Period::cancelAmount, &Record::total},
        {"the negative lines' amount", Kind::Line, &Period::negativeAmount, &Record::subtotal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool negative = c.sum == &Period::negativeAmount;
        Period period;
        period.*c.sum = negative ? INT64_MIN + 5 : INT64_MAX - 5;
        Record record;
        record.sequence = 7, record.sale = 3, record.kind = c.kind, record.time = L"2026-12-08T21:07:56";
        record.*c.field = negative ? -5 : 5;
        Period fits = period;
        EXPECT_TRUE(fits.Add(record));
        EXPECT_EQ(fits.*c.sum, negative ? INT64_MIN : INT64_MAX);
        record.*c.field = negative ? -6 : 6;
        Period over = period;
        EXPECT_FALSE(over.Add(record));
        EXPECT_EQ(over.*c.sum, period.*c.sum);
        EXPECT_EQ(over.nextSequence, 1) << "nothing of it counts";
        EXPECT_EQ(over.nextSale, 1);
    }
    Period taxed;
    Record sale;
    sale.sequence = 1, sale.sale = 1, sale.kind = Kind::Sale, sale.standardRate = 10;
    sale.standardAmount = INT64_MAX, sale.standardTax = 5;
    ASSERT_TRUE(taxed.Add(sale));
    sale.standardAmount = 1;
    EXPECT_FALSE(taxed.Add(sale)) << "the class's amount at its rate";
    EXPECT_EQ(taxed.taxable.at(0).amount, INT64_MAX);
}

}  // namespace

// The sales total has one owner: the journal's period while a journal keeps
// the sales (a Z empties it, with no one telling the sale), else the sales
// settled without one.
TEST_F(SessionTest, TheSaleShowsTheJournalsSalesTotalWhileOneKeepsTheSales) {
    std::unique_ptr<Session> session = Open();
    session->RecordSale(Sale({{TaxClass::Exempt, 700, 1, 700}}, 700));  // an earlier run's
    bool journalOn = true;
    regi::TSale sale;
    ConnectRecorder(
        sale.recorder, [&] { return journalOn ? session.get() : nullptr; },
        [] { return common::DateTime{2026, 12, 8, 21, 7, 56}; });
    const regi::Rates rates = regi::Rates::FromTexts(L"10", L"8", false, {});
    struct Step {
        const char* what;
        bool journalOn;
        std::int64_t price;  // an exempt line settled in cash; 0: a Z instead
        std::int64_t shown;
    };
    const Step steps[] = {
        {"a sale kept by the journal", true, 300, 700 + 300},
        {"a Z", true, 0, 0},
        {"a sale with the journal switched off", false, 50, 50},
        {"another", false, 20, 70},
        {"the journal's again", true, 5, 5},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        journalOn = step.journalOn;
        if (step.price == 0) {
            session->TakeZ(0);
        } else {
            const regi::Entry price(std::to_wstring(step.price));
            ASSERT_TRUE(sale.Run(regi::Command::ExemptLine, price, rates).acted);
            ASSERT_TRUE(sale.Run(regi::Command::Settle, price, rates).acted);
            ASSERT_TRUE(sale.Run(regi::Command::NextCustomer, regi::Entry(), rates).acted);
        }
        EXPECT_TRUE(sale.SalesTotalKnown());
        EXPECT_EQ(sale.SalesTotal(), step.shown);
    }
}
