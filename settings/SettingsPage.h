#pragma once
// The settings page: the tax rates, the greeting buttons with the mute switch,
// the button that chooses the about box's picture, the journal and receipts.
// The page keeps the settings as values (settings/Settings.h); while its
// widgets exist they are what the operator edits, and the values are read
// from them.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "ui/Form.h"
#include "ui/Gdi.h"

namespace settings {

// The message for a float that does not read as an amount; "%s" stands for it.
extern const wchar_t kBadFloat[];
// The messages for a rate change that cannot be added; "%s" stands for the text.
extern const wchar_t kBadChangeDay[];
extern const wchar_t kChangeDayNotAhead[];
extern const wchar_t kBadChangeRate[];
extern const wchar_t kTooManyChanges[];

class SettingsPage {
public:
    // What the page needs of the main window.
    struct Hooks {
        std::function<void()> choosePicture;                  // Button4
        std::function<void()> openJournalFolder;              // Button5
        std::function<void(bool on)> journalSwitched;         // CheckBox3 clicked
        std::function<std::vector<std::wstring>()> printers;  // Button6's menu; throws when there are none
        // Label36: what the printer (empty: the default one) prints a roll of paperWidth mm on.
        std::function<std::wstring(const std::wstring& printer, int paperWidth)> paperNote;
        std::function<std::wstring(int tender)> tenderKey;  // the key that takes tender 1 to kMaxTenders ("F6")
    };

    // Makes the widgets on the page sheet, in their tab order, showing the values.
    void Create(HWND sheet, HFONT font, Hooks hooks);
    bool Created() const { return edit2_ != nullptr; }
    // The commands of the page's own controls; false for any other id.
    bool Command(int id, int code);

    // The values, read from the widgets while they exist.
    const Settings& Values() const;
    void Load(const Settings& values);

    bool Muted() const { return Values().muted; }                            // CheckBox1
    std::wstring TaxText() const { return Values().taxText; }                // Edit2
    std::wstring ReducedTaxText() const { return Values().reducedTaxText; }  // Edit3
    bool EnterReduced() const { return Values().enterReduced; }              // CheckBox2
    bool JournalOn() const { return Values().journalOn; }                    // CheckBox3
    regi::ReceiptSettings Receipt() const { return Values().receipt; }       // GroupBox6
    // The float as an amount: Edit4's text when it reads as one (an empty
    // field is no float), else the last text that did, 0 before any.
    std::int64_t CashFloat() const;
    // The float left in Edit4 when the operator leaves it: a text that does not
    // read is refused with a message and stays for correction.
    void Edit4Exit();
    // The registration number left in Edit7: an empty or valid one is kept;
    // anything else is refused with a message, stays for correction, and the
    // last valid number goes on counting.
    void Edit7Exit();
    // The rate changes: Button8 adds the one typed into Edit9, Edit10 and
    // Edit11 (a day after today; one on the same day is replaced), Button9
    // removes the one chosen in ListBox1, which lists their days. Refusals are raised as errors.
    void AddRateChange();
    void RemoveRateChange();
    // The rates in force brought up to now (settings::BringRatesUpTo): a change
    // whose day has come goes into Edit2 and Edit3 and leaves the list.
    void BringRatesUpTo(const common::DateTime& now);
    // Label36: the paper the chosen printer's driver offers in the chosen
    // width. It asks the driver, which may take a while: done when the page is
    // shown and when the printer or the width changes.
    void ShowPaper();

private:
    void ShowRateChanges();
    void ShowChosenChange();  // its day and rates in Edit9, Edit10 and Edit11
    void ChoosePrinter();
    void Show(const Settings& values);
    static LRESULT CALLBACK FloatProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);

    mutable Settings values_;  // read afresh from the widgets
    Hooks hooks_;
    std::int64_t cashFloat_ = 0;  // the last float that read as an amount
    ui::GroupBox groupBox1_, groupBox2_, groupBox3_, groupBox4_, groupBox5_, groupBox6_, groupBox8_;
    HWND checkBox4_ = nullptr, tenderNames_[regi::kMaxTenders] = {};
    HWND shop_ = nullptr, address_ = nullptr, registrationNumber_ = nullptr, printMode_ = nullptr,
         paperWidth_ = nullptr, printer_ = nullptr, paperNote_ = nullptr, drawer_ = nullptr, cut_ = nullptr;
    HWND edit2_ = nullptr, edit3_ = nullptr, edit4_ = nullptr;
    ui::GroupBox groupBox7_;
    HWND changeList_ = nullptr, changeDay_ = nullptr, changeStandard_ = nullptr, changeReduced_ = nullptr,
         ratesLine_ = nullptr;
    HWND checkBox1_ = nullptr, checkBox2_ = nullptr, checkBox3_ = nullptr;
};

}  // namespace settings
