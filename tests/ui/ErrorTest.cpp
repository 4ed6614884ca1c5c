#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/WindowTest.h"
#include "ui/Gdi.h"
#include "ui/Window.h"

using testing_support::ErrorRecorder;
using testing_support::Pump;

namespace {

// A window whose handlers fail in the ways handlers can fail.
class FailingWindow : public ui::Window {
public:
    FailingWindow() {
        RegisterClassOnce(L"FailingWindow");
        Create(L"FailingWindow", L"", WS_OVERLAPPED, 0, 0, 0, 100, 100, nullptr, nullptr);
    }
    int handled = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_APP: ++handled; throw ui::Error(L"'-' は浮動小数点数ではありません");
        case WM_APP + 1: ++handled; throw std::runtime_error("plain failure");
        case WM_APP + 2: ++handled; throw 42;
        case WM_APP + 3: ++handled; return 7;
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
};

// A window whose painting fails half-way.
class FailingPaint : public ui::Window {
public:
    explicit FailingPaint(HWND parent) {
        RegisterClassOnce(L"FailingPaint");
        Create(L"FailingPaint", L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 50, 50, parent, nullptr);
    }
    HDC paintDC = nullptr;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) {
            ui::PaintDC dc(Handle());
            paintDC = dc;
            throw ui::Error(L"描けません");
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
};

// A window made from any class name, registered or not.
class AnyWindow : public ui::Window {
public:
    bool Make(const wchar_t* className, bool registerFirst, DWORD style = WS_OVERLAPPED, HWND parent = nullptr) {
        if (registerFirst) RegisterClassOnce(className);
        return Create(className, L"", style, 0, 0, 0, 50, 50, parent, nullptr);
    }
};

}  // namespace

TEST(ErrorBarrier, EveryFailureOfAHandlerIsShownAndTheWindowCarriesOn) {
    ErrorRecorder errors;
    FailingWindow window;
    SendMessageW(window.Handle(), WM_APP + 2, 0, 0);
    PostMessageW(window.Handle(), WM_APP, 0, 0);
    PostMessageW(window.Handle(), WM_APP + 1, 0, 0);
    Pump();
    EXPECT_EQ(SendMessageW(window.Handle(), WM_APP + 3, 0, 0), 7);
    EXPECT_EQ(window.handled, 4);
    ASSERT_EQ(errors.Messages().size(), 3u);
    EXPECT_FALSE(errors.Messages()[0].empty());
    EXPECT_EQ(errors.Messages()[1], L"'-' は浮動小数点数ではありません");
    EXPECT_EQ(errors.Messages()[2], L"plain failure");
    EXPECT_TRUE(IsWindow(window.Handle()));
}

TEST(ErrorBarrier, TheWindowObjectIsDetachedWhenItsWindowIsDestroyed) {
    FailingWindow window;
    HWND handle = window.Handle();
    DestroyWindow(handle);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(handle));
}

TEST(ErrorBarrier, APaintThatFailsStillEndsThePaint) {
    ErrorRecorder errors;
    testing_support::TestForm form(100, 100);
    FailingPaint child(form.Handle());
    form.Show();
    ASSERT_NE(child.paintDC, nullptr);
    EXPECT_EQ(errors.Messages(), std::vector<std::wstring>{L"描けません"});
    // EndPaint hands the paint's device context back: it belongs to no window now.
    EXPECT_EQ(WindowFromDC(child.paintDC), nullptr);
}

TEST(ErrorBarrier, AWindowThatCannotBeMadeIsReportedAndTheProgramCarriesOn) {
    ErrorRecorder errors;
    AnyWindow unregistered;
    EXPECT_FALSE(unregistered.Make(L"PelmoraNoSuchClass", false));
    EXPECT_EQ(unregistered.Handle(), nullptr);
    EXPECT_EQ(errors.Messages(), std::vector<std::wstring>{L"ウィンドウ PelmoraNoSuchClass を作成できません"});

    // The system registers no class without a name: both steps are reported.
    AnyWindow nameless;
    EXPECT_FALSE(nameless.Make(L"", true));
    ASSERT_EQ(errors.Messages().size(), 3u);
    EXPECT_EQ(errors.Messages()[1], L"ウィンドウクラス  を登録できません");
    EXPECT_EQ(errors.Messages()[2], L"ウィンドウ  を作成できません");

    // Its children are not made and add no message; a window made afterwards is.
    AnyWindow child;
    EXPECT_FALSE(child.Make(L"PelmoraAnyWindow", true, WS_CHILD, unregistered.Handle()));
    EXPECT_EQ(errors.Messages().size(), 3u);
    AnyWindow made;
    EXPECT_TRUE(made.Make(L"PelmoraAnyWindow", true));
    EXPECT_TRUE(IsWindow(made.Handle()));
    EXPECT_EQ(errors.Messages().size(), 3u);
}
