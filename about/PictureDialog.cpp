#include "about/PictureDialog.h"

#include <dlgs.h>

#include <vector>

#include "about/Picture.h"
#include "ui/Controls.h"
#include "ui/Error.h"
#include "platform/SystemFunction.h"

namespace about {

namespace {

// The preview beside the file list, in dialog units. The stc32 placeholder
// stands for the system's own controls; what lies right of it moves right as
// the placeholder grows to their size.
constexpr short kPreviewX = 8, kPreviewWidth = 110, kPreviewHeight = 110;

class TemplateWriter {
public:
    void Word(WORD value) { words_.push_back(value); }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const wchar_t* text) {
        while (*text) Word(static_cast<WORD>(*text++));
        Word(0);
    }
    void AlignDword() {
        if (words_.size() % 2) Word(0);
    }

    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, const wchar_t* text) {
        AlignDword();
        Dword(WS_CHILD | WS_VISIBLE | style);
        Dword(0);
        for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
        Word(id);
        Word(0xFFFF);
        Word(0x0082);  // the static control class
        Text(text);
        Word(0);  // no creation data
    }
    const std::vector<WORD>& Words() const { return words_; }

private:
    std::vector<WORD> words_;
};

std::vector<WORD> PreviewTemplate() {
    TemplateWriter t;
    t.Dword(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL);
    t.Dword(0);
    t.Word(4);  // items
    const short width = 4 + kPreviewX + kPreviewWidth + 8, height = kPreviewHeight + 40;
    for (short v : {short(0), short(0), width, height}) t.Word(static_cast<WORD>(v));
    t.Word(0);  // no menu
    t.Word(0);  // default class
    t.Word(0);  // no title
    // As tall as the preview, so that the preview moves right only, not down.
    t.Item(SS_LEFT, 0, 0, 4, height, stc32, L"");
    t.Item(SS_LEFT, 4 + kPreviewX, 8, kPreviewWidth, 10, PreviewCaption, L"プレビュー");
    t.Item(SS_OWNERDRAW | SS_SUNKEN, 4 + kPreviewX, 20, kPreviewWidth, kPreviewHeight, PreviewBox, L"");
    t.Item(SS_CENTER | SS_NOPREFIX, 4 + kPreviewX, 24 + kPreviewHeight, kPreviewWidth, 10, PreviewSize, L"");
    return t.Words();
}

// What the preview shows: the selected file's picture, if it is one.
struct PreviewState {
    Picture picture;
};

void ShowSelection(HWND hook, PreviewState& state) {
    wchar_t path[MAX_PATH * 4] = L"";
    LRESULT length = SendMessageW(GetParent(hook), CDM_GETFILEPATH, ARRAYSIZE(path), reinterpret_cast<LPARAM>(path));
    state.picture = Picture();
    std::wstring sizeText;
    DWORD attributes = length > 0 ? GetFileAttributesW(path) : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        KindOfExtension(ExtensionOf(path)) != PictureKind::Unknown) {
        try {
            state.picture = Picture::Load(path);
            SIZE size = state.picture.Size();
            sizeText = std::to_wstring(size.cx) + L" x " + std::to_wstring(size.cy);
        } catch (...) {
            // The preview is only a help in choosing: a file it cannot show
            // stays empty, the dialog goes on.
            sizeText = L"(表示できません)";
        }
    }
    SetDlgItemTextW(hook, PreviewSize, sizeText.c_str());
    InvalidateRect(GetDlgItem(hook, PreviewBox), nullptr, TRUE);
}

void DrawPreview(const DRAWITEMSTRUCT& item, const PreviewState& state) {
    RECT area = item.rcItem;
    FillRect(item.hDC, &area, GetSysColorBrush(COLOR_WINDOW));
    SIZE size = state.picture.Size();
    Box box = FitInto(size.cx, size.cy,
                      {area.left + 2, area.top + 2, area.right - area.left - 4, area.bottom - area.top - 4});
    RECT target{box.left, box.top, box.left + box.width, box.top + box.height};
    state.picture.Draw(item.hDC, target);
}

