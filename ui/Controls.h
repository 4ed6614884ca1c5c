#pragma once
// Small helpers for the standard controls every page is made of.
#include <windows.h>

#include <string>

#include "ui/Gdi.h"

namespace ui {

// Creates a child control with its font; the control ID names the widget.
HWND CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width, int height,
                   HWND parent, int id, HFONT font, DWORD exStyle = 0);

// A label: a static control sized to its caption in its font; "&" in the
// caption is shown as it is.
HWND CreateLabel(HWND parent, int id, const wchar_t* caption, int x, int y, HFONT font);

// The size of text drawn in font on one line. "&" marks an access key (and
// takes no room) unless format holds DT_NOPREFIX.
SIZE TextSize(HFONT font, const std::wstring& text, UINT format = 0);

std::wstring GetText(HWND window);

// Gives a static or edit control colours of its own. They go with the control:
// whichever window hears WM_CTLCOLOR* for it answers from them (every window
// of the program does, through ControlColors), so no page or form keeps a
// list of its coloured controls.
void SetControlColors(HWND control, COLORREF background, COLORREF text);
// The answer to WM_CTLCOLOR* for control: its brush, with dc set to its
// colours; nullptr for a control without colours of its own.
HBRUSH ControlColors(HWND control, HDC dc);

// Sets a label's caption in baseFont, or, when the caption is wider than the
// label at that font, in a smaller one of the same face and weight that shows
// it whole; fitted keeps that smaller font alive while the label uses it.
void SetFittedCaption(HWND label, const std::wstring& caption, HFONT baseFont, GdiObject<HFONT>& fitted);

// Moves window, without resizing it, as little as needed to lie wholly on the
// work area of its monitor (top-left first when it is larger than the area).
void MoveIntoWorkArea(HWND window);

// The descendant of root with the control ID id (pages nest controls in containers).
HWND FindControl(HWND root, int id);

}  // namespace ui
