#pragma once
// The receipt of a settled sale as lines. Windows-free.
#include <string>
#include <vector>

#include "receipt/Layout.h"
#include "sale/Invoice.h"
#include "sale/SaleRecord.h"

namespace receipt {

// The shop's receipt settings and the registration number's form live in the
// sale core, where the settings page reads them too.
using Settings = regi::ReceiptSettings;
using regi::Paper;
using regi::PaperFor;
using regi::IsAcceptableRegistrationNumber;
using regi::IsRegistrationNumber;
using regi::kBadRegistrationNumber;
using regi::kNarrowPaper;
using regi::kWidePaper;

// The receipt of sale as lines for paper of settings.paperWidth; a reprint says
// so at its top.
std::vector<Line> ReceiptLines(const regi::SaleRecord& sale, const Settings& settings, bool reprint);

}  // namespace receipt
