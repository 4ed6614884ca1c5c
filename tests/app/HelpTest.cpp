// The main window's help commands: which help file each one names and what
// the help window then shows.
#include <gtest/gtest.h>

#include "help/Help.h"
#include "help/HelpWindow.h"
#include "tests/help/ShownHelp.h"
#include "tests/support/MainWindowTest.h"
#include "ui/Controls.h"

using namespace testing_support;
using help::HelpWindow;

namespace {

class HelpTest : public MainWindowTest {
protected:
    void SetUp() override {
        help::SetHelpFile(help::kStartupHelpFile);
        Open();
    }
    void TearDown() override {
        help::ShowHelp(nullptr, L"x", HELP_QUIT, 0);
        MainWindowTest::TearDown();
    }
};

}  // namespace

TEST_F(HelpTest, HowToUseHelpFirstPassesTheStartUpHelpFile) {
    form->HowtoUseHelp1Click();
    EXPECT_EQ(OpenHelpWindow().HelpFile(), L"C:\\Program Files\\Pelmora\\PELMORA.HLP");
    EXPECT_EQ(ShownTopicName(), L"helponhelp");
    EXPECT_TRUE(IsWindowVisible(OpenHelpWindow().Handle()));
}

TEST_F(HelpTest, ContentsFromTheMenuAndTheToolBar) {
    SendMessageW(form->Handle(), WM_COMMAND, form1::Contents1, 0);
    EXPECT_EQ(help::HelpFile(), L"PELMORA.hlp");
    EXPECT_EQ(ShownTopicName(), L"contents");
    std::wstring shown = ui::GetText(GetDlgItem(OpenHelpWindow().Handle(), help::HelpText));
    EXPECT_EQ(shown.rfind(L"目次", 0), 0u) << "the topic text starts with its title";

    help::ShowHelp(nullptr, L"x", HELP_QUIT, 0);
    EXPECT_EQ(HelpWindow::Existing(), nullptr);
    SendMessageW(form->Handle(), WM_COMMAND, form1::SpeedButton2, 0);
    EXPECT_EQ(ShownTopicName(), L"contents");
}

TEST_F(HelpTest, SearchNamesItsOwnHelpFileAndOpensTheKeywordBox) {
    SendMessageW(form->Handle(), WM_COMMAND, form1::SearchforHelpOn1, 0);
    EXPECT_EQ(help::HelpFile(), L"Pelmora.hlp");
    HWND keyword = GetDlgItem(OpenHelpWindow().Handle(), help::HelpKeyword);
    EXPECT_EQ(ui::GetText(keyword), L"");
    EXPECT_EQ(GetFocus(), keyword);
}

TEST_F(HelpTest, TheHelpWindowClosesWithTheMainWindow) {
    form->Contents1Click();
    ASSERT_NE(HelpWindow::Existing(), nullptr);
    DestroyWindow(form->Handle());
    Pump();
    EXPECT_EQ(HelpWindow::Existing(), nullptr);
}

namespace {

// The help's key list is made from the register's key table, with the
// tenders the shop offers at the moment it is opened.
TEST_F(HelpTest, TheKeyListComesFromTheKeyTable) {
    SendMessageW(form->Handle(), WM_COMMAND, form1::Contents1, 0);
    const std::vector<help::Topic>& topics = OpenHelpWindow().Topics();
    int keys = help::FindByName(topics, L"keys");
    ASSERT_GE(keys, 0);
    const std::wstring& body = topics[static_cast<size_t>(keys)].body;
    EXPECT_NE(body.find(L"[Num /]\u3000預り金"), std::wstring::npos) << "the table's key and words";
    EXPECT_EQ(body.find(L"{{keys}}"), std::wstring::npos);
    EXPECT_EQ(body.find(L"[F6]"), std::wstring::npos) << "no tender is offered before the shop switches them on";
}

}  // namespace
