#pragma once
// The period since the last Z, without Windows: its totals for the X and Z
// reports, the numbers the next records get, the records of each event, the
// backward reading of a journal that stops at the last Z, and the report text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "journal/Kept.h"
#include "journal/Record.h"
#include "sale/Department.h"
#include "sale/Return.h"
#include "sale/SaleRecord.h"

namespace journal {

// What the sales of one taxable class at one rate add up to. The rates may
// change within a period, so a class can have more than one.
struct RateTotal {
    regi::TaxClass taxClass;
    std::int64_t rate = 0, amount = 0, tax = 0;
};

// What one department sold: its lines' quantities and amounts before discounts.
struct DepartmentTotal {
    int number = 0;  // 0: the department of its class
    regi::TaxClass taxClass = regi::TaxClass::Standard;
    std::int64_t quantity = 0, amount = 0;
};

// What one product sold: its lines' quantities and amounts before discounts.
struct ProductTotal {
    std::int64_t code = 0;  // the code as a number: the product file's leading zeros do not count
    std::int64_t quantity = 0, amount = 0;
};

// What the sales paid by one of the other tenders add up to.
struct TenderTotal {
    std::int64_t sales = 0, amount = 0;
};

struct Period {
    std::wstring from;  // the time of its earliest record: the last Z, else the journal's first record
    std::int64_t sales = 0, lines = 0, total = 0;
    std::vector<RateTotal> taxable;  // standard before reduced, each by rate
    std::int64_t exempt = 0;
    std::int64_t voids = 0, voidAmount = 0, cancels = 0, cancelAmount = 0, negatives = 0, negativeAmount = 0;
    // The other tenders, tender n at n - 1; what they did not pay was paid in
    // cash, so a journal without them reads as all cash.
    TenderTotal tenders[regi::kMaxTenders];
    std::int64_t cashlessSales = 0;                 // sales that took and gave no cash
    std::int64_t returned = 0, returnedAmount = 0;  // tenders given back by cancels
    std::int64_t moneyIn = 0, moneyOut = 0;         // cash put into the drawer and taken out, not sales
    std::int64_t moneyIns = 0, moneyOuts = 0;       // how many times each
    // The in and out records that have a note, in the journal's order, for
    // the reports; the period keeps them so that a checkpoint keeps them too.
    std::vector<Record> notes;
    // Commands to open the drawer with no sale that the spooler took; whether
    // the drawer opened, the program cannot see.
    std::int64_t drawerCommands = 0;
    // The discounts of the sales (値引 in yen, 割引 in percent): how many and the yen off.
    std::int64_t yenOffs = 0, yenOffAmount = 0, percentOffs = 0, percentOffAmount = 0;
    std::vector<DepartmentTotal> departments;  // by number, then class
    // Goods brought back (返品), apart from the sales: how many returns, what
    // went back, of it in cash and tax-exempt; per class and rate what went
    // back with its tax, per department its lines, per other tender its part.
    std::int64_t returns = 0, returnAmount = 0, returnCash = 0, returnExempt = 0;
    std::vector<RateTotal> returnTaxable;
    std::vector<DepartmentTotal> departmentReturns;
    TenderTotal refunds[regi::kMaxTenders];
    std::vector<ProductTotal> products;  // by code
    // The numbers of the next record, sale and Z.
    std::int64_t nextSequence = 1, nextSale = 1, nextZ = 1;
    std::int64_t firstSequence = 0;  // of the earliest record added; 0 for none

    // The sum of each sale's contained tax.
    std::int64_t Tax() const;
    // The sum of each return's contained tax.
    std::int64_t ReturnTax() const;
    // The sales paid in cash: the total less what the other tenders paid.
    // Raises common::Error when the sum is beyond what the register holds.
    std::int64_t CashTotal() const;
    // Whether any sale of the period was paid by another tender.
    bool HasTenders() const;
    // The float, the cash the sales took less the change they gave, the
    // cash put in less the cash taken out, less the cash returns gave back:
    // the cash the drawer should hold. Raises common::Error when the sum is
    // beyond what the register holds.
    std::int64_t ExpectedCash(std::int64_t cashFloat) const;

    // Adds a record of the period, in any order. A z record only sets the
    // numbering and the start: the caller starts a new period before it.
    // False, and nothing changed, when a sum would leave 64 bits.
    bool Add(const Record& record);

    // Adds the sums and numbers of the period's earlier part. False, and
    // nothing changed, when a sum would leave 64 bits.
    bool Merge(const Period& earlier);

