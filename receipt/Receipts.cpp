#include "receipt/Receipts.h"

#include "receipt/Drawer.h"
#include "receipt/Preview.h"
#include "receipt/Printing.h"
#include "ui/Error.h"

namespace receipt {

const wchar_t kNoDrawer[] =
    L"ドロアを開ける方法が決まっていません。\r\n「店の設定」の「レシートとプリンター」の「ドロア」で選んでください。";
const wchar_t kSaleStaysSettled[] = L"\r\nこの売上は精算済みです。レシートは F5 でもう一度印刷できます。";

namespace {

// What a receipt's pages are marked with when it needs more than one.
std::wstring Mark(const regi::SaleRecord& sale) {
    return sale.number > 0 ? L"No." + std::to_wstring(sale.number) : L"";
}

}  // namespace

void Receipts::Settled(const regi::SaleRecord& sale) {
    Settings settings = settings_();
    bool printed = false;
    try {
        if (ReceiptPolicy::PrintsWhenSettled(settings.printMode)) {
            Print(printers_, ReceiptLines(sale, settings, false), settings, L"レシート", Mark(sale));
            policy_.Printed(sale);
            printed = true;
        }
    } catch (const ui::Error& e) {
        ui::ShowError(e.Message() + kSaleStaysSettled);
    }
    // The drawer opens for the cash, after the receipt.
    try {
        if (TookCash(sale)) receipt::OpenDrawer(printers_, settings, printed);
    } catch (const ui::Error& e) {
        ui::ShowError(e.Message() + kSaleStaysSettled);
    }
}

void Receipts::OpenDrawer() {
    if (!receipt::OpenDrawer(printers_, settings_(), false)) throw ui::Error(kNoDrawer);
}

void Receipts::ShowLast(HWND owner, const regi::SaleRecord& lastThisRun) {
    std::optional<ReceiptPolicy::Choice> choice = policy_.ForReissue(lastThisRun, journalLast_);
    if (!choice) return;
    Settings settings = settings_();
    std::wstring stamp = regi::RevenueStampNotice(choice->sale, settings.tenders);
    if (!stamp.empty()) ui::ShowNotice(stamp);
    TReceiptPreview preview(ReceiptLines(choice->sale, settings, choice->reprint), settings, printers_,
                            Mark(choice->sale));
    if (preview.ShowModal(owner) == IDOK) policy_.Printed(choice->sale);
}

}  // namespace receipt
