// The report window driven by the keys as the keyboard sends them, from inside
// its own message loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "journal/ReportWindow.h"
#include "ui/Controls.h"
#include "tests/support/WindowTest.h"

using journal::TReportWindow;
using namespace testing_support;

TEST(ReportWindow, EnterEscapeAndTheAccessKeyWorkAsInADialog) {
    TestForm owner(200, 100);
    owner.Show();
    int printed = 0;
    TReportWindow window(L"点検", L"売上\t1,080", [&printed] { ++printed; });
    auto post = [&](int id, UINT message, WPARAM key) { PostMessageW(window.Control(id), message, key, 0); };
    struct Way {
        const char* name;
        std::function<void()> keys;
        int prints;  // how many times the report went to the printer
    };
    const Way ways[] = {
        {"Escape", [&] { post(TReportWindow::ReportText, WM_KEYDOWN, VK_ESCAPE); }, 0},
        {"Enter takes 閉じる, the default", [&] { post(TReportWindow::ReportText, WM_KEYDOWN, VK_RETURN); }, 0},
        {"Alt+P prints and stays",
         [&] {
             post(TReportWindow::ReportText, WM_SYSKEYDOWN, 'P');
             post(TReportWindow::ReportText, WM_KEYDOWN, VK_ESCAPE);
         },
         1},
        {"P alone is the text box's",
         [&] {
             post(TReportWindow::ReportText, WM_KEYDOWN, 'P');
             post(TReportWindow::ReportText, WM_KEYDOWN, VK_ESCAPE);
         },
         0},
        {"Enter on 印刷 prints",
         [&] {
             PostMessageW(window.Handle(), WM_NEXTDLGCTL,
                          reinterpret_cast<WPARAM>(window.Control(TReportWindow::PrintButton)), TRUE);
             post(TReportWindow::PrintButton, WM_KEYDOWN, VK_RETURN);
             post(TReportWindow::PrintButton, WM_KEYDOWN, VK_ESCAPE);
         },
         1},
        {"the close box", [&] { PostMessageW(window.Handle(), WM_CLOSE, 0, 0); }, 0},
    };
    for (const Way& way : ways) {
        printed = 0;
        way.keys();
        EXPECT_EQ(window.ShowModal(owner.Handle()), IDCANCEL) << way.name;
        EXPECT_EQ(printed, way.prints) << way.name;
        EXPECT_FALSE(IsWindowVisible(window.Handle())) << way.name;
        EXPECT_TRUE(IsWindowEnabled(owner.Handle())) << way.name;
    }
}

TEST(ReportWindow, AZsWindowSavesForTheAccountingProgramsWithAltS) {
    TestForm owner(200, 100);
    owner.Show();
    std::vector<HWND> saved;
    TReportWindow window(
        L"精算", L"売上\t1,080", [] {}, [&saved](HWND from) { saved.push_back(from); });
    EXPECT_EQ(ui::GetText(window.Control(TReportWindow::SaveButton)), TReportWindow::kSaveCaption);
    PostMessageW(window.Control(TReportWindow::ReportText), WM_SYSKEYDOWN, 'S', 0);
    PostMessageW(window.Control(TReportWindow::ReportText), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(window.ShowModal(owner.Handle()), IDCANCEL);
    EXPECT_EQ(saved, std::vector<HWND>{window.Handle()});
    TReportWindow x(L"点検", L"売上\t1,080", [] {});
    EXPECT_EQ(x.Control(TReportWindow::SaveButton), nullptr) << "an X has no button to save";
}
