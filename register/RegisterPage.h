#pragma once
// The register page (TabSheet1): the line grid, the entry field, the amount
// column and the instruction texts, with the handlers of the entry field's keys
// and of the grid. The sale's texts live in TSale; after every key the page
// shows them again, so the widgets always show exactly the sale.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "numedit/SaNumEdit.h"
#include "register/Sale.h"
#include "ui/Gdi.h"
#include "ui/StringGrid.h"

namespace regi {

class RegisterPage {
public:
    // What the page needs of the main window.
    struct Hooks {
        std::function<std::wstring()> rateText;      // Edit2 of the settings page
        std::function<void()> showHelpContents;      // the help file's contents
    };

    RegisterPage() = default;
    RegisterPage(const RegisterPage&) = delete;
    RegisterPage& operator=(const RegisterPage&) = delete;
    ~RegisterPage();

    // Makes the page's widgets on sheet, in their tab order (grid, entry field).
    void Create(HWND sheet, HWND form, HWND pageControl, Hooks hooks);

    // Start-up steps of the main window.
    void SetUpGrid();           // rows, columns, height, column widths
    void ArmEntry();            // empty the entry field, then a posted click at (0, 0)
    void ShowFirstPrompt();     // Label14 := the price prompt

    // Re-arms the entry field when the register page is the one shown
    // (a page switch, a click on the page itself).
    void Rearm();

    // Handlers.
    void SaNumEdit1KeyDown(TSaNumEdit& sender, std::uint16_t& key, TShiftState shift);
    void SaNumEdit1KeyUp(TSaNumEdit& sender, std::uint16_t& key, TShiftState shift);
    void StringGrid1DrawCell(int col, int row, const RECT& rect, ui::StringGrid::DrawState state,
                             ui::StringGrid::Canvas& canvas);
    void StringGrid1SelectCell(int col, int row, bool& canSelect);
    void StringGrid1Enter();
    void TabSheet1MouseUp();

    // The colours of the page's labels, for the form's WM_CTLCOLORSTATIC.
    // Null for any other control.
    HBRUSH LabelBrush(HWND label, HDC dc) const;

    ui::StringGrid& StringGrid1() { return grid_; }
    TSaNumEdit& SaNumEdit1() { return entry_; }
    const TSale& Sale() const { return sale_; }
    HWND LabelWindow(Label label) const { return labels_.at(static_cast<size_t>(label)); }

private:
    void CreateLabels(HWND sheet);
    void Show(const Outcome& outcome);
    static LRESULT CALLBACK SheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);

    Hooks hooks_;
    HWND sheet_ = nullptr, form_ = nullptr, pageControl_ = nullptr;
    TSale sale_;
    ui::StringGrid grid_;
    TSaNumEdit entry_;
    std::array<HWND, 20> labels_{};  // by label number; only the sale's labels
    HWND bevel_ = nullptr;
    ui::Font font16_, font16Bold_, font19Bold_, font24_, font27Bold_;
    ui::Brush valueBrush_, captionBrush_;
};

}  // namespace regi
