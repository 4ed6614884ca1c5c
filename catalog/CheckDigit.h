#pragma once
// The check digits of the codes a scanner reads: the JAN's (JAN-13, JAN-8,
// and UPC-A, which is a JAN-13 with its leading 0 left off) and the one a
// label printer puts before a 4-digit price in an in-store code. Windows-free.
#include <string_view>

namespace catalog {

// Whether text is 1 or more ASCII digits and nothing else.
bool AllDigits(std::string_view text);
// The JAN check digit of the digits before it (modulus 10, weights 3 and 1
// from the right), the same for every length: leading zeros change nothing.
int JanCheckDigit(std::string_view digits);
// Whether the code's last digit is the check digit of the digits before it.
bool HasJanCheckDigit(std::string_view code);
// The lengths read as JAN codes: 8, 12 (UPC-A) and 13.
bool IsJanLength(size_t length);
// The check digit of a 4-digit price (weights 2-, 2-, 3, 5-); -1 for anything else.
int PriceCheckDigit(std::string_view price);

}  // namespace catalog
