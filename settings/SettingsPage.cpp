#include "settings/SettingsPage.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "common/WholeNumber.h"
#include "platform/Clock.h"
#include "sale/SaleRecord.h"
#include "sale/Sale.h"
#include "settings/GreetingSound.h"
#include "settings/SettingsPageIds.h"
#include "ui/Controls.h"
#include "ui/Error.h"

namespace settings {

const wchar_t kBadFloat[] =
    L"釣銭準備金の「%s」は金額として読めません。\r\n"
    L"0 から 999,999,999,999 円までの金額を入力してください（例: 30000、30,000、¥30,000）。";

const wchar_t kBadChangeDay[] = L"税率の変更の日付「%s」は読めません。2027/04/01 のように入力してください。";
const wchar_t kChangeDayNotAhead[] =
    L"税率の変更の日付は明日以降にしてください。\r\n今日の税率は「消費税率は」と「軽減税率は」の欄で変えます。";
const wchar_t kBadChangeRate[] = L"税率「%s」は読めません。0 から 99 までの整数を入力してください。";
const wchar_t kTooManyChanges[] = L"税率の変更は 20 件までです。過ぎたものは自動で消えます。";

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

    // Receipts: who issues them, when and where they print, on what paper, and
    // the drawer and cutter of the receipt printer.
    groupBox6_.Create(sheet, GroupBox6, L"レシート", font, 208, 244, 368, 186);
    struct Row {
        int label;
        const wchar_t* caption;
        int top;
    };
    for (const Row& row : {Row{Label24, L"店名", 16}, Row{Label25, L"住所・電話", 40}, Row{Label26, L"登録番号", 64},
                           Row{Label27, L"印刷", 88}, Row{Label28, L"プリンター", 112}, Row{Label37, L"ドロア", 158}})
        ui::CreateLabel(groupBox6_.Handle(), row.label, row.caption, 12, row.top + 4, font);
    const DWORD edit = ES_AUTOHSCROLL | WS_TABSTOP;
    const DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    shop_ = ui::CreateControl(L"EDIT", L"", edit, 88, 16, 268, 23, groupBox6_.Handle(), Edit5, font, WS_EX_CLIENTEDGE);
    address_ =
        ui::CreateControl(L"EDIT", L"", edit, 88, 40, 268, 23, groupBox6_.Handle(), Edit6, font, WS_EX_CLIENTEDGE);
    registrationNumber_ =
        ui::CreateControl(L"EDIT", L"", edit, 88, 64, 140, 23, groupBox6_.Handle(), Edit7, font, WS_EX_CLIENTEDGE);
    printMode_ = ui::CreateControl(L"COMBOBOX", L"", list, 88, 88, 150, 120, groupBox6_.Handle(), ComboBox1, font);
    for (const wchar_t* item : {L"しない", L"精算のたびに", L"F5 のときだけ"})
        SendMessageW(printMode_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    paperWidth_ = ui::CreateControl(L"COMBOBOX", L"", list, 246, 88, 110, 120, groupBox6_.Handle(), ComboBox2, font);
    for (const wchar_t* item : {L"58 mm", L"80 mm"})
        SendMessageW(paperWidth_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    printer_ = ui::CreateControl(L"EDIT", L"", ES_AUTOHSCROLL | ES_READONLY, 88, 112, 188, 23, groupBox6_.Handle(),
                                 Edit8, font, WS_EX_CLIENTEDGE);
    ui::CreateControl(L"BUTTON", L"選ぶ...", button, 284, 111, 72, 25, groupBox6_.Handle(), Button6, font);
    paperNote_ = ui::CreateControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 88, 138, 268, 17,
                                   groupBox6_.Handle(), Label36, font);
    // In the order of regi::DrawerMode.
    drawer_ = ui::CreateControl(L"COMBOBOX", L"", list, 88, 158, 170, 120, groupBox6_.Handle(), ComboBox3, font);
    for (const wchar_t* item :
         {L"しない", L"プリンターのドライバーで", L"ESC/POS で（ピン 2）", L"ESC/POS で（ピン 5）", L"Star で"})
        SendMessageW(drawer_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    cut_ = ui::CreateControl(L"BUTTON", L"用紙をカット", BS_AUTOCHECKBOX | WS_TABSTOP, 266, 161, 96, 17,
                             groupBox6_.Handle(), CheckBox5, font);

    // Rate changes entered ahead, beside the rates: the list of their days
    // (choosing one shows its rates below), then a day, its two rates and the
    // buttons that add and remove.
    groupBox7_.Create(sheet, GroupBox7, L"税率の変更", font, 454, 16, 132, 206);
    changeList_ = ui::CreateControl(L"LISTBOX", L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, 6, 22,
                                    120, 70, groupBox7_.Handle(), ListBox1, font, WS_EX_CLIENTEDGE);
    ui::CreateLabel(groupBox7_.Handle(), Label29, L"日付", 8, 97, font);
    changeDay_ =
        ui::CreateControl(L"EDIT", L"", edit, 6, 114, 120, 23, groupBox7_.Handle(), Edit9, font, WS_EX_CLIENTEDGE);
    changeStandard_ =
        ui::CreateControl(L"EDIT", L"", edit, 6, 142, 25, 23, groupBox7_.Handle(), Edit10, font, WS_EX_CLIENTEDGE);
    ui::CreateLabel(groupBox7_.Handle(), Label30, L"% 軽減", 33, 146, font);
    changeReduced_ =
        ui::CreateControl(L"EDIT", L"", edit, 83, 142, 25, 23, groupBox7_.Handle(), Edit11, font, WS_EX_CLIENTEDGE);
    ui::CreateControl(L"BUTTON", L"追加", button, 6, 172, 58, 25, groupBox7_.Handle(), Button8, font);
    ui::CreateControl(L"BUTTON", L"削除", button, 68, 172, 58, 25, groupBox7_.Handle(), Button9, font);
    ratesLine_ = ui::CreateControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 208, 432, 378, 17, sheet, Label31, font);

    // The other tenders, under the version box: off unless the shop switches
    // them on; each name beside the key that takes it.
    groupBox8_.Create(sheet, GroupBox8, L"現金以外の支払い", font, 16, 350, 177, 92);
    checkBox4_ = ui::CreateControl(L"BUTTON", L"受け付ける", BS_AUTOCHECKBOX | WS_TABSTOP, 12, 16, 100, 17,
                                   groupBox8_.Handle(), CheckBox4, font);
    for (int i = 0; i < regi::kMaxTenders; ++i) {
        const int left = 6 + 82 * (i % 2), top = 37 + 26 * (i / 2);
        std::wstring key = hooks_.tenderKey ? hooks_.tenderKey(i + 1) : L"";
        ui::CreateLabel(groupBox8_.Handle(), Label32 + i, key.c_str(), left, top + 4, font);
        tenderNames_[i] = ui::CreateControl(L"EDIT", L"", edit, left + 24, top, 56, 23, groupBox8_.Handle(), Edit12 + i,
                                            font, WS_EX_CLIENTEDGE);
    }

    // The rate boxes are narrow: two digits of the proportional face need all
    // of their width, so the text has no margins.
    for (HWND rate : {edit2_, edit3_, changeStandard_, changeReduced_, changeDay_})
        SendMessageW(rate, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));

