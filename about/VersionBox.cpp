#include "about/VersionBox.h"

#include "about/ShellOpen.h"
#include "about/VersionBoxIds.h"
#include "common/Version.h"
#include "help/Help.h"
#include "settings/ProfileValues.h"
#include "settings/WindowBounds.h"
#include "ui/App.h"
#include "ui/Controls.h"
#include "ui/Error.h"
#include "ui/MessageLoop.h"

using namespace versionbox;

namespace {

const wchar_t kClass[] = L"TVersionBox";
using ui::kFontFace;
const COLORREF kAqua = RGB(0, 255, 255);
const RECT kImage1{16, 14, 16 + 286, 14 + 345};

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The design bounds: client 320 x 378 at (255, 116).
RECT DesignBounds() {
    RECT r{0, 0, 320, 378};
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    return RECT{255, 116, 255 + r.right - r.left, 116 + r.bottom - r.top};
}

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

RECT BoundsOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

}  // namespace

const wchar_t TVersionBox::kCaption[] = L" バージョン情報";
const wchar_t TVersionBox::kHomePage[] = L"https://example.com/pelmora/";

TVersionBox::TVersionBox(std::wstring settingsPath, about::ShellOpener shell, about::PictureChooser choosePicture,
                         std::wstring programFolder)
    : settingsFile_(std::move(settingsPath)),
      programFolder_(std::move(programFolder)),
      openPictureDialog1_(std::move(choosePicture)),
      shell_(std::move(shell)) {
    RegisterClassOnce(kClass);
    RECT design = DesignBounds();
    Create(kClass, kCaption, kStyle, kExStyle, design.left, design.top, design.right - design.left,
           design.bottom - design.top, nullptr, nullptr);
    CreateWidgets();
    // A failed creation step is reported; the box is still there, without its picture.
    ui::Guarded([this] { FormCreate(); });
}

std::wstring TVersionBox::ProgramFolder() {
    std::wstring path = ui::App().ProgramPath();
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring TVersionBox::StoredPicturePath(const settings::SettingsFile& file, const std::wstring& programFolder) {
    return file.ReadString(L"Image", L"FileName", DefaultPictureIn(programFolder));
}

bool TVersionBox::AsksForPicture(const std::wstring& settingsPath, const std::wstring& programFolder) {
    return !FileExists(StoredPicturePath(settings::SettingsFile(settingsPath), programFolder));
}

void TVersionBox::CreateWidgets() {
    titleFont_ = ui::MakeFont(kFontFace, 21, true);
    font13_ = ui::MakeFont(kFontFace, 13);
    font12_ = ui::MakeFont(kFontFace, 12);
    link12_ = ui::MakeFont(kFontFace, 12, false, true);
    link13_ = ui::MakeFont(kFontFace, 13, false, true);
    buttonFont_ = ui::MakeFont(kFontFace, 11);
    icon_ = LoadIconW(ui::App().Instance(), L"MAINICON");

    // Children made first lie on top: the button and the labels over the
    // pictures, the pictures over the bevel. Each draws only its own part.
    const DWORD clip = WS_CLIPSIBLINGS;
    ui::CreateControl(L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP | clip, 258, 332, 40, 16, Handle(), Button1,
                      buttonFont_.get());
    struct LabelSpec {
        int id;
        const wchar_t* caption;
        int x, y;
        HFONT font;
        bool link;
    };
    const LabelSpec labels[] = {
        {Label1, L"Pelmora", 62, 22, titleFont_.get(), false},
        {Label4, L"Version " PELMORA_VERSION_WTEXT, 62, 46, font13_.get(), false},
        {Label9, L"Voice: Pelmora developers", 24, 240, font12_.get(), false},
        {Label8, L"Designer: Pelmora developers", 24, 256, font12_.get(), false},
        {Label7, L"design@example.com", 24, 272, link12_.get(), true},
        {Label10, L"Producer: Pelmora developers", 24, 289, font12_.get(), false},
        {Label2, L"pelmora@example.com", 24, 305, link13_.get(), true},
        {Label5, kHomePage, 24, 321, link13_.get(), true},
        {Label3, L"(C) 2026 Pelmora developers", 24, 337, font13_.get(), false},
    };
    for (const LabelSpec& label : labels) {
        SIZE size = ui::TextSize(label.font, label.caption);
        ui::CreateControl(L"STATIC", label.caption, SS_OWNERDRAW | clip | (label.link ? SS_NOTIFY : 0), label.x,
                          label.y, size.cx, size.cy, Handle(), label.id, label.font);
    }
    ui::CreateControl(L"STATIC", L"", SS_OWNERDRAW | clip, 25, 24, 32, 32, Handle(), Image2, nullptr);
    ui::CreateControl(L"STATIC", L"", SS_OWNERDRAW | clip, kImage1.left, kImage1.top, kImage1.right - kImage1.left,
                      kImage1.bottom - kImage1.top, Handle(), Image1, nullptr);
    ui::CreateControl(L"STATIC", L"", SS_OWNERDRAW | clip, 6, 6, 307, 363, Handle(), Bevel1, nullptr);
}

void TVersionBox::FormCreate() {
    // 1. The base font: 11 points on a 96-dpi screen, else 9 points.
    int dpi = GetDeviceCaps(ui::WindowDC(nullptr), LOGPIXELSY);
    baseFont_ = ui::MakeFont(kFontFace, settings::PointsToPixels(settings::BaseFontPoints(dpi), dpi));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(baseFont_.get()), FALSE);

    // 2. The picture of the last run, or the one beside the program.
    std::wstring path = StoredPicturePath(settingsFile_, programFolder_);
    // 3. A picture that is gone is chosen anew; without one the box keeps its design.
    if (!FileExists(path)) {
        std::optional<std::wstring> chosen = openPictureDialog1_.Execute(Handle());
        if (!chosen) return;
        path = *chosen;
        settingsFile_.WriteString(L"Image", L"FileName", path);
    }
    // 4. A picture that cannot be loaded ends the step here, at the design bounds.
    LoadPicture(path);
    // 5, 6. The bounds of the last run, kept on screen.
    ApplyBounds();
}

