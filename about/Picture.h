#pragma once
// A picture of the about box: a bitmap, an icon or a metafile, loaded from a
// file by its extension and drawn stretched into a rectangle.
#include <windows.h>

#include <memory>
#include <string>

#include "about/PictureData.h"

namespace about {

// The error for a file whose extension names no picture kind; "%s" is the
// extension as written, without its dot.
extern const wchar_t kUnknownExtensionError[];
// The error for a file that is there but is no picture of its kind (or cannot
// be read); "%s" is the file's path.
extern const wchar_t kUnreadablePictureError[];

class Picture {
public:
    Picture() = default;

    // Loads path; raises ui::Error when the extension is unknown or the file
    // cannot be read or decoded.
    static Picture Load(const std::wstring& path);

    bool Empty() const { return kind_ == PictureKind::Unknown; }
    PictureKind Kind() const { return kind_; }
    // The picture's own size in screen pixels.
    SIZE Size() const { return size_; }

    // Draws the whole picture stretched over rect.
    void Draw(HDC dc, const RECT& rect) const;

private:
    struct Handles;
    PictureKind kind_ = PictureKind::Unknown;
    SIZE size_{0, 0};
    std::shared_ptr<Handles> handles_;  // shared: a picture is never changed once loaded
};

}  // namespace about
