#include "app/JournalKeeper.h"

#include "journal/BooksWindow.h"
#include "journal/MoneyWindow.h"
#include "journal/ReportWindow.h"
#include "receipt/Printing.h"
#include "ui/Confirm.h"
#include "ui/Error.h"

const wchar_t JournalKeeper::kRecoveredSale[] = L"前回終了時の取引を復元しました";
const wchar_t JournalKeeper::kZQuestion[] = L"精算すると売上の集計を 0 に戻します。よろしいですか?";

JournalKeeper::JournalKeeper(std::wstring folder, Hooks hooks) : folder_(std::move(folder)), hooks_(std::move(hooks)) {}

journal::Journal* JournalKeeper::Journal() {
    if (!hooks_.on()) return nullptr;
    if (!journal_) journal_ = std::make_unique<journal::Journal>(folder_, hooks_.clock);
    return journal_.get();
}

void JournalKeeper::Connect(regi::TSale& sale) {
    journal::ConnectRecorder(
        sale.recorder, [this] { return Journal(); }, hooks_.clock);
}

void JournalKeeper::Keep(const regi::TSale& sale) {
    if (journal::Journal* journal = Journal()) journal->KeepSale(sale);
}

const regi::SaleRecord* JournalKeeper::EarlierSale() {
    journal::Journal* journal = Journal();
    return journal ? &journal->EarlierSale() : nullptr;
}

void JournalKeeper::OpenFolder() const { journal::OpenFolder(folder_); }

std::vector<JournalKeeper::Message> JournalKeeper::Start(regi::TSale& sale, const regi::Rates& rates) {
    std::vector<Message> messages;
    journal::Journal* journal = Journal();
    if (!journal) return messages;
    journal::OpenSale kept;
    ui::Guarded([&] { kept = journal->Start(); });
    // What the journal has to say of itself (changed outside the program, held
    // by another one, a recovery file kept aside), then the sale put back.
    for (std::wstring& message : journal->StartMessages()) messages.push_back({std::move(message), false});
    for (std::wstring& notice : journal->StartNotices()) messages.push_back({std::move(notice), true});
    if (!kept.lines.empty()) {
        sale.Restore(kept.lines, rates, kept.paid, kept.subtotalDiscount);
        messages.push_back({kRecoveredSale, true});
    }
    return messages;
}

void JournalKeeper::ShowReport(HWND owner, const wchar_t* caption, journal::Report report) {
    // The sales by product after the report's own lines, on the screen and on paper.
    for (journal::ReportLine& line : journal::ProductItems(report.products, hooks_.product))
        report.items.push_back(std::move(line));
    // A Z's chain value ends it, so that the paper anchors the journal as it stood.
    if (!report.chain.empty()) report.items.push_back(journal::ChainValueLine(report.chain));
    std::vector<receipt::Line> printed;
    for (const journal::ReportLine& line : report.items)
        printed.push_back(receipt::Captioned(line.caption, line.values));
    std::function<void(HWND)> save;
    if (report.day) save = [this, day = *report.day](HWND from) { SaveBooks(from, {day}); };
    journal::TReportWindow window(
        caption, report.Text(),
        [this, caption, printed] { receipt::Print(hooks_.printers, printed, hooks_.receipt(), caption, caption); },
        save);
    window.ShowModal(owner);
}

void JournalKeeper::SaveBooks(HWND owner) {
    journal::Journal* journal = Journal();
    if (!journal) return;
    journal::TBooksWindow window(journal->CurrentPeriod().nextZ - 1);
    if (window.ShowModal(owner) == IDOK && window.Range())
        SaveBooks(owner, window.Range()->first, window.Range()->second);
}

void JournalKeeper::SaveBooks(HWND owner, std::int64_t first, std::int64_t last) {
    journal::Journal* journal = Journal();
    if (!journal) return;
    journal::ChainCheck read = journal->ChainToCheck();  // where the journal's whole records end
    journal::FileStorage storage;
    std::optional<std::vector<journal::ClosedDay>> days =
        journal::ReadClosedDays(storage, read.path, read.partials, read.decode, first, last);
    if (!days) throw ui::Error(L"売上の記録を読めません\r\n" + read.path);
    if (days->empty())
        throw ui::Error(L"精算 No." + std::to_wstring(first) + L" から No." + std::to_wstring(last) +
                        L" までの精算は記録にありません");
    SaveBooks(owner, *days);
}

void JournalKeeper::SaveBooks(HWND owner, const std::vector<journal::ClosedDay>& days) {
    std::wstring numbers = L"No." + std::to_wstring(days.front().z);
    if (days.size() > 1) numbers += L"-" + std::to_wstring(days.back().z);
    std::optional<journal::BooksTarget> target = hooks_.chooseBooksFile(owner, L"Pelmora-精算" + numbers + L".csv");
    if (!target) return;
    // Names that a program would read wrongly write nothing.
    journal::BookNamesRead names = journal::ReadBookNames(target->program, hooks_.bookLines ? hooks_.bookLines() : L"");
    if (!names.errors.empty()) {
        std::wstring text = L"Pelmora.ini の [Books] に使えない行があります。ファイルは作っていません。";
        for (const std::wstring& error : names.errors) text += L"\r\n" + error;
        throw ui::Error(text);
    }
    std::vector<journal::Entry> entries;
    for (const journal::ClosedDay& day : days)
        for (journal::Entry& entry : journal::DayEntries(day, names.names, hooks_.tenders()))
            entries.push_back(std::move(entry));
    journal::WriteBooksFile(*target, journal::BookRows(target->program, entries));
    ui::ShowNotice(std::wstring(journal::ProgramName(target->program)) + L" 用に保存しました (精算 " + numbers +
                   L"、仕訳 " + std::to_wstring(entries.size()) + L" 件)\r\n" + target->path);
}

void JournalKeeper::RecordMoney(HWND owner, journal::Kind kind) {
    journal::Journal* journal = Journal();
    if (!journal) return;
    // An 出金 beyond the cash the drawer should hold is asked about first: a
    // "no", which Enter gives too, goes back to the amount.
    auto confirm = [&](HWND asking, std::int64_t amount) {
        if (kind != journal::Kind::Out) return true;
        std::wstring question = journal::MoneyOutQuestion(amount, journal->ExpectedCash(hooks_.cashFloat()));
        return question.empty() || ui::AskNoByDefault(asking, question);
    };
    journal::TMoneyWindow window(kind == journal::Kind::In ? L"入金" : L"出金", confirm);
    if (window.ShowModal(owner) == IDOK && window.Amount()) journal->RecordMoney(kind, *window.Amount(), window.Note());
}

void JournalKeeper::RecordDrawer() {
    if (journal::Journal* journal = Journal()) journal->RecordDrawer();
}

void JournalKeeper::TakeX(HWND owner) {
    if (journal::Journal* journal = Journal())
        ShowReport(owner, L"点検", journal->TakeX(hooks_.cashFloat(), hooks_.tenders(), hooks_.departments()));
}

void JournalKeeper::TakeZ(HWND owner, const std::function<void()>& taken) {
    journal::Journal* journal = Journal();
    if (!journal || !ui::AskYesNo(owner, kZQuestion)) return;
    journal::Report report = journal->TakeZ(hooks_.cashFloat(), hooks_.tenders(), hooks_.departments());
    taken();
    ShowReport(owner, L"精算", report);
}

std::optional<std::int64_t> JournalKeeper::ExpectedCash() {
    if (journal::Journal* journal = Journal()) return journal->ExpectedCash(hooks_.cashFloat());
    return std::nullopt;
}
