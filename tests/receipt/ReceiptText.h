#pragma once
// A receipt as the plain text its lines copy to, for comparing whole receipts.
#include <string>

#include "receipt/Receipt.h"

namespace receipt_test {

inline std::wstring ReceiptText(const regi::SaleRecord& sale, const receipt::Settings& settings, bool reprint) {
    return receipt::PlainText(receipt::ReceiptLines(sale, settings, reprint), settings.Columns());
}

}  // namespace receipt_test
