#pragma once
// Tests of the main window and its pages: the window made as the program makes
// it, on a settings file in a scratch folder, and driven by real messages.
// Header only: the support library itself knows no main window.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/Form1.h"
#include "app/Form1Ids.h"
#include "tests/support/NoPrinters.h"
#include "tests/support/WindowTest.h"

namespace testing_support {

class MainWindowTest : public testing::Test {
protected:
    std::wstring Ini() const { return folder.File(L"Pelmora.ini"); }

    // Makes the main window on the settings file Ini() and shows it.
    TForm1& Open() {
        form = std::make_unique<TForm1>(Ini());
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

    // Position and size of a widget in its parent's client coordinates.
    RECT Place(int id) const { return PlaceInParent(form->Control(id)); }

    void TearDown() override {
        form.reset();
        Pump();
    }

    NoPrinters noPrinters;  // none of the machine's printers is asked or printed on
    TempFolder folder;
    std::unique_ptr<TForm1> form;
};

}  // namespace testing_support
