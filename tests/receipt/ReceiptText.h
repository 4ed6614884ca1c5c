#pragma once
// A receipt as the plain text its lines copy to, for comparing whole receipts.
#include <string>

#include "receipt/Receipt.h"

namespace receipt_test {

inline std::wstring ReceiptText(const regi::SaleRecord& sale, const receipt::Settings& settings, bool reprint) {
    return receipt::PlainText(receipt::ReceiptLines(sale, settings, reprint), settings.Columns());
}

// A registered shop's receipt settings on paper of that width.
inline receipt::Settings Shop(int paper) {
    receipt::Settings s;
    s.shop = L"青葉商店";
    s.address = L"東京都千代田区1-2-3 TEL 03-1234-5678";
    s.registrationNumber = L"T1234567890123";
    s.paperWidth = paper;
    return s;
}

}  // namespace receipt_test
