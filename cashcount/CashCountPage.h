#pragma once
// The cash count page (TabSheet2, "Kinsyu"): the denomination grid, the
// computed amount and the over/short. The grid's cells and Label11's caption
// are the count's whole state; the handlers read them back at every change.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "numedit/SaNumEdit.h"
#include "ui/Gdi.h"
#include "ui/StringGrid.h"

namespace cashcount {

class CashCountPage {
public:
    CashCountPage() = default;
    CashCountPage(const CashCountPage&) = delete;
    CashCountPage& operator=(const CashCountPage&) = delete;

    // What the page needs of the main window: the cash the drawer should hold
    // by the journal, nothing while no journal is kept.
    struct Hooks {
        std::function<std::optional<std::int64_t>()> expectedCash;
    };

    // Makes the page's widgets on sheet, in their tab order (grid, computed amount).
    void Create(HWND sheet, Hooks hooks);
    bool Created() const { return button7_ != nullptr; }
    // The commands of the page's own controls; false for any other id.
    bool Command(int id, int code);

    // Start-up: the header texts and the row captions of the grid; the first
    // count is the current cell.
    void SetUp();

    // Handlers.
    void StringGrid2SelectCell(int col, int row, bool& canSelect);
    void StringGrid2KeyPress(wchar_t& key);
    void StringGrid2SetEditText(int col, int row, const std::wstring& text);
    void SaNumEdit2KeyPress(TSaNumEdit& sender, wchar_t& key);

    ui::StringGrid& StringGrid2() { return grid_; }
    TSaNumEdit& SaNumEdit2() { return computed_; }
    HWND Label11() const { return label11_; }

    // "記録から" is there only while the journal is kept; it puts the cash the
    // drawer should hold into the computed amount.
    void ShowJournalButton(bool shown);
    void SetComputedAmount(std::int64_t amount);

private:
    Hooks hooks_;
    ui::StringGrid grid_;
    TSaNumEdit computed_;
    HWND label20_ = nullptr, label21_ = nullptr, label11_ = nullptr, button7_ = nullptr;
    ui::Font font_;
    ui::Font label11Font_;  // an over/short too wide for font_
};

}  // namespace cashcount
