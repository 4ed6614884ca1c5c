#pragma once
// The picture-open dialog of the main window and of the about box: the
// system's file dialog with the picture kinds as filter and, beside the file
// list, a preview of the selected picture with its size in pixels.
#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace about {

// The filter list: descriptions and patterns, each closed by a null character,
// the list by a second one.
const std::wstring& PictureFilter();

// What the dialog is opened with: the filter list with its first entry
// selected, no initial file or folder. file receives the chosen path.
OPENFILENAMEW PictureDialogSettings(HWND owner, wchar_t* file, DWORD fileLength);

// Asks for a picture file; the full path, or nothing when cancelled.
using PictureChooser = std::function<std::optional<std::wstring>(HWND owner)>;

// The system's dialog with the preview.
std::optional<std::wstring> RunPictureDialog(HWND owner);

// A window's own picture-open dialog: the system's, or the chooser it is
// given (tests answer it).
class OpenPictureDialog {
public:
    explicit OpenPictureDialog(PictureChooser choose = RunPictureDialog) : choose_(std::move(choose)) {}
    std::optional<std::wstring> Execute(HWND owner) const { return choose_(owner); }

private:
    PictureChooser choose_;
};

// IDs of the preview area added to the system's dialog.
enum PreviewId : int {
    PreviewCaption = 0x500,
    PreviewBox,
    PreviewSize,
};

}  // namespace about
