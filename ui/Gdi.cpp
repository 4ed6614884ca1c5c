#include "ui/Gdi.h"

#include <cwchar>

namespace ui {

Font MakeFont(const wchar_t* face, int pixelHeight, bool bold, bool underline) {
    LOGFONTW lf{};
    lf.lfHeight = -pixelHeight;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return Font(CreateFontIndirectW(&lf));
}

Font ShrinkToFit(HDC dc, HFONT font, const std::wstring& text, int width) {
    auto widthIn = [&](HFONT f) {
        SelectGuard select(dc, f);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    };
    if (text.empty() || widthIn(font) <= width) return Font();
    LOGFONTW lf{};
    if (!GetObjectW(font, sizeof lf, &lf)) return Font();
    int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    bool characterHeight = lf.lfHeight < 0;
    // Text width grows with the height; one step at a time finds the largest.
    for (int h = height - 1; h >= 4; --h) {
        lf.lfHeight = characterHeight ? -h : h;
        lf.lfWidth = 0;
        Font smaller(CreateFontIndirectW(&lf));
        if (smaller && (widthIn(smaller.get()) <= width || h == 4)) return smaller;
    }
    return Font();
}

}  // namespace ui
