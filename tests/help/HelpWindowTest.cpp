#include <gtest/gtest.h>

#include "help/Help.h"
#include "help/HelpWindow.h"
#include "tests/help/ShownHelp.h"
#include "tests/support/WindowTest.h"
#include "ui/Controls.h"

using namespace testing_support;
using help::HelpWindow;

namespace {

class HelpWindowTest : public testing::Test {
protected:
    void TearDown() override {
        help::ShowHelp(nullptr, L"x", HELP_QUIT, 0);
        Pump();
    }

    HelpWindow& Window() { return OpenHelpWindow(); }
    HWND Part(int id) { return GetDlgItem(Window().Handle(), id); }
    int ListedTopics() { return static_cast<int>(SendMessageW(Part(help::HelpTopicList), LB_GETCOUNT, 0, 0)); }
    void Search() {
        help::ShowHelp(nullptr, L"Pelmora.hlp", HELP_KEY, reinterpret_cast<ULONG_PTR>(L""));
        Pump();
    }
};

}  // namespace

TEST_F(HelpWindowTest, SearchOpensWithNothingTypedAndFiltersAsTheUserTypes) {
    Search();
    HWND keyword = Part(help::HelpKeyword);
    EXPECT_EQ(ui::GetText(keyword), L"");
    EXPECT_EQ(GetFocus(), keyword);
    int all = ListedTopics();
    EXPECT_EQ(all, static_cast<int>(Window().Topics().size()));

    SetWindowTextW(keyword, L"ミュート");
    Pump();
    EXPECT_GT(ListedTopics(), 0);
    EXPECT_LT(ListedTopics(), all);

    // Choosing a listed topic shows it.
    SendMessageW(Part(help::HelpTopicList), LB_SETCURSEL, 0, 0);
    SendMessageW(Window().Handle(), WM_COMMAND, MAKEWPARAM(help::HelpTopicList, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Part(help::HelpTopicList)));
    EXPECT_NE(ui::GetText(Part(help::HelpText)).find(L"ミュート"), std::wstring::npos);
}

TEST_F(HelpWindowTest, ContextTwoIsTheAboutBoxTopic) {
    help::ShowHelp(nullptr, L"Pelmora.hlp", HELP_CONTEXT, 2);
    EXPECT_EQ(ShownTopicName(), L"about");
    help::ShowHelp(nullptr, L"Pelmora.hlp", HELP_CONTEXT, 12345);  // unknown: the contents
    EXPECT_EQ(ShownTopicName(), L"contents");
}

TEST_F(HelpWindowTest, AnEmptyHelpFileNameDoesNothing) {
    help::ShowHelp(nullptr, L"", HELP_COMMAND, reinterpret_cast<ULONG_PTR>(L"CONTENTS()"));
    EXPECT_EQ(HelpWindow::Existing(), nullptr);
}

TEST_F(HelpWindowTest, EveryTopicTheProgramAsksForIsThere) {
    help::ShowHelp(nullptr, L"Pelmora.hlp", HELP_COMMAND, reinterpret_cast<ULONG_PTR>(L"CONTENTS()"));
    const auto& topics = Window().Topics();
    for (const wchar_t* name :
         {L"contents", L"helponhelp", L"about", L"register", L"cashcount", L"settings", L"greetings"})
        EXPECT_GE(help::FindByName(topics, name), 0) << testing::PrintToString(std::wstring(name));
    EXPECT_EQ(help::FindByContext(topics, 2), help::FindByName(topics, L"about"));
    for (const auto& topic : topics) EXPECT_FALSE(topic.body.empty()) << testing::PrintToString(topic.name);
    // The tax classes and corrections, with their keys.
    int classes = help::FindByName(topics, L"classes");
    ASSERT_GE(classes, 0);
    for (const wchar_t* key : {L"[F2]", L"[F3]", L"[F8]", L"※", L"ENTER で軽減税率の行を"})
        EXPECT_NE(topics[static_cast<size_t>(classes)].body.find(key), std::wstring::npos)
            << testing::PrintToString(std::wstring(key));
}

TEST_F(HelpWindowTest, TabAndShiftTabGoRoundTheKeywordTheListAndTheText) {
    Search();
    const HWND order[] = {Part(help::HelpKeyword), Part(help::HelpTopicList), Part(help::HelpText)};
    ASSERT_EQ(GetFocus(), order[0]);
    for (int step = 1; step <= 3; ++step) {
        PressTab(GetFocus(), false);
        EXPECT_EQ(GetFocus(), order[step % 3]) << "Tab " << step;
    }
    for (int step = 1; step <= 3; ++step) {
        PressTab(GetFocus(), true);
        EXPECT_EQ(GetFocus(), order[(3 - step) % 3]) << "Shift+Tab " << step;
    }
}

TEST_F(HelpWindowTest, TheFocusComesBackWhereItWasAfterAnotherWindowWasActive) {
    Search();
    HWND list = Part(help::HelpTopicList);
    SetFocus(list);
    TestForm other(200, 100);
    other.Show();
    ASSERT_EQ(GetActiveWindow(), other.Handle());
    ASSERT_NE(GetFocus(), list);

    SetActiveWindow(Window().Handle());
    Pump();
    EXPECT_EQ(GetFocus(), list);
}
