#include "app/Form1.h"

#include <commctrl.h>
#include <mmsystem.h>

#include "about/VersionBox.h"
#include "app/Form1Ids.h"
#include "help/Help.h"
#include "settings/GreetingSound.h"
#include "settings/LocalClock.h"
#include "settings/ProfileValues.h"
#include "settings/WindowBounds.h"
#include "ui/App.h"
#include "ui/Confirm.h"
#include "ui/Controls.h"
#include "ui/Error.h"

using namespace form1;

namespace {

const wchar_t kClass[] = L"TForm1";
using ui::kFontFace;
constexpr int kToolBarHeight = 29;
constexpr int kStatusBarHeight = 26;

struct ToolButton {
    int id;
    const wchar_t* picture;
    const wchar_t* tip;
};
const ToolButton kToolButtons[] = {
    {SpeedButton1, L"TOOLEXIT", L"終了"},
    {SpeedButton2, L"TOOLHELP", L"ヘルプを表示します。"},
    {SpeedButton3, L"TOOLABOUT", L"バージョン情報を表示します。"},
};

struct Page {
    int id;
    const wchar_t* caption;
};
const Page kPages[] = {{TabSheet1, L"Regi"}, {TabSheet2, L"Kinsyu"}, {TabSheet3, L"設定"}};

// Adds a tool-bar picture whose bottom-left pixel's colour is transparent.
void AddPicture(HIMAGELIST images, const wchar_t* name) {
    ui::Bitmap picture(static_cast<HBITMAP>(
        LoadImageW(ui::App().Instance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!picture) return;
    BITMAP info{};
    GetObjectW(picture.get(), sizeof info, &info);
    COLORREF transparent;
    {
        ui::MemoryDC dc(nullptr);
        ui::SelectGuard select(dc, picture.get());
        transparent = GetPixel(dc, 0, info.bmHeight - 1);
    }
    ImageList_AddMasked(images, picture.get(), transparent);
}

HMENU MakeMainMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, Exit1, L"終了(&X)");
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, Contents1, L"目次(&C)");
    AppendMenuW(help, MF_STRING, SearchforHelpOn1, L"トピックの検索(&S)...");
    AppendMenuW(help, MF_STRING, HowtoUseHelp1, L"ヘルプの使い方(&H)");
    AppendMenuW(help, MF_STRING, About1, L"バージョン情報(&A)...");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル(&F)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"ヘルプ(&H)");
    return bar;
}

}  // namespace

const wchar_t TForm1::kExitQuestion[] =
    L"終了すると売上が消えま\rす別途メモしてください｡\r宜しいでしょうか?";

TForm1::TForm1(std::wstring settingsPath) : settingsFile_(std::move(settingsPath)) {
    RegisterClassOnce(kClass, 0, LoadCursor(nullptr, IDC_ARROW),
                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      LoadIconW(ui::App().Instance(), L"MAINICON"));
    Create(kClass, L" Pelmora Version 2.0.0.0",
           (WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX) | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
           315, 118, 606, 597, nullptr, MakeMainMenu());
    // The greeting and the clock run from creation on.
    timer1Enabled_ = SetTimer(Handle(), Timer1, 500, nullptr) != 0;
    SetTimer(Handle(), Timer2, 1000, nullptr);
    // A failed creation step is reported and the window is still there to use.
    ui::Guarded([this] { FormCreate(); });
}

void TForm1::FormCreate() {
    // 1. The base font: 11 points on a 96-dpi screen, else 9 points.
    int dpi = GetDeviceCaps(ui::WindowDC(nullptr), LOGPIXELSY);
    baseFont_ = ui::MakeFont(kFontFace, settings::PointsToPixels(settings::BaseFontPoints(dpi), dpi));
    CreateWidgets();
    // 2. The settings of the last run.
    ApplySettings();
    // 3. This form previews no keys: they go straight to the focused control.
    // 4. The register's line grid.
    registerPage_.SetUpGrid();
    // 5. The register's entry field takes the focus once the message loop runs.
    registerPage_.ArmEntry();
    // 6. The cash count grid's headers and row captions.
    cashCountPage_.SetUp();
    // 7. The register's first instruction.
    registerPage_.ShowFirstPrompt();
}

void TForm1::CreateWidgets() {
    CreateToolBar();
    CreatePages();
    CreateStatusBar();
    RECT client;
    GetClientRect(Handle(), &client);
    LayoutFrame(client.right, client.bottom);
}

