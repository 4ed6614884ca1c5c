#include "about/PictureData.h"

#include <algorithm>
#include <cstdint>

namespace about {

namespace {

// Little-endian fields at a byte offset; the caller has checked the range.
std::uint32_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}
std::uint32_t U32(const std::string& b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
std::int32_t I32(const std::string& b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }
std::int16_t I16(const std::string& b, std::size_t at) { return static_cast<std::int16_t>(U16(b, at)); }

// Bytes of one pixel row, padded to whole 32-bit words.
std::uint64_t Stride(std::uint64_t width, std::uint64_t bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

// Pictures larger than this are refused rather than decoded into gigabytes.
constexpr std::int64_t kMaxSide = 32768;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

bool PlausibleSize(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

std::wstring ExtensionOf(const std::wstring& path) {
    std::size_t nameStart = path.find_last_of(L"\\/:");
    nameStart = nameStart == std::wstring::npos ? 0 : nameStart + 1;
    std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || dot < nameStart) return L"";
    return path.substr(dot + 1);
}

PictureKind KindOfExtension(const std::wstring& extension) {
    std::wstring lower(extension.size(), L'\0');
    std::transform(extension.begin(), extension.end(), lower.begin(), Lower);
    if (lower == L"bmp") return PictureKind::Bitmap;
    if (lower == L"ico") return PictureKind::Icon;
    if (lower == L"emf") return PictureKind::EnhancedMetafile;
    if (lower == L"wmf") return PictureKind::Metafile;
    return PictureKind::Unknown;
}

std::optional<BitmapLayout> CheckBitmap(const std::string& bytes) {
    const std::uint64_t size = bytes.size();
    if (size < 14 + 12 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    const std::uint64_t bitsField = U32(bytes, 10);
    const std::uint64_t infoSize = U32(bytes, 14);

    std::int64_t width, height;
    std::uint32_t planes, bitCount, compression = 0, imageSize = 0, colorsUsed = 0;
    std::uint64_t entrySize, masks = 0;
    if (infoSize == 12) {  // the old core header
        if (size < 14 + 12) return std::nullopt;
        width = U16(bytes, 18);
        height = U16(bytes, 20);
        planes = U16(bytes, 22);
        bitCount = U16(bytes, 24);
        entrySize = 3;
    } else if (infoSize >= 40 && infoSize <= 1024) {
        if (size < 14 + infoSize) return std::nullopt;
        width = I32(bytes, 18);
        height = I32(bytes, 22);
        planes = U16(bytes, 26);
        bitCount = U16(bytes, 28);
        compression = U32(bytes, 30);
        imageSize = U32(bytes, 34);
        colorsUsed = U32(bytes, 46);
        entrySize = 4;
        if (compression == 3 && infoSize == 40) masks = 12;  // the masks follow the plain header
    } else {
        return std::nullopt;
    }

    const bool bottomUp = height > 0;
    const std::int64_t rows = height < 0 ? -height : height;
    if (planes != 1 || !PlausibleSize(width, rows)) return std::nullopt;
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return std::nullopt;
    }
    switch (compression) {
    case 0: break;
    case 1:
        if (bitCount != 8 || !bottomUp) return std::nullopt;
        break;  // RLE8
    case 2:
        if (bitCount != 4 || !bottomUp) return std::nullopt;
        break;  // RLE4
    case 3:
        if (bitCount != 16 && bitCount != 32) return std::nullopt;
        break;
    default: return std::nullopt;  // JPEG or PNG inside a bitmap: not for the screen
    }

    std::uint64_t colors = 0;
    if (bitCount <= 8) {
        std::uint64_t full = std::uint64_t{1} << bitCount;
        if (colorsUsed > full) return std::nullopt;
        colors = colorsUsed ? colorsUsed : full;
    } else if (colorsUsed > 256) {
        return std::nullopt;
    } else {
        colors = colorsUsed;
    }
    const std::uint64_t headerEnd = 14 + infoSize + masks + colors * entrySize;
    if (headerEnd > size) return std::nullopt;
    const std::uint64_t bits = bitsField == 0 ? headerEnd : bitsField;
    if (bits < headerEnd || bits > size) return std::nullopt;

    if (compression == 1 || compression == 2) {
        if (imageSize == 0 || bits + imageSize > size) return std::nullopt;
    } else if (bits + Stride(static_cast<std::uint64_t>(width), bitCount) * static_cast<std::uint64_t>(rows) > size) {
        return std::nullopt;
    }

    BitmapLayout layout;
    layout.bitsOffset = static_cast<std::size_t>(bits);
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(rows);
    return layout;
}

namespace {

// One image of an icon file: either a PNG stream or a bitmap header, the
// colour pixels and the transparency mask.
std::optional<IconImage> CheckIconImage(const std::string& bytes, std::size_t offset, std::size_t length,
                                        int entryWidth, int entryHeight) {
    static const char kPng[] = "\x89PNG\r\n\x1a\n";
    if (length >= 8 && bytes.compare(offset, 8, kPng, 8) == 0) {
        return IconImage{offset, length, entryWidth, entryHeight};
    }
    if (length < 40 || U32(bytes, offset) != 40) return std::nullopt;
    const std::int64_t width = I32(bytes, offset + 4);
    const std::int64_t doubleHeight = I32(bytes, offset + 8);
    const std::uint32_t planes = U16(bytes, offset + 12);
    const std::uint32_t bitCount = U16(bytes, offset + 14);
    const std::uint32_t compression = U32(bytes, offset + 16);
    const std::uint32_t colorsUsed = U32(bytes, offset + 32);
    const std::int64_t height = doubleHeight / 2;
    if (planes != 1 || compression != 0 || width > 1024 || height > 1024 || !PlausibleSize(width, height))
        return std::nullopt;
    std::uint64_t colors = 0;
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
        if (colorsUsed > (std::uint64_t{1} << bitCount)) return std::nullopt;
        colors = colorsUsed ? colorsUsed : std::uint64_t{1} << bitCount;
        break;
    case 16:
    case 24:
    case 32: break;
    default: return std::nullopt;
    }
    const std::uint64_t needed = 40 + colors * 4 + Stride(width, bitCount) * height + Stride(width, 1) * height;
    if (needed > length) return std::nullopt;
    return IconImage{offset, length, static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace

std::optional<IconImage> CheckIcon(const std::string& bytes) {
    const std::size_t size = bytes.size();
    if (size < 6 || U16(bytes, 0) != 0 || U16(bytes, 2) != 1) return std::nullopt;
    const std::size_t count = U16(bytes, 4);
    if (count == 0 || 6 + 16 * count > size) return std::nullopt;

    std::optional<IconImage> best;
    std::uint32_t bestBits = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int width = static_cast<unsigned char>(bytes[entry]) ? static_cast<unsigned char>(bytes[entry]) : 256;
        const int height =
            static_cast<unsigned char>(bytes[entry + 1]) ? static_cast<unsigned char>(bytes[entry + 1]) : 256;
        const std::uint32_t bitCount = U16(bytes, entry + 6);
        const std::uint64_t length = U32(bytes, entry + 8);
        const std::uint64_t offset = U32(bytes, entry + 12);
        if (offset + length > size) return std::nullopt;  // a damaged directory spoils the file
        auto image =
            CheckIconImage(bytes, static_cast<std::size_t>(offset), static_cast<std::size_t>(length), width, height);
        if (!image) return std::nullopt;
        const std::int64_t area = std::int64_t{image->width} * image->height;
        const std::int64_t bestArea = best ? std::int64_t{best->width} * best->height : -1;
        if (area > bestArea || (area == bestArea && bitCount > bestBits)) {
            best = image;
            bestBits = bitCount;
        }
    }
    return best;
}

std::optional<EnhancedMetafileLayout> CheckEnhancedMetafile(const std::string& bytes) {
    const std::uint64_t size = bytes.size();
    if (size < 88 || U32(bytes, 0) != 1 || U32(bytes, 40) != 0x464D4520) return std::nullopt;
    const std::uint64_t headerSize = U32(bytes, 4);
    const std::uint64_t total = U32(bytes, 48);
    if (headerSize < 88 || headerSize % 4 != 0 || total < headerSize || total > size || total % 4 != 0)
        return std::nullopt;
    for (std::uint64_t at = 0; at + 8 <= total;) {
        const std::uint32_t type = U32(bytes, static_cast<std::size_t>(at));
        const std::uint64_t length = U32(bytes, static_cast<std::size_t>(at + 4));
        if (length < 8 || length % 4 != 0 || at + length > total) return std::nullopt;
        if (type == 14) return EnhancedMetafileLayout{static_cast<std::size_t>(total)};  // EMR_EOF
        at += length;
    }
    return std::nullopt;
}

std::optional<MetafileLayout> CheckMetafile(const std::string& bytes) {
    const std::uint64_t size = bytes.size();
    MetafileLayout layout;
    if (size >= 22 && U32(bytes, 0) == 0x9AC6CDD7) {
        layout.placeable = true;
        layout.left = I16(bytes, 6);
        layout.top = I16(bytes, 8);
        layout.right = I16(bytes, 10);
        layout.bottom = I16(bytes, 12);
        layout.unitsPerInch = static_cast<int>(U16(bytes, 14));
        if (layout.right <= layout.left || layout.bottom <= layout.top || layout.unitsPerInch == 0) return std::nullopt;
        layout.offset = 22;
    }
    const std::uint64_t start = layout.offset;
    if (start + 18 > size) return std::nullopt;
    const std::uint32_t type = U16(bytes, start);
    const std::uint32_t headerWords = U16(bytes, start + 2);
    const std::uint32_t version = U16(bytes, start + 4);
    const std::uint64_t length = std::uint64_t{U32(bytes, start + 6)} * 2;
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300)) return std::nullopt;
    if (length < 18 || start + length > size) return std::nullopt;
    for (std::uint64_t at = start + 18; at + 6 <= start + length;) {
        const std::uint64_t recordLength = std::uint64_t{U32(bytes, static_cast<std::size_t>(at))} * 2;
        const std::uint32_t function = U16(bytes, static_cast<std::size_t>(at + 4));
        if (recordLength < 6 || at + recordLength > start + length) return std::nullopt;
        if (function == 0) {
            layout.length = static_cast<std::size_t>(length);
            return layout;
        }
        at += recordLength;
    }
    return std::nullopt;
}

Box FitInto(int width, int height, Box box) {
    if (width <= 0 || height <= 0 || box.width <= 0 || box.height <= 0) return {box.left, box.top, 0, 0};
    double scale = std::min({1.0, double(box.width) / width, double(box.height) / height});
    int w = std::max(1, static_cast<int>(width * scale + 0.5));
    int h = std::max(1, static_cast<int>(height * scale + 0.5));
    w = std::min(w, box.width);
    h = std::min(h, box.height);
    return {box.left + (box.width - w) / 2, box.top + (box.height - h) / 2, w, h};
}

}  // namespace about
