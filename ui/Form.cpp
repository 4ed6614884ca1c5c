#include "ui/Form.h"

#include "ui/Gdi.h"

namespace ui {

namespace {
const wchar_t kPanelClass[] = L"PelmoraPanel";

bool IsInside(HWND root, HWND window) { return window && (window == root || IsChild(root, window)); }
}  // namespace

bool IsForwardedNotification(UINT message) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_VSCROLL:
    case WM_HSCROLL: return true;
    default: return false;
    }
}

void Form::SelectNext(bool previous) {
    HWND focus = GetFocus();
    HWND from = IsInside(Handle(), focus) && focus != Handle() ? focus : nullptr;
    HWND next = GetNextDlgTabItem(Handle(), from, previous ? TRUE : FALSE);
    if (next) SetFocus(next);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (IsInside(Handle(), focus) && focus != Handle()) activeControl_ = focus;
            return 0;
        }
        if (!HIWORD(wParam)) {  // not minimized: give the focus back to where it was
            if (activeControl_ && IsWindow(activeControl_) && IsChild(Handle(), activeControl_)) {
                SetFocus(activeControl_);
            } else {
                SelectNext(false);
            }
        }
        return 0;
    case WM_SETFOCUS:
        if (activeControl_ && IsWindow(activeControl_) && IsChild(Handle(), activeControl_)) SetFocus(activeControl_);
        return 0;
    case WM_NEXTDLGCTL:
        if (LOWORD(lParam)) {
            SetFocus(reinterpret_cast<HWND>(wParam));
        } else {
            SelectNext(wParam != 0);
        }
        return 0;
    default: return Window::HandleMessage(message, wParam, lParam);
    }
}

void Panel::Create(HWND parent, int id, int x, int y, int width, int height, bool visible) {
    RegisterClassOnce(kPanelClass);
    Window::Create(kPanelClass, L"", WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0), WS_EX_CONTROLPARENT, x, y,
                   width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsForwardedNotification(message)) return SendMessageW(GetParent(Handle()), message, wParam, lParam);
    return Window::HandleMessage(message, wParam, lParam);
}

void GroupBox::Create(HWND parent, int id, const wchar_t* caption, HFONT font, int x, int y, int width, int height) {
    Panel::Create(parent, id, x, y, width, height);
    SetWindowTextW(Handle(), caption);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

LRESULT GroupBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_PAINT: {
        PaintDC dc(Handle());
        Paint(dc);
        return 0;
    }
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    }
    return Panel::HandleMessage(message, wParam, lParam);
}

void GroupBox::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    SelectGuard selectFont(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    wchar_t caption[256] = L"";
    GetWindowTextW(Handle(), caption, 256);
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &extent);

    // The frame runs through the middle of the caption's line.
    RECT frame = client;
    frame.top = extent.cy / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (caption[0]) {
        RECT text{8, 0, 8 + extent.cx + 2, extent.cy};
        FillRect(dc, &text, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        TextOutW(dc, 9, 0, caption, lstrlenW(caption));
    }
}

}  // namespace ui
