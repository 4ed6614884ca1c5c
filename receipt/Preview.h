#pragma once
// The window "レシート": a slip drawn as it will print, on paper of its width
// in the fixed-pitch face, scrolled when it is taller than the window, with
// buttons to print it, to copy it as text and to close the window.
#include <memory>
#include <vector>

#include "receipt/Layout.h"
#include "receipt/Receipt.h"
#include "ui/Form.h"
#include "ui/Gdi.h"

namespace receipt {

// Control IDs of the preview.
enum PreviewId : int {
    PaperView = 100,
    PrintButton,
    CopyButton,
    CloseButton,
};

class TReceiptPreview : public ui::Form {
public:
    // Makes the window, hidden, for lines on the paper and printer of settings.
    TReceiptPreview(std::vector<Line> lines, Settings settings);
    ~TReceiptPreview() override;

    // Shows the window with owner disabled until it closes. IDOK when the slip
    // was printed (the window closes then), IDCANCEL when it was closed
    // (閉じる, Escape or the close box).
    int ShowModal(HWND owner);
    bool Modal() const { return modal_; }

    void PrintClick();  // a failure throws and the window stays open
    void CopyClick();   // the plain text, CF_UNICODETEXT
    void CloseClick();

    HWND Control(int id) const { return GetDlgItem(Handle(), id); }
    // The paper view's scroll position and its range, in pixels.
    int ScrollPosition() const;
    int ContentHeight() const;

    static const wchar_t kCaption[];
    // The screen's scale: 8 pixels a cell, so 16 pixels a full-width character.
    static constexpr int kCellPixels = 8;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class Paper;
    bool PreTranslateModal(const MSG& msg);
    void Close(int result);

    std::vector<Line> lines_;
    Settings settings_;
    ui::Font buttonFont_;
    std::unique_ptr<Paper> paper_;  // the child window the slip is drawn in
    bool modal_ = false;
    int result_ = 0;
};

}  // namespace receipt
