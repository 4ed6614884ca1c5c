#pragma once
// The window that asks which Z's go to the accounting program: the numbers
// of the first and the last, the last Z taken at first in both.
#include <cstdint>
#include <optional>
#include <utility>

#include "ui/Gdi.h"
#include "ui/ModalWindow.h"

namespace journal {

extern const wchar_t kBadZNumber[];  // "%s": the text that does not read

class TBooksWindow : public ui::ModalWindow {
public:
    enum Id : int { FromLabel = 100, FromEdit, ToLabel, ToEdit, UntilLabel, SaveButton, CancelButton };

    explicit TBooksWindow(std::int64_t lastZ);
    // The numbers the save button took, first not above last; nothing while it was not pressed.
    const std::optional<std::pair<std::int64_t, std::int64_t>>& Range() const { return range_; }

protected:
    HWND FirstFocus() const override { return Control(FromEdit); }
    void Place(HWND owner) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::optional<std::pair<std::int64_t, std::int64_t>> range_;
    ui::Font font_;
};

}  // namespace journal
