#include "catalog/Scan.h"

#include <string>

#include "catalog/CheckDigit.h"

namespace catalog {

namespace {

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

regi::CodeRing Ring(regi::CodeRing::Kind kind, const std::wstring& shown) {
    regi::CodeRing ring;
    ring.kind = kind;
    ring.shown = shown;
    return ring;
}

regi::CodeRing Found(const Catalog& catalog, const Product& product) {
    regi::CodeRing ring = Ring(regi::CodeRing::Kind::Product, Wide(Catalog::CodeText(product)));
    ring.product = {Catalog::CodeText(product), catalog.Name(product), product.price, product.department};
    return ring;
}

}  // namespace

std::optional<regi::CodeRing> ReadCode(std::string_view keyed, bool productKey, const Catalog& catalog,
                                       const InStoreLayout& layout) {
    using Kind = regi::CodeRing::Kind;
    if (!AllDigits(keyed) || keyed.size() > kMaxCodeDigits) {
        if (!productKey) return std::nullopt;
        return Ring(Kind::Unknown, Wide(keyed));
    }
    const bool jan = IsJanLength(keyed.size());
    if (!productKey) {
        if (!jan) return std::nullopt;
        // At most 7 digits are a price: an 8-digit entry with its leading 0
        // is one too, unless it is a product's code.
        if (keyed.size() == 8 && keyed[0] == '0') {
            const Product* product = HasJanCheckDigit(keyed) ? catalog.Find(std::stoull(std::string(keyed))) : nullptr;
            if (!product) return std::nullopt;
            return Found(catalog, *product);
        }
    }
    if (jan && !HasJanCheckDigit(keyed)) return Ring(Kind::WrongCheckDigit, Wide(keyed));
    // UPC-A is a JAN-13 with its leading 0 left off.
    const std::string code = keyed.size() == 12 ? "0" + std::string(keyed) : std::string(keyed);
    if (const Product* product = catalog.Find(std::stoull(code))) return Found(catalog, *product);
    if (std::optional<InStoreParts> parts = ReadInStore(code, layout)) {
        if (parts->priceCheckDigitWrong) return Ring(Kind::WrongPriceCheckDigit, Wide(code));
        const Product* item = catalog.Find(std::stoull(parts->item));
        if (!item) return Ring(Kind::Unknown, Wide(code) + L" (品番 " + Wide(parts->item) + L")");
        regi::CodeRing ring = Found(catalog, *item);
        ring.product.price = parts->price;
        return ring;
    }
    return Ring(Kind::Unknown, Wide(code));
}

}  // namespace catalog
