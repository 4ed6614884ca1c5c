// The main window's help commands: which help file each one names and what
// the help window then shows.
#include <gtest/gtest.h>

#include <memory>

#include "app/Form1.h"
#include "app/Form1Ids.h"
#include "help/Help.h"
#include "help/HelpWindow.h"
#include "tests/support/WindowTest.h"
#include "ui/Controls.h"

using namespace testing_support;
using help::HelpWindow;

namespace {

class HelpTest : public testing::Test {
protected:
    void SetUp() override {
        help::SetHelpFile(help::kStartupHelpFile);
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
    EXPECT_EQ(help::HelpFile(), L"PELMORA.hlp");
    EXPECT_EQ(CurrentName(), L"contents");
    std::wstring shown = ui::GetText(GetDlgItem(Window().Handle(), help::HelpText));
    EXPECT_EQ(shown.rfind(L"目次", 0), 0u) << "the topic text starts with its title";

    help::ShowHelp(nullptr, L"x", HELP_QUIT, 0);
    EXPECT_EQ(HelpWindow::Existing(), nullptr);
    SendMessageW(form->Handle(), WM_COMMAND, form1::SpeedButton2, 0);
    EXPECT_EQ(CurrentName(), L"contents");
}

TEST_F(HelpTest, SearchNamesItsOwnHelpFileAndOpensTheKeywordBox) {
    SendMessageW(form->Handle(), WM_COMMAND, form1::SearchforHelpOn1, 0);
    EXPECT_EQ(help::HelpFile(), L"Pelmora.hlp");
    HWND keyword = GetDlgItem(Window().Handle(), help::HelpKeyword);
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
