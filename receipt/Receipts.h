#pragma once
// The receipts of the register: printed after a settlement when the shop wants
// that, and shown in the preview on F5.
#include <windows.h>

#include <functional>
#include <utility>

#include "receipt/Printing.h"
#include "receipt/ReceiptPolicy.h"

namespace receipt {

// What follows a printer's message when a receipt did not print or the drawer
// did not open at a settlement.
extern const wchar_t kSaleStaysSettled[];
// The message when the drawer is to be opened and the shop opens none through the printer.
extern const wchar_t kNoDrawer[];

class Receipts {
public:
    // settings gives the shop's receipt settings as they stand; receipts and
    // the drawer's commands go to printers.
    Receipts(std::function<Settings()> settings, ReceiptPolicy::JournalLastSale journalLast,
             Printers printers)
        : settings_(std::move(settings)), journalLast_(std::move(journalLast)), printers_(std::move(printers)) {}

    // A sale was settled just now: its receipt prints when the print mode says
    // so, then the drawer opens when the sale took cash. A printer that fails
    // says so; the sale stays settled and F5 can try again.
    void Settled(const regi::SaleRecord& sale);
    // Opens the drawer outside a sale; throws kNoDrawer when the shop opens
    // none through the printer, or what the printer says.
    void OpenDrawer();
    // F5: the preview of the receipt ReceiptPolicy chooses, over owner.
    void ShowLast(HWND owner, const regi::SaleRecord& lastThisRun);

private:
    std::function<Settings()> settings_;
    ReceiptPolicy::JournalLastSale journalLast_;
    Printers printers_;
    ReceiptPolicy policy_;
};

}  // namespace receipt