void TVersionBox::ApplyBounds() { settings::ApplyWindowBounds(Handle(), settingsFile_, L"form2", {0, 0, 412, 328}); }

void TVersionBox::ChoosePicture(HWND owner) {
    std::optional<std::wstring> chosen = openPictureDialog1_.Execute(owner);
    if (!chosen) return;
    settingsFile_.WriteString(L"Image", L"FileName", *chosen);
    LoadPicture(*chosen);
}

void TVersionBox::LoadPicture(const std::wstring& path) {
    picture_ = about::Picture::Load(path);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TVersionBox::FormClose() {
    const settings::SettingsFile& file = settingsFile_;
    RECT r = BoundsOf(Handle());
    file.WriteInteger(L"form2", L"height", r.bottom - r.top);
    file.WriteInteger(L"form2", L"width", r.right - r.left);
    file.WriteInteger(L"form2", L"top", r.top);
    file.WriteInteger(L"form2", L"left", r.left);
}

HWND TVersionBox::FirstFocus() const { return Control(Button1); }

bool TVersionBox::TakeKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    switch (msg.wParam) {
    case VK_F1:
        if (msg.hwnd != Control(Button1)) return false;
        ShowButtonHelp();
        return true;
    case VK_RETURN: Button1Click(); return true;
    }
    return false;
}

void TVersionBox::Closing() {
    ui::Guarded([this] { FormClose(); });
}

void TVersionBox::Button1Click() { Close(IDOK); }

void TVersionBox::ShowButtonHelp() { help::ShowHelp(Handle(), help::HelpFile(), HELP_CONTEXT, kHelpContext); }

void TVersionBox::MailTo(int label) {
    shell_({ui::App().MainWindow(), L"open", L"mailto:" + ui::GetText(Control(label)), std::nullopt, std::nullopt,
            SW_SHOW});
}

void TVersionBox::Label2Click() { MailTo(Label2); }

void TVersionBox::Label7Click() { MailTo(Label7); }

void TVersionBox::Label5Click() { shell_({Handle(), L"OPEN", kHomePage, std::wstring(), std::wstring(), SW_SHOW}); }

bool TVersionBox::IsLink(HWND window) const {
    return window && (window == Control(Label2) || window == Control(Label5) || window == Control(Label7));
}

void TVersionBox::Command(int id, int code) {
    switch (id) {
    case Button1:
        if (code == BN_CLICKED) Button1Click();
        break;
    case Label2:
        if (code == STN_CLICKED) Label2Click();
        break;
    case Label5:
        if (code == STN_CLICKED) Label5Click();
        break;
    case Label7:
        if (code == STN_CLICKED) Label7Click();
        break;
    }
}

void TVersionBox::DrawBackdrop(HDC dc, HWND child) const {
    // What lies under a label: the face of the box, and the part of Image1's
    // stretched picture behind it.
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    RECT local{0, 0, r.right - r.left, r.bottom - r.top};
    FillRect(dc, &local, GetSysColorBrush(COLOR_BTNFACE));
    if (picture_.Empty()) return;
    POINT oldOrigin;
    OffsetViewportOrgEx(dc, kImage1.left - r.left, kImage1.top - r.top, &oldOrigin);
    picture_.Draw(dc, RECT{0, 0, kImage1.right - kImage1.left, kImage1.bottom - kImage1.top});
    SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
}

void TVersionBox::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    switch (item.CtlID) {
    case Bevel1:
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
        return;
    case Image1:
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        picture_.Draw(dc, area);
        return;
    case Image2:
        DrawBackdrop(dc, item.hwndItem);
        if (icon_) DrawIconEx(dc, area.left, area.top, icon_, 32, 32, 0, nullptr, DI_NORMAL);
        return;
    default: {
        DrawBackdrop(dc, item.hwndItem);
        std::wstring text = ui::GetText(item.hwndItem);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
        ui::SelectGuard select(dc, font);
        int oldMode = SetBkMode(dc, TRANSPARENT);
        COLORREF oldColor = SetTextColor(dc, kAqua);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
        return;
    }
    }
}

LRESULT TVersionBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: Command(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_DRAWITEM: DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_SETCURSOR:
        if (IsLink(reinterpret_cast<HWND>(wParam)) && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_HELP: {
        auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        if (info->iContextType == HELPINFO_WINDOW && info->iCtrlId == Button1) ShowButtonHelp();
        return TRUE;
    }
    }
    return ModalWindow::HandleMessage(message, wParam, lParam);
}
