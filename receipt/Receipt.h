#pragma once
// The receipt of a settled sale as lines. Windows-free.
#include <string>
#include <vector>

#include "receipt/Layout.h"
#include "receipt/ReceiptSettings.h"
#include "sale/SaleRecord.h"

namespace receipt {

// The receipt of sale as lines for paper of settings.paperWidth; a reprint says
// so at its top.
std::vector<Line> ReceiptLines(const regi::SaleRecord& sale, const Settings& settings, bool reprint);

}  // namespace receipt
