#include "receipt/ReceiptSettings.h"

#include <algorithm>

namespace receipt {

const wchar_t kBadRegistrationNumber[] =
    L"登録番号は半角の「T」と13桁の数字で入力してください（例: T1234567890123）。\r\n"
    L"登録していない場合は空欄にしてください。";

Paper PaperFor(int paperWidth) { return paperWidth == kNarrowPaper ? Paper{58, 48, 32} : Paper{80, 72, 48}; }

DrawerMode DrawerModeFrom(int value) {
    return value >= static_cast<int>(DrawerMode::Never) && value <= static_cast<int>(DrawerMode::Star)
               ? static_cast<DrawerMode>(value)
               : DrawerMode::Never;
}

PrintMode PrintModeFrom(int value) {
    switch (value) {
    case static_cast<int>(PrintMode::EverySale): return PrintMode::EverySale;
    case static_cast<int>(PrintMode::OnRequest): return PrintMode::OnRequest;
    }
    return PrintMode::Never;
}

bool Settings::Registered() const { return IsRegistrationNumber(registrationNumber); }

std::wstring Settings::ProductName(const regi::LineRecord& item) const {
    const bool lookUp = item.name.empty() && !item.product.empty() && productName;
    return lookUp ? productName(item.product) : item.name;
}

bool IsRegistrationNumber(const std::wstring& text) {
    return text.size() == 14 && text[0] == L'T' &&
           std::all_of(text.begin() + 1, text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool IsAcceptableRegistrationNumber(const std::wstring& text) { return text.empty() || IsRegistrationNumber(text); }

}  // namespace receipt
