#pragma once
// The receipt of a settled sale as lines. Windows-free.
#include <string>
#include <vector>

#include "receipt/Layout.h"
#include "receipt/ReceiptSettings.h"
#include "sale/SaleRecord.h"

namespace receipt {

// "2026-12-08T21:07:56" as "2026年12月08日(火) 21:07"; any other text as it is.
std::wstring ReceiptDate(const std::wstring& time);

// The receipt of sale as lines for paper of settings.paperWidth; a reprint says
// so at its top.
// An item's lines on a receipt: its name and amount, and for a quantity
// other than 1 the quantity and unit price under the name.
void AddItemLines(std::vector<Line>& lines, const regi::LineRecord& item, const Settings& settings);

std::vector<Line> ReceiptLines(const regi::SaleRecord& sale, const Settings& settings, bool reprint);

}  // namespace receipt
