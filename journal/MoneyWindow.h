#pragma once
// The window that asks how much cash goes into the drawer (入金) or comes out
// of it (出金): an amount as people type money, an optional note (change from
// the bank, the supplier paid), and a button that records them.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ui/Gdi.h"
#include "ui/ModalWindow.h"

namespace journal {

extern const std::wstring kBadMoneyAmount;  // "%s": the text that does not read

class TMoneyWindow : public ui::ModalWindow {
public:
    enum Id : int { AmountLabel = 100, AmountEdit, RecordButton, CancelButton, NoteLabel, NoteEdit };

    // Asked with the amount before the button takes it; false leaves the
    // window open with the amount selected for correction.
    using Confirm = std::function<bool(HWND window, std::int64_t amount)>;

    explicit TMoneyWindow(const wchar_t* caption, Confirm confirm = {});
    // The amount recorded by the button; nothing while it was not pressed.
    const std::optional<std::int64_t>& Amount() const { return amount_; }
    const std::wstring& Note() const { return note_; }  // as typed; empty when none

protected:
    HWND FirstFocus() const override { return Control(AmountEdit); }
    void Place(HWND owner) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Confirm confirm_;
    std::optional<std::int64_t> amount_;
    std::wstring note_;
    ui::Font font_;
};

}  // namespace journal
