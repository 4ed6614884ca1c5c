#pragma once
// The window "レシート": a slip drawn as it will print, on paper of its width
// in the fixed-pitch face, scrolled when it is taller than the window, with
// buttons to print it, to copy it as text and to close the window.
#include <memory>
#include <vector>

#include "receipt/Layout.h"
#include "receipt/Printing.h"
#include "receipt/Receipt.h"
#include "ui/Gdi.h"
#include "ui/ModalWindow.h"

namespace receipt {

// Control IDs of the preview.
enum PreviewId : int {
    PaperView = 100,
    PrintButton,
    CopyButton,
    CloseButton,
};

class TReceiptPreview : public ui::ModalWindow {
public:
    // Makes the window, hidden, for lines on the paper and printer of settings;
    // mark goes on the pages of a slip that needs more than one (Print), which
    // goes to printers.
    TReceiptPreview(std::vector<Line> lines, Settings settings, Printers printers, std::wstring mark = L"");
    ~TReceiptPreview() override;

    // ShowModal gives IDOK when the slip was printed (the window closes then),
    // IDCANCEL when it was closed (閉じる, Escape or the close box).

    void PrintClick();  // a failure throws and the window stays open
    void CopyClick();   // the plain text, CF_UNICODETEXT
    void CloseClick();

    // The paper view's scroll position and its range, in pixels.
    int ScrollPosition() const;
    int ContentHeight() const;

    static const wchar_t kCaption[];
    // The screen's scale: 8 pixels a cell, so 16 pixels a full-width character.
    static constexpr int kCellPixels = 8;

protected:
    HWND FirstFocus() const override { return Control(PrintButton); }
    bool TakeKey(const MSG& msg) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class Paper;

    std::vector<Line> lines_;
    Settings settings_;
    Printers printers_;
    std::wstring mark_;
    ui::Font buttonFont_;
    std::unique_ptr<Paper> paper_;  // the child window the slip is drawn in
};

}  // namespace receipt
