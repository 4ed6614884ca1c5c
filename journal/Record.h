#pragma once
// The journal's two file formats, without Windows: the sales journal, one CSV
// record per line (UTF-8, CRLF, one header for every kind, so that the file
// opens in a spreadsheet as it is), and the open sale kept for recovery after a
// crash. Every field is ASCII (numbers, the kind, the class and the time) but
// the note of 入金 and 出金, which is UTF-8 here (a journal a spreadsheet saved
// again in Shift_JIS is converted on its way in and out: see TextEncoding.h).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sale/SaleRecord.h"

namespace journal {

// tender: a sale's payment by another tender, before its sale record;
// returned: one given back by a cancel, before its cancel record; in, out:
// cash put into the drawer or taken out of it, no sale; drawer: the command
// that opens the drawer, sent with no sale and taken by the spooler; yen off,
// percent off: a discount of a sale (値引, 割引), before its sale record: a
// line's after the line, the whole sale's one record per class with lines;
// department: a department's name and sums as they stood at a z, before the z record.
// return line, refund, return: goods brought back (返品): each line given
// back, what went back to each other tender, then the return record; all name
// the sale returned (0 without a receipt), and the return keeps that sale's
// time as its note. A return's own number is its return record's seq.
// reissue: a sale's receipt printed again later, naming the sale.
enum class Kind {
    Line,
    Sale,
    Void,
    Cancel,
    X,
    Z,
    Tender,
    Returned,
    In,
    Out,
    Drawer,
    YenOff,
    PercentOff,
    Department,
    ReturnLine,
    Refund,
    Return,
    Reissue
};
constexpr Kind kLastKind = Kind::Reissue;

// One line of the journal. A kind fills only its own fields (the kinds' table in
// Record.cpp lists them); the others stay empty in the file and 0 here.
struct Record {
    std::int64_t sequence = 0;  // 1, 2, ... over the journal's whole life
    std::wstring time;          // local, "2026-12-08T21:07:56"
    Kind kind = Kind::Line;
    std::int64_t sale = 0;  // line, sale, void, cancel, tender, returned, reissue: the sale's number; x, z: the last one
    // line, void: the line's number in its sale; tender, returned: the tender's
    // number; yen off, percent off: the line's number, 0 for the whole sale
    std::int64_t line = 0;
    regi::TaxClass taxClass = regi::TaxClass::Standard;  // line, void, yen off, percent off, department
    // line, void; yen off, percent off: the yen or percent as keyed, 1 when
    // the record counts the discount (its first), and the yen off as a
    // negative subtotal; department: the quantity and the amount sold
    std::int64_t unitPrice = 0, quantity = 0, subtotal = 0;
    std::int64_t lines = 0;                          // sale, cancel, x, z, return: how many lines
    std::int64_t standardRate = 0, reducedRate = 0;  // sale, return
    // sale: the sale's amounts per class and the tax they contain; x, z: the period's, summed per class
    std::int64_t standardAmount = 0, standardTax = 0, reducedAmount = 0, reducedTax = 0, exemptAmount = 0;
    // sale, cancel, x, z; tender, returned, in, out, refund: the amount; return: what went back
    std::int64_t total = 0;
    std::int64_t tendered = 0, change = 0;  // sale; return: change, the cash given back
    // x, z: the period's counts and amounts, the float and the cash the drawer should hold
    std::int64_t sales = 0, voids = 0, voidAmount = 0, cancels = 0, cancelAmount = 0;
    std::int64_t negatives = 0, negativeAmount = 0, cashFloat = 0, expectedCash = 0;
    std::int64_t z = 0;  // z: its consecutive number
    // in, out: what the operator noted, as CleanNote leaves it; department:
    // its name. A field after the header's last, written only when there is
    // one, so that a journal without notes is what it was before there were any.
    std::wstring note;
    // line, void, department, return line: the department's number (0: its class's). The
    // field after the note's, written only when not 0 (always for department).
    std::int64_t department = 0;
    // line, void: the product's code as the product file writes it, empty for
    // a keyed price. The field after the department's, written only when not empty.
    std::string product;
    // The record's chain value (see Chain.h): 64 lowercase hex digits, the
    // field after the product's; empty for a record written before there was
    // a chain. A record with one has the note's, department's and product's
    // fields too, empty where it has none, so that it stands in one column.
    std::string chain;
};

// What the operator typed as a note, fit for one field of the journal: control
// characters as spaces, no spaces around it, at most kMaxNote characters.
constexpr size_t kMaxNote = 40;
std::wstring CleanNote(std::wstring_view typed);

// The longest line a record can be, with room to spare: a longer one is junk.
constexpr size_t kMaxLine = 4096;

// The column names, the journal's first line (after the byte-order mark), without CRLF.
extern const char kHeader[];
extern const char kByteOrderMark[];  // UTF-8's
// The journal's words for the tax classes, by regi::TaxClass.
extern const char* const kClassNames[3];

// One record as a journal line, CRLF included.
std::string FormatRecord(const Record& record);
// A journal line with its line end back into a record; nothing for anything
// that is not what FormatRecord writes for some record the register can make:
// a price, quantity or subtotal beyond the register's limits, more lines than
// a sale holds or a sale beyond the largest read as nothing. What a spreadsheet
// writes when it saves the journal again reads too: quoted fields, LF or CR
// line ends, the times of LocalTime. A line cut short lacks at least its line end.
std::optional<Record> ParseRecord(std::string_view line);
// A chain value's form: 64 lowercase hex digits.
bool IsChainValue(std::string_view text);
// A number field: a signed decimal of at most 18 digits, so that it always fits in 64 bits.
std::optional<std::int64_t> ParseInteger(std::string_view text);
// The journal's small files of its own (the kept numbers, the checkpoint): a
// title line, then "name=value" lines, each ending in CRLF. Hands each pair to
// take; false when the first line is not title, a line is no such pair, or
// take refuses one.
bool ReadNamedValues(std::string_view text, std::string_view title,
                     const std::function<bool(std::string_view name, std::string_view value)>& take);

// The one mapping each way between a record and the sale core's records.
// A line's or void's class, price, quantity and subtotal:
void SetLine(Record& record, const regi::LineRecord& line);
regi::LineRecord LineOf(const Record& record);
// A sale's or a return's rates, amounts and tax per class, and their total:
void SetTaxes(Record& record, const regi::TaxTotals& taxes);
regi::TaxTotals TaxesOf(const Record& record);
// A sale record's count of lines, taxes, tendered and change:
void SetSale(Record& record, const regi::SaleRecord& sale);
// Its number, time, taxes, tendered and change; the lines are records of their own.
regi::SaleRecord SaleOf(const Record& record);
// The records of a sale's parts in the journal's order, without their numbers
// and time: each line with its discount after it, the whole sale's discount
// per class, then the other tenders. A sale record's parts.
std::vector<Record> SalePartRecords(const regi::SaleRecord& sale);
// Whether a kind is one of those parts.
bool BuildsSale(Kind kind);
// Puts one of them back into sale, fed in the journal's order.
void AddSalePart(regi::SaleRecord& sale, const Record& part);
// What the parts of a sale add to each class (by the class's value): its
// lines after their discounts, less the whole sale's.
regi::ClassAmounts PartsPerClass(const regi::SaleRecord& sale);

// A time as the journal or a spreadsheet writes it, in the journal's own form
// "2026-12-08T21:07:56": "2026-12-08T21:07:56", "2026-12-09 03:03:39",
// "2025/12/10 9:01", "2025/12/10 9:01:05"; month, day and hour of one or two digits.
std::optional<std::string> LocalTime(std::string_view text);
// The length of the line end that closes line: 2 for CRLF, 1 for LF or CR, 0 for none.
size_t LineEnding(std::string_view line);

// The sale being keyed, as the recovery file keeps it: its lines, then, once
// other tenders have paid part of it, a second header and one row per tender.
struct OpenSale {
    std::int64_t sale = 0;  // the number it will get when it is settled
    std::vector<regi::LineRecord> lines;
    std::vector<regi::TenderPaid> paid = {};
    std::optional<regi::Discount> subtotalDiscount = std::nullopt;
};
std::string FormatOpenSale(const OpenSale& sale);
// Nothing unless the whole content is sound: a header, 1 to 100 lines of one
// sale, each CRLF-terminated, within the register's limits, subtotal = unit
// price x quantity; then optionally the tenders' header and rows of the same
// sale, each tender once, each amount above 0 and within a sale's total. A
// damaged file restores nothing rather than a wrong sale. A file written
// before tenders existed has no tenders' part and reads as unpaid. A line with
// a department or a discount has three more fields (department, "yen" or
// "percent", as keyed); the whole sale's discount is a row of its own
// ("sale,discount,<yen|percent>,<keyed>") after the lines. A product's line
// has its code as a ninth field.
std::optional<OpenSale> ParseOpenSale(std::string_view content);

}  // namespace journal
