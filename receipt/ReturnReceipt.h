#pragma once
// The receipt of a return (返品) as lines; for a registered shop and a refund
// of ¥10,000 or more it is the return invoice (返還インボイス) as well.
// Windows-free.
#include <vector>

#include "receipt/Layout.h"
#include "receipt/ReceiptSettings.h"
#include "sale/Return.h"

namespace receipt {

extern const wchar_t kReturnTitle[];          // "返品"
extern const wchar_t kReturnInvoiceTitle[];   // "返還インボイス"

// The return's receipt for paper of settings.paperWidth; a reprint says so at its top.
std::vector<Line> ReturnReceiptLines(const regi::ReturnRecord& giveBack, const Settings& settings, bool reprint);

}  // namespace receipt
