#pragma once
// The settings page: the tax rates, the greeting buttons with the mute switch,
// and the button that chooses the about box's picture. The page holds the
// settings in its widgets; the register and the greeting read them from there.
#include <windows.h>

#include <cstdint>
#include <string>

#include "receipt/Receipt.h"
#include "ui/Form.h"
#include "ui/Gdi.h"

namespace settings {

// The message for a float that does not read as an amount; "%s" stands for it.
extern const wchar_t kBadFloat[];

class SettingsPage {
public:
    // Makes the widgets on the page sheet, in their tab order.
    void Create(HWND sheet, HFONT font);

    std::wstring TaxText() const;  // the text of Edit2, unchecked: the standard rate
    void SetTaxText(const std::wstring& text);
    std::wstring ReducedTaxText() const;  // the text of Edit3, unchecked: the reduced rate
    void SetReducedTaxText(const std::wstring& text);
    bool EnterReduced() const;  // CheckBox2: ENTER makes reduced-rate lines
    void SetEnterReduced(bool on);
    bool Muted() const;  // CheckBox1
    void SetMuted(bool muted);

    // The sales journal: on or off, and the opening float's text.
    bool JournalOn() const;  // CheckBox3
    void SetJournalOn(bool on);
    // The float as the shop typed it (Edit4), which the settings file keeps.
    std::wstring FloatText() const;
    void SetFloatText(const std::wstring& text);
    // The float as an amount: Edit4's text when it reads as one (an empty
    // field is no float), else the last text that did, 0 before any.
    std::int64_t CashFloat() const;
    // The float left in Edit4 when the operator leaves it: a text that does not
    // read is refused with a message and stays for correction.
    void Edit4Exit();

    // Receipts: who issues them and on which paper and printer, and when
    // they print (0 never, 1 after every settlement, 2 only on F5).
    receipt::Settings Receipt() const;
    void SetReceipt(const receipt::Settings& receipt);
    int PrintMode() const;  // ComboBox1
    void SetPrintMode(int mode);
    void SetPrinter(const std::wstring& name);  // empty: the default printer
    // The registration number left in Edit7: an empty or valid one is kept;
    // anything else is refused with a message, stays for correction, and the
    // last valid number goes on counting.
    void Edit7Exit();

private:
    static LRESULT CALLBACK FloatProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);

    ui::GroupBox groupBox1_, groupBox2_, groupBox3_, groupBox4_, groupBox5_, groupBox6_;
    HWND shop_ = nullptr, address_ = nullptr, registrationNumber_ = nullptr, printMode_ = nullptr,
         paperWidth_ = nullptr, printer_ = nullptr;
    std::wstring registeredNumber_;  // the last valid registration number
    std::int64_t cashFloat_ = 0;     // the last float that read as an amount
    HWND edit2_ = nullptr, edit3_ = nullptr, edit4_ = nullptr;
    HWND checkBox1_ = nullptr, checkBox2_ = nullptr, checkBox3_ = nullptr;
};

}  // namespace settings
