#include "about/Picture.h"

#include <optional>
#include <utility>

#include "platform/Files.h"
#include "ui/Error.h"
#include "ui/Gdi.h"

namespace about {

const wchar_t kUnknownExtensionError[] = L"拡張子 .%s の画像形式は処理できません";
const wchar_t kUnreadablePictureError[] = L"画像ファイル %s を読み込めません";

struct Picture::Handles {
    ui::Bitmap bitmap;
    HICON icon = nullptr;
    HENHMETAFILE metafile = nullptr;

    Handles() = default;
    Handles(const Handles&) = delete;
    Handles& operator=(const Handles&) = delete;
    ~Handles() {
        if (icon) DestroyIcon(icon);
        if (metafile) DeleteEnhMetaFile(metafile);
    }
};

namespace {

// Pictures beyond this size are not read: the about box has 286 x 345 pixels.
constexpr size_t kMaxFileBytes = 64 * 1024 * 1024;

[[noreturn]] void Unreadable(const std::wstring& path) {
    throw ui::Error(ui::FormatMessageText(kUnreadablePictureError, path));
}

std::string ReadWholeFile(const std::wstring& path) {
    std::optional<std::string> bytes = platform::ReadFileBytes(path, kMaxFileBytes);
    if (!bytes) Unreadable(path);
    return std::move(*bytes);
}

int ScreenDpi(int index) { return GetDeviceCaps(ui::WindowDC(nullptr), index); }

// A metafile's size in screen pixels, from its frame in 1/100 mm.
SIZE MetafileSize(HENHMETAFILE metafile) {
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(metafile, sizeof header, &header);
    LONG w = MulDiv(header.rclFrame.right - header.rclFrame.left, ScreenDpi(LOGPIXELSX), 2540);
    LONG h = MulDiv(header.rclFrame.bottom - header.rclFrame.top, ScreenDpi(LOGPIXELSY), 2540);
    if (w <= 0 || h <= 0) {
        w = header.rclBounds.right - header.rclBounds.left + 1;
        h = header.rclBounds.bottom - header.rclBounds.top + 1;
    }
    return SIZE{w, h};
}

}  // namespace

Picture Picture::Load(const std::wstring& path) {
    const std::wstring extension = ExtensionOf(path);
    const PictureKind kind = KindOfExtension(extension);
    if (kind == PictureKind::Unknown) throw ui::Error(ui::FormatMessageText(kUnknownExtensionError, extension));

    const std::string bytes = ReadWholeFile(path);
    auto* data = reinterpret_cast<const BYTE*>(bytes.data());
    auto handles = std::make_shared<Handles>();
    Picture picture;
    picture.kind_ = kind;

    switch (kind) {
    case PictureKind::Bitmap: {
        auto layout = CheckBitmap(bytes);
        if (!layout) Unreadable(path);
        auto* info = reinterpret_cast<const BITMAPINFO*>(data + layout->infoOffset);
        handles->bitmap.reset(CreateDIBitmap(ui::WindowDC(nullptr), &info->bmiHeader, CBM_INIT,
                                             data + layout->bitsOffset, info, DIB_RGB_COLORS));
        if (!handles->bitmap) Unreadable(path);
        picture.size_ = SIZE{layout->width, layout->height};
        break;
    }
    case PictureKind::Icon: {
        auto image = CheckIcon(bytes);
        if (!image) Unreadable(path);
        handles->icon =
            CreateIconFromResourceEx(const_cast<BYTE*>(data + image->offset), static_cast<DWORD>(image->length), TRUE,
                                     0x00030000, 0, 0, LR_DEFAULTCOLOR);
        if (!handles->icon) Unreadable(path);
        picture.size_ = SIZE{image->width, image->height};
        break;
    }
    case PictureKind::EnhancedMetafile: {
        auto layout = CheckEnhancedMetafile(bytes);
        if (!layout) Unreadable(path);
        handles->metafile = SetEnhMetaFileBits(static_cast<UINT>(layout->length), data);
        if (!handles->metafile) Unreadable(path);
        picture.size_ = MetafileSize(handles->metafile);
        break;
    }
    case PictureKind::Metafile: {
        auto layout = CheckMetafile(bytes);
        if (!layout) Unreadable(path);
        METAFILEPICT frame{};
        if (layout->placeable) {
            // The placeable header gives the picture's size in inches; the
            // conversion wants it in 1/100 mm.
            frame.mm = MM_ANISOTROPIC;
            frame.xExt = MulDiv(layout->right - layout->left, 2540, layout->unitsPerInch);
            frame.yExt = MulDiv(layout->bottom - layout->top, 2540, layout->unitsPerInch);
        }
        handles->metafile = SetWinMetaFileBits(static_cast<UINT>(layout->length), data + layout->offset,
                                               ui::WindowDC(nullptr), layout->placeable ? &frame : nullptr);
        if (!handles->metafile) Unreadable(path);
        picture.size_ = layout->placeable
                            ? SIZE{MulDiv(layout->right - layout->left, ScreenDpi(LOGPIXELSX), layout->unitsPerInch),
                                   MulDiv(layout->bottom - layout->top, ScreenDpi(LOGPIXELSY), layout->unitsPerInch)}
                            : MetafileSize(handles->metafile);
        break;
    }
    case PictureKind::Unknown: break;
    }
    picture.handles_ = std::move(handles);
    return picture;
}

void Picture::Draw(HDC dc, const RECT& rect) const {
    if (Empty() || !handles_) return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    switch (kind_) {
    case PictureKind::Bitmap: {
        ui::MemoryDC source(dc);
        ui::SelectGuard select(source, handles_->bitmap.get());
        int oldMode = SetStretchBltMode(dc, HALFTONE);
        POINT oldOrigin;
        SetBrushOrgEx(dc, 0, 0, &oldOrigin);
        StretchBlt(dc, rect.left, rect.top, width, height, source, 0, 0, size_.cx, size_.cy, SRCCOPY);
        SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
        SetStretchBltMode(dc, oldMode);
        break;
    }
    case PictureKind::Icon:
        DrawIconEx(dc, rect.left, rect.top, handles_->icon, width, height, 0, nullptr, DI_NORMAL);
        break;
    case PictureKind::EnhancedMetafile:
    case PictureKind::Metafile: PlayEnhMetaFile(dc, handles_->metafile, &rect); break;
    case PictureKind::Unknown: break;
    }
}

}  // namespace about
