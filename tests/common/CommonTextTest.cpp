#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "common/MessageText.h"
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

TEST(MessageText, EveryPercentSTakesTheArgument) {
    using common::FormatMessageText;
    EXPECT_EQ(FormatMessageText(L"%s に書き込めません", L"C:\\a.ini"), L"C:\\a.ini に書き込めません");
    EXPECT_EQ(FormatMessageText(common::kNotAnInteger, L"12.5"), L"'12.5' は整数ではありません");
    EXPECT_EQ(FormatMessageText(L"%s と %s", L"x"), L"x と x");
    EXPECT_EQ(FormatMessageText(L"'%s'", L"50%s"), L"'50%s'") << "the argument is not read again";
    EXPECT_EQ(FormatMessageText(L"100%", L"x"), L"100%");
}
