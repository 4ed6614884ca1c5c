#pragma once
// What a picture file holds, checked before any of it reaches the platform's
// decoders: the kind follows from the extension, and each kind's headers and
// records must lie inside the file. No Windows here, so a damaged file is
// turned away by plain code that the sanitizers watch.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace about {

enum class PictureKind { Bitmap, Icon, EnhancedMetafile, Metafile, Unknown };

// The extension of the file name in path, without its dot, as written; empty
// when the name has none.
std::wstring ExtensionOf(const std::wstring& path);

// ".bmp", ".ico", ".emf" and ".wmf", in any case.
PictureKind KindOfExtension(const std::wstring& extension);

// A device-independent bitmap file: the bitmap header starts at infoOffset
// (after the 14-byte file header), the pixels at bitsOffset.
struct BitmapLayout {
    std::size_t infoOffset = 14;
    std::size_t bitsOffset = 0;
    int width = 0;
    int height = 0;  // positive: the pixel rows as stored may run either way
};
std::optional<BitmapLayout> CheckBitmap(const std::string& bytes);

// An icon file: the image of the entry that draws best when stretched (the
// largest, then the one with the most colours).
struct IconImage {
    std::size_t offset = 0;
    std::size_t length = 0;
    int width = 0;
    int height = 0;
};
std::optional<IconImage> CheckIcon(const std::string& bytes);

// An enhanced metafile: its header and every record inside the file, ending
// with the end-of-file record. length is the metafile's own byte count.
struct EnhancedMetafileLayout {
    std::size_t length = 0;
};
std::optional<EnhancedMetafileLayout> CheckEnhancedMetafile(const std::string& bytes);

// A Windows metafile, with or without the 22-byte placeable header in front.
// The metafile proper starts at offset; placeable files carry their bounds in
// units of 1/unitsPerInch inch.
struct MetafileLayout {
    std::size_t offset = 0;
    std::size_t length = 0;
    bool placeable = false;
    int left = 0, top = 0, right = 0, bottom = 0;
    int unitsPerInch = 0;
};
std::optional<MetafileLayout> CheckMetafile(const std::string& bytes);

// Scales a picture of width x height into a box, keeping its proportions,
// never enlarging it, centred. Used by the preview of the picture dialog.
struct Box {
    int left, top, width, height;
};
Box FitInto(int width, int height, Box box);

}  // namespace about
