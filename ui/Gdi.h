#pragma once
// Owners for GDI objects, device contexts, menus and image lists: nothing is
// deleted by hand.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <type_traits>

namespace ui {

struct GdiDeleter {
    void operator()(HGDIOBJ object) const noexcept {
        if (object) DeleteObject(object);
    }
};
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;

struct MenuDeleter {
    void operator()(HMENU menu) const noexcept {
        if (menu) DestroyMenu(menu);
    }
};
using Menu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

// A control shows an image list without owning it: its owner outlives the control's use.
struct ImageListDeleter {
    void operator()(HIMAGELIST list) const noexcept {
        if (list) ImageList_Destroy(list);
    }
};
using ImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;

// Puts an object into a device context and restores what it replaced.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectGuard() { SelectObject(dc_, previous_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The window's device context, from GetDC to ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The device context of one WM_PAINT, from BeginPaint to EndPaint. A paint that
// throws still ends the paint: the caret shows again and the context goes back.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    operator HDC() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }  // what needs painting

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A memory device context compatible with another one.
class MemoryDC {
public:
    explicit MemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

// The face of every text the program shows.
inline constexpr wchar_t kFontFace[] = L"ＭＳ Ｐゴシック";
// The fixed-pitch face of the texts laid out in columns: slips and reports.
inline constexpr wchar_t kFixedFontFace[] = L"ＭＳ ゴシック";

// A font of the given face and pixel height (character height, as a negative
// LOGFONT height), for the Japanese character set.
Font MakeFont(const wchar_t* face, int pixelHeight, bool bold = false, bool underline = false);

// When text drawn in font on one line is wider than width, the same face and
// weight as large as it can be while the whole text fits; else no font (draw
// in font itself). Amounts are shrunk, never cut.
Font ShrinkToFit(HDC dc, HFONT font, const std::wstring& text, int width);

}  // namespace ui
