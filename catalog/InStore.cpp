#include "catalog/InStore.h"

#include "catalog/CheckDigit.h"

namespace catalog {

const std::vector<InStoreLayout>& InStoreLayouts() {
    static const std::vector<InStoreLayout> layouts = {{5, 5, false}, {6, 4, false}, {4, 6, false}, {5, 4, true}};
    return layouts;
}

std::wstring LayoutText(const InStoreLayout& layout) {
    return std::to_wstring(layout.itemDigits) + L"-" + (layout.priceCheckDigit ? L"C" : L"") +
           std::to_wstring(layout.priceDigits);
}

std::wstring LayoutName(const InStoreLayout& layout) {
    return L"品番 " + std::to_wstring(layout.itemDigits) + L" 桁 + " +
           (layout.priceCheckDigit ? L"価格チェックデジット + " : L"") + L"価格 " +
           std::to_wstring(layout.priceDigits) + L" 桁";
}

std::optional<InStoreLayout> ReadLayout(const std::wstring& text) {
    for (const InStoreLayout& layout : InStoreLayouts())
        if (LayoutText(layout) == text || (layout.priceCheckDigit && LayoutText(layout) == L"5-c4")) return layout;
    return std::nullopt;
}

bool IsInStoreCode(std::string_view code) {
    return code.size() == 13 && AllDigits(code) && (code[0] == '2' || (code[0] == '0' && code[1] == '2'));
}

std::optional<InStoreParts> ReadInStore(std::string_view code, const InStoreLayout& layout) {
    if (!IsInStoreCode(code)) return std::nullopt;
    const size_t item = static_cast<size_t>(layout.itemDigits);
    const size_t price = static_cast<size_t>(layout.priceDigits);
    const size_t check = layout.priceCheckDigit ? 1 : 0;
    if (2 + item + check + price + 1 != code.size()) return std::nullopt;
    InStoreParts parts;
    parts.item = std::string(code.substr(2, item));
    std::string_view priceDigits = code.substr(2 + item + check, price);
    for (char c : priceDigits) parts.price = parts.price * 10 + (c - '0');
    if (check) parts.priceCheckDigitWrong = PriceCheckDigit(priceDigits) != code[2 + item] - '0';
    return parts;
}

}  // namespace catalog