    for (HWND rate : {edit2_, edit3_, changeStandard_, changeReduced_})
        ui::SetControlColors(rate, kTaxBackground, GetSysColor(COLOR_WINDOWTEXT));
    Show(values_);
}

bool SettingsPage::Command(int id, int code) {
    using namespace ids;
    switch (id) {
    case Button1: PlayGreeting(Greeting::Asa, SND_MEMORY); return true;  // whatever the hour and mute
    case Button2: PlayGreeting(Greeting::Hiru, SND_MEMORY); return true;
    case Button3: PlayGreeting(Greeting::Ban, SND_MEMORY); return true;
    case Button4:
        if (hooks_.choosePicture) hooks_.choosePicture();
        return true;
    case Button5:
        if (hooks_.openJournalFolder) hooks_.openJournalFolder();
        return true;
    case Button6: ChoosePrinter(); return true;
    case ComboBox2:
        if (code == CBN_SELCHANGE) ShowPaper();
        return true;
    case Button8: AddRateChange(); return true;
    case Button9: RemoveRateChange(); return true;
    case ListBox1:
        if (code == LBN_SELCHANGE) ShowChosenChange();
        return true;
    case Edit2:
    case Edit3:
        if (code == EN_CHANGE) ShowRateChanges();  // the rates in force as the line says them
        return true;
    case CheckBox3:
        if (code == BN_CLICKED && hooks_.journalSwitched) hooks_.journalSwitched(JournalOn());
        return true;
    case Edit7:
        if (code == EN_KILLFOCUS) Edit7Exit();
        return true;
    }
    return false;
}

