#pragma once
// The register page (TabSheet1): the line grid, the entry field, the amount
// column and the instruction texts, with the handlers of the entry field's keys
// and of the grid. The sale lives in TSale; after every key the page renders it
// (register/SaleView.h) and sets the widgets whose texts changed, so the
// widgets always show exactly the sale.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalog/Catalog.h"
#include "catalog/InStore.h"
#include "numedit/SaNumEdit.h"
#include "register/HeldKeys.h"
#include "register/KeyTable.h"
#include "register/SaleView.h"
#include "ui/Gdi.h"
#include "ui/StringGrid.h"

namespace regi {

class RegisterPage {
public:
    // What the page needs of the main window.
    struct Hooks {
        std::function<Rates()> rates;                    // the rates in force, ENTER's class, the tenders offered
        std::function<void()> showHelpContents;          // the help file's contents
        std::function<void(const TSale&)> changed;       // after every command: the sale as it now stands
        std::function<void(const SaleRecord&)> settled;  // a sale was settled just now
        std::function<void()> showReceipt;               // F5: the last settled sale's receipt
        std::function<void()> openDrawer;                // F12: the cash drawer, no sale
        // 返品 between sales, with the entry as keyed (a sale's number, or
        // empty); true when the entry was used.
        std::function<bool(const std::wstring& entry)> returnGoods;
        // What digits keyed with the product key (productKey) or with ENTER
        // ring, read against the product file and the shop's in-store layout
        // (see catalog::ReadCode); without it, against no products.
        std::function<std::optional<CodeRing>(std::string_view digits, bool productKey)> readCode;
    };

    RegisterPage() = default;
    RegisterPage(const RegisterPage&) = delete;
    RegisterPage& operator=(const RegisterPage&) = delete;
    ~RegisterPage();

    // Makes the page's widgets on sheet, in their tab order (grid, entry field).
    void Create(HWND sheet, HWND form, HWND pageControl, Hooks hooks);

    // Start-up steps of the main window.
    void SetUpGrid();        // rows, columns, height, column widths
    void ArmEntry();         // empty the entry field, then a posted click at (0, 0)
    void ShowFirstPrompt();  // Label14 := the price prompt

    // Re-arms the entry field when the register page is the one shown
    // (a page switch, a click on the page itself).
    void Rearm();

    // A scanner types a code's digits within this many milliseconds of each
    // other; a code of 8, 12 or 13 digits that came so, with no suffix, rings
    // once kScanPause has passed without another key.
    static constexpr std::uint32_t kScanGap = 50, kScanPause = 150;
    static constexpr UINT_PTR kScanTimerId = 33;

    // Handlers.
    void SaNumEdit1KeyDown(TSaNumEdit& sender, std::uint16_t& key, TShiftState shift);
    void SaNumEdit1KeyUp(TSaNumEdit& sender, std::uint16_t& key, TShiftState shift);
    void SaNumEdit1KeyPress(TSaNumEdit& sender, wchar_t& key);
    // A register command chosen from the menu (its item's ID): what its key's
    // release would do now, on the register page, to the entry as it stands;
    // then the entry field has the focus. False for an ID of no command.
    bool RunCommand(int menuId);
    // The keys: the table's and the shop's own chords.
    void SetKeys(KeyMap keys) { keys_ = std::move(keys); }
    const KeyMap& Keys() const { return keys_; }
    void StringGrid1DrawCell(int col, int row, const RECT& rect, ui::StringGrid::DrawState state,
                             ui::StringGrid::Canvas& canvas);
    void StringGrid1SelectCell(int col, int row, bool& canSelect);
    void StringGrid1Enter();
    void TabSheet1MouseUp();

    ui::StringGrid& StringGrid1() { return grid_; }
    TSaNumEdit& SaNumEdit1() { return entry_; }
    const TSale& Sale() const { return sale_; }
    TSale& Sale() { return sale_; }
    // Shows the sale's texts again after it was changed from outside the keys.
    void Refresh() { Show(CommandShown{}, Outcome{}); }
    HWND LabelWindow(Label label) const { return labels_.at(static_cast<size_t>(label)); }

private:
    void CreateLabels(HWND sheet);
    void CreateTaxTip();
    void Act(const RegisterCommand& does, const std::wstring& entryAtPress, int zerosAtPress);
    // The entry's digits as they were keyed: the field drops leading zeros,
    // which the page counts as they are typed.
    static std::string KeyedDigits(const std::wstring& entry, int zeros);
    // What the code keyed rings, when it is one (catalog::ReadCode).
    std::optional<CodeRing> CodeOf(const std::wstring& entry, int zeros, bool productKey) const;
    // A scanner that sends no Enter, or a Tab: a whole code rings as if
    // ENTER had followed it; anything else stays in the entry.
    void RingScannedCode();
    void FollowDigit(std::uint16_t key, std::uint32_t time);
    void ScanTimer();
    void PostArmingClicks();
    void Show(const CommandShown& shown, const Outcome& outcome);
    const wchar_t* ShownCaption(Label label);  // a label's caption as it is created
    static LRESULT CALLBACK SheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);

    Hooks hooks_;
    // Keys whose press the entry field took while it had the focus, with the
    // entry of that press: only their releases are commands. A release whose
    // press closed a message box or went to another window does nothing.
    HeldKeys held_;
    bool commandChar_ = false;  // the key just pressed is a command's chord with a modifier
    // The zeros keyed before the entry's first other digit, which the field
    // does not show, now and at each held key's press.
    int zeros_ = 0;
    std::map<std::uint16_t, int> zerosAtPress_;
    // Whether the entry's digits came at a scanner's speed, and when the last one did.
    bool scanSpeed_ = false;
    std::uint32_t lastDigitTime_ = 0;
    HWND sheet_ = nullptr, form_ = nullptr, pageControl_ = nullptr;
    TSale sale_;
    ScreenState screen_;
    KeyMap keys_;
    ui::StringGrid grid_;
    TSaNumEdit entry_;
    std::array<HWND, 20> labels_{};  // by label number; only the sale's labels
    HWND bevel_ = nullptr;
    HWND taxTip_ = nullptr;  // the tax per class, over the tax caption and value
    ui::Font font16_, font16Bold_, font19Bold_, font24_, font27Bold_;
    std::vector<ui::Font> entryFonts_;              // the entry field's smaller fonts for wide amounts
    std::array<ui::Font, Label4 + 1> fittedFonts_;  // amounts too wide for their label's font
    std::array<std::wstring, 20> shownCaptions_;    // by label number: what each label shows
    std::wstring shownTip_;
    int rowsShown_ = 0;  // the grid's rows that may hold text: only the page writes its cells
};

}  // namespace regi
