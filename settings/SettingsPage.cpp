#include "settings/SettingsPage.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <optional>
#include <utility>

#include "common/WholeNumber.h"
#include "sale/Money.h"
#include "sale/SaleRecord.h"
#include "settings/GreetingSound.h"
#include "settings/SettingsPageIds.h"
#include "ui/Controls.h"
#include "ui/Error.h"

namespace settings {

const std::wstring kBadFloat = L"釣銭準備金の「%s」は金額として読めません。 0 から " +
                               regi::GroupedDigits(common::kMaxAmount) +
                               L" 円までの金額を入力してください（例: 30000、30,000、¥30,000）。";

const wchar_t kBadTax[] = L"消費税率は「%s」は読めません。0 から 99 までの整数を入力してください。";
const wchar_t kBadReducedTax[] = L"軽減税率は「%s」は読めません。0 から 99 までの整数を入力してください。";

namespace {

constexpr COLORREF kTaxBackground = RGB(240, 199, 252);
constexpr UINT_PTR kFloatSubclass = 1;

// The float typed into Edit4; an empty field means the drawer starts empty.
std::optional<std::int64_t> ReadFloat(const std::wstring& text) {
    if (text.find_first_not_of(L" \t\u3000") == std::wstring::npos) return 0;
    return common::ParseTypedAmount(text, common::kMaxAmount);
}

}  // namespace

void SettingsPage::Create(HWND sheet, HFONT font, Hooks hooks) {
    using namespace ids;
    hooks_ = std::move(hooks);
    const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;

    groupBox1_.Create(sheet, GroupBox1, L"消費税率は", font, 16, 16, 177, 81);
    edit2_ =
        ui::CreateControl(L"EDIT", std::to_wstring(regi::kDefaultStandardRate).c_str(), ES_AUTOHSCROLL | WS_TABSTOP, 16,
                          32, 25, 23, groupBox1_.Handle(), Edit2, font, WS_EX_CLIENTEDGE);
    ui::CreateLabel(groupBox1_.Handle(), Label12, L"％で計算します。", 48, 40, font);

    groupBox2_.Create(sheet, GroupBox2, L"音声は、イカの３つです。", font, 16, 112, 177, 153);
    ui::CreateControl(L"BUTTON", L"おはようございます", button, 16, 24, 137, 25, groupBox2_.Handle(), Button1, font);
    ui::CreateControl(L"BUTTON", L"こんにちは", button, 16, 56, 137, 25, groupBox2_.Handle(), Button2, font);
    ui::CreateControl(L"BUTTON", L"こんばんは", button, 16, 88, 137, 25, groupBox2_.Handle(), Button3, font);
    checkBox1_ = ui::CreateControl(L"BUTTON", L"ミュート", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 120, 73, 17,
                                   groupBox2_.Handle(), CheckBox1, font);

    groupBox3_.Create(sheet, GroupBox3, L"バージョン情報", font, 16, 280, 177, 65);
    ui::CreateControl(L"BUTTON", L"画像", button, 16, 24, 137, 25, groupBox3_.Handle(), Button4, font);

    // The reduced rate beside the standard one, in the same sentence form.
    groupBox4_.Create(sheet, GroupBox4, L"軽減税率は", font, 208, 16, 264, 97);
    edit3_ = ui::CreateControl(L"EDIT", std::to_wstring(regi::kDefaultReducedRate).c_str(), ES_AUTOHSCROLL | WS_TABSTOP,
                               16, 32, 25, 23, groupBox4_.Handle(), Edit3, font, WS_EX_CLIENTEDGE);
    ui::CreateLabel(groupBox4_.Handle(), Label22, L"％で計算します。", 48, 40, font);
    // The square and the caption with room to spare.
    checkBox2_ = ui::CreateControl(L"BUTTON", L"ENTER で軽減税率の行を作る", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 66, 240,
                                   17, groupBox4_.Handle(), CheckBox2, font);

    // The sales journal, off unless the shop switches it on.
    groupBox5_.Create(sheet, GroupBox5, L"売上の記録", font, 208, 128, 264, 113);
    checkBox3_ = ui::CreateControl(L"BUTTON", L"売上を記録する", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 24, 200, 17,
                                   groupBox5_.Handle(), CheckBox3, font);
    ui::CreateLabel(groupBox5_.Handle(), Label23, L"釣銭準備金", 16, 52, font);
    edit4_ = ui::CreateControl(L"EDIT", L"0", ES_AUTOHSCROLL | ES_RIGHT | WS_TABSTOP, 96, 48, 100, 23,
                               groupBox5_.Handle(), Edit4, font, WS_EX_CLIENTEDGE);
    SetWindowSubclass(edit4_, FloatProc, kFloatSubclass, reinterpret_cast<DWORD_PTR>(this));
    ui::CreateControl(L"BUTTON", L"記録のフォルダを開く", button, 16, 78, 180, 25, groupBox5_.Handle(), Button5, font);

    // The shop's settings have a window of their own; the page says what is there.
    groupBox9_.Create(sheet, GroupBox9, L"店の設定", font, 208, 252, 264, 93);
    ui::CreateControl(L"STATIC", L"レシートとプリンター、ドロア、\r\n現金以外の支払い、税率の変更",
                      SS_LEFT | SS_NOPREFIX, 16, 20, 216, 34, groupBox9_.Handle(), Label38, font);
    ui::CreateControl(L"BUTTON", L"店の設定...", button, 16, 58, 180, 25, groupBox9_.Handle(), Button10, font);

    // The rate boxes are narrow: two digits of the proportional face need all
    // of their width, so the text has no margins.
    for (HWND rate : {edit2_, edit3_}) {
        SendMessageW(rate, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
        ui::SetControlColors(rate, kTaxBackground, GetSysColor(COLOR_WINDOWTEXT));
    }
    Show(values_);
}

bool SettingsPage::Command(int id, int code) {
    using namespace ids;
    auto checked = [](HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; };
    switch (id) {
    case Button1: PlayGreeting(hooks_.sound, Greeting::Asa, SND_MEMORY); return true;  // whatever the hour and mute
    case Button2: PlayGreeting(hooks_.sound, Greeting::Hiru, SND_MEMORY); return true;
    case Button3: PlayGreeting(hooks_.sound, Greeting::Ban, SND_MEMORY); return true;
    case Button4:
        if (hooks_.choosePicture) hooks_.choosePicture();
        return true;
    case Button5:
        if (hooks_.openJournalFolder) hooks_.openJournalFolder();
        return true;
    case Button10:
        if (hooks_.openShopSettings) hooks_.openShopSettings();
        return true;
    case CheckBox1:
    case CheckBox2:
    case CheckBox3:
        if (code != BN_CLICKED) return true;
        values_.muted = checked(checkBox1_);
        values_.enterReduced = checked(checkBox2_);
        values_.journalOn = checked(checkBox3_);
        Changed();
        if (id == CheckBox3 && hooks_.journalSwitched) hooks_.journalSwitched(values_.journalOn);
        return true;
    case Edit2:
    case Edit3:
        // The value follows the text at once; it is kept when the box is left.
        if (code == EN_CHANGE)
            (id == Edit2 ? values_.taxText : values_.reducedTaxText) = ui::GetText(id == Edit2 ? edit2_ : edit3_);
        if (code == EN_KILLFOCUS && !showing_) RateBoxExit(id);
        return true;
    case Edit4:
        if (code == EN_CHANGE) values_.floatText = ui::GetText(edit4_);
        return true;
    }
    return false;
}

void SettingsPage::Changed() {
    if (!showing_ && hooks_.changed) hooks_.changed();
}

void SettingsPage::Load(const Settings& values) {
    values_ = values;
    cashFloat_ = ReadFloat(values.floatText).value_or(cashFloat_);
    if (Created()) Show(values_);
}

void SettingsPage::Show(const Settings& values) {
    showing_ = true;
    auto check = [](HWND box, bool on) { SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); };
    check(checkBox1_, values.muted);
    SetWindowTextW(edit2_, values.taxText.c_str());
    SetWindowTextW(edit3_, values.reducedTaxText.c_str());
    check(checkBox2_, values.enterReduced);
    check(checkBox3_, values.journalOn);
    SetWindowTextW(edit4_, values.floatText.c_str());
    showing_ = false;
}

std::optional<regi::RateChange> SettingsPage::BringRatesUpTo(const common::DateTime& now) {
    const std::vector<regi::RateChange>& changes = values_.rateChanges.changes;
    if (changes.empty() || !regi::InForce(changes.front(), now))
        return std::nullopt;  // at every key: cheap while none is due
    std::optional<regi::RateChange> change = settings::BringRatesUpTo(values_, now);
    if (Created()) Show(values_);
    return change;
}

void SettingsPage::RateBoxExit(int id) {
    Changed();  // kept as typed, readable or not
    const std::wstring& text = id == ids::Edit2 ? values_.taxText : values_.reducedTaxText;
    if (!regi::ReadRate(text))
        throw ui::Error(ui::FormatMessageText(id == ids::Edit2 ? kBadTax : kBadReducedTax, text));
}

std::int64_t SettingsPage::CashFloat() const { return ReadFloat(values_.floatText).value_or(cashFloat_); }

void SettingsPage::Edit4Exit() {
    Changed();
    const std::wstring& text = values_.floatText;
    std::optional<std::int64_t> amount = ReadFloat(text);
    if (!amount) throw ui::Error(ui::FormatMessageText(kBadFloat, text));
    cashFloat_ = *amount;
}

LRESULT CALLBACK SettingsPage::FloatProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                         DWORD_PTR data) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, FloatProc, kFloatSubclass);
    LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_KILLFOCUS) ui::Guarded([data] { reinterpret_cast<SettingsPage*>(data)->Edit4Exit(); });
    return result;
}

}  // namespace settings
