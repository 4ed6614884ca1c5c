#pragma once
// The settings page: the tax rates, the greeting buttons with the mute switch,
// the button that chooses the about box's picture, the journal, and the button
// that opens the shop's settings (settings/ShopSettings.h). The page keeps
// the settings as values (settings/Settings.h): a control changes its value
// as the operator changes it, and the page says so through its hooks.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <functional>
#include <string>
#include <vector>

#include "settings/GreetingSound.h"
#include "settings/Settings.h"
#include "ui/Form.h"
#include "ui/Gdi.h"

namespace settings {

// The message for a float that does not read as an amount; "%s" stands for it.
extern const std::wstring kBadFloat;
// The messages for a rate box whose text does not read as a rate; "%s" stands for it.
extern const wchar_t kBadTax[];
extern const wchar_t kBadReducedTax[];

class SettingsPage {
public:
    // What the page needs of the main window.
    struct Hooks {
        std::function<void()> choosePicture;           // Button4
        std::function<void()> openJournalFolder;       // Button5
        std::function<void(bool on)> journalSwitched;  // CheckBox3 clicked
        std::function<void()> openShopSettings;        // Button10
        // A value changed and is to be kept: a switch clicked, a field left.
        std::function<void()> changed;
        SoundPlayer sound;  // plays the greetings of Button1 to Button3
    };

    // Makes the widgets on the page sheet, in their tab order, showing the values.
    void Create(HWND sheet, HFONT font, Hooks hooks);
    bool Created() const { return edit2_ != nullptr; }
    // The commands of the page's own controls; false for any other id.
    bool Command(int id, int code);

    // The values, as the widgets hold them while they exist.
    const Settings& Values() const { return values_; }
    void Load(const Settings& values);

    bool Muted() const { return values_.muted; }                            // CheckBox1
    std::wstring TaxText() const { return values_.taxText; }                // Edit2
    std::wstring ReducedTaxText() const { return values_.reducedTaxText; }  // Edit3
    bool EnterReduced() const { return values_.enterReduced; }              // CheckBox2
    bool JournalOn() const { return values_.journalOn; }                    // CheckBox3
    const receipt::Settings& Receipt() const { return values_.receipt; }
    // The float as an amount: Edit4's text when it reads as one (an empty
    // field is no float), else the last text that did, 0 before any.
    std::int64_t CashFloat() const;
    // The float left in Edit4 when the operator leaves it: kept, and a text
    // that does not read is refused with a message and stays for correction.
    void Edit4Exit();
    // A rate box left (Edit2 or Edit3): its text is kept as typed, and one
    // that does not read as a rate (regi::ReadRate) is said at once.
    void RateBoxExit(int id);
    // The rates in force brought up to now (settings::BringRatesUpTo): a change
    // whose day has come goes into Edit2 and Edit3 and leaves the list. The
    // change, when one did.
    std::optional<regi::RateChange> BringRatesUpTo(const common::DateTime& now);

private:
    void Show(const Settings& values);
    void Changed();
    static LRESULT CALLBACK FloatProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);

    Settings values_;
    Hooks hooks_;
    bool showing_ = false;        // the widgets are being set from the values
    std::int64_t cashFloat_ = 0;  // the last float that read as an amount
    ui::GroupBox groupBox1_, groupBox2_, groupBox3_, groupBox4_, groupBox5_, groupBox9_;
    HWND edit2_ = nullptr, edit3_ = nullptr, edit4_ = nullptr;
    HWND checkBox1_ = nullptr, checkBox2_ = nullptr, checkBox3_ = nullptr;
};

}  // namespace settings
