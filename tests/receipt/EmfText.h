#pragma once
// Reads back what was drawn into an enhanced metafile: its text records, the
// fonts made for them and how much narrower the world transform drew them.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace emf_text {

struct Text {
    std::wstring text;
    POINT at{};
    std::vector<INT> advances;  // one per character
    LOGFONTW font{};            // the font it was drawn in
    double scaleX = 1;          // the world transform's horizontal scale it was drawn with
};

struct Records {
    std::vector<Text> texts;
    std::vector<LOGFONTW> fonts;  // in the order they were made
    std::map<DWORD, LOGFONTW> handles;
    LOGFONTW selected{};
    XFORM transform{1, 0, 0, 1, 0, 0};
};

inline int CALLBACK Collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param) {
    auto* out = reinterpret_cast<Records*>(param);
    const auto* bytes = reinterpret_cast<const BYTE*>(record);
    if (record->iType == EMR_EXTTEXTOUTW) {
        const auto* r = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        Text t;
        t.text.assign(reinterpret_cast<const wchar_t*>(bytes + r->emrtext.offString), r->emrtext.nChars);
        t.at = POINT{r->emrtext.ptlReference.x, r->emrtext.ptlReference.y};
        if (r->emrtext.offDx) {
            const auto* dx = reinterpret_cast<const INT*>(bytes + r->emrtext.offDx);
            t.advances.assign(dx, dx + r->emrtext.nChars);
        }
        t.font = out->selected;
        t.scaleX = out->transform.eM11;
        out->texts.push_back(t);
    } else if (record->iType == EMR_SETWORLDTRANSFORM) {
        out->transform = reinterpret_cast<const EMRSETWORLDTRANSFORM*>(record)->xform;
    } else if (record->iType == EMR_MODIFYWORLDTRANSFORM) {
        const auto* r = reinterpret_cast<const EMRMODIFYWORLDTRANSFORM*>(record);
        XFORM before = out->transform;
        if (r->iMode == MWT_IDENTITY)
            out->transform = XFORM{1, 0, 0, 1, 0, 0};
        else if (r->iMode == MWT_LEFTMULTIPLY)
            CombineTransform(&out->transform, &r->xform, &before);
        else if (r->iMode == MWT_RIGHTMULTIPLY)
            CombineTransform(&out->transform, &before, &r->xform);
    } else if (record->iType == EMR_EXTCREATEFONTINDIRECTW) {
        const auto* r = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        out->fonts.push_back(r->elfw.elfLogFont);
        out->handles[r->ihFont] = r->elfw.elfLogFont;
    } else if (record->iType == EMR_SELECTOBJECT) {
        auto found = out->handles.find(reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject);
        if (found != out->handles.end()) out->selected = found->second;
    }
    return 1;
}

// A metafile device context; Finish closes it and returns what was drawn.
class Recorder {
public:
    Recorder() : dc_(CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr)) {}
    ~Recorder() {
        if (dc_) DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
    }
    HDC Dc() const { return dc_; }
    Records Finish() {
        Records records;
        HENHMETAFILE file = CloseEnhMetaFile(dc_);
        dc_ = nullptr;
        EnumEnhMetaFile(nullptr, file, Collect, &records, nullptr);
        DeleteEnhMetaFile(file);
        return records;
    }

private:
    HDC dc_;
};

}  // namespace emf_text
