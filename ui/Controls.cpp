#include "ui/Controls.h"

#include <map>

#include "ui/App.h"
#include "ui/Gdi.h"

namespace ui {

HWND CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width, int height,
                   HWND parent, int id, HFONT font, DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), App().Instance(), nullptr);
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

SIZE TextSize(HFONT font, const std::wstring& text, UINT format) {
    MemoryDC dc(nullptr);  // off screen: no trip to the system
    SelectGuard selectFont(dc, font);
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE | format);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

HWND CreateLabel(HWND parent, int id, const wchar_t* caption, int x, int y, HFONT font) {
    SIZE size = TextSize(font, caption, DT_NOPREFIX);
    return CreateControl(L"STATIC", caption, SS_LEFT | SS_NOPREFIX, x, y, size.cx, size.cy, parent, id, font);
}

std::wstring GetText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied));
    return text;
}

namespace {
struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}
}  // namespace

HWND FindControl(HWND root, int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(root, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void MoveIntoWorkArea(HWND window) {
    RECT r;
    if (!GetWindowRect(window, &r)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    int left = r.left, top = r.top;
    if (r.right > work.right) left -= r.right - work.right;
    if (r.bottom > work.bottom) top -= r.bottom - work.bottom;
    if (left < work.left) left = work.left;
    if (top < work.top) top = work.top;
    if (left != r.left || top != r.top)
        SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetFittedCaption(HWND label, const std::wstring& caption, HFONT baseFont, GdiObject<HFONT>& fitted) {
    RECT client{};
    GetClientRect(label, &client);
    Font smaller;
    {
        // Measured off screen: the screen's own DC costs a trip to the system per caption.
        MemoryDC dc(nullptr);
        smaller = ShrinkToFit(dc, baseFont, caption, client.right - client.left);
    }
    HFONT wanted = smaller ? smaller.get() : baseFont;
    const bool newFont = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)) != wanted || smaller;
    if (newFont) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(wanted), FALSE);
    fitted = std::move(smaller);  // the font the label had is no longer in use
    // A new caption draws itself again; a new font alone must be asked to.
    if (GetText(label) != caption)
        SetWindowTextW(label, caption.c_str());
    else if (newFont)
        InvalidateRect(label, nullptr, TRUE);
}

namespace {
const wchar_t kBackgroundProperty[] = L"PelmoraBackground";
const wchar_t kTextProperty[] = L"PelmoraText";

// A property holds a colour plus one, so that black is not taken for none.
HANDLE AsProperty(COLORREF color) { return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(color) + 1); }
bool FromProperty(HANDLE property, COLORREF& color) {
    if (!property) return false;
    color = static_cast<COLORREF>(reinterpret_cast<ULONG_PTR>(property) - 1);
    return true;
}

// One brush per colour for the whole run: the few colours of the program.
HBRUSH BrushOf(COLORREF color) {
    static std::map<COLORREF, Brush> brushes;
    Brush& brush = brushes[color];
    if (!brush) brush.reset(CreateSolidBrush(color));
    return brush.get();
}
}  // namespace

void SetControlColors(HWND control, COLORREF background, COLORREF text) {
    SetPropW(control, kBackgroundProperty, AsProperty(background));
    SetPropW(control, kTextProperty, AsProperty(text));
    if (IsWindowVisible(control)) InvalidateRect(control, nullptr, TRUE);  // one not shown yet draws them when it shows
}

HBRUSH ControlColors(HWND control, HDC dc) {
    COLORREF background, text;
    if (!control || !FromProperty(GetPropW(control, kBackgroundProperty), background)) return nullptr;
    if (FromProperty(GetPropW(control, kTextProperty), text)) SetTextColor(dc, text);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, background);
    return BrushOf(background);
}

}  // namespace ui
