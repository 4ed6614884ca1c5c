#pragma once
// Tests of the main window and its pages: the window made as the program makes
// it, on a settings file in a scratch folder, and driven by real messages.
// Header only: the support library itself knows no main window.
#include <gtest/gtest.h>

#include <commctrl.h>
#include <prsht.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Form1.h"
#include "app/Form1Ids.h"
#include "tests/support/NoPrinters.h"
#include "tests/support/WindowTest.h"

namespace testing_support {

class MainWindowTest : public testing::Test {
protected:
    std::wstring Ini() const { return folder.File(L"Pelmora.ini"); }

    // Who ticks the window's timers: the system, or only the test's WM_TIMER
    // (on a loaded machine the system's ticks would come at any pump).
    enum class Ticks { System, ByTest };

    // Makes the main window on the settings file Ini() and shows it.
    TForm1& Open(Ticks ticks = Ticks::System) {
        form = std::make_unique<TForm1>(Ini(), services);
        if (ticks == Ticks::ByTest)
            for (int timer : {form1::Timer1, form1::Timer2}) KillTimer(form->Handle(), static_cast<UINT_PTR>(timer));
        ShowWindow(form->Handle(), SW_SHOW);
        Pump();
        return *form;
    }

    // Shows page 0, 1 or 2 the way a click on its tab does.
    void ShowPage(int page) {
        HWND tabs = form->Control(form1::PageControl1);
        SendMessageW(tabs, TCM_SETCURSEL, page, 0);
        NMHDR change{tabs, static_cast<UINT_PTR>(form1::PageControl1), static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(form->Handle(), WM_NOTIFY, form1::PageControl1, reinterpret_cast<LPARAM>(&change));
        Pump();
    }

    // Opens the shop-settings window from the ファイル menu, runs act on it
    // once it shows (from inside its own message loop), then presses closeKey
    // on it as the keyboard would: Enter for OK, Escape for Cancel. act gets
    // the sheet and shows a page with ShopPage. open, when given, opens the
    // window another way.
    void InShopSettings(std::function<void(HWND sheet)> act, UINT closeKey = VK_RETURN,
                        std::function<void()> open = {}) {
        bool shown = false;
        SheetStep() = [&](HWND sheet) {
            act(sheet);
            // From the tabs, Enter takes the default button: OK.
            HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
            SetFocus(tabs);
            PostMessageW(tabs, WM_KEYDOWN, closeKey, 1);
        };
        ActivationWatcher watcher(L"#32770", [&](HWND window) {
            // Message boxes are dialogs too: the sheet is the one with tabs.
            if (shown || !SendMessageW(window, PSM_GETTABCONTROL, 0, 0)) return;
            shown = true;
            SetTimer(window, 1, 0, RunSheetStep);
        });
        // Returns when the sheet has closed.
        open ? open() : void(SendMessageW(form->Handle(), WM_COMMAND, form1::ShopSettings1, 0));
        Pump();
        EXPECT_TRUE(shown) << "the shop-settings window did not show";
    }
    // Shows page 0, 1 or 2 of the sheet and returns it.
    static HWND ShopPage(HWND sheet, int page) {
        SendMessageW(sheet, PSM_SETCURSEL, page, 0);
        return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }

    // Position and size of a widget in its parent's client coordinates.
    RECT Place(int id) const { return PlaceInParent(form->Control(id)); }

    void TearDown() override {
        form.reset();
        Pump();
    }

    static std::function<void(HWND)>& SheetStep() {
        static std::function<void(HWND)> step;
        return step;
    }
    static void CALLBACK RunSheetStep(HWND sheet, UINT, UINT_PTR id, DWORD) {
        KillTimer(sheet, id);
        std::exchange(SheetStep(), nullptr)(sheet);
    }

    // What the window reads of the machine: its clock reads now, its printers
    // are printers (none of the machine's is asked or printed on), greetings
    // and beeps are counted, links and picture dialogs recorded and cancelled.
    // A test may change each while the window is open.
    common::DateTime now{2026, 12, 9, 10, 0, 0};
    receipt::Printers printers = NoPrinters();
    struct Played {
        const void* wave;
        UINT flags;
    };
    std::vector<Played> played;
    int beeps = 0;
    std::vector<about::ShellRequest> shellRequests;
    Services services{[this] { return now; },
                      {[this] { return printers.installed(); },
                       [this](const receipt::Settings& settings, int rows) { return printers.open(settings, rows); },
                       [this](const std::wstring& printer) { return printers.papers(printer); },
                       [this](const std::wstring& printer, const std::string& bytes, const std::wstring& document) {
                           printers.raw(printer, bytes, document);
                       }},
                      [this](const void* wave, UINT flags) {
                          played.push_back({wave, flags});
                          return false;  // no sound device here
                      },
                      [this] { ++beeps; },
                      [this](const about::ShellRequest& request) { shellRequests.push_back(request); },
                      [](HWND) { return std::optional<std::wstring>(); },
                      [this](HWND, const std::wstring&, const std::wstring& suggested) {
                          return std::optional<std::wstring>(folder.File(suggested));
                      }};
    TempFolder folder;
    std::unique_ptr<TForm1> form;
};

}  // namespace testing_support
