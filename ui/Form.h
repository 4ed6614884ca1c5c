#pragma once
// Top-level forms and the containers on them. A form remembers its active
// control across activation, moves the focus through its tab stops, and answers
// WM_NEXTDLGCTL the way a dialog does, so controls can ask for the next or the
// previous tab stop by posting that message to their form.
#include "ui/Window.h"

namespace ui {

class Form : public Window {
public:
    // Moves the focus to the next (or previous) tab stop after the focused control.
    void SelectNext(bool previous);
    HWND ActiveControl() const { return activeControl_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND activeControl_ = nullptr;
};

// A plain child container (a page of a page control, a group box): the
// notifications of the controls on it go on to its parent, so that the form
// handles them as if the controls were its own.
class Panel : public Window {
public:
    void Create(HWND parent, int id, int x, int y, int width, int height, bool visible = true);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A container drawn as a framed group with its caption on the top edge.
class GroupBox : public Panel {
public:
    void Create(HWND parent, int id, const wchar_t* caption, HFONT font, int x, int y, int width, int height);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);
    HFONT font_ = nullptr;  // owned by the form, like every control's font
};

// True when message concerns a container's control and belongs to its form.
bool IsForwardedNotification(UINT message);

}  // namespace ui
