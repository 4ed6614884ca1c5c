#pragma once
// A sale driven by keys as the register page drives it, together with what the
// page shows of it, for the tests that read the screen's texts without windows:
// each key runs its command of the key table on the entry, and a command that
// acted empties the entry unless it shows what was tendered.
#include <string>
#include <vector>

#include "register/KeyTable.h"
#include "register/SaleView.h"

namespace regi {

// The rate boxes' texts, ENTER's class and the tenders' names, as the
// settings page holds them.
struct RateTexts {
    std::wstring standard = L"10", reduced = L"8";
    bool enterReduced = false;
    std::vector<std::wstring> tenders = {};
    operator Rates() const { return Rates::FromTexts(standard, reduced, enterReduced, tenders); }  // NOLINT
};

class ShownSale : public TSale {
public:
    // What a key did, and how the page shows it.
    struct KeyOutcome : Outcome, CommandShown {};

    const std::wstring& Entry() const { return entry_; }
    void SetEntry(std::wstring text) { entry_ = std::move(text); }
    void ShowFirstPrompt() { screen_.prompted = true; }

    // The release of key, with the rates; the standard rate's text alone, the reduced one at 8.
    KeyOutcome KeyUp(std::uint16_t key, const Rates& rates = {}) {
        KeyOutcome outcome;
        std::optional<RegisterCommand> does = KeyMap().Find(KeyChord{key});
        if (!does || does->action != PageAction::Sale) return outcome;
        return Shown(does->command, Run(does->command, regi::Entry(entry_), rates));
    }
    KeyOutcome KeyUp(std::uint16_t key, const std::wstring& standardRate) {
        return KeyUp(key, Rates::FromTexts(standardRate, L"8"));
    }
    KeyOutcome Cancel() { return Shown(Command::Cancel, TSale::Cancel()); }

    std::wstring Cell(int col, int row) const { return CellText(*this, col, row); }
    std::wstring Caption(Label label) const { return CaptionText(*this, screen_, label); }
    std::wstring TaxTip() const { return TaxTipText(*this); }

private:
    KeyOutcome Shown(Command command, const Outcome& outcome) {
        KeyOutcome shown;
        static_cast<Outcome&>(shown) = outcome;
        static_cast<CommandShown&>(shown) = ShownAfter(command, outcome, *this);
        entry_ = outcome.EntryAfter(entry_);
        screen_.Follow(*this);
        return shown;
    }
    std::wstring entry_;
    ScreenState screen_;
};

}  // namespace regi
