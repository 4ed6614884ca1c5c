#include "settings/SettingsPage.h"

#include <commctrl.h>

#include <optional>

#include "common/WholeNumber.h"
#include "settings/SettingsPageIds.h"
#include "ui/Controls.h"
#include "ui/Error.h"

namespace settings {

const wchar_t kBadFloat[] =
    L"釣銭準備金の「%s」は金額として読めません。\r\n"
    L"0 から 999,999,999,999 円までの金額を入力してください（例: 30000、30,000、¥30,000）。";

namespace {

constexpr COLORREF kTaxBackground = RGB(240, 199, 252);
constexpr UINT_PTR kFloatSubclass = 1;

// The float typed into Edit4; an empty field means the drawer starts empty.
std::optional<std::int64_t> ReadFloat(const std::wstring& text) {
    if (text.find_first_not_of(L" \t\u3000") == std::wstring::npos) return 0;
    return common::ParseTypedAmount(text, common::kMaxAmount);
}

}  // namespace

void SettingsPage::Create(HWND sheet, HFONT font) {
    using namespace ids;
    const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;

    groupBox1_.Create(sheet, GroupBox1, L"消費税率は", font, 16, 16, 177, 81);
    edit2_ = ui::CreateControl(L"EDIT", L"10", ES_AUTOHSCROLL | WS_TABSTOP, 16, 32, 25, 23, groupBox1_.Handle(), Edit2,
                               font, WS_EX_CLIENTEDGE);
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
    groupBox4_.Create(sheet, GroupBox4, L"軽減税率は", font, 208, 16, 240, 97);
    edit3_ = ui::CreateControl(L"EDIT", L"8", ES_AUTOHSCROLL | WS_TABSTOP, 16, 32, 25, 23, groupBox4_.Handle(), Edit3,
                               font, WS_EX_CLIENTEDGE);
    ui::CreateLabel(groupBox4_.Handle(), Label22, L"％で計算します。", 48, 40, font);
    checkBox2_ = ui::CreateControl(L"BUTTON", L"ENTER で軽減税率の行を作る", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 66, 216,
                                   17, groupBox4_.Handle(), CheckBox2, font);

    // The sales journal, off unless the shop switches it on.
    groupBox5_.Create(sheet, GroupBox5, L"売上の記録", font, 208, 128, 240, 113);
    checkBox3_ = ui::CreateControl(L"BUTTON", L"売上を記録する", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 24, 200, 17,
                                   groupBox5_.Handle(), CheckBox3, font);
    ui::CreateLabel(groupBox5_.Handle(), Label23, L"釣銭準備金", 16, 52, font);
    edit4_ = ui::CreateControl(L"EDIT", L"0", ES_AUTOHSCROLL | ES_RIGHT | WS_TABSTOP, 96, 48, 100, 23,
                               groupBox5_.Handle(), Edit4, font, WS_EX_CLIENTEDGE);
    SetWindowSubclass(edit4_, FloatProc, kFloatSubclass, reinterpret_cast<DWORD_PTR>(this));
    ui::CreateControl(L"BUTTON", L"記録のフォルダを開く", button, 16, 78, 180, 25, groupBox5_.Handle(), Button5, font);

    // Receipts: who issues them, and when and where they print.
    groupBox6_.Create(sheet, GroupBox6, L"レシート", font, 208, 256, 368, 170);
    struct Row {
        int label;
        const wchar_t* caption;
        int top;
    };
    for (const Row& row : {Row{Label24, L"店名", 22}, Row{Label25, L"住所・電話", 50}, Row{Label26, L"登録番号", 78},
                           Row{Label27, L"印刷", 106}, Row{Label28, L"プリンター", 134}})
        ui::CreateLabel(groupBox6_.Handle(), row.label, row.caption, 12, row.top + 4, font);
    const DWORD edit = ES_AUTOHSCROLL | WS_TABSTOP;
    const DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    shop_ = ui::CreateControl(L"EDIT", L"", edit, 88, 22, 268, 23, groupBox6_.Handle(), Edit5, font, WS_EX_CLIENTEDGE);
    address_ =
        ui::CreateControl(L"EDIT", L"", edit, 88, 50, 268, 23, groupBox6_.Handle(), Edit6, font, WS_EX_CLIENTEDGE);
    registrationNumber_ =
        ui::CreateControl(L"EDIT", L"", edit, 88, 78, 140, 23, groupBox6_.Handle(), Edit7, font, WS_EX_CLIENTEDGE);
    printMode_ = ui::CreateControl(L"COMBOBOX", L"", list, 88, 106, 150, 120, groupBox6_.Handle(), ComboBox1, font);
    for (const wchar_t* item : {L"しない", L"精算のたびに", L"F5 のときだけ"})
        SendMessageW(printMode_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    paperWidth_ = ui::CreateControl(L"COMBOBOX", L"", list, 246, 106, 110, 120, groupBox6_.Handle(), ComboBox2, font);
    for (const wchar_t* item : {L"58 mm", L"80 mm"})
        SendMessageW(paperWidth_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    printer_ = ui::CreateControl(L"EDIT", L"", ES_AUTOHSCROLL | ES_READONLY, 88, 134, 188, 23, groupBox6_.Handle(),
                                 Edit8, font, WS_EX_CLIENTEDGE);
    ui::CreateControl(L"BUTTON", L"選ぶ...", button, 284, 133, 72, 25, groupBox6_.Handle(), Button6, font);
    SetReceipt({});
    SetPrintMode(0);

    // The rate boxes are narrow; "10" needs all of their width.
    for (HWND rate : {edit2_, edit3_})
        SendMessageW(rate, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));

    for (HWND rate : {edit2_, edit3_}) ui::SetControlColors(rate, kTaxBackground, GetSysColor(COLOR_WINDOWTEXT));
}

receipt::Settings SettingsPage::Receipt() const {
    receipt::Settings r;
    r.shop = ui::GetText(shop_);
    r.address = ui::GetText(address_);
    r.registrationNumber = registeredNumber_;
    r.printer = ui::GetText(printer_);
    r.paperWidth = SendMessageW(paperWidth_, CB_GETCURSEL, 0, 0) == 0 ? receipt::kNarrowPaper : receipt::kWidePaper;
    return r;
}

void SettingsPage::SetReceipt(const receipt::Settings& r) {
    SetWindowTextW(shop_, r.shop.c_str());
    SetWindowTextW(address_, r.address.c_str());
    // A number edited into the file by hand that is not one is not kept.
    registeredNumber_ = receipt::IsAcceptableRegistrationNumber(r.registrationNumber) ? r.registrationNumber : L"";
    SetWindowTextW(registrationNumber_, registeredNumber_.c_str());
    SetPrinter(r.printer);
    SendMessageW(paperWidth_, CB_SETCURSEL, r.paperWidth == receipt::kNarrowPaper ? 0 : 1, 0);
}

int SettingsPage::PrintMode() const {
    LRESULT mode = SendMessageW(printMode_, CB_GETCURSEL, 0, 0);
    return mode == 1 || mode == 2 ? static_cast<int>(mode) : 0;
}

void SettingsPage::SetPrintMode(int mode) {
    SendMessageW(printMode_, CB_SETCURSEL, mode == 1 || mode == 2 ? mode : 0, 0);
}

void SettingsPage::SetPrinter(const std::wstring& name) { SetWindowTextW(printer_, name.c_str()); }

void SettingsPage::Edit7Exit() {
    std::wstring text = ui::GetText(registrationNumber_);
    if (!receipt::IsAcceptableRegistrationNumber(text)) throw ui::Error(receipt::kBadRegistrationNumber);
    registeredNumber_ = text;
}

bool SettingsPage::JournalOn() const { return SendMessageW(checkBox3_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SettingsPage::SetJournalOn(bool on) { SendMessageW(checkBox3_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

std::wstring SettingsPage::FloatText() const { return ui::GetText(edit4_); }

void SettingsPage::SetFloatText(const std::wstring& text) {
    SetWindowTextW(edit4_, text.c_str());
    cashFloat_ = ReadFloat(text).value_or(0);
}

std::int64_t SettingsPage::CashFloat() const { return ReadFloat(FloatText()).value_or(cashFloat_); }

void SettingsPage::Edit4Exit() {
    std::wstring text = FloatText();
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

std::wstring SettingsPage::TaxText() const { return ui::GetText(edit2_); }

void SettingsPage::SetTaxText(const std::wstring& text) { SetWindowTextW(edit2_, text.c_str()); }

std::wstring SettingsPage::ReducedTaxText() const { return ui::GetText(edit3_); }

void SettingsPage::SetReducedTaxText(const std::wstring& text) { SetWindowTextW(edit3_, text.c_str()); }

bool SettingsPage::EnterReduced() const { return SendMessageW(checkBox2_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SettingsPage::SetEnterReduced(bool on) {
    SendMessageW(checkBox2_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool SettingsPage::Muted() const { return SendMessageW(checkBox1_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SettingsPage::SetMuted(bool muted) {
    SendMessageW(checkBox1_, BM_SETCHECK, muted ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace settings