    // The records of an event, numbered after the period's; the period itself
    // changes only when they are added, after they are on the disk.
    // A sale: its lines in order, then the sale record; it gets number nextSale.
    // Its other tenders stand between the lines and the sale record.
    std::vector<Record> SaleRecords(const regi::SaleRecord& sale) const;
    // A return: its lines, refunds and return record (see ReturnRecords), numbered after the period's.
    std::vector<Record> ReturnRecords(const regi::ReturnRecord& giveBack, const std::wstring& time) const;
    Record VoidRecord(std::int64_t lineNumber, const regi::LineRecord& line, const std::wstring& time) const;
    // A cancelled sale uses up its number, so that each number stands for one sale or one cancel.
    Record CancelRecord(std::int64_t lineCount, std::int64_t total, const std::wstring& time) const;
    // Cash put into the drawer (Kind::In) or taken out (Kind::Out), with the
    // operator's note; the drawer's command sent with no sale (Kind::Drawer, amount 0).
    Record MoneyRecord(Kind kind, std::int64_t amount, const std::wstring& note, const std::wstring& time) const;
    // The tenders a cancel gives back, then its cancel record.
    std::vector<Record> CancelRecords(std::int64_t lineCount, std::int64_t total,
                                      const std::vector<regi::TenderPaid>& givenBack, const std::wstring& time) const;
    // An x or z record with the period's totals.
    Record ReportRecord(Kind kind, std::int64_t cashFloat, const std::wstring& time) const;
    // Before a z record: each department's sums with its name as it stands,
    // so that a closed period keeps the names it had; none while the shop
    // names no department.
    std::vector<Record> DepartmentRecords(const regi::Departments& names, const std::wstring& time) const;
};

// The question before an 出金 of amount from a drawer that should hold
// expectedCash, when it would leave less than nothing there: "出金 ¥100,000
// で現金予定額が -¥88,800 になります。記録しますか?"; empty when it would not.
std::wstring MoneyOutQuestion(std::int64_t amount, std::int64_t expectedCash);

// One of the period's sums of counts and amounts, told once: what a record
// adds to it, its name in the checkpoint and its field in x and z records.
// Period::Add, Merge, ReportRecord and the checkpoint walk PeriodSums(), so
// that a new sum is a member and a row; the X and Z texts (ReportItems)
// choose which sums they show and how.
struct PeriodSum {
    std::int64_t Period::*member;
    const char* name;                            // in the checkpoint
    Kind kind;                                   // the records that add to it
    std::int64_t (*adds)(const Record& record);  // what one of them adds
    std::int64_t Record::*reported;              // its field in x and z records; null for none
    // Written into the checkpoint even when 0: the first sums. Those that came
    // later are written only when not 0, so that a checkpoint without them
    // stays what it was.
    bool alwaysKept;
};
const std::vector<PeriodSum>& PeriodSums();

// A sum per key, such as per rate or per tender: each key's numbers then its
// sums make one line of the checkpoint. Add, Merge, ReportRecord and the
// checkpoint walk PeriodTables() too.
struct PeriodTable {
    const char* name;   // of each key's line in the checkpoint
    size_t keys, sums;  // how many numbers a key and its sums are
    // The words the first number of the key is written as, by its value; empty for a number.
    std::vector<const char*> keyWords;
    bool (*add)(Period& period, const Record& record);                       // false when a sum would leave 64 bits
    bool (*merge)(Period& period, const Period& earlier);                    // the same
    std::vector<std::vector<std::int64_t>> (*lines)(const Period& period);   // a key and its sums each
    bool (*restore)(Period& period, const std::vector<std::int64_t>& line);  // false for no such key
    void (*report)(const Period& period, Record& report);  // null when x and z records do not carry it
};
const std::vector<PeriodTable>& PeriodTables();

// Something in the journal that the program did not write so: a line that is
// no record, a sale whose parts do not add up, numbers out of order or missing.
struct Finding {
    std::int64_t offset = -1;  // where its line begins in the file; -1 for the file as a whole
    std::wstring what;
    std::int64_t line = 0;    // its 1-based line number, once LineNumbers has told it
    bool unfinished = false;  // part of a write that stopped midway at the journal's end (a power cut)
};

// Reads a journal from its end backward, chunk by chunk, and stops at the last
// z record: start-up reads only the period, however long the journal is, and
// whatever its line ends (CRLF, LF or CR). Each line is checked against the
// records around it as it is read.
class BackwardReader {
public:
    // size: the journal's size in bytes; partials: the ranges that failed
    // writes left (see Kept), passed over without a word; decode: how a line
    // that is not all ASCII reads in a journal that is not UTF-8, none for UTF-8.
    using Decode = std::function<std::wstring(std::string_view)>;
    explicit BackwardReader(std::int64_t size = 0, std::vector<ByteRange> partials = {}, Decode decode = {});
    // chunk: the bytes just before all bytes fed so far; atStart: it begins the
    // file. Returns whether earlier bytes are still wanted.
    bool Feed(std::string_view chunk, bool atStart);
    const Period& Result() const { return period_; }
    // Lines read and not used: junk, a last line cut short, records a later
    // record superseded and lines without their sale record (see Line).
    int Unreadable() const { return unreadable_; }
    // Every line that is not what the program wrote, in the order read (from the end).
    const std::vector<Finding>& Findings() const { return findings_; }
    // Where a write that stopped midway begins at the journal's end: a last
    // line without its line end, and the lines of a sale without its sale
    // record before it; -1 when the journal ends with whole records.
    std::int64_t UnfinishedAt() const { return tailAt_ < size_ ? tailAt_ : -1; }
    // The period's last settled sale with its lines, for a receipt after a
    // restart; number 0 when the period has none.
    regi::SaleRecord LastSale() const;
    // The bytes fed so far.
    std::int64_t Fed() const { return fed_; }
    // Whether the reading stopped at a z record.
    bool StoppedAtZ() const { return done_; }
    // Whether the journal's last record is in the very form the program writes
    // it: another program that saved the journal again writes its own (times,
    // quotes, empty fields), even where it keeps the byte-order mark.
    bool LastRecordAsWritten() const { return lastAsWritten_.value_or(true); }
    // After a reading that reached the start of what was fed without a z
    // record: adds the period read before up to there (a checkpoint), telling
    // records and sales missing between the two. False, and the reading is
    // not to be used, when the two do not follow each other.
    bool Resume(const Period& before, const regi::SaleRecord& lastSale);

private:
    void Line(std::string_view line, std::int64_t offset, bool first);
    void Junk(std::int64_t offset, const wchar_t* what);
    void CloseSale();
    bool Partial(std::int64_t offset) const;

