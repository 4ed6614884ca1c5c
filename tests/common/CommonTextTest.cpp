#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "common/MessageText.h"
#include "common/Utf8.h"
#include "common/WholeNumber.h"

using common::ParseWholeNumber;
using common::PlusSign;

TEST(WholeNumber, AnOptionalSignThenDigitsOnlyWithin64Bits) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    struct Case {
        const wchar_t* text;
        std::optional<std::int64_t> refusingPlus, allowingPlus;
    };
    const Case cases[] = {
        {L"0", 0, 0},
        {L"7", 7, 7},
        {L"007", 7, 7},
        {L"-2", -2, -2},
        {L"-0", 0, 0},
        {L"123456789", 123456789, 123456789},
        {L"+5", {}, 5},
        {L"+-5", {}, {}},
        {L"-+5", {}, {}},
        {L"+", {}, {}},
        {L"-", {}, {}},
        {L"", {}, {}},
        {L"2.5", {}, {}},
        {L"12.", {}, {}},
        {L".5", {}, {}},
        {L"5-", {}, {}},
        {L"--5", {}, {}},
        {L" 5", {}, {}},
        {L"5 ", {}, {}},
        {L"1,000", {}, {}},
        {L"１２", {}, {}},
        {L"abc", {}, {}},
        {L"\x0661", {}, {}},
        {L"9223372036854775807", kMax, kMax},
        {L"-9223372036854775808", kMin, kMin},
        {L"9223372036854775808", {}, {}},
        {L"-9223372036854775809", {}, {}},
        {L"99999999999999999999999", {}, {}},
    };
    for (const Case& c : cases) {
        std::string shown = testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(ParseWholeNumber(c.text, PlusSign::Refused), c.refusingPlus) << shown;
        EXPECT_EQ(ParseWholeNumber(c.text, PlusSign::Allowed), c.allowingPlus) << shown;
    }
}

TEST(TypedAmount, TheFormsAPersonTypesWithinTheLimit) {
    constexpr std::int64_t kMax = common::kMaxAmount;
    struct Case {
        const wchar_t* text;
        std::optional<std::int64_t> amount;
    };
    const Case cases[] = {
        {L"10000", 10000},
        {L"0", 0},
        {L"007", 7},
        {L"10,000", 10000},
        {L"1,234,567", 1234567},
        {L"\uFF11\uFF10\uFF10\uFF10\uFF10", 10000},        // full-width digits
        {L"\uFF11\uFF10\uFF0C\uFF10\uFF10\uFF10", 10000},  // and the full-width comma
        {L"\u00A510000", 10000},
        {L"\\10,000", 10000},
        {L"\uFFE5\uFF15\uFF10\uFF10\uFF10", 5000},
        {L"\u00A5 10,000", 10000},
        {L"10000円", 10000},
        {L"10,000 円", 10000},
        {L"  30000\t", 30000},
        {L"\u300030000\u3000", 30000},
        {L"999,999,999,999", kMax},
        {L"1,000,000,000,000", {}},
        {L"9223372036854775807", {}},
        {L"99999999999999999999999", {}},
        {L"", {}},
        {L"   ", {}},
        {L"\u00A5", {}},
        {L"円", {}},
        {L"-100", {}},
        {L"\uFF0D100", {}},
        {L"+100", {}},
        {L"100.5", {}},
        {L"100.", {}},
        {L"1 000", {}},
        {L"1,0000", {}},
        {L"10,00", {}},
        {L",100", {}},
        {L"100,", {}},
        {L"1,,000", {}},
        {L"1000,000", {}},
        {L"10000\u00A5", {}},
        {L"\u00A510000円", {}},
        {L"abc", {}},
        {L"\x0661", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(common::ParseTypedAmount(c.text, kMax), c.amount) << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(common::ParseTypedAmount(L"7", 5), std::nullopt) << "a digit above a small limit";
    EXPECT_EQ(common::ParseTypedAmount(L"5", 5), 5);
}

TEST(MessageText, EveryPercentSTakesTheArgument) {
    using common::FormatMessageText;
    EXPECT_EQ(FormatMessageText(L"%s に書き込めません", L"C:\\a.ini"), L"C:\\a.ini に書き込めません");
    EXPECT_EQ(FormatMessageText(common::kNotAnInteger, L"12.5"), L"'12.5' は整数ではありません");
    EXPECT_EQ(FormatMessageText(L"%s と %s", L"x"), L"x と x");
    EXPECT_EQ(FormatMessageText(L"'%s'", L"50%s"), L"'50%s'") << "the argument is not read again";
    EXPECT_EQ(FormatMessageText(L"100%", L"x"), L"100%");
}

TEST(Utf8, BothWaysAndWhatDoesNotReadBecomesAReplacementPerByte) {
    const std::wstring text = L"a\u00A5\u5165\u91D1 \U0001F4B4";
    const std::string bytes = "a\xC2\xA5\xE5\x85\xA5\xE9\x87\x91 \xF0\x9F\x92\xB4";
    EXPECT_EQ(common::ToUtf8(text), bytes);
    EXPECT_EQ(common::FromUtf8(bytes), text);
    const struct {
        std::string bytes;
        std::wstring text;
    } junk[] = {
        {"\x93\xFC\x8B\xE0", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // 入金 in Shift_JIS
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                      // an overlong '/'
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},            // a surrogate
        {"a\xE5\x85", L"a\uFFFD\uFFFD"},                    // cut short
    };
    for (const auto& j : junk) {
        EXPECT_EQ(common::FromUtf8(j.bytes), j.text);
        EXPECT_FALSE(common::IsUtf8(j.bytes)) << j.bytes;
    }
    EXPECT_TRUE(common::IsUtf8(bytes));
    EXPECT_FALSE(common::IsAscii(bytes));
    EXPECT_TRUE(common::IsAscii("seq,time,kind\r\n"));
}