UINT_PTR CALLBACK PreviewHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    try {
        switch (message) {
        case WM_INITDIALOG: {
            auto* settings = reinterpret_cast<const OPENFILENAMEW*>(lParam);
            SetWindowLongPtrW(hook, DWLP_USER, static_cast<LONG_PTR>(settings->lCustData));
            return TRUE;
        }
        case WM_NOTIFY: {
            auto* state = reinterpret_cast<PreviewState*>(GetWindowLongPtrW(hook, DWLP_USER));
            auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
            if (state && notify->hdr.code == CDN_SELCHANGE) ShowSelection(hook, *state);
            // The dialog opens at its owner's place, which at start-up may be
            // the hidden about box near the screen's edge.
            if (notify->hdr.code == CDN_INITDONE) ui::MoveIntoWorkArea(GetParent(hook));
            return 0;
        }
        case WM_DRAWITEM: {
            auto* state = reinterpret_cast<PreviewState*>(GetWindowLongPtrW(hook, DWLP_USER));
            auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (!state || item->CtlID != PreviewBox) return FALSE;
            DrawPreview(*item, *state);
            return TRUE;
        }
        }
    } catch (...) {
        // Nothing may leave a dialog procedure; the preview just stays as it was.
    }
    return 0;
}

}  // namespace

const std::wstring& PictureFilter() {
    static const std::wstring filter = [] {
        const wchar_t* parts[] = {
            L"すべてのファイル (*.bmp;*.ico;*.emf;*.wmf)",
            L"*.bmp;*.ico;*.emf;*.wmf",
            L"ビットマップ (*.bmp)",
            L"*.bmp",
            L"アイコン (*.ico)",
            L"*.ico",
            L"エンハンス メタファイル (*.emf)",
            L"*.emf",
            L"メタファイル (*.wmf)",
            L"*.wmf",
        };
        std::wstring text;
        for (const wchar_t* part : parts) {
            text += part;
            text += L'\0';
        }
        text += L'\0';
        return text;
    }();
    return filter;
}

OPENFILENAMEW PictureDialogSettings(HWND owner, wchar_t* file, DWORD fileLength) {
    OPENFILENAMEW settings{};
    settings.lStructSize = sizeof settings;
    settings.hwndOwner = owner;
    settings.lpstrFilter = PictureFilter().c_str();
    settings.nFilterIndex = 1;
    if (file && fileLength) file[0] = L'\0';
    settings.lpstrFile = file;
    settings.nMaxFile = fileLength;
    settings.lpstrInitialDir = nullptr;
    settings.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    return settings;
}

std::optional<std::wstring> RunPictureDialog(HWND owner) {
    // The common dialogs are loaded the first time a picture is chosen, not at start.
    static const auto getOpenFileName =
        platform::SystemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!getOpenFileName) throw ui::Error(L"ファイルを開くダイアログを表示できません (comdlg32.dll)");
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW settings = PictureDialogSettings(owner, file.data(), static_cast<DWORD>(file.size()));

    // The template lives in fixed global memory, where the dialog expects it.
    std::vector<WORD> words = PreviewTemplate();
    HGLOBAL memory = GlobalAlloc(GMEM_FIXED, words.size() * sizeof(WORD));
    PreviewState state;
    if (memory) {
        CopyMemory(memory, words.data(), words.size() * sizeof(WORD));
        settings.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
        settings.hInstance = static_cast<HINSTANCE>(memory);
        settings.lpfnHook = PreviewHook;
        settings.lCustData = reinterpret_cast<LPARAM>(&state);
    }
    BOOL chosen = getOpenFileName(&settings);
    if (memory) GlobalFree(memory);
    if (!chosen) return std::nullopt;
    return std::wstring(file.data());
}

}  // namespace about
