// Window tests start like the program: common controls and the application title.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "ui/App.h"

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ui::App().SetTitle(L"Pelmora");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
