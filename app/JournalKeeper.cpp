#include "app/JournalKeeper.h"

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
    std::vector<receipt::Line> printed;
    for (const journal::ReportLine& line : report.items)
        printed.push_back(receipt::Captioned(line.caption, line.values));
    journal::TReportWindow window(caption, report.Text(), [this, caption, printed] {
        receipt::Print(hooks_.printers, printed, hooks_.receipt(), caption, caption);
    });
    window.ShowModal(owner);
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