void TForm1::CreateToolBar() {
    toolBar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                   CCS_NOPARENTALIGN | CCS_NORESIZE,
                               0, 0, 598, kToolBarHeight, Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ToolBar1)),
                               ui::App().Instance(), nullptr);
    SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    toolPictures_.reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0));
    for (const ToolButton& button : kToolButtons) AddPicture(toolPictures_.get(), button.picture);
    SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolPictures_.get()));
    SendMessageW(toolBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));

    // Separator of 8 pixels before each button; the button texts are the tips.
    TBBUTTON buttons[6] = {};
    for (int i = 0; i < 3; ++i) {
        TBBUTTON& separator = buttons[2 * i];
        separator.iBitmap = 8;
        separator.fsStyle = BTNS_SEP;
        TBBUTTON& button = buttons[2 * i + 1];
        button.iBitmap = i;
        button.idCommand = kToolButtons[i].id;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON;
        button.iString = reinterpret_cast<INT_PTR>(kToolButtons[i].tip);
    }
    SendMessageW(toolBar_, TB_ADDBUTTONSW, 6, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolBar_, TB_SETMAXTEXTROWS, 0, 0);
    SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 22));
}

void TForm1::CreatePages() {
    pageControl_ = ui::CreateControl(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, 0, 32, 593, 481,
                                     Handle(), PageControl1, baseFont_.get());
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kPages[i].caption);
        SendMessageW(pageControl_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    // The pages lie over the page control's display area, the first one shown.
    RECT area{0, 0, 593, 481};
    SendMessageW(pageControl_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int i = 0; i < 3; ++i) {
        tabSheets_[i].Create(Handle(), kPages[i].id, area.left, 32 + area.top, area.right - area.left,
                             area.bottom - area.top, i == 0);
        SetWindowPos(tabSheets_[i].Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    settingsPage_.Create(tabSheets_[2].Handle(), baseFont_.get());
    regi::RegisterPage::Hooks hooks;
    hooks.rateText = [this] { return settingsPage_.TaxText(); };
    hooks.showHelpContents = [this] {
        help::ShowHelp(Handle(), help::HelpFile(), HELP_COMMAND, reinterpret_cast<ULONG_PTR>(L"CONTENTS()"));
    };
    registerPage_.Create(tabSheets_[0].Handle(), Handle(), pageControl_, std::move(hooks));
    cashCountPage_.Create(tabSheets_[1].Handle());
}

void TForm1::CreateStatusBar() {
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"",
                                 WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NOPARENTALIGN | CCS_NORESIZE,
                                 0, 0, 0, kStatusBarHeight, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(StatusBar1)),
                                 ui::App().Instance(), nullptr);
    statusFont_ = ui::MakeFont(kFontFace, 13);
    SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(statusFont_.get()), FALSE);
    int edges[2] = {222, 222 + 240};  // panel 0 shows the clock, panel 1 stays empty
    SendMessageW(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

void TForm1::LayoutFrame(int clientWidth, int clientHeight) {
    if (toolBar_) MoveWindow(toolBar_, 0, 0, clientWidth, kToolBarHeight, TRUE);
    if (statusBar_) MoveWindow(statusBar_, 0, clientHeight - kStatusBarHeight, clientWidth, kStatusBarHeight, TRUE);
}

void TForm1::ApplySettings() {
    using settings::SettingsFile;
    const SettingsFile& file = settingsFile_;
    settingsPage_.SetMuted(file.ReadBoolean(L"CheckBox1", L"Checked", true));

    settings::ApplyWindowBounds(Handle(), file, L"form", {597, 606, 0, 0});
    settingsPage_.SetTaxText(file.ReadString(L"Config", L"Tax", L"5"));
}

RECT TForm1::RestoredBounds() const {
    // A minimized window sits far off screen; what the user will see again is
    // its restored place.
    RECT r;
    GetWindowRect(Handle(), &r);
    if (IsIconic(Handle())) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(Handle(), &placement)) r = placement.rcNormalPosition;
    }
    return r;
}

void TForm1::FormClose() {
    const settings::SettingsFile& file = settingsFile_;
    RECT r = RestoredBounds();
    file.WriteBoolean(L"CheckBox1", L"Checked", settingsPage_.Muted());
    file.WriteInteger(L"form", L"top", r.top);
    file.WriteInteger(L"form", L"left", r.left);
    file.WriteInteger(L"form", L"height", r.bottom - r.top);
    file.WriteInteger(L"form", L"width", r.right - r.left);
    file.WriteString(L"Config", L"Tax", settingsPage_.TaxText());
}

