#include "app/Frame.h"

#include <commctrl.h>

#include "app/Form1Ids.h"
#include "register/KeyTable.h"
#include "ui/App.h"
#include "ui/Controls.h"

namespace form1 {

namespace {

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

// Adds a tool-bar picture whose bottom-left pixel's colour is transparent.
void AddPicture(HIMAGELIST images, const wchar_t* name) {
    ui::Bitmap picture(
        static_cast<HBITMAP>(LoadImageW(ui::App().Instance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
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

}  // namespace

HMENU MakeMainMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING | MF_GRAYED, TakeX, L"点検(&T)...");
    AppendMenuW(file, MF_STRING | MF_GRAYED, TakeZ, L"精算(&Z)...");
    AppendMenuW(file, MF_STRING | MF_GRAYED, SalesHistory, L"売上の記録を見る(&H)...");
    AppendMenuW(file, MF_STRING | MF_GRAYED, SaveBooks1, L"会計ソフト用に保存(&B)...");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, ShopSettings1, L"店の設定(&S)...");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, Exit1, L"終了(&X)");
    // The register's commands with their keys; each does what its key would.
    HMENU regi = CreatePopupMenu();
    for (const regi::KeyCommand& command : regi::KeyCommands()) {
        if (!command.caption) continue;
        if (command.groupStart) AppendMenuW(regi, MF_SEPARATOR, 0, nullptr);
        std::wstring caption = std::wstring(command.caption) + L"\t" + command.keyName;
        AppendMenuW(regi, MF_STRING, command.menuId, caption.c_str());
    }
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, Contents1, L"目次(&C)");
    AppendMenuW(help, MF_STRING, SearchforHelpOn1, L"トピックの検索(&S)...");
    AppendMenuW(help, MF_STRING, HowtoUseHelp1, L"ヘルプの使い方(&H)");
    AppendMenuW(help, MF_STRING, About1, L"バージョン情報(&A)...");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル(&F)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(regi), L"レジ(&R)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"ヘルプ(&H)");
    return bar;
}

namespace {

// A name of the shop's as a menu item's caption with its access key and its key.
std::wstring ItemCaption(const std::wstring& name, int accessKey, const wchar_t* key) {
    std::wstring caption;
    for (wchar_t c : name) caption += c == L'&' ? L"&&" : std::wstring(1, c);  // no accelerator of its own
    return caption + L"(&" + std::to_wstring(accessKey) + L")\t" + key;
}

}  // namespace

void ShowOptionalItems(HMENU bar, const regi::ShopNames& names, bool journalOn) {
    HMENU regi = GetSubMenu(bar, 1);
    DeleteMenu(regi, MoneyIn, MF_BYCOMMAND);
    DeleteMenu(regi, MoneyOut, MF_BYCOMMAND);
    if (journalOn) {
        AppendMenuW(regi, MF_STRING, MoneyIn, L"入金(&I)...");
        AppendMenuW(regi, MF_STRING, MoneyOut, L"出金(&O)...");
    }
    for (int n = 1; n <= regi::kMaxTenders; ++n) {
        DeleteMenu(regi, RegiTender1 + n - 1, MF_BYCOMMAND);
        if (static_cast<size_t>(n) > names.tenders.size() || names.tenders[n - 1].empty()) continue;
        InsertMenuW(regi, RegiClear, MF_BYCOMMAND | MF_STRING, RegiTender1 + n - 1,
                    ItemCaption(names.tenders[n - 1], n, regi::TenderKeyName(n)).c_str());
    }
    // The presets, by their keys' numbers (Ctrl+F5: 5), stand before the separator after 小計割引.
    for (int n = 1; n <= regi::kMaxPresets; ++n) DeleteMenu(regi, RegiPreset1 + n - 1, MF_BYCOMMAND);
    int place = 0;
    while (place < GetMenuItemCount(regi) && GetMenuItemID(regi, place) != static_cast<UINT>(RegiSubtotalPercentOff))
        ++place;
    for (int n = 1; n <= regi::kMaxPresets; ++n) {
        if (static_cast<size_t>(n) > names.presets.size() || names.presets[n - 1].empty()) continue;
        InsertMenuW(regi, ++place, MF_BYPOSITION | MF_STRING, RegiPreset1 + n - 1,
                    ItemCaption(names.presets[n - 1], n + 4, regi::PresetKeyName(n)).c_str());
    }
}

HWND CreateToolBar(HWND parent, ui::ImageList& pictures) {
    HWND toolBar = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, L"",
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 598,
        kToolBarHeight, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ToolBar1)), ui::App().Instance(), nullptr);
    SendMessageW(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    pictures.reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0));
    for (const ToolButton& button : kToolButtons) AddPicture(pictures.get(), button.picture);
    SendMessageW(toolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures.get()));
    SendMessageW(toolBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));

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
    SendMessageW(toolBar, TB_ADDBUTTONSW, 6, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolBar, TB_SETMAXTEXTROWS, 0, 0);
    SendMessageW(toolBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 22));
    return toolBar;
}

const wchar_t* ToolTip(UINT_PTR id) {
    for (const ToolButton& button : kToolButtons)
        if (static_cast<UINT_PTR>(button.id) == id) return button.tip;
    return nullptr;
}

// The tool bar's buttons carry their tips as hidden texts, which the tool bar
// shows only in some modes; otherwise its tool tip asks the main window.
void AnswerToolTip(NMHDR& header) {
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
        if (const wchar_t* tip = ToolTip(header.idFrom)) {
            info.hinst = nullptr;
            info.lpszText = const_cast<wchar_t*>(tip);
        }
    }
    if (header.code == TBN_GETINFOTIPW) {
        auto& info = reinterpret_cast<NMTBGETINFOTIPW&>(header);
        const wchar_t* tip = ToolTip(static_cast<UINT_PTR>(info.iItem));
        if (tip && info.pszText && info.cchTextMax > 0) lstrcpynW(info.pszText, tip, info.cchTextMax);
    }
}

HWND CreatePageControl(HWND parent, HFONT font, ui::Panel (&sheets)[3]) {
    struct Page {
        int id;
        const wchar_t* caption;
    };
    const Page pages[] = {{TabSheet1, L"Regi"}, {TabSheet2, L"Kinsyu"}, {TabSheet3, L"設定"}};
    HWND pageControl = ui::CreateControl(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, 0, 32, 593, 481, parent,
                                         PageControl1, font);
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(pages[i].caption);
        SendMessageW(pageControl, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    RECT area{0, 0, 593, 481};
    SendMessageW(pageControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int i = 0; i < 3; ++i) {
        sheets[i].Create(parent, pages[i].id, area.left, 32 + area.top, area.right - area.left, area.bottom - area.top,
                         i == 0);
        SetWindowPos(sheets[i].Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    return pageControl;
}

HWND CreateStatusBar(HWND parent, ui::Font& font) {
    HWND statusBar = CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0,
        kStatusBarHeight, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(StatusBar1)), ui::App().Instance(),
        nullptr);
    font = ui::MakeFont(ui::kFontFace, 13);
    SendMessageW(statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    int edges[2] = {222, 222 + 240};  // panel 0 shows the clock, panel 1 stays empty
    SendMessageW(statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    return statusBar;
}

}  // namespace form1
