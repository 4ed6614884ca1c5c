#pragma once
// In-store price codes (インストアマーキング): 13 digits that begin with the
// flag 02 or 20 to 29 and end in the JAN check digit. Between them, as the
// shop's label printer prints them: the item number, then the price, with or
// without a price check digit before a 4-digit price. Windows-free.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace catalog {

struct InStoreLayout {
    int itemDigits = 5;
    int priceDigits = 5;
    bool priceCheckDigit = false;  // before the price; with 4 price digits only
    bool operator==(const InStoreLayout& other) const {
        return itemDigits == other.itemDigits && priceDigits == other.priceDigits &&
               priceCheckDigit == other.priceCheckDigit;
    }
};

// The layouts label printers print, the first one the usual.
const std::vector<InStoreLayout>& InStoreLayouts();
// How the settings file writes a layout ("5-5", "5-C4") and how the page names it.
std::wstring LayoutText(const InStoreLayout& layout);
std::wstring LayoutName(const InStoreLayout& layout);
// Back from LayoutText; nothing for a text that is no layout of the list.
std::optional<InStoreLayout> ReadLayout(const std::wstring& text);

// Whether a 13-digit code carries an in-store flag.
bool IsInStoreCode(std::string_view code);

// What an in-store code holds: its item number and price, or that its price
// check digit is wrong. The code's own check digit is checked before.
struct InStoreParts {
    std::string item;
    std::int64_t price = 0;
    bool priceCheckDigitWrong = false;
};
std::optional<InStoreParts> ReadInStore(std::string_view code, const InStoreLayout& layout);

}  // namespace catalog
