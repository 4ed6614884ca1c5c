#include "receipt/Receipts.h"

#include "receipt/Preview.h"
#include "receipt/Printing.h"
#include "ui/Error.h"

namespace receipt {

void Receipts::Settled(const regi::SaleRecord& sale) {
    regi::ReceiptSettings settings = settings_();
    if (!ReceiptPolicy::PrintsWhenSettled(settings.printMode)) return;
    ui::Guarded([&] {
        Print(ReceiptLines(sale, settings, false), settings, L"レシート");
        policy_.Printed(sale);
    });
}

void Receipts::ShowLast(HWND owner, const regi::SaleRecord& lastThisRun) {
    std::optional<ReceiptPolicy::Choice> choice = policy_.ForReissue(lastThisRun, journalLast_);
    if (!choice) return;
    regi::ReceiptSettings settings = settings_();
    if (regi::NeedsRevenueStamp(choice->sale, settings.tenders)) ui::ShowNotice(regi::kRevenueStampNotice);
    TReceiptPreview preview(ReceiptLines(choice->sale, settings, choice->reprint), settings);
    if (preview.ShowModal(owner) == IDOK) policy_.Printed(choice->sale);
}

}  // namespace receipt
