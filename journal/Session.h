#pragma once
// The sales journal as the register uses it, without Windows: every settled
// sale, void, cancel and report is appended to Pelmora-journal.csv and flushed
// before the call returns; the sale being keyed is kept in Pelmora-open.csv,
// replaced whole at every change, for the next start after a crash. Each
// writing call either stores everything and updates the numbers and totals, or
// raises common::Error and changes nothing, so that the same call can simply be
// tried again. After each append the highest numbers and the journal's size are
// kept in Pelmora-journal-numbers.txt (see Kept), where damage to the journal
// cannot reset them. From its first append on, the session holds the journal:
// other programs may read it, none may write to it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/DateTime.h"
#include "journal/Chain.h"
#include "journal/Checkpoint.h"
#include "journal/Export.h"
#include "journal/Kept.h"
#include "journal/Period.h"
#include "journal/ReturnRecords.h"
#include "journal/SaleFinder.h"
#include "journal/Storage.h"
#include "journal/TextEncoding.h"
#include "sale/Sale.h"
#include "sale/SaleRecord.h"

namespace journal {

extern const wchar_t kJournalName[];     // "Pelmora-journal.csv"
extern const wchar_t kOpenSaleName[];    // "Pelmora-open.csv"
extern const wchar_t kKeptName[];        // "Pelmora-journal-numbers.txt"
extern const wchar_t kCheckpointName[];  // "Pelmora-journal-checkpoint.txt"
extern const wchar_t kIndexName[];       // "Pelmora-journal-index.txt"
// The first line of the message when another program holds the journal; the path follows.
extern const wchar_t kJournalBusy[];  // "売上の記録は別の Pelmora が使っています"

// The local time now; the program's reads the system clock.
using common::Clock;

struct Report {
    std::int64_t z = 0;            // the Z's number; 0 for an X
    std::string chain;             // a Z's: its z record's chain value; empty without a chain
    std::optional<ClosedDay> day;  // a Z's: the period it closed, for the accounting programs
    std::vector<ReportLine> items;
    std::vector<ProductTotal> products;       // what each product sold, for ProductItems
    std::vector<std::wstring> Lines() const;  // see ReportLines
    std::wstring Text() const;                // the lines joined by CRLF, for an edit box
};

class Session {
public:
    // The journal's files lie in folder, named with "\" as the separator;
    // shiftJis converts the notes of a journal a spreadsheet saved again in Shift_JIS;
    // hash makes each record's chain value (none: records without one).
    Session(Storage& storage, const std::wstring& folder, Clock clock, ShiftJisText shiftJis, ChainHash hash = {});
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    const std::wstring& Path() const { return path_; }
    const std::wstring& OpenSalePath() const { return openSalePath_; }
    const std::wstring& KeptPath() const { return keptPath_; }
    const std::wstring& CheckpointPath() const { return checkpointPath_; }
    const std::wstring& IndexPath() const { return indexPath_; }

    // Reads the period since the last Z from the end of the journal; a missing
    // journal is an empty one. A journal without the byte-order mark, saved
    // again by another program, is read whole first for its encoding (see
    // EncodingReader): what follows is appended in it. The next numbers continue from the higher of the
    // journal's and the kept ones. Returns the number of lines read and not used.
    // Raises common::Error when the journal is there but cannot be read; until a
    // load succeeds, every writing call tries it first. Never changes the journal.
    int Load();
    // The start of a run: Load, then the lines a run that ended mid-sale left
    // (see RecoverOpenSale). Raises what Load raises and then restores nothing:
    // with the numbering unknown, a sale that reached the journal could come back.
    OpenSale Start();
    // What the start should show, each once: everything Load found in the
    // journal in one message with line numbers, that another program holds
    // it, and what RecoverOpenSale could not restore.
    std::vector<std::wstring> StartMessages() const;
    // What the start should tell and is no fault: that another program saved
    // the journal again in another encoding since the program last wrote it.
    std::vector<std::wstring> StartNotices() const;
    Encoding JournalEncoding() const { return encoding_; }
    // What a check of the whole chain needs, as of the last load: the check
    // reads the journal on a storage of its own, off the start's path.
    ChainCheck ChainToCheck() const;

    // Stores a settled sale (lines, taxes, tendered, change): it gets the next
    // sale number and the time now; its line records, then its sale record.
    // Removes the open-sale file. Returns the sale with its number and time.
    regi::SaleRecord RecordSale(regi::SaleRecord sale);
    // A return: its lines, refunds and return record, at the time now; its
    // number is its return record's seq. Returns it with number and time.
    regi::ReturnRecord RecordReturn(regi::ReturnRecord giveBack);
    // The sale of that number to return against, with what went back of it
    // in any period; raises common::Error when it cannot be returned (see Returnable).
    ReturnableSale FindReturnable(std::int64_t number);
    // A line of the open sale voided (its number before the void, its values).
    void RecordVoid(std::int64_t lineNumber, const regi::LineRecord& line);
    // The open sale cancelled: its number of lines and their total. It uses up
    // the sale number. Removes the open-sale file.
    void RecordCancel(std::int64_t lineCount, std::int64_t total, const std::vector<regi::TenderPaid>& givenBack = {});
    // 点検: the report of the period, with an x record; the period goes on.
    // Cash put into the drawer (Kind::In) or taken out (Kind::Out), with the operator's note (see CleanNote).
    void RecordMoney(Kind kind, std::int64_t amount, const std::wstring& note = L"");
    // The drawer's command sent with no sale.
    void RecordDrawer() { RecordMoney(Kind::Drawer, 0); }
    // The receipt of an earlier sale printed again (再発行), at the time now.
    void RecordReissue(std::int64_t sale);
    Report TakeX(std::int64_t cashFloat, const std::vector<std::wstring>& tenderNames = {},
                 const regi::Departments& departments = {});
    // 精算: the report with the next Z number, with a z record; a new period starts.
    Report TakeZ(std::int64_t cashFloat, const std::vector<std::wstring>& tenderNames = {},
                 const regi::Departments& departments = {});

