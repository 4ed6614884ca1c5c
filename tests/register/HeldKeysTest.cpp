#include <gtest/gtest.h>

#include <string>

#include "register/HeldKeys.h"

using namespace regi;

namespace {

TEST(HeldKeys, ACommandTakesTheEntryOfItsPressAndLeavesWhatWasTypedSince) {
    struct Case {
        const wchar_t* what;
        std::wstring atPress, atRelease, left;
        bool acted;
        std::wstring after;
    };
    const Case cases[] = {
        {L"nothing typed while held: what the command left", L"50", L"50", L"", true, L""},
        {L"settled: the amount tendered stays", L"2000", L"2000", L"2000", true, L"2000"},
        {L"a digit typed while held", L"50", L"507", L"", true, L"7"},
        {L"it replaces what the command left", L"2000", L"20003", L"2000", true, L"3"},
        {L"the clear key over the amount tendered", L"100", L"1001200", L"", true, L"1200"},
        {L"typed over a selection: all of it is new", L"2000", L"3", L"2000", true, L"3"},
        {L"a command that did nothing keeps the field", L"49", L"497", L"49", false, L"497"},
        {L"a command on an empty entry", L"", L"12", L"", true, L"12"},
    };
    for (const Case& c : cases) {
        HeldKeys keys;
        EXPECT_EQ(keys.AfterCommand(c.atPress, c.atRelease, c.left, c.acted), c.after)
            << testing::PrintToString(std::wstring(c.what));
    }
}

TEST(HeldKeys, ARepeatKeepsTheFirstPressAndAReleaseWithoutAPressIsNone) {
    HeldKeys keys;
    keys.Press({13}, L"50");
    keys.Press({13}, L"507");  // auto-repeat after a digit: still the first press
    EXPECT_EQ(keys.Release(13)->entry, L"50");
    EXPECT_FALSE(keys.Release(13)) << "acts once";
    keys.Press({107}, L"8");
    keys.Forget();
    EXPECT_FALSE(keys.Release(107));
}

// Shift let go of a moment before Enter: the command is Shift+Enter's.
TEST(HeldKeys, AKeysChordIsTheOneOfItsPress) {
    HeldKeys keys;
    keys.Press({13, false, true, false}, L"12");
    keys.Press({13, false, false, false}, L"12");  // a repeat after Shift went up
    std::optional<HeldKey> released = keys.Release(13);
    ASSERT_TRUE(released);
    EXPECT_EQ(released->chord, (KeyChord{13, false, true, false}));
    EXPECT_EQ(released->entry, L"12");
}

TEST(HeldKeys, WhatACommandUsedIsGoneFromTheKeysStillHeld) {
    struct Case {
        const wchar_t* what;
        std::wstring otherAtPress, used;
        bool acted;
        std::wstring otherAtRelease;
    };
    const Case cases[] = {
        {L"ENTER and + both over 50", L"50", L"50", true, L""},
        {L"+ pressed after a digit that followed ENTER", L"507", L"50", true, L"7"},
        {L"+ pressed midway through the number", L"5", L"50", true, L""},
        {L"a command that did nothing used nothing", L"50", L"50", false, L"50"},
        {L"an entry the command never saw", L"9", L"50", true, L"9"},
    };
    for (const Case& c : cases) {
        HeldKeys keys;
        keys.Press({107}, c.otherAtPress);
        keys.Press({13}, c.used);
        keys.AfterCommand(keys.Release(13)->entry, c.used, L"", c.acted);
        EXPECT_EQ(keys.Release(107)->entry, c.otherAtRelease) << testing::PrintToString(std::wstring(c.what));
    }
}

}  // namespace
