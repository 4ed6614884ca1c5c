#include "settings/SettingsPage.h"

#include "app/Form1Ids.h"
#include "ui/Controls.h"

namespace settings {

namespace {
constexpr COLORREF kTaxBackground = RGB(240, 199, 252);
}

void SettingsPage::Create(HWND sheet, HFONT font) {
    using namespace form1;
    const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;

    groupBox1_.Create(sheet, GroupBox1, L"消費税率は", font, 16, 16, 177, 81);
    edit2_ = ui::CreateControl(L"EDIT", L"10", ES_AUTOHSCROLL | WS_TABSTOP, 16, 32, 25, 23,
                               groupBox1_.Handle(), Edit2, font, WS_EX_CLIENTEDGE);
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
    checkBox2_ = ui::CreateControl(L"BUTTON", L"ENTER で軽減税率の行を作る", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 66,
                                   216, 17, groupBox4_.Handle(), CheckBox2, font);

    // The sales journal, off unless the shop switches it on.
    groupBox5_.Create(sheet, GroupBox5, L"売上の記録", font, 208, 128, 240, 113);
    checkBox3_ = ui::CreateControl(L"BUTTON", L"売上を記録する", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 24, 200, 17,
                                   groupBox5_.Handle(), CheckBox3, font);
    ui::CreateLabel(groupBox5_.Handle(), Label23, L"釣銭準備金", 16, 52, font);
    edit4_ = ui::CreateControl(L"EDIT", L"0", ES_AUTOHSCROLL | ES_RIGHT | WS_TABSTOP, 96, 48, 100, 23,
                               groupBox5_.Handle(), Edit4, font, WS_EX_CLIENTEDGE);
    ui::CreateControl(L"BUTTON", L"記録のフォルダを開く", button, 16, 78, 180, 25, groupBox5_.Handle(), Button5, font);

    editBrush_.reset(CreateSolidBrush(kTaxBackground));
}

bool SettingsPage::JournalOn() const { return SendMessageW(checkBox3_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SettingsPage::SetJournalOn(bool on) {
    SendMessageW(checkBox3_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::wstring SettingsPage::FloatText() const { return ui::GetText(edit4_); }

void SettingsPage::SetFloatText(const std::wstring& text) { SetWindowTextW(edit4_, text.c_str()); }

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

HBRUSH SettingsPage::EditBrush(HWND edit, HDC dc) const {
    if (edit != edit2_ && edit != edit3_) return nullptr;
    SetBkColor(dc, kTaxBackground);
    return editBrush_.get();
}

}  // namespace settings
