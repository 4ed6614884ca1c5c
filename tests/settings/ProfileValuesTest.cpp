#include <gtest/gtest.h>

#include "settings/ProfileValues.h"

using namespace settings;

TEST(ProfileValues, IntegersReadAsTheSettingsFileHoldsThem) {
    struct Case {
        const wchar_t* text;
        int fallback;
        int expected;
    };
    const Case cases[] = {
        {L"597", 0, 597},
        {L"-300", 0, -300},
        {L"+12", 0, 12},
        {L"0", 7, 0},
        {L"0x255", 597, 597},  // hexadecimal after 0x
        {L"0X1f", 0, 31},
        {L"0x", 5, 5},  // two characters are not hexadecimal...
        {L"0x0", 1, 0},
        {L"0xFFFFFFFF", 0, -1},  // eight digits fill 32 bits
        {L"0x100000000", 9, 9},  // beyond 32 bits
        {L"2147483647", 0, 2147483647},
        {L"2147483648", 3, 3},
        {L"-2147483648", 0, -2147483647 - 1},
        {L"-2147483649", 4, 4},
        {L"99999999999999999999", 6, 6},
        {L"", 597, 597},
        {L"abc", 606, 606},
        {L"12abc", 1, 1},
        {L"1 2", 1, 1},
        {L"-", 8, 8},
        {L"0xG1", 2, 2},
        {L"\x0660", 3, 3},  // digits of other scripts are not digits here
        {L"１２", 4, 4},    // nor are full-width ones
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadIntegerText(c.text, c.fallback), c.expected)
            << "text: " << testing::PrintToString(std::wstring(c.text));
}

TEST(ProfileValues, BooleansAreIntegersWithZeroFalse) {
    EXPECT_TRUE(ReadBooleanText(L"2", false));
    EXPECT_TRUE(ReadBooleanText(L"abc", true));  // unreadable: the default
    EXPECT_FALSE(ReadBooleanText(L"abc", false));
    EXPECT_FALSE(ReadBooleanText(L"0x0", true));
    EXPECT_FALSE(ReadBooleanText(L"0", true));
    EXPECT_TRUE(ReadBooleanText(L"-1", false));
    EXPECT_TRUE(ReadBooleanText(L"", true));
    EXPECT_EQ(BooleanText(true), L"1");
    EXPECT_EQ(BooleanText(false), L"0");
    EXPECT_EQ(IntegerText(-300), L"-300");
}

TEST(ProfileValues, WindowIsKeptReachableOnlyAtTheFarEdges) {
    struct Case {
        Position in;
        int width, height;
        Position out;
    };
    const Case cases[] = {
        {{5000, 10}, 1024, 768, {718, 10}},   {{10, -300}, 1024, 768, {10, -300}},  // no lower bound
        {{-50, 2000}, 1024, 768, {-50, 974}}, {{718, 974}, 1024, 768, {718, 974}},  // exactly at the limit stays
        {{719, 975}, 1024, 768, {718, 974}},
    };
    for (const Case& c : cases) {
        Position kept = KeepOnScreen(c.in, c.width, c.height);
        EXPECT_EQ(kept.top, c.out.top);
        EXPECT_EQ(kept.left, c.out.left);
    }
}

TEST(ProfileValues, SettingsFileLiesBesideTheProgram) {
    EXPECT_EQ(SettingsPathBeside(L"C:\\Shop\\Pelmora.exe"), L"C:\\Shop\\Pelmora.ini");
    EXPECT_EQ(SettingsPathBeside(L"C:\\Shop.v2\\Pelmora"), L"C:\\Shop.v2\\Pelmora.ini");
    EXPECT_EQ(SettingsPathBeside(L"C:\\a.b\\Reg.1.exe"), L"C:\\a.b\\Reg.1.ini");
}

TEST(ProfileValues, BaseFontIsFifteenPixelsOnTheUsualScreens) {
    EXPECT_EQ(BaseFontPoints(96), 11);
    EXPECT_EQ(BaseFontPoints(120), 9);
    EXPECT_EQ(BaseFontPoints(144), 9);
    EXPECT_EQ(PointsToPixels(BaseFontPoints(96), 96), 15);
    EXPECT_EQ(PointsToPixels(BaseFontPoints(120), 120), 15);
}
