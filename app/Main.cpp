// The program's entry: application set-up, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <utility>

#include "about/VersionBox.h"
#include "app/Form1.h"
#include "app/FolderLock.h"
#include "app/Services.h"
#include "help/Help.h"
#include "journal/Journal.h"
#include "ui/App.h"
#include "ui/Error.h"
#include "platform/Files.h"
#include "ui/MessageLoop.h"

// Work the start does once the program has first waited for a key.
static std::function<void()> afterFirstWait;

static void CALLBACK RunAfterFirstWait(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (std::function<void()> work = std::exchange(afterFirstWait, nullptr)) ui::Guarded(work);
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ui::App().SetTitle(L"Pelmora");
    help::SetHelpFile(help::kStartupHelpFile);

    // The journal goes where the settings go.
    settings::SettingsPlace place = settings::ChooseSettingsPlace(
        {journal::kJournalName, journal::kOpenSaleName, journal::kKeptName, journal::kCheckpointName});
    // A second start on the same folder (a double double-click) hands over to
    // the first and leaves everything as it was.
    FolderLock lock(platform::FolderOf(place.path));
    if (!lock.Held()) {
        lock.BringHolderForward(10000);
        return 0;
    }
    const Services services = SystemServices();
    TForm1 form1(place.path, services);
    ui::App().SetMainWindow(form1.Handle());
    if (!place.notice.empty()) form1.TellAtStart(place.notice);
    std::optional<TVersionBox> versionBox;
    auto createVersionBox = [&] {
        versionBox.emplace(form1.SettingsFile().Path(), services.shell, services.choosePicture);
        form1.SetVersionBox(&*versionBox);
    };
    // The about box stays hidden until asked for, so the register comes first:
    // the box is made once the main window has painted, its entry field has the
    // focus and the program has waited for a key; a key typed by then is handled
    // first. Only a box without its picture is made before the main window,
    // because its picture dialog is the first window.
    const bool asksForPicture = TVersionBox::AsksForPicture(form1.SettingsFile().Path());
    if (asksForPicture) createVersionBox();

    ShowWindow(form1.Handle(), showCommand);
    lock.Mark(form1.Handle());
    if (!asksForPicture) {
        int quit = ui::PumpMessages();
        if (quit >= 0) return quit;
    }
    // Set with the queue empty, the timer comes due after the program has
    // waited for input: then the pages the first picture does not show, and
    // the about box.
    afterFirstWait = [&] {
        form1.CreateHiddenPages();
        if (!versionBox) createVersionBox();
        form1.ReadProductFile();
        form1.CheckJournalChain();
    };
    SetTimer(nullptr, 0, USER_TIMER_MINIMUM, RunAfterFirstWait);
    return ui::RunMessageLoop();
}
