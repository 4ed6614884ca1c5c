#pragma once
// Money as the register keeps it: whole yen in 64 bits, the limits of what the
// operator keys, the money text the screen and the slips show, and sums that
// are checked rather than wrapped. No Windows here.
#include <cstdint>
#include <optional>
#include <string>

#include "common/WholeNumber.h"

namespace regi {

// Limits of what the operator keys; the same below zero as above it.
constexpr std::int64_t kMaxPrice = 9'999'999;
constexpr std::int64_t kMaxQuantity = 999;
constexpr std::int64_t kMaxTendered = common::kMaxAmount;
constexpr int kMaxLines = 100;  // lines of one sale
// The largest sale: every line at the largest price and quantity.
constexpr std::int64_t kMaxSaleTotal = kMaxLines * kMaxPrice * kMaxQuantity;

// The message for an amount the register cannot hold; "%s" stands for it.
extern const wchar_t kOutOfRange[];

// The magnitude's digits grouped by threes: "1,234,567", also for -1234567.
std::wstring GroupedDigits(std::int64_t amount);
// "¥1,234,567"; a negative amount has "-" before the sign.
std::wstring FormatMoney(std::int64_t amount);
// Back from a money text: drops every yen sign ("¥" or "\"), every "," and
// every "税込金額 : ", then reads a signed decimal integer. Nothing on failure.
std::optional<std::int64_t> ParseAmount(const std::wstring& text);
// A grid cell read as a number: a whole decimal number, anything else counts as 0.
std::int64_t CellNumber(const std::wstring& text);

// a + b, a - b and a * b, or nothing where 64 bits cannot hold the result.
std::optional<std::int64_t> CheckedAdd(std::int64_t a, std::int64_t b);
std::optional<std::int64_t> CheckedSub(std::int64_t a, std::int64_t b);
std::optional<std::int64_t> CheckedMul(std::int64_t a, std::int64_t b);

}  // namespace regi
