#pragma once
// The sales journal on the disk and the service the register calls: every
// settled sale, void, cancel and report is appended to Pelmora-journal.csv and
// flushed before the call returns; the sale being keyed is kept in
// Pelmora-open.csv, replaced atomically at every change, for the next start
// after a crash. Each writing call either stores everything and updates the
// numbers and totals, or raises ui::Error and changes nothing, so that the
// same call can simply be tried again. After each append the highest numbers
// and the journal's size are kept in Pelmora-journal-numbers.txt (see Kept),
// where damage to the journal cannot reset them. From its first append on, a
// Journal holds its file: other programs may read it, none may write to it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "journal/Period.h"
#include "platform/Handles.h"
#include "sale/SaleRecord.h"

namespace journal {

extern const wchar_t kJournalName[];   // "Pelmora-journal.csv"
extern const wchar_t kOpenSaleName[];  // "Pelmora-open.csv"
extern const wchar_t kKeptName[];      // "Pelmora-journal-numbers.txt"
// The first line of the message when another program holds the journal; the path follows.
extern const wchar_t kJournalBusy[];  // "売上の記録は別の Pelmora が使っています"

// The local time as the records keep it, "2026-12-08T21:07:56".
std::wstring TimeNow();
// Opens the folder in the shell; raises ui::Error when that fails.
void OpenFolder(const std::wstring& folder);

struct Report {
    std::int64_t z = 0;               // the Z's number; 0 for an X
    std::vector<std::wstring> lines;  // see ReportLines
    std::wstring Text() const;        // the lines joined by CRLF, for an edit box
};

class Journal {
public:
    explicit Journal(const std::wstring& folder);
    const std::wstring& Path() const { return path_; }
    const std::wstring& OpenSalePath() const { return openSalePath_; }
    const std::wstring& KeptPath() const { return keptPath_; }

    // Reads the period since the last Z from the end of the journal; a missing
    // journal is an empty one. The next numbers continue from the higher of the
    // journal's and the kept ones. Returns the number of lines read and not used.
    // Raises ui::Error when the journal is there but cannot be read; until a
    // load succeeds, every writing call tries it first. Never changes the journal.
    int Load();
    // What the start should show, each once: everything Load found in the
    // journal in one message with line numbers, that another program holds
    // it, and what RecoverOpenSale could not restore.
    std::vector<std::wstring> StartMessages() const;

    // Stores a settled sale (lines, taxes, tendered, change): it gets the next
    // sale number and the time now; its line records, then its sale record.
    // Removes the open-sale file. Returns the sale with its number and time.
    regi::SaleRecord RecordSale(regi::SaleRecord sale);
    // A line of the open sale voided (its number before the void, its values).
    void RecordVoid(std::int64_t lineNumber, const regi::LineRecord& line);
    // The open sale cancelled: its number of lines and their total. It uses up
    // the sale number. Removes the open-sale file.
    void RecordCancel(std::int64_t lineCount, std::int64_t total);
    // 点検: the report of the period, with an x record; the period goes on.
    Report TakeX(std::int64_t cashFloat);
    // 精算: the report with the next Z number, with a z record; a new period starts.
    Report TakeZ(std::int64_t cashFloat);

    std::int64_t SalesTotal() const { return period_.total; }  // since the last Z
    std::int64_t NextSaleNumber() const { return period_.nextSale; }
    std::int64_t ExpectedCash(std::int64_t cashFloat) const { return cashFloat + period_.total; }
    const Period& CurrentPeriod() const { return period_; }
    // The last sale settled since the last Z, this run or an earlier one;
    // number 0 when there is none.
    const regi::SaleRecord& LastSale() const { return lastSale_; }

    // The open sale's lines, after every change to them; no lines removes the
    // file. A failure names the recovery file and, after a settle or cancel,
    // says that the journal holds it.
    void KeepOpenSale(const std::vector<regi::LineRecord>& lines);
    // The lines a run that ended mid-sale left; none when there is no file, when
    // it is damaged, or when its sale reached the journal already (known only
    // after Load, so call it after Load). A damaged file is renamed aside and
    // named in StartMessages. Never raises.
    std::vector<regi::LineRecord> RecoverOpenSale();

private:
    void EnsureLoaded();
    void Append(const std::vector<Record>& records);  // to the disk, then into the period
    void DropOpenSale() noexcept;
    void SaveKept() noexcept;
    [[noreturn]] void FailOpenSale(unsigned long code) const;

    std::wstring path_, openSalePath_, keptPath_;
    platform::Handle file_;  // the journal, held from the first append on
    Period period_;
    Kept kept_;
    std::int64_t unfinishedAt_ = -1;  // see BackwardReader::UnfinishedAt
    std::int64_t loadedSize_ = 0;     // the journal's bytes when it was last read
    regi::SaleRecord lastSale_;
    bool loaded_ = false;
    const wchar_t* recorded_ = nullptr;  // what the last settle or cancel stored, until a new sale opens
    std::wstring journalMessage_, busyMessage_, recoveryMessage_;
};

}  // namespace journal
