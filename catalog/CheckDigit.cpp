#include "catalog/CheckDigit.h"

#include <algorithm>

namespace catalog {

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int JanCheckDigit(std::string_view digits) {
    int sum = 0;
    bool three = true;  // the digit next to the check digit weighs 3
    for (auto c = digits.rbegin(); c != digits.rend(); ++c, three = !three) sum += (*c - '0') * (three ? 3 : 1);
    return (10 - sum % 10) % 10;
}

bool HasJanCheckDigit(std::string_view code) {
    if (code.size() < 2 || !AllDigits(code)) return false;
    return JanCheckDigit(code.substr(0, code.size() - 1)) == code.back() - '0';
}

bool IsJanLength(size_t length) { return length == 8 || length == 12 || length == 13; }

namespace {

// A "-" weight's product: the units less the tens of digit x weight, mod 10.
int Minus(int digit, int weight) {
    int product = digit * weight;
    return (product % 10 - product / 10 + 10) % 10;
}

}  // namespace

int PriceCheckDigit(std::string_view price) {
    if (price.size() != 4 || !AllDigits(price)) return -1;
    int sum = Minus(price[0] - '0', 2) + Minus(price[1] - '0', 2) + (price[2] - '0') * 3 % 10 + Minus(price[3] - '0', 5);
    return sum * 3 % 10;
}

}  // namespace catalog
