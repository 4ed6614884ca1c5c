#include <gtest/gtest.h>

#include <memory>

#include "app/Form1.h"
#include "app/Form1Ids.h"
#include "app/Help.h"
#include "app/HelpWindow.h"
#include "tests/support/WindowTest.h"
#include "ui/App.h"
#include "ui/Controls.h"

using namespace testing_support;
using help::HelpWindow;

namespace {

class HelpTest : public testing::Test {
protected:
    void SetUp() override {
        ui::App().SetHelpFile(L"C:\\Program Files\\Pelmora\\PELMORA.HLP");
        form = std::make_unique<TForm1>(folder.File(L"Pelmora.ini"));
        ShowWindow(form->Handle(), SW_SHOW);
        Pump();
    }
    void TearDown() override {
        help::ShowHelp(nullptr, L"x", HELP_QUIT, 0);
        form.reset();
        Pump();
    }

    HelpWindow& Window() {
        HelpWindow* window = HelpWindow::Existing();
        if (!window) throw std::runtime_error("no help window");
        return *window;
    }
    std::wstring CurrentName() {
        return Window().Topics()[static_cast<size_t>(Window().CurrentTopic())].name;
    }
    HWND Part(int id) { return GetDlgItem(Window().Handle(), id); }
    int ListedTopics() { return static_cast<int>(SendMessageW(Part(help::HelpTopicList), LB_GETCOUNT, 0, 0)); }

    TempFolder folder;
    std::unique_ptr<TForm1> form;
};

}  // namespace

TEST_F(HelpTest, HowToUseHelpFirstPassesTheStartUpHelpFile) {
    form->HowtoUseHelp1Click();
    EXPECT_EQ(Window().HelpFile(), L"C:\\Program Files\\Pelmora\\PELMORA.HLP");
    EXPECT_EQ(CurrentName(), L"helponhelp");
    EXPECT_TRUE(IsWindowVisible(Window().Handle()));
}

TEST_F(HelpTest, ContentsFromTheMenuAndTheToolBar) {
    SendMessageW(form->Handle(), WM_COMMAND, form1::Contents1, 0);
    EXPECT_EQ(ui::App().HelpFile(), L"PELMORA.hlp");
    EXPECT_EQ(CurrentName(), L"contents");
    std::wstring shown = ui::GetText(Part(help::HelpText));
    EXPECT_EQ(shown.rfind(L"目次", 0), 0u) << "the topic text starts with its title";

    help::ShowHelp(nullptr, L"x", HELP_QUIT, 0);
    EXPECT_EQ(HelpWindow::Existing(), nullptr);
    SendMessageW(form->Handle(), WM_COMMAND, form1::SpeedButton2, 0);
    EXPECT_EQ(CurrentName(), L"contents");
}

TEST_F(HelpTest, SearchOpensWithNothingTypedAndFiltersAsTheUserTypes) {
    SendMessageW(form->Handle(), WM_COMMAND, form1::SearchforHelpOn1, 0);
    EXPECT_EQ(ui::App().HelpFile(), L"Pelmora.hlp");
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

TEST_F(HelpTest, ContextTwoIsTheAboutBoxTopic) {
    help::ShowHelp(form->Handle(), ui::App().HelpFile(), HELP_CONTEXT, 2);
    EXPECT_EQ(CurrentName(), L"about");
    help::ShowHelp(form->Handle(), ui::App().HelpFile(), HELP_CONTEXT, 12345);  // unknown: the contents
    EXPECT_EQ(CurrentName(), L"contents");
}

TEST_F(HelpTest, AnEmptyHelpFileNameDoesNothing) {
    help::ShowHelp(form->Handle(), L"", HELP_COMMAND, reinterpret_cast<ULONG_PTR>(L"CONTENTS()"));
    EXPECT_EQ(HelpWindow::Existing(), nullptr);
}

TEST_F(HelpTest, TheHelpWindowClosesWithTheMainWindow) {
    form->Contents1Click();
    ASSERT_NE(HelpWindow::Existing(), nullptr);
    DestroyWindow(form->Handle());
    Pump();
    EXPECT_EQ(HelpWindow::Existing(), nullptr);
}

TEST(HelpText, EveryTopicTheProgramAsksForIsThere) {
    ui::App().SetHelpFile(L"Pelmora.hlp");
    help::ShowHelp(nullptr, L"Pelmora.hlp", HELP_COMMAND, reinterpret_cast<ULONG_PTR>(L"CONTENTS()"));
    HelpWindow* window = HelpWindow::Existing();
    ASSERT_NE(window, nullptr);
    const auto& topics = window->Topics();
    for (const wchar_t* name : {L"contents", L"helponhelp", L"about", L"register", L"cashcount", L"settings", L"greetings"})
        EXPECT_GE(help::FindByName(topics, name), 0) << testing::PrintToString(std::wstring(name));
    EXPECT_EQ(help::FindByContext(topics, 2), help::FindByName(topics, L"about"));
    // The tax classes and corrections, with their keys.
    int classes = help::FindByName(topics, L"classes");
    ASSERT_GE(classes, 0);
    for (const wchar_t* key : {L"[F2]", L"[F3]", L"[F8]", L"※", L"ENTER で軽減税率の行を"})
        EXPECT_NE(topics[static_cast<size_t>(classes)].body.find(key), std::wstring::npos) << testing::PrintToString(std::wstring(key));
    for (const auto& topic : topics) EXPECT_FALSE(topic.body.empty()) << testing::PrintToString(topic.name);
    help::ShowHelp(nullptr, L"x", HELP_QUIT, 0);
}
