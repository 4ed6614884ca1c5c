// The program's entry: application set-up, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "about/VersionBox.h"
#include "app/Form1.h"
#include "ui/App.h"
#include "ui/MessageLoop.h"

// The help file the help commands name until a command sets its own; it is
// what "How to use help" passes when it is the first help command of a run.
static const wchar_t kStartupHelpFile[] = L"C:\\Program Files\\Pelmora\\PELMORA.HLP";

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ui::App().SetTitle(L"Pelmora");
    ui::App().SetHelpFile(kStartupHelpFile);

    TForm1 form1(settings::ChooseSettingsPath());
    ui::App().SetMainWindow(form1.Handle());
    std::optional<TVersionBox> versionBox;
    auto createVersionBox = [&] {
        versionBox.emplace(form1.SettingsFile().Path());
        form1.SetVersionBox(&*versionBox);
    };
    // The about box stays hidden until asked for, so the register comes first:
    // the box is made once the main window has painted and its entry field has
    // the focus; keys typed while it is made wait in the queue. Only a box without its
    // picture is made before, because its picture dialog is the first window.
    const bool asksForPicture = TVersionBox::AsksForPicture(form1.SettingsFile().Path());
    if (asksForPicture) createVersionBox();

    ShowWindow(form1.Handle(), showCommand);
    if (!asksForPicture) {
        int quit = ui::PumpMessages();
        if (quit >= 0) return quit;
        createVersionBox();
    }
    return ui::RunMessageLoop();
}
