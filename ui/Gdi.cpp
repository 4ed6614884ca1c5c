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

}  // namespace ui
