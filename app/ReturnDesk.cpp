#include "app/ReturnDesk.h"

#include "common/MessageText.h"
#include "common/WholeNumber.h"
#include "journal/ReturnWindow.h"
#include "receipt/Preview.h"
#include "receipt/ReceiptPolicy.h"
#include "receipt/ReturnReceipt.h"
#include "ui/Confirm.h"
#include "ui/Error.h"

const wchar_t ReturnDesk::kNotASaleNumber[] = L"「%s」は売上の番号として読めません｡\r\nレシートの No. の数字を打って下さい｡";

namespace {

std::wstring Mark(const regi::ReturnRecord& giveBack) { return L"返品No." + std::to_wstring(giveBack.number); }

}  // namespace

bool ReturnDesk::Start(HWND owner, const std::wstring& entry) {
    if (entry.empty()) {
        WithoutReceipt(owner);
        return false;
    }
    std::optional<std::int64_t> number = common::ParseTypedAmount(entry, common::kMaxAmount);
    if (!number || *number == 0) throw ui::Error(common::FormatMessageText(kNotASaleNumber, entry));
    journal::Journal* journal = hooks_.journal();
    if (!journal) {
        if (ui::AskYesNo(owner, regi::kJournalOffReturn)) WithoutReceipt(owner);
        return true;
    }
    journal::ReturnableSale returnable = journal->FindReturnable(*number);
    // The journal keeps a product's code only: its lines are named from the file.
    const receipt::Settings settings = hooks_.receipt();
    for (regi::LineRecord& line : returnable.sale.lines) line.name = settings.ProductName(line);
    const regi::Rates rates = hooks_.rates();
    journal::TReturnWindow window(returnable.sale, returnable.returned, rates.departments, rates.tenders);
    if (window.ShowModal(owner) == IDOK && window.Result()) Finish(*window.Result());
    return true;
}

void ReturnDesk::WithoutReceipt(HWND owner) {
    journal::TReturnEntryWindow window(hooks_.rates(), hooks_.readCode);
    if (window.ShowModal(owner) == IDOK && window.Result()) Finish(*window.Result());
}

void ReturnDesk::Finish(regi::ReturnRecord giveBack) {
    if (journal::Journal* journal = hooks_.journal()) {
        giveBack = journal->RecordReturn(giveBack);
    } else {
        giveBack.number = ++withoutJournal_;
        giveBack.time = common::FormatDateTime(hooks_.clock());
    }
    last_ = giveBack;
    lastWasReturn_ = true;
    printedLast_ = false;
    // Recorded: what the printer or the drawer says now changes nothing of it.
    const receipt::Settings settings = hooks_.receipt();
    const wchar_t kRecorded[] = L"\r\nこの返品は記録されています。レシートは F5 でもう一度印刷できます。";
    try {
        if (receipt::ReceiptPolicy::PrintsWhenSettled(settings.printMode)) {
            receipt::Print(hooks_.printers, receipt::ReturnReceiptLines(giveBack, settings, false), settings,
                           L"返品レシート", Mark(giveBack));
            printedLast_ = true;
        }
    } catch (const ui::Error& e) {
        ui::ShowError(e.Message() + kRecorded);
    }
    try {
        if (giveBack.Cash() > 0) receipt::OpenDrawer(hooks_.printers, settings, printedLast_);
    } catch (const ui::Error& e) {
        ui::ShowError(e.Message() + kRecorded);
    }
}

void ReturnDesk::ShowLast(HWND owner) {
    if (!last_) return;
    const receipt::Settings settings = hooks_.receipt();
    receipt::TReceiptPreview preview(receipt::ReturnReceiptLines(*last_, settings, printedLast_), settings,
                                     hooks_.printers, Mark(*last_));
    if (preview.ShowModal(owner) == IDOK) printedLast_ = true;
}
