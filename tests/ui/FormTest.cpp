#include <gtest/gtest.h>

#include "tests/support/WindowTest.h"
#include "ui/Controls.h"
#include "ui/Form.h"

using testing_support::PressTab;
using testing_support::Pump;

namespace {

// A form with three buttons on it and two more inside a panel.
class SampleForm : public testing_support::TestForm {
public:
    SampleForm() : TestForm(300, 300) {
        first = ui::CreateControl(L"BUTTON", L"1", WS_TABSTOP, 0, 0, 50, 20, Handle(), 1, nullptr);
        panel.Create(Handle(), 2, 0, 30, 200, 100);
        inner1 = ui::CreateControl(L"BUTTON", L"2", WS_TABSTOP, 0, 0, 50, 20, panel.Handle(), 3, nullptr);
        inner2 = ui::CreateControl(L"BUTTON", L"3", WS_TABSTOP, 0, 30, 50, 20, panel.Handle(), 4, nullptr);
        last = ui::CreateControl(L"BUTTON", L"4", WS_TABSTOP, 0, 150, 50, 20, Handle(), 5, nullptr);
        Show();
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
        return Form::HandleMessage(message, wParam, lParam);
    }
    ui::Panel panel;
    HWND first, inner1, inner2, last;
    std::vector<int> commands;
};

// A control that wants the Tab key for itself.
class TabTaker : public ui::Window {
public:
    explicit TabTaker(HWND parent, LRESULT wants = DLGC_WANTTAB) : wants_(wants) {
        RegisterClassOnce(L"TabTaker");
        Create(L"TabTaker", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 100, 100, 150, 40, parent, nullptr);
    }
    int tabs = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GETDLGCODE) return wants_;
        if (message == WM_KEYDOWN && wParam == VK_TAB) ++tabs;
        return Window::HandleMessage(message, wParam, lParam);
    }

private:
    LRESULT wants_;
};

}  // namespace

TEST(Form, NextDlgCtlMovesThroughTabStopsIntoContainers) {
    SampleForm form;
    SetFocus(form.first);
    PostMessageW(form.Handle(), WM_NEXTDLGCTL, 0, 0);
    Pump();
    EXPECT_EQ(GetFocus(), form.inner1);
    PostMessageW(form.Handle(), WM_NEXTDLGCTL, 0, 0);
    Pump();
    EXPECT_EQ(GetFocus(), form.inner2);
    PostMessageW(form.Handle(), WM_NEXTDLGCTL, 0, 0);
    Pump();
    EXPECT_EQ(GetFocus(), form.last);
    PostMessageW(form.Handle(), WM_NEXTDLGCTL, 0, 0);  // round to the first
    Pump();
    EXPECT_EQ(GetFocus(), form.first);
    PostMessageW(form.Handle(), WM_NEXTDLGCTL, 1, 0);  // previous
    Pump();
    EXPECT_EQ(GetFocus(), form.last);
    PostMessageW(form.Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(form.inner2), TRUE);  // a given control
    Pump();
    EXPECT_EQ(GetFocus(), form.inner2);
}

TEST(Form, TabAndShiftTabMoveTheFocusUnlessTheControlWantsTab) {
    SampleForm form;
    SetFocus(form.inner1);
    PressTab(form.inner1, false);
    EXPECT_EQ(GetFocus(), form.inner2);
    PressTab(form.inner2, true);
    EXPECT_EQ(GetFocus(), form.inner1);

    // A control that asks for the Tab key keeps it.
    TabTaker taker(form.Handle());
    SetFocus(taker.Handle());
    PressTab(taker.Handle(), false);
    EXPECT_EQ(GetFocus(), taker.Handle());
    EXPECT_EQ(taker.tabs, 1);

    // Wanting Enter and Escape ("all keys") leaves Tab to the form.
    TabTaker allKeys(form.Handle(), DLGC_WANTALLKEYS | DLGC_WANTCHARS);
    SetFocus(allKeys.Handle());
    PressTab(allKeys.Handle(), false);
    EXPECT_NE(GetFocus(), allKeys.Handle());
    EXPECT_EQ(allKeys.tabs, 0);
}

TEST(Form, FocusComesBackToTheActiveControlOnActivation) {
    SampleForm form;
    SetFocus(form.inner2);
    SampleForm other;  // takes the activation
    SetActiveWindow(other.Handle());
    Pump();
    EXPECT_EQ(form.ActiveControl(), form.inner2);
    SetActiveWindow(form.Handle());
    Pump();
    EXPECT_EQ(GetFocus(), form.inner2);
}

TEST(Form, PanelsPassTheirControlsNotificationsToTheForm) {
    SampleForm form;
    SendMessageW(form.inner1, BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(form.commands, std::vector<int>{3});
}
