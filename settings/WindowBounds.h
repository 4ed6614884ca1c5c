#pragma once
// A window's place in the settings file: one section with the keys "height",
// "width", "top" and "left".
#include <windows.h>

#include "settings/SettingsFile.h"

namespace settings {

struct WindowBounds {
    int height;
    int width;
    int top;
    int left;
};

// Reads height, width, top and left in this order, each applied to window as
// soon as it is read, then keeps the window reachable on the primary screen.
void ApplyWindowBounds(HWND window, const SettingsFile& file, const wchar_t* section, const WindowBounds& defaults);

}  // namespace settings
