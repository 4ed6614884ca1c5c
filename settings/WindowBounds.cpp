#include "settings/WindowBounds.h"

#include "settings/ProfileValues.h"

namespace settings {

void ApplyWindowBounds(HWND window, const SettingsFile& file, const wchar_t* section, const WindowBounds& defaults) {
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

    // A window that shares not one pixel with the work area cannot be found by
    // the operator: it starts where it would without a settings file.
    RECT work{}, shared{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    r = bounds();
    if (!IntersectRect(&shared, &r, &work)) place(defaults.left, defaults.top, defaults.width, defaults.height);
}

}  // namespace settings