void SettingsPage::ChoosePrinter() {
    std::vector<std::wstring> printers = hooks_.printers ? hooks_.printers() : std::vector<std::wstring>{};
    ui::Menu menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, 1, L"通常使うプリンター");
    for (size_t i = 0; i < printers.size(); ++i) AppendMenuW(menu.get(), MF_STRING, i + 2, printers[i].c_str());
    RECT r;
    GetWindowRect(ui::FindControl(groupBox6_.Handle(), ids::Button6), &r);
    UINT chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, r.left, r.bottom, 0,
                                 GetAncestor(groupBox6_.Handle(), GA_ROOT), nullptr);
    if (chosen == 1) SetWindowTextW(printer_, L"");
    if (chosen >= 2) SetWindowTextW(printer_, printers[chosen - 2].c_str());
    ShowPaper();
}

void SettingsPage::ShowPaper() {
    if (!Created() || !hooks_.paperNote) return;
    const regi::ReceiptSettings& r = Values().receipt;
    SetWindowTextW(paperNote_, hooks_.paperNote(r.printer, r.paperWidth).c_str());
}

const Settings& SettingsPage::Values() const {
    if (!Created()) return values_;
    auto checked = [](HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; };
    values_.muted = checked(checkBox1_);
    values_.taxText = ui::GetText(edit2_);
    values_.reducedTaxText = ui::GetText(edit3_);
    values_.enterReduced = checked(checkBox2_);
    values_.journalOn = checked(checkBox3_);
    values_.floatText = ui::GetText(edit4_);
    regi::ReceiptSettings& r = values_.receipt;
    r.shop = ui::GetText(shop_);
    r.address = ui::GetText(address_);
    // r.registrationNumber is the last valid one, kept by Edit7Exit.
    r.printMode = regi::PrintModeFrom(static_cast<int>(SendMessageW(printMode_, CB_GETCURSEL, 0, 0)));
    r.printer = ui::GetText(printer_);
    r.paperWidth = SendMessageW(paperWidth_, CB_GETCURSEL, 0, 0) == 0 ? regi::kNarrowPaper : regi::kWidePaper;
    r.drawer = regi::DrawerModeFrom(static_cast<int>(SendMessageW(drawer_, CB_GETCURSEL, 0, 0)));
    r.cut = checked(cut_);
    values_.tendersOn = checked(checkBox4_);
    for (int i = 0; i < regi::kMaxTenders; ++i) values_.tenderNames[i] = ui::GetText(tenderNames_[i]);
    return values_;
}

void SettingsPage::Load(const Settings& values) {
    values_ = values;
    cashFloat_ = ReadFloat(values.floatText).value_or(0);
    if (Created()) Show(values_);
}

void SettingsPage::Show(const Settings& values) {
    auto check = [](HWND box, bool on) { SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); };
    check(checkBox1_, values.muted);
    SetWindowTextW(edit2_, values.taxText.c_str());
    SetWindowTextW(edit3_, values.reducedTaxText.c_str());
    check(checkBox2_, values.enterReduced);
    check(checkBox3_, values.journalOn);
    SetWindowTextW(edit4_, values.floatText.c_str());
    const regi::ReceiptSettings& r = values.receipt;
    SetWindowTextW(shop_, r.shop.c_str());
    SetWindowTextW(address_, r.address.c_str());
    SetWindowTextW(registrationNumber_, r.registrationNumber.c_str());
    SendMessageW(printMode_, CB_SETCURSEL, static_cast<WPARAM>(r.printMode), 0);
    SetWindowTextW(printer_, r.printer.c_str());
    SendMessageW(paperWidth_, CB_SETCURSEL, r.paperWidth == regi::kNarrowPaper ? 0 : 1, 0);
    SendMessageW(drawer_, CB_SETCURSEL, static_cast<WPARAM>(r.drawer), 0);
    check(cut_, r.cut);
    check(checkBox4_, values.tendersOn);
    for (int i = 0; i < regi::kMaxTenders; ++i) SetWindowTextW(tenderNames_[i], values.tenderNames[i].c_str());
    ShowRateChanges();
}

