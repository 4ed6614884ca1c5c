// The program's entry: application set-up, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>

#include "about/VersionBox.h"
#include "app/Form1.h"
#include "help/Help.h"
#include "ui/App.h"
#include "ui/MessageLoop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ui::App().SetTitle(L"Pelmora");
    help::SetHelpFile(help::kStartupHelpFile);

    TForm1 form1(settings::ChooseSettingsPath());
    ui::App().SetMainWindow(form1.Handle());
    // Right after the main window: without its picture it asks for one first.
    TVersionBox versionBox(form1.SettingsFile().Path());
    form1.SetVersionBox(&versionBox);

    ShowWindow(form1.Handle(), showCommand);
    return ui::RunMessageLoop();
}
