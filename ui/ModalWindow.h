#pragma once
// A window shown modally over the main window (a report, a receipt's
// preview), with the keys of a dialog: Enter presses the focused button or
// else the default one, Escape closes, and a button's access key (with Alt, or
// alone where the focused control takes no characters) presses that button.
#include "ui/Form.h"

namespace ui {

class ModalWindow : public Form {
public:
    // Shows the window over owner, which waits disabled, and returns when the
    // window closes: the result it closed with, IDCANCEL for Escape, the close
    // box or the program ending. 0 when the window is shown already.
    int ShowModal(HWND owner);
    bool Modal() const { return modal_; }
    // Ends the showing with result (not 0); a window not shown is hidden.
    void Close(int result);
    HWND Control(int id) const { return GetDlgItem(Handle(), id); }

protected:
    // Puts the window in its place before it shows.
    virtual void Place(HWND /*owner*/) {}
    // The control that has the focus when the window shows.
    virtual HWND FirstFocus() const = 0;
    // Keys of the window's own, seen before the common ones; true when taken.
    virtual bool TakeKey(const MSG& /*msg*/) { return false; }
    // Runs as a showing ends, before the window hides.
    virtual void Closing() {}
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool PreTranslateModal(const MSG& msg);
    bool PressAccessKey(WPARAM key);
    bool modal_ = false;
    int result_ = 0;
};

}  // namespace ui