void SettingsPage::ShowRateChanges() {
    const std::vector<regi::RateChange>& changes = values_.rateChanges.changes;
    SendMessageW(changeList_, LB_RESETCONTENT, 0, 0);
    for (const regi::RateChange& change : changes)
        SendMessageW(changeList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(regi::ChangeDayText(change).c_str()));
    std::wstring line = regi::RatesLineText(regi::ReadRate(ui::GetText(edit2_)).value_or(0),
                                            regi::ReadRate(ui::GetText(edit3_)).value_or(0), changes);
    SetWindowTextW(ratesLine_, line.c_str());
}

void SettingsPage::ShowChosenChange() {
    LRESULT chosen = SendMessageW(changeList_, LB_GETCURSEL, 0, 0);
    const std::vector<regi::RateChange>& changes = values_.rateChanges.changes;
    if (chosen < 0 || static_cast<size_t>(chosen) >= changes.size()) return;
    const regi::RateChange& change = changes[static_cast<size_t>(chosen)];
    SetWindowTextW(changeDay_, regi::ChangeDayText(change).c_str());
    SetWindowTextW(changeStandard_, std::to_wstring(change.standard).c_str());
    SetWindowTextW(changeReduced_, std::to_wstring(change.reduced).c_str());
}

void SettingsPage::AddRateChange() {
    std::wstring dayText = ui::GetText(changeDay_);
    std::optional<regi::RateChange> change = regi::ReadChangeDay(dayText);
    if (!change) throw ui::Error(ui::FormatMessageText(kBadChangeDay, dayText));
    if (regi::InForce(*change, platform::NowAsDateTime())) throw ui::Error(kChangeDayNotAhead);
    for (auto [box, rate] : {std::pair{changeStandard_, &change->standard}, {changeReduced_, &change->reduced}}) {
        std::wstring text = ui::GetText(box);
        std::optional<std::int64_t> read = regi::ReadChangeRate(text);
        if (!read) throw ui::Error(ui::FormatMessageText(kBadChangeRate, text));
        *rate = *read;
    }
    std::vector<regi::RateChange> changes = values_.rateChanges.changes;
    size_t place = regi::AddChange(changes, *change);
    if (changes.size() > regi::kMaxRateChanges) throw ui::Error(kTooManyChanges);
    values_.rateChanges.changes = std::move(changes);
    ShowRateChanges();
    SendMessageW(changeList_, LB_SETCURSEL, place, 0);
}

void SettingsPage::RemoveRateChange() {
    LRESULT chosen = SendMessageW(changeList_, LB_GETCURSEL, 0, 0);
    std::vector<regi::RateChange>& changes = values_.rateChanges.changes;
    if (chosen < 0 || static_cast<size_t>(chosen) >= changes.size()) return;
    changes.erase(changes.begin() + chosen);
    ShowRateChanges();
    // The one after it is chosen next, so that Button9 can go on removing.
    if (!changes.empty())
        SendMessageW(changeList_, LB_SETCURSEL, std::min<WPARAM>(static_cast<WPARAM>(chosen), changes.size() - 1), 0);
}

void SettingsPage::BringRatesUpTo(const common::DateTime& now) {
    const std::vector<regi::RateChange>& changes = values_.rateChanges.changes;
    if (changes.empty() || !regi::InForce(changes.front(), now)) return;  // at every key: cheap while none is due
    Values();                                                             // the rates as the widgets hold them
    settings::BringRatesUpTo(values_, now);
    if (!Created()) return;
    SetWindowTextW(edit2_, values_.taxText.c_str());
    SetWindowTextW(edit3_, values_.reducedTaxText.c_str());
    ShowRateChanges();
}

void SettingsPage::Edit7Exit() {
    std::wstring text = ui::GetText(registrationNumber_);
    if (!regi::IsAcceptableRegistrationNumber(text)) throw ui::Error(regi::kBadRegistrationNumber);
    values_.receipt.registrationNumber = text;
}

std::int64_t SettingsPage::CashFloat() const { return ReadFloat(Values().floatText).value_or(cashFloat_); }

void SettingsPage::Edit4Exit() {
    std::wstring text = Values().floatText;
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
