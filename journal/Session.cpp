#include "journal/Session.h"

#include <algorithm>
#include <memory>

#include "common/Error.h"
#include "common/MessageText.h"
#include "common/Utf8.h"

namespace journal {

const wchar_t kJournalName[] = L"Pelmora-journal.csv";
const wchar_t kOpenSaleName[] = L"Pelmora-open.csv";
const wchar_t kKeptName[] = L"Pelmora-journal-numbers.txt";
const wchar_t kCheckpointName[] = L"Pelmora-journal-checkpoint.txt";
const wchar_t kIndexName[] = L"Pelmora-journal-index.txt";
const wchar_t kJournalBusy[] = L"売上の記録は別の Pelmora が使っています";

namespace {

const wchar_t kWriteError[] = L"売上の記録に書き込めません";
const wchar_t kReadError[] = L"売上の記録を読めません";
const wchar_t kOpenSaleError[] = L"途中の取引の控えを書き換えられません";
constexpr std::int64_t kChunk = 64 * 1024;
constexpr size_t kMaxOpenSale = 1024 * 1024;  // far above 100 lines; anything bigger is not ours
constexpr size_t kMaxKept = 64 * 1024;
// Room for the notes of 入金 and 出金 of a period that no Z closes for years.
constexpr size_t kMaxCheckpoint = 1024 * 1024;
// A start that read more than this writes a checkpoint where it ended.
constexpr std::int64_t kCheckpointAfter = 1024 * 1024;

// Numbers the findings' lines from the journal's start, as far as the furthest.
void NumberLines(Storage& storage, const std::wstring& path, std::int64_t size, std::vector<Finding>& findings) {
    LineNumbers numbers(findings);
    std::string chunk;
    for (std::int64_t at = 0; at < size && numbers.Wanted() >= 0; at += kChunk) {
        chunk.resize(static_cast<size_t>(std::min(kChunk, size - at)));
        if (!storage.Read(path, at, chunk)) return;
        numbers.Feed(chunk);
    }
}

}  // namespace

std::vector<std::wstring> Report::Lines() const {
    std::vector<std::wstring> lines;
    for (const ReportLine& item : items) lines.push_back(item.Text());
    return lines;
}

std::wstring Report::Text() const {
    std::wstring text;
    for (const ReportLine& item : items) text += (text.empty() ? L"" : L"\r\n") + item.Text();
    return text;
}

Session::Session(Storage& storage, const std::wstring& folder, Clock clock, ShiftJisText shiftJis, ChainHash hash)
    : storage_(storage),
      clock_(std::move(clock)),
      shiftJis_(std::move(shiftJis)),
      hash_(std::move(hash)),
      folder_(folder),
      path_(folder + L"\\" + kJournalName),
      openSalePath_(folder + L"\\" + kOpenSaleName),
      keptPath_(folder + L"\\" + kKeptName),
      checkpointPath_(folder + L"\\" + kCheckpointName),
      indexPath_(folder + L"\\" + kIndexName),
      finder_(storage, path_, indexPath_) {}

[[noreturn]] void Session::Fail(const wchar_t* what, const std::wstring& path, const Status& status) const {
    throw common::Error(std::wstring(what) + L"\r\n" + path + L"\r\n" + status.reason);
}

std::vector<std::wstring> Session::StartNotices() const {
    if (resavedNotice_.empty()) return {};
    return {resavedNotice_};
}

std::vector<std::wstring> Session::StartMessages() const {
    std::vector<std::wstring> messages;
    for (const std::wstring* message : {&busyMessage_, &journalMessage_, &recoveryMessage_})
        if (!message->empty()) messages.push_back(*message);
    return messages;
}

BackwardReader Session::ReadBack(std::int64_t size, const std::vector<ByteRange>& partials, std::int64_t begin) {
    // From the end backward, a chunk at a time, until the last Z or begin.
    BackwardReader reader(size, partials, encoding_ == Encoding::ShiftJis ? shiftJis_.decode : nullptr);
    std::string chunk;
    std::int64_t offset = size;
    bool wanted = true;
    while (wanted) {
        std::int64_t length = std::min(kChunk, offset - begin);
        offset -= length;
        chunk.resize(static_cast<size_t>(length));
        if (length > 0) {
            Status read = storage_.Read(path_, offset, chunk);
            if (!read) Fail(kReadError, path_, read);
        }
        wanted = reader.Feed(chunk, offset == begin);
    }
    return reader;
}

EncodingReader Session::ReadEncoding(std::int64_t size) {
    EncodingReader reader;
    std::string chunk;
    for (std::int64_t at = 0; at < size; at += kChunk) {
        chunk.resize(static_cast<size_t>(std::min(kChunk, size - at)));
        Status read = storage_.Read(path_, at, chunk);
        if (!read) Fail(kReadError, path_, read);
        reader.Feed(chunk);
    }
    return reader;
}

std::optional<Checkpoint> Session::ReadCheckpoint(std::int64_t size) {
    std::string text;
    if (!storage_.ReadWhole(checkpointPath_, kMaxCheckpoint, text)) return std::nullopt;
    std::optional<Checkpoint> checkpoint = ParseCheckpoint(text);
    if (!checkpoint || !CountsMoney(*checkpoint) || checkpoint->offset <= 0 || checkpoint->offset > size)
        return std::nullopt;
    // Still the same journal: its first bytes and those before the place are the same.
    if (KnownBytes(checkpoint->offset) != std::pair(checkpoint->head, checkpoint->tail)) return std::nullopt;
    return checkpoint;
}

std::pair<std::string, std::string> Session::KnownBytes(std::int64_t offset) {
    size_t known = static_cast<size_t>(std::min(Checkpoint::kKnownBytes, offset));
    std::string head(known, '\0'), tail(known, '\0');
    if (!storage_.Read(path_, 0, head) || !storage_.Read(path_, offset - static_cast<std::int64_t>(known), tail))
        return {};
    return {head, tail};
}

int Session::Load() {
    std::string keptText;
    Kept kept = storage_.ReadWhole(keptPath_, kMaxKept, keptText) ? ParseKept(keptText).value_or(Kept()) : Kept();
    std::int64_t size = 0;
    Status opened = storage_.Size(path_, size);
    bool exists = opened.fault != Fault::Missing;
    if (exists && !opened) Fail(kReadError, path_, opened);
    std::vector<ByteRange> partials = kept.partials;
    if (kept.failedAt >= 0) partials.push_back({kept.failedAt, size});
    std::optional<Checkpoint> checkpoint = exists ? ReadCheckpoint(size) : std::nullopt;
    // The byte-order mark the program writes first; the checkpoint knows the
    // first bytes already.
    std::string mark = checkpoint ? checkpoint->head.substr(0, 3)
                                  : std::string(static_cast<size_t>(std::min<std::int64_t>(size, 3)), '\0');
    if (!checkpoint && !mark.empty()) {
        Status read = storage_.Read(path_, 0, mark);
        if (!read) Fail(kReadError, path_, read);
    }
    const bool marked = mark == kByteOrderMark;
    std::vector<Finding> mixed;
    encoding_ = Encoding::Utf8;
    if (exists && size > 0 && !marked) {
        EncodingReader encoding = ReadEncoding(size);
        encoding_ = encoding.Result();
        mixed = encoding.Findings();
    }
    BackwardReader reader(size, partials);
    if (exists) reader = ReadBack(size, partials, checkpoint ? checkpoint->offset : 0);
    if (checkpoint && !reader.StoppedAtZ() && !reader.Resume(checkpoint->period, checkpoint->lastSale))
        reader = ReadBack(size, partials, 0);
    // Saved again by another program: without the mark, or with the mark
    // (as "CSV UTF-8") but its rows in the program's own forms no longer.
    const bool resaved = exists && size > 0 && (!marked || !reader.LastRecordAsWritten());
    Period period = reader.Result();
    std::vector<Finding> findings = reader.Findings();
    findings.insert(findings.end(), mixed.begin(), mixed.end());
    const std::vector<Finding> compared = CompareWithKept(period, kept, size, resaved);
    findings.insert(findings.end(), compared.begin(), compared.end());
    // Told until the program appends to the journal as it now is; a file that
    // lost records is told that instead.
    resavedNotice_ =
        resaved && size != kept.size && compared.empty() ? ResavedNotice(encoding_, marked) + L"\r\n" + path_ : L"";
    // A long reading of a journal that read clean is not done again: the
    // next start goes on from here.
    bool clean = findings.empty() && reader.Unreadable() == 0 && reader.UnfinishedAt() < 0 && kept.failedAt < 0;
    if (clean && reader.Fed() >= kCheckpointAfter && reader.Result().firstSequence != 0) {
        auto [head, tail] = KnownBytes(size);
        if (!head.empty())
            storage_.Replace(checkpointPath_, FormatCheckpoint({size, head, tail, reader.Result(), reader.LastSale()}));
    }
    // Line numbers cost a reading from the start: only when there is something to tell.
    if (exists && !findings.empty()) NumberLines(storage_, path_, size, findings);
    journalMessage_ = FindingsMessage(findings, reader.Unreadable());
    busyMessage_.clear();
    if (exists && !storage_.Holds(path_) && storage_.HeldElsewhere(path_))
        busyMessage_ = std::wstring(kJournalBusy) + L"\r\n" + path_;
    // The next record chains on from the last: the kept value while the
    // journal is as the program left it, else the journal's own.
    // What a write that stopped midway left is no part of the chain.
    lastChain_.clear();
    if (hash_ && exists) {
        std::int64_t whole = size;
        for (std::int64_t cut : {reader.UnfinishedAt(), kept.failedAt})
            if (cut >= 0) whole = std::min(whole, cut);
        lastChain_ =
            kept.size == size && !kept.chain.empty()
                ? kept.chain
                : LastChainValue(storage_, path_, whole, encoding_ == Encoding::ShiftJis ? shiftJis_.decode : nullptr);
    }
    period_ = period;
    kept_ = kept;
    unfinishedAt_ = reader.UnfinishedAt();
    loadedSize_ = size;
    earlierSale_ = reader.LastSale();
    loaded_ = true;
    return reader.Unreadable();
}

OpenSale Session::Start() {
    Load();
    return RecoverOpenSale();
}

void Session::EnsureLoaded() {
    if (!loaded_) {
        Load();
        return;
    }
    // Until this program holds the journal, another may have appended since
    // the load: records are numbered on the journal as it is now. A journal
    // gone or unreadable is left to the write, which says so.
    std::int64_t size = 0;
    if (storage_.Holds(path_) || !storage_.Size(path_, size)) return;
    if (size != loadedSize_) Load();
}

ChainCheck Session::ChainToCheck() const {
    std::vector<ByteRange> partials = kept_.partials;
    if (kept_.failedAt >= 0) partials.push_back({kept_.failedAt, loadedSize_});
    if (unfinishedAt_ >= 0) partials.push_back({unfinishedAt_, loadedSize_});
    return {path_, loadedSize_, partials, encoding_ == Encoding::ShiftJis ? shiftJis_.decode : nullptr, hash_};
}

void Session::Append(std::vector<Record> records) {
    // The sums are checked before anything reaches the disk.
    Period after = period_;
    for (const Record& record : records) {
        bool line = record.kind == Kind::Line || record.kind == Kind::Void;
        if (!after.Add(record))
            throw common::Error(
                common::FormatMessageText(regi::kOutOfRange, regi::FormatMoney(line ? record.subtotal : record.total)));
        if (record.kind == Kind::Z) {
            // A new period starts with the z record.
            after = Period();
            after.Add(record);
        }
    }
    Status held = storage_.Hold(path_);
    if (held.fault == Fault::Busy) throw common::Error(std::wstring(kJournalBusy) + L"\r\n" + path_);
    if (!held) Fail(kWriteError, path_, held);
    std::int64_t size = 0;
    Status sized = storage_.Size(path_, size);
    if (!sized) Fail(kWriteError, path_, sized);
    // A new journal starts with the byte-order mark and the header; after a
    // last line cut short, the records start on a line of their own.
    std::string bytes;
    Encoding encoding = size == 0 ? Encoding::Utf8 : encoding_;
    if (size == 0) {
        bytes = std::string(kByteOrderMark) + kHeader + "\r\n";
    } else {
        std::string last(1, '\0');
        Status read = storage_.Read(path_, size - 1, last);
        if (!read) Fail(kWriteError, path_, read);
        if (last[0] != '\n' && last[0] != '\r') bytes = "\r\n";
    }
    std::string chain = lastChain_;
    for (Record& record : records) {
        if (hash_) chain = record.chain = ChainValue(hash_, chain, record);
        bytes += FormatRecord(record);
    }
    // In the journal's own encoding, so that the whole file reads in one.
    if (encoding == Encoding::ShiftJis && !common::IsAscii(bytes)) bytes = shiftJis_.encode(common::FromUtf8(bytes));
    Status written = storage_.Append(path_, bytes);
    if (!written) {
        // What reached the disk is passed over silently from now on.
        if (kept_.failedAt < 0) kept_.failedAt = size;
        SaveKept();
        Fail(kWriteError, path_, written);
    }
    std::int64_t begin = std::min(kept_.failedAt < 0 ? size : kept_.failedAt, unfinishedAt_ < 0 ? size : unfinishedAt_);
    if (begin < size) kept_.partials.push_back({begin, size});
    kept_.failedAt = unfinishedAt_ = -1;
    encoding_ = encoding;
    lastChain_ = kept_.chain = chain;
    period_ = after;
    kept_.sequence = period_.nextSequence - 1;
    kept_.sale = period_.nextSale - 1;
    kept_.z = period_.nextZ - 1;
    kept_.size = size + static_cast<std::int64_t>(bytes.size());
    SaveKept();
}

void Session::SaveKept() noexcept {
    // The append succeeded whatever happens here: the next one tries again.
    storage_.Replace(keptPath_, FormatKept(kept_));
}

[[noreturn]] void Session::FailOpenSale(const Status& status) const {
    std::wstring text = std::wstring(kOpenSaleError) + L"\r\n" + openSalePath_ + L"\r\n" + status.reason;
    if (recorded_) text += std::wstring(L"\r\n") + recorded_;
    throw common::Error(text);
}

regi::SaleRecord Session::RecordSale(regi::SaleRecord sale) {
    EnsureLoaded();
    sale.time = TimeNow();
    std::vector<Record> records = period_.SaleRecords(sale);
    Append(records);
    sale.number = records.back().sale;
    recorded_ = L"売上は記録されています。打ち直さないでください。";
    // A file left behind names a sale number the journal has passed: never restored.
    storage_.Remove(openSalePath_);
    return sale;
}

regi::ReturnRecord Session::RecordReturn(regi::ReturnRecord giveBack) {
    EnsureLoaded();
    giveBack.time = TimeNow();
    std::vector<Record> records = period_.ReturnRecords(giveBack, giveBack.time);
    Append(records);
    giveBack.number = records.back().sequence;
    return giveBack;
}

ReturnableSale Session::FindReturnable(std::int64_t number) { return Returnable(FindSale(number), number); }

void Session::RecordVoid(std::int64_t lineNumber, const regi::LineRecord& line) {
    EnsureLoaded();
    Append({period_.VoidRecord(lineNumber, line, TimeNow())});
}

void Session::RecordCancel(std::int64_t lineCount, std::int64_t total, const std::vector<regi::TenderPaid>& givenBack) {
    EnsureLoaded();
    Append(period_.CancelRecords(lineCount, total, givenBack, TimeNow()));
    recorded_ = L"取引中止は記録されています。";
    storage_.Remove(openSalePath_);
}

void Session::RecordMoney(Kind kind, std::int64_t amount, const std::wstring& note) {
    EnsureLoaded();
    Append({period_.MoneyRecord(kind, amount, note, TimeNow())});
}

void Session::RecordReissue(std::int64_t sale) {
    EnsureLoaded();
    Record reissue = period_.MoneyRecord(Kind::Reissue, 0, L"", TimeNow());  // numbered, no sum of the period
    reissue.sale = sale;
    Append({reissue});
}

Report Session::TakeX(std::int64_t cashFloat, const std::vector<std::wstring>& tenderNames,
                      const regi::Departments& departments) {
    EnsureLoaded();
    Record x = period_.ReportRecord(Kind::X, cashFloat, TimeNow());
    Report report{0, {}, std::nullopt, ReportItems(period_, x, tenderNames, departments), period_.products};
    Append({x});
    return report;
}

Report Session::TakeZ(std::int64_t cashFloat, const std::vector<std::wstring>& tenderNames,
                      const regi::Departments& departments) {
    EnsureLoaded();
    // The departments' names as they stand go into the journal before the z.
    std::vector<Record> records = period_.DepartmentRecords(departments, TimeNow());
    Record z = period_.ReportRecord(Kind::Z, cashFloat, TimeNow());
    z.sequence += static_cast<std::int64_t>(records.size());
    Report report{
        z.z, {}, ClosedDay{z.z, z.time, period_}, ReportItems(period_, z, tenderNames, departments), period_.products};
    records.push_back(z);
    Append(records);
    report.chain = lastChain_;
    return report;
}

void Session::KeepOpenSale(const std::vector<regi::LineRecord>& lines, const std::vector<regi::TenderPaid>& paid,
                           const std::optional<regi::Discount>& subtotalDiscount) {
    if (lines.empty()) {
        // A file left here would bring voided lines back at the next start.
        Status removed = storage_.Remove(openSalePath_);
        if (!removed && removed.fault != Fault::Missing) FailOpenSale(removed);
        return;
    }
    recorded_ = nullptr;
    EnsureLoaded();
    Status replaced =
        storage_.Replace(openSalePath_, FormatOpenSale({period_.nextSale, lines, paid, subtotalDiscount}));
    if (!replaced) FailOpenSale(replaced);
}

void Session::KeepSale(const regi::TSale& sale) {
    // A settled or empty sale has nothing to keep.
    if (sale.State() == regi::SaleState::Open)
        KeepOpenSale(sale.Lines(), sale.Paid(), sale.SubtotalDiscount());
    else
        KeepOpenSale({});
}

OpenSale Session::RecoverOpenSale() {
    recoveryMessage_.clear();
    std::string content;
    Status read = storage_.ReadWhole(openSalePath_, kMaxOpenSale, content);
    if (read.fault == Fault::Missing) return {};
    std::optional<OpenSale> sale = read ? ParseOpenSale(content) : std::nullopt;
    if (sale) return sale->sale < period_.nextSale ? OpenSale() : *sale;
    if (!read) {
        // Held by another program, or far too large to be ours: left where it is.
        recoveryMessage_ = L"前回終了時の取引を復元できません: 途中の取引の控えを読めません。\r\n" + openSalePath_;
        return {};
    }
    // Damaged: kept aside for the owner under a name of its own, never deleted.
    std::wstring stamp = TimeNow();
    stamp.erase(std::remove_if(stamp.begin(), stamp.end(), [](wchar_t c) { return c == L'-' || c == L':'; }),
                stamp.end());
    std::replace(stamp.begin(), stamp.end(), L'T', L'-');
    std::wstring base = folder_ + L"\\Pelmora-open-damaged-" + stamp;
    std::wstring aside;
    Status moved;
    for (int n = 1; n <= 100 && aside.empty(); ++n) {
        std::wstring name = base + (n == 1 ? L"" : L"-" + std::to_wstring(n)) + L".csv";
        moved = storage_.Rename(openSalePath_, name);
        if (moved)
            aside = name;
        else if (moved.fault != Fault::Exists)
            break;
    }
    recoveryMessage_ = L"前回終了時の取引を復元できません: 途中の取引の控えが壊れています。\r\n";
    recoveryMessage_ += aside.empty() ? L"控えはそのままです (" + moved.reason + L")\r\n" + openSalePath_
                                      : L"控えは次の名前で残してあります\r\n" + aside;
    return {};
}

void ConnectRecorder(regi::SaleRecorder& recorder, std::function<Session*()> journal, Clock clock) {
    auto salesSinceStart = std::make_shared<std::int64_t>(0);  // numbers sales while no journal is kept
    recorder.settling = [journal, clock, salesSinceStart](regi::SaleRecord& sale) {
        if (Session* session = journal()) {
            sale = session->RecordSale(sale);
        } else {
            sale.number = ++*salesSinceStart;
            sale.time = common::FormatDateTime(clock());
        }
    };
    recorder.voiding = [journal](int lineNumber, const regi::LineRecord& line) {
        if (Session* session = journal()) session->RecordVoid(lineNumber, line);
    };
    auto cancel = [journal](const std::vector<regi::LineRecord>& lines, std::int64_t total,
                            const std::vector<regi::TenderPaid>& givenBack) {
        if (Session* session = journal())
            session->RecordCancel(static_cast<std::int64_t>(lines.size()), total, givenBack);
    };
    recorder.cancelling = [cancel](const std::vector<regi::LineRecord>& lines, std::int64_t total) {
        cancel(lines, total, {});
    };
    recorder.cancellingPaid = cancel;
    recorder.salesTotal = [journal]() -> std::optional<std::int64_t> {
        Session* session = journal();
        return session ? session->ReadSalesTotal() : std::nullopt;
    };
}

}  // namespace journal
