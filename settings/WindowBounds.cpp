#include "settings/WindowBounds.h"

#include "settings/ProfileValues.h"

namespace settings {

void ApplyWindowBounds(HWND window, const WindowPlace& place, const WindowPlace& defaults) {
    auto bounds = [window] {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    };
    auto moveTo = [window](int left, int top, int width, int height) {
        SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    RECT r = bounds();
    moveTo(r.left, r.top, r.right - r.left, place.height);
    r = bounds();
    moveTo(r.left, r.top, place.width, r.bottom - r.top);
    r = bounds();
    moveTo(r.left, place.top, r.right - r.left, r.bottom - r.top);
    r = bounds();
    moveTo(place.left, r.top, r.right - r.left, r.bottom - r.top);

    r = bounds();
    Position kept = KeepOnScreen({r.top, r.left}, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    moveTo(kept.left, kept.top, r.right - r.left, r.bottom - r.top);

    // A window that shares not one pixel with the work area cannot be found by
    // the operator: it starts where it would without a settings file.
    RECT work{}, shared{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    r = bounds();
    if (!IntersectRect(&shared, &r, &work)) moveTo(defaults.left, defaults.top, defaults.width, defaults.height);
}

void ApplyWindowBounds(HWND window, const SettingsFile& file, const wchar_t* section, const WindowPlace& defaults) {
    WindowPlace place;
    place.height = file.ReadInteger(section, L"height", defaults.height);
    place.width = file.ReadInteger(section, L"width", defaults.width);
    place.top = file.ReadInteger(section, L"top", defaults.top);
    place.left = file.ReadInteger(section, L"left", defaults.left);
    ApplyWindowBounds(window, place, defaults);
}

WindowPlace RestoredPlace(HWND window) {
    // A minimized window sits far off screen; what the user will see again is
    // its restored place.
    RECT r;
    GetWindowRect(window, &r);
    if (IsIconic(window)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(window, &placement)) r = placement.rcNormalPosition;
    }
    return {r.top, r.left, r.bottom - r.top, r.right - r.left};
}

}  // namespace settings