    std::int64_t size_ = 0, fed_ = 0;
    std::vector<ByteRange> partials_;
    Decode decode_;
    std::string unread_;     // bytes fed and not yet taken apart into lines: part of one line at most
    bool longLine_ = false;  // unread_ was the end of a line too long to be a record; it goes on before
    bool done_ = false;
    std::optional<bool> lastAsWritten_;  // once a record has been read
    Period period_;
    int unreadable_ = 0;
    std::vector<Finding> findings_;
    std::int64_t tailAt_ = 0;    // see UnfinishedAt
    std::int64_t linesOf_ = 0;   // the sale whose lines or tenders may come next, reading backward
    Kind partsOf_ = Kind::Sale;  // and whether it is a sale or a cancel
    // That sale's record and what its lines read so far add up to.
    Record sale_;
    std::int64_t saleAt_ = -1, lineCount_ = 0, classSums_[3] = {0, 0, 0};
    std::int64_t laterSequence_ = 0, laterAt_ = -1;  // the record read last (the next in the file)
    std::int64_t laterSale_ = 0, laterSaleAt_ = -1;  // the number and place of the sale read last
    std::optional<Record> lastSale_;                 // the first sale record read backward
    std::vector<Record> lastSaleParts_;              // its lines, discounts and tenders, last first
    regi::SaleRecord resumedSale_;                   // the checkpoint's, when no sale was read after it
};

// A whole journal's bytes read at once.
BackwardReader ReadJournal(std::string_view bytes, std::vector<ByteRange> partials = {});

// The kept numbers against the journal as read: the next numbers continue from
// the higher of the two, and a journal that lost records, a Z or bytes since
// the program last wrote it is found out. size: the journal's size now;
// resaved: another program saved it again in its own way (another encoding, or
// other forms of the times), so that a smaller size is told only with the
// records it lost.
std::vector<Finding> CompareWithKept(Period& period, const Kept& kept, std::int64_t size, bool resaved = false);

// Gives findings their line numbers as the file is fed from its start: lines
// end in CRLF, LF or CR, as a spreadsheet counts them.
class LineNumbers {
public:
    explicit LineNumbers(std::vector<Finding>& findings);
    void Feed(std::string_view chunk);
    // The furthest offset still to be numbered; -1 when all are.
    std::int64_t Wanted() const;

private:
    std::vector<Finding*> pending_;  // by offset, furthest last
    std::int64_t at_ = 0, breaks_ = 0;
    bool afterCr_ = false;
};

// The one message for the operator about findings, empty for none: that the
// journal was changed outside the program and left as it is, then a line for each.
std::wstring FindingsMessage(const std::vector<Finding>& findings, int unreadable);

// One line of an X or Z report: its caption and its values, none for the title.
struct ReportLine {
    std::wstring caption;
    std::vector<std::wstring> values;
    // Caption and values separated by tabs: they line up at tab stops and
    // paste into a spreadsheet as columns.
    std::wstring Text() const;
};
// The X or Z report for the period and its x or z record, one line per item,
// money as the register shows it; with the other tenders named (tender n at
// n - 1) or used, the sales per tender, cash first.
// With departments named, what each sold; with discounts, how many and how much.
std::vector<ReportLine> ReportItems(const Period& period, const Record& report,
                                    const std::vector<std::wstring>& tenderNames = {},
                                    const regi::Departments& departments = {});
// The sales by product, best sellers (by amount, then quantity, then code) first: a
// heading, then one line each, "4901234567894 緑茶" with its quantity and
// amount. describe gives a code's text and name as the product file has them
// (empty when it has no such code any more); none without product sales.
std::vector<ReportLine> ProductItems(
    const std::vector<ProductTotal>& products,
    const std::function<std::pair<std::string, std::wstring>(std::int64_t code)>& describe);
// The same lines as texts (ReportLine::Text).
std::vector<std::wstring> ReportLines(const Period& period, const Record& report,
                                      const std::vector<std::wstring>& tenderNames = {},
                                      const regi::Departments& departments = {});

// "売上の記録に読めない行が N 行あります": lines that are no record at all.
std::wstring UnreadableLinesMessage(int count);

}  // namespace journal
