// The yardstick of the start-up benchmark: a bare main window with what every
// program of this kind starts with and Pelmora's first picture shows too — the
// common controls 6 with the program's manifest and pictures, a tool bar of
// three picture buttons, a tab control with three tabs and a status bar with
// two panels — and nothing else. The tab control takes the focus.
#include <windows.h>
#include <commctrl.h>

namespace {

HWND toolBar, tabs, statusBar;

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        MoveWindow(toolBar, 0, 0, LOWORD(lParam), 29, TRUE);
        MoveWindow(statusBar, 0, HIWORD(lParam) - 26, LOWORD(lParam), 26, TRUE);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void AddToolBar(HWND owner, HINSTANCE instance) {
    toolBar =
        CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE, 0,
                        0, 598, 29, owner, nullptr, instance, nullptr);
    SendMessageW(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0);
    const wchar_t* pictures[] = {L"TOOLEXIT", L"TOOLHELP", L"TOOLABOUT"};
    TBBUTTON buttons[6] = {};
    for (int i = 0; i < 3; ++i) {
        HBITMAP picture = static_cast<HBITMAP>(LoadImageW(instance, pictures[i], IMAGE_BITMAP, 0, 0, 0));
        ImageList_AddMasked(images, picture, RGB(255, 0, 255));
        DeleteObject(picture);
        buttons[2 * i].iBitmap = 8;
        buttons[2 * i].fsStyle = BTNS_SEP;
        buttons[2 * i + 1].iBitmap = i;
        buttons[2 * i + 1].idCommand = 100 + i;
        buttons[2 * i + 1].fsState = TBSTATE_ENABLED;
        buttons[2 * i + 1].iString = reinterpret_cast<INT_PTR>(pictures[i]);
    }
    SendMessageW(toolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendMessageW(toolBar, TB_ADDBUTTONSW, 6, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolBar, TB_SETMAXTEXTROWS, 0, 0);
    SendMessageW(toolBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 22));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    wc.lpszClassName = L"BareWindow";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, L"BareWindow", L"Bare window",
                                  (WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX) | WS_CLIPCHILDREN, 315, 118, 606, 597,
                                  nullptr, nullptr, instance, nullptr);
    AddToolBar(window, instance);
    tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 32, 593,
                           481, window, nullptr, instance, nullptr);
    const wchar_t* captions[] = {L"Regi", L"Kinsyu", L"設定"};
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[i]);
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, L"",
                                WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0, 26,
                                window, nullptr, instance, nullptr);
    int edges[2] = {222, 222 + 240};
    SendMessageW(statusBar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    RECT client;
    GetClientRect(window, &client);
    SendMessageW(window, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));

    ShowWindow(window, showCommand);
    SetFocus(tabs);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
