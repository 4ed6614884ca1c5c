#include "settings/WindowBounds.h"

#include "settings/ProfileValues.h"

namespace settings {

void ApplyWindowBounds(HWND window, const SettingsFile& file, const wchar_t* section,
                       const WindowBounds& defaults) {
    auto bounds = [window] {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    };
    auto place = [window](int left, int top, int width, int height) {
        SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    RECT r = bounds();
    place(r.left, r.top, r.right - r.left, file.ReadInteger(section, L"height", defaults.height));
    r = bounds();
    place(r.left, r.top, file.ReadInteger(section, L"width", defaults.width), r.bottom - r.top);
    r = bounds();
    place(r.left, file.ReadInteger(section, L"top", defaults.top), r.right - r.left, r.bottom - r.top);
    r = bounds();
    place(file.ReadInteger(section, L"left", defaults.left), r.top, r.right - r.left, r.bottom - r.top);

    r = bounds();
    Position kept = KeepOnScreen({r.top, r.left}, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    place(kept.left, kept.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace settings
