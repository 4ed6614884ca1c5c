#pragma once
// What digits keyed or scanned ring: a product of the file, an in-store code's
// item at the price in the code, a code the file does not have or whose check
// digit is wrong, or, for ENTER, a price as before. Windows-free.
#include <optional>
#include <string_view>

#include "catalog/Catalog.h"
#include "catalog/InStore.h"
#include "sale/Sale.h"

namespace catalog {

// keyed: the entry's digits as typed, leading zeros included. productKey: the
// product key (PLU) was pressed, which takes any code of 1 to 13 digits;
// ENTER takes 8, 12 and 13 digits as a code (no price has so many) except
// that 8 digits beginning with 0, a price keyed with a leading zero, ring a
// product only when its check digit is right and the file has it. Nothing:
// ring the entry as a price.
std::optional<regi::CodeRing> ReadCode(std::string_view keyed, bool productKey, const Catalog& catalog,
                                       const InStoreLayout& layout);

}  // namespace catalog