    std::int64_t SalesTotal() const { return period_.total; }  // since the last Z
    // The same once the journal has been read; nothing before.
    std::optional<std::int64_t> ReadSalesTotal() const {
        return loaded_ ? std::optional<std::int64_t>(period_.total) : std::nullopt;
    }
    std::int64_t NextSaleNumber() const { return period_.nextSale; }
    // The float and the sales since the last Z; raises common::Error beyond the register's limits.
    std::int64_t ExpectedCash(std::int64_t cashFloat) const { return period_.ExpectedCash(cashFloat); }
    const Period& CurrentPeriod() const { return period_; }
    // The last sale settled since the last Z as the last load found it in the
    // journal, settled in an earlier run; number 0 when there is none. The
    // sales of this run are the register's (regi::TSale::LastSettled).
    const regi::SaleRecord& EarlierSale() const { return earlierSale_; }
    // Any sale or cancel of the journal's whole life by its number, or the
    // first at or after a time (see SaleFinder); nothing when there is none.
    // The index beside the journal is made or brought up to date here, never
    // at the start. Raises common::Error when the journal cannot be read.
    std::optional<FoundSale> FindSale(std::int64_t number) { return finder_.Find(number); }
    std::optional<FoundSale> FindSaleAt(const common::DateTime& time) { return finder_.FindAt(time); }
    // The files the journal is read from, for readings of its own (the sales history).
    Storage& Files() const { return storage_; }

    // The open sale's lines and what other tenders paid of it, after every
    // change to them; no lines removes the file. A failure names the recovery
    // file and, after a settle or cancel, says that the journal holds it.
    void KeepOpenSale(const std::vector<regi::LineRecord>& lines, const std::vector<regi::TenderPaid>& paid = {},
                      const std::optional<regi::Discount>& subtotalDiscount = std::nullopt);
    // The sale's lines and tenders while it is open; none once it is settled or empty.
    void KeepSale(const regi::TSale& sale);
    // The sale a run that ended mid-sale left; no lines when there is no file, when
    // it is damaged, or when its sale reached the journal already (known only
    // after Load, so call it after Load). A damaged file is renamed aside and
    // named in StartMessages. Never raises.
    OpenSale RecoverOpenSale();

private:
    BackwardReader ReadBack(std::int64_t size, const std::vector<ByteRange>& partials, std::int64_t begin);
    EncodingReader ReadEncoding(std::int64_t size);
    // The checkpoint beside the journal while it still stands for the journal's start.
    std::optional<Checkpoint> ReadCheckpoint(std::int64_t size);
    // The journal's first bytes and those just before offset, as a checkpoint keeps them; empty when unreadable.
    std::pair<std::string, std::string> KnownBytes(std::int64_t offset);
    void EnsureLoaded();
    void Append(std::vector<Record> records);  // chained, to the disk, then into the period
    void SaveKept() noexcept;
    [[noreturn]] void Fail(const wchar_t* what, const std::wstring& path, const Status& status) const;
    [[noreturn]] void FailOpenSale(const Status& status) const;
    std::wstring TimeNow() const { return common::FormatDateTime(clock_()); }

    Storage& storage_;
    Clock clock_;
    ShiftJisText shiftJis_;
    ChainHash hash_;
    std::string lastChain_;               // the chain value of the journal's last record; empty before the chain
    Encoding encoding_ = Encoding::Utf8;  // of the journal as last read or written
    std::wstring folder_, path_, openSalePath_, keptPath_, checkpointPath_, indexPath_;
    SaleFinder finder_;
    Period period_;
    Kept kept_;
    std::int64_t unfinishedAt_ = -1;  // see BackwardReader::UnfinishedAt
    std::int64_t loadedSize_ = 0;     // the journal's bytes when it was last read
    regi::SaleRecord earlierSale_;
    bool loaded_ = false;
    const wchar_t* recorded_ = nullptr;  // what the last settle or cancel stored, until a new sale opens
    std::wstring journalMessage_, busyMessage_, recoveryMessage_, resavedNotice_;
};

// Connects the register's recorder: each sale, void and cancel reaches the
// journal before the sale changes, while journal() gives one; without it,
// sales are numbered from 1 in each run and get the time now.
void ConnectRecorder(regi::SaleRecorder& recorder, std::function<Session*()> journal, Clock clock);

}  // namespace journal
