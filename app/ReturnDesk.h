#pragma once
// Returns (返品) at the register: the return key between sales, against the
// sale whose number is keyed while the journal is on, else without a receipt;
// the return recorded, its receipt printed as a sale's would be, the drawer
// opened for the cash given back; F5 shows the receipt of the last return
// until the next sale.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/DateTime.h"
#include "journal/Journal.h"
#include "journal/ReturnWindow.h"
#include "receipt/Printing.h"
#include "receipt/ReceiptSettings.h"
#include "sale/Return.h"
#include "sale/Sale.h"

class ReturnDesk {
public:
    struct Hooks {
        std::function<journal::Journal*()> journal;  // nullptr while the journal is off
        std::function<regi::Rates()> rates;          // today's, with the tenders' and departments' names
        std::function<receipt::Settings()> receipt;
        common::Clock clock;  // the time of a return without a journal
        receipt::Printers printers;
        journal::TReturnEntryWindow::ReadCode readCode;  // codes against the product file
    };
    explicit ReturnDesk(Hooks hooks) : hooks_(std::move(hooks)) {}

    // The return key with the entry as keyed: a sale's number, or nothing for
    // a return without a receipt. True when the entry was used.
    bool Start(HWND owner, const std::wstring& entry);
    // Whether the last transaction was a return, and F5 shows its receipt.
    bool LastWasReturn() const { return lastWasReturn_; }
    void SaleSettled() { lastWasReturn_ = false; }
    void ShowLast(HWND owner);
    const std::optional<regi::ReturnRecord>& Last() const { return last_; }

    static const wchar_t kNotASaleNumber[];  // "%s": the entry

private:
    void WithoutReceipt(HWND owner);
    void Finish(regi::ReturnRecord giveBack);

    Hooks hooks_;
    std::optional<regi::ReturnRecord> last_;
    bool lastWasReturn_ = false;
    bool printedLast_ = false;
    std::int64_t withoutJournal_ = 0;  // returns numbered in this run while no journal keeps them
};