bool TForm1::AskExit() {
    return ui::Ask(Handle(), {kExitQuestion, L"確認", L"はい(&Y)", L"いいえ(&N)"});
}

void TForm1::CloseWithoutAsking() {
    // A settings file that cannot be written is reported, and the program still ends.
    ui::Guarded([this] { FormClose(); });
    DestroyWindow(Handle());
}

void TForm1::Exit1Click() {
    if (AskExit()) CloseWithoutAsking();
}

void TForm1::Contents1Click() {
    help::SetHelpFile(L"PELMORA.hlp");
    help::ShowHelp(Handle(), help::HelpFile(), HELP_COMMAND, reinterpret_cast<ULONG_PTR>(L"CONTENTS()"));
}

void TForm1::SearchforHelpOn1Click() {
    help::SetHelpFile(L"Pelmora.hlp");
    help::ShowHelp(Handle(), help::HelpFile(), HELP_KEY, reinterpret_cast<ULONG_PTR>(L""));
}

void TForm1::HowtoUseHelp1Click() {
    help::ShowHelp(Handle(), help::HelpFile(), HELP_HELPONHELP, 0);
}

void TForm1::About1Click() {
    if (versionBox_) versionBox_->ShowModal(Handle());
}

void TForm1::Button4Click() {
    std::optional<std::wstring> chosen = openPictureDialog1_.Execute(Handle());
    if (!chosen) return;
    // The path is kept first; a picture that cannot be loaded is reported and
    // the box keeps the one it has.
    settingsFile_.WriteString(L"Image", L"FileName", *chosen);
    if (versionBox_) versionBox_->LoadPicture(*chosen);
}

void TForm1::PageControl1Change() {
    int shown = static_cast<int>(SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0));
    for (int i = 0; i < 3; ++i) ShowWindow(tabSheets_[i].Handle(), i == shown ? SW_SHOW : SW_HIDE);
    if (shown == 0) registerPage_.Rearm();
}

void TForm1::Timer1Timer() {
    // While mute is on the test repeats at every tick; the greeting sounds once.
    if (!timer1Enabled_ || settingsPage_.Muted()) return;
    KillTimer(Handle(), Timer1);
    timer1Enabled_ = false;
    settings::PlayGreeting(settings::GreetingForHour(settings::Now().wHour), SND_MEMORY | SND_ASYNC);
}

void TForm1::Timer2Timer() {
    std::wstring text = settings::ClockTextNow();
    SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The buttons play whatever the hour and the mute switch, and wait for the end.
void TForm1::Button1Click() { settings::PlayGreeting(settings::Greeting::Asa, SND_MEMORY); }
void TForm1::Button2Click() { settings::PlayGreeting(settings::Greeting::Hiru, SND_MEMORY); }
void TForm1::Button3Click() { settings::PlayGreeting(settings::Greeting::Ban, SND_MEMORY); }

HWND TForm1::Control(int id) const { return ui::FindControl(Handle(), id); }

void TForm1::Command(int id) {
    switch (id) {
    case Exit1:
    case SpeedButton1:
        Exit1Click();
        break;
    case Contents1:
    case SpeedButton2:
        Contents1Click();
        break;
    case SearchforHelpOn1:
        SearchforHelpOn1Click();
        break;
    case HowtoUseHelp1:
        HowtoUseHelp1Click();
        break;
    case About1:
    case SpeedButton3:
        About1Click();
        break;
    case Button4:
        Button4Click();
        break;
    case Button1:
        Button1Click();
        break;
    case Button2:
        Button2Click();
        break;
    case Button3:
        Button3Click();
        break;
    }
}

void TForm1::Notify(const NMHDR& header) {
    if (header.hwndFrom == pageControl_ && header.code == TCN_SELCHANGE) PageControl1Change();
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        Command(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        Notify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == Timer1) Timer1Timer();
        else if (wParam == Timer2) Timer2Timer();
        return 0;
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = registerPage_.LabelBrush(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_CTLCOLOREDIT:
        if (HBRUSH brush = settingsPage_.EditBrush(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_SIZE:
        LayoutFrame(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CLOSE:
        // The close box, the system menu and Alt+F4 ask like the menu's exit:
        // closing throws the day's sales away.
        Exit1Click();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows is ending: no question, but the settings are kept.
        if (wParam) ui::Guarded([this] { FormClose(); });
        return 0;
    case WM_DESTROY:
        help::ShowHelp(Handle(), help::HelpFile(), HELP_QUIT, 0);
        PostQuitMessage(0);
        return 0;
    }
    return Form::HandleMessage(message, wParam, lParam);
}
