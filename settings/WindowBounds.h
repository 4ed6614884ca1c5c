#pragma once
// A window put at the place the settings file keeps for it.
#include <windows.h>

#include "settings/Settings.h"
#include "settings/SettingsFile.h"

namespace settings {

// Applies height, width, top and left in this order, then keeps the window
// reachable on the primary screen; a window wholly off the work area goes to
// defaults.
void ApplyWindowBounds(HWND window, const WindowPlace& place, const WindowPlace& defaults);

// The same for a window whose place a section of the file keeps under the
// keys "height", "width", "top" and "left".
void ApplyWindowBounds(HWND window, const SettingsFile& file, const wchar_t* section, const WindowPlace& defaults);

// Where the window is, or, minimized, where it will be restored to.
WindowPlace RestoredPlace(HWND window);

}  // namespace settings
