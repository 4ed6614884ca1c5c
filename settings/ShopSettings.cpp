#include "settings/ShopSettings.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "catalog/InStore.h"
#include "register/KeyTable.h"
#include "receipt/ReceiptSettings.h"
#include "sale/Sale.h"
#include "settings/Departments.h"
#include "settings/ProfileValues.h"
#include "settings/ShopSettingsIds.h"
#include "ui/App.h"
#include "ui/Controls.h"
#include "ui/Error.h"
#include "ui/Gdi.h"

namespace settings {

const wchar_t kBadChangeDay[] = L"税率の変更の日付「%s」は読めません。2027/04/01 のように入力してください。";
const wchar_t kChangeDayNotAhead[] =
    L"税率の変更の日付は明日以降にしてください。\r\n今日の税率は「消費税率は」と「軽減税率は」の欄で変えます。";
const wchar_t kBadChangeRate[] = L"税率「%s」は読めません。0 から 99 までの整数を入力してください。";
const std::wstring kTooManyChanges =
    L"税率の変更は " + std::to_wstring(regi::kMaxRateChanges) + L" 件までです。過ぎたものは自動で消えます。";

namespace {

struct Sheet {
    Sheet(Settings settings, ShopSettingsHooks shopHooks)
        : values(std::move(settings)),
          hooks(std::move(shopHooks)),
          departments(ReadDepartmentTable(values.departmentLines)),
          keys(regi::KeyMap::Read(values.keyChords, departments.Chords())) {}

    Settings values;  // what the pages edit; the caller's only after OK
    ShopSettingsHooks hooks;
    bool applied = false;  // OK was pressed
    bool closing = false;  // OK or Cancel: the focus the closing moves is no leaving of a field
    // The departments and the keys as the pages edit them: the キー page's
    // chords and the departments' keys are checked against each other by the
    // one rule of the key map.
    DepartmentTable departments;
    regi::KeyMap keys;

    // What the key messages call a command: a tender by its name, on or not.
    regi::ShopNames Names() const {
        regi::ShopNames names(TenderNames(values), PresetLabels(values));
        names.departments = departments.Names();
        return names;
    }
};

// One page of the sheet: shows the values when it is first shown, and puts
// what it holds back into them on OK.
class Page {
public:
    explicit Page(Sheet& sheet) : sheet_(sheet) {}
    virtual ~Page() = default;
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual void Show() = 0;
    virtual void Command(int /*id*/, int /*code*/) {}
    virtual void Notify(const NMHDR& /*what*/) {}
    // The page is left (another page chosen, or OK): an error keeps it.
    virtual void Leave() {}
    virtual void Apply() = 0;

    HWND Item(int id) const { return GetDlgItem(window_, id); }
    std::wstring Text(int id) const { return ui::GetText(Item(id)); }
    void SetText(int id, const std::wstring& text) const { SetDlgItemTextW(window_, id, text.c_str()); }
    bool Checked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
    void Check(int id, bool on) const { CheckDlgButton(window_, id, on ? BST_CHECKED : BST_UNCHECKED); }

    Sheet& sheet_;
    HWND window_ = nullptr;
    bool refusing_ = false;  // a refusal to leave is being said: the focus it moves is no leaving
};

INT_PTR CALLBACK Page::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* page = reinterpret_cast<Page*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->window_ = window;
        ui::Guarded([page] { page->Show(); });
        return TRUE;
    }
    auto* page = reinterpret_cast<Page*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!page) return FALSE;
    switch (message) {
    case WM_COMMAND: ui::Guarded([&] { page->Command(LOWORD(wParam), HIWORD(wParam)); }); return TRUE;
    case WM_NOTIFY:
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
        case PSN_KILLACTIVE: {
            bool stay = false;
            try {
                page->Leave();
            } catch (...) {
                stay = true;
                page->refusing_ = true;
                ui::ShowError(ui::CurrentExceptionMessage());
                page->refusing_ = false;
            }
            SetWindowLongPtrW(window, DWLP_MSGRESULT, stay);
            return TRUE;
        }
        case PSN_RESET: page->sheet_.closing = true; return TRUE;
        case PSN_APPLY:
            page->sheet_.applied = page->sheet_.closing = true;
            ui::Guarded([page] { page->Apply(); });
            SetWindowLongPtrW(window, DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        }
        ui::Guarded([&] { page->Notify(*reinterpret_cast<const NMHDR*>(lParam)); });
        return FALSE;
    }
    return FALSE;
}

void AddItems(HWND box, std::initializer_list<const wchar_t*> items) {
    for (const wchar_t* item : items) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

// レシートとプリンター
class ReceiptPage : public Page {
public:
    using Page::Page;

private:
    void Show() override {
        const receipt::Settings& r = sheet_.values.receipt;
        SetText(IDC_SHOP_NAME, r.shop);
        SetText(IDC_SHOP_ADDRESS, r.address);
        SetText(IDC_REGISTRATION_NUMBER, r.registrationNumber);
        AddItems(Item(IDC_PRINT_MODE), {L"しない", L"精算のたびに", L"F5 のときだけ"});
        SendDlgItemMessageW(window_, IDC_PRINT_MODE, CB_SETCURSEL, static_cast<WPARAM>(r.printMode), 0);
        AddItems(Item(IDC_PAPER_WIDTH), {L"58 mm", L"80 mm"});
        SendDlgItemMessageW(window_, IDC_PAPER_WIDTH, CB_SETCURSEL, r.paperWidth == receipt::kNarrowPaper ? 0 : 1, 0);
        SetText(IDC_PRINTER, r.printer);
        // In the order of receipt::DrawerMode.
        AddItems(Item(IDC_DRAWER), {L"しない", L"プリンターのドライバーで", L"ESC/POS で（ピン 2）",
                                    L"ESC/POS で（ピン 5）", L"Star で"});
        SendDlgItemMessageW(window_, IDC_DRAWER, CB_SETCURSEL, static_cast<WPARAM>(r.drawer), 0);
        Check(IDC_CUT_PAPER, r.cut);
        ShowPaper();
    }

    void Command(int id, int code) override {
        if (id == IDC_CHOOSE_PRINTER && code == BN_CLICKED) ChoosePrinter();
        if (id == IDC_PAPER_WIDTH && code == CBN_SELCHANGE) ShowPaper();
        // A number that does not read is said as the field is left, and stays for correction.
        if (id == IDC_REGISTRATION_NUMBER && code == EN_KILLFOCUS && !refusing_ && !sheet_.closing) CheckNumber();
    }

    void Leave() override {
        try {
            CheckNumber();
        } catch (...) {
            SetFocus(Item(IDC_REGISTRATION_NUMBER));
            throw;
        }
    }

    void Apply() override {
        receipt::Settings& r = sheet_.values.receipt;
        r.shop = Text(IDC_SHOP_NAME);
        r.address = Text(IDC_SHOP_ADDRESS);
        std::wstring number = Text(IDC_REGISTRATION_NUMBER);
        if (receipt::IsAcceptableRegistrationNumber(number)) r.registrationNumber = number;
        r.printMode =
            receipt::PrintModeFrom(static_cast<int>(SendDlgItemMessageW(window_, IDC_PRINT_MODE, CB_GETCURSEL, 0, 0)));
        r.paperWidth = PaperWidth();
        r.printer = Text(IDC_PRINTER);
        r.drawer =
            receipt::DrawerModeFrom(static_cast<int>(SendDlgItemMessageW(window_, IDC_DRAWER, CB_GETCURSEL, 0, 0)));
        r.cut = Checked(IDC_CUT_PAPER);
    }

    void CheckNumber() const {
        if (!receipt::IsAcceptableRegistrationNumber(Text(IDC_REGISTRATION_NUMBER)))
            throw ui::Error(receipt::kBadRegistrationNumber);
    }

    int PaperWidth() const {
        return SendDlgItemMessageW(window_, IDC_PAPER_WIDTH, CB_GETCURSEL, 0, 0) == 0 ? receipt::kNarrowPaper
                                                                                      : receipt::kWidePaper;
    }

    // What the chosen printer's driver offers in the chosen width. It asks the
    // driver, which may take a while: done when the page shows and when the
    // printer or the width changes.
    void ShowPaper() const {
        if (sheet_.hooks.paperNote) SetText(IDC_PAPER_NOTE, sheet_.hooks.paperNote(Text(IDC_PRINTER), PaperWidth()));
    }

    void ChoosePrinter() {
        std::vector<std::wstring> printers =
            sheet_.hooks.printers ? sheet_.hooks.printers() : std::vector<std::wstring>{};
        ui::Menu menu(CreatePopupMenu());
        AppendMenuW(menu.get(), MF_STRING, 1, L"通常使うプリンター");
        for (size_t i = 0; i < printers.size(); ++i) AppendMenuW(menu.get(), MF_STRING, i + 2, printers[i].c_str());
        RECT r;
        GetWindowRect(Item(IDC_CHOOSE_PRINTER), &r);
        UINT chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, r.left, r.bottom, 0,
                                     GetAncestor(window_, GA_ROOT), nullptr);
        if (chosen == 1) SetText(IDC_PRINTER, L"");
        if (chosen >= 2) SetText(IDC_PRINTER, printers[chosen - 2]);
        ShowPaper();
    }
};

// 現金以外の支払い
class TendersPage : public Page {
public:
    using Page::Page;

private:
    void Show() override {
        Check(IDC_TENDERS_ON, sheet_.values.tendersOn);
        for (int i = 0; i < regi::kMaxTenders; ++i) SetText(IDC_TENDER_NAME1 + i, sheet_.values.tenderNames[i]);
    }

    void Apply() override {
        sheet_.values.tendersOn = Checked(IDC_TENDERS_ON);
        for (int i = 0; i < regi::kMaxTenders; ++i) sheet_.values.tenderNames[i] = Text(IDC_TENDER_NAME1 + i);
    }
};

// 税率の変更: the list of the changes' days (choosing one shows its rates),
// a day with its two rates, and the buttons that add and remove.
class RatesPage : public Page {
public:
    using Page::Page;

private:
    std::vector<regi::RateChange>& Changes() { return sheet_.values.rateChanges.changes; }

    void Show() override {
        // The boxes are narrow: two digits need all of their width.
        for (int id : {IDC_CHANGE_STANDARD, IDC_CHANGE_REDUCED})
            SendDlgItemMessageW(window_, id, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
        ShowChanges();
    }

    void Apply() override {}  // the list is edited in the values themselves

    void Command(int id, int code) override {
        if (id == IDC_ADD_CHANGE && code == BN_CLICKED) Add();
        if (id == IDC_REMOVE_CHANGE && code == BN_CLICKED) Remove();
        if (id == IDC_RATE_CHANGES && code == LBN_SELCHANGE) ShowChosen();
    }

    void ShowChanges() {
        HWND list = Item(IDC_RATE_CHANGES);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (const regi::RateChange& change : Changes())
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(regi::ChangeDayText(change).c_str()));
        const Settings& values = sheet_.values;
        SetText(IDC_RATES_LINE, regi::RatesLineText(regi::ReadRate(values.taxText).value_or(0),
                                                    regi::ReadRate(values.reducedTaxText).value_or(0), Changes()));
    }

    // The change chosen: its day and rates in the boxes.
    void ShowChosen() {
        LRESULT chosen = SendDlgItemMessageW(window_, IDC_RATE_CHANGES, LB_GETCURSEL, 0, 0);
        if (chosen < 0 || static_cast<size_t>(chosen) >= Changes().size()) return;
        const regi::RateChange& change = Changes()[static_cast<size_t>(chosen)];
        SetText(IDC_CHANGE_DAY, regi::ChangeDayText(change));
        SetText(IDC_CHANGE_STANDARD, std::to_wstring(change.standard));
        SetText(IDC_CHANGE_REDUCED, std::to_wstring(change.reduced));
    }

    // The change typed in, for a day after today; one on the same day is replaced.
    void Add() {
        std::wstring dayText = Text(IDC_CHANGE_DAY);
        std::optional<regi::RateChange> change = regi::ReadChangeDay(dayText);
        if (!change) throw ui::Error(ui::FormatMessageText(kBadChangeDay, dayText));
        if (regi::InForce(*change, sheet_.hooks.clock())) throw ui::Error(kChangeDayNotAhead);
        for (auto [id, rate] :
             {std::pair{IDC_CHANGE_STANDARD, &change->standard}, {IDC_CHANGE_REDUCED, &change->reduced}}) {
            std::wstring text = Text(id);
            std::optional<std::int64_t> read = regi::ReadChangeRate(text);
            if (!read) throw ui::Error(ui::FormatMessageText(kBadChangeRate, text));
            *rate = *read;
        }
        std::vector<regi::RateChange> changes = Changes();
        size_t place = regi::AddChange(changes, *change);
        if (changes.size() > regi::kMaxRateChanges) throw ui::Error(kTooManyChanges);
        Changes() = std::move(changes);
        ShowChanges();
        SendDlgItemMessageW(window_, IDC_RATE_CHANGES, LB_SETCURSEL, place, 0);
    }

    // The change chosen in the list; the one after it is chosen next, so that
    // 削除 can go on removing.
    void Remove() {
        LRESULT chosen = SendDlgItemMessageW(window_, IDC_RATE_CHANGES, LB_GETCURSEL, 0, 0);
        std::vector<regi::RateChange>& changes = Changes();
        if (chosen < 0 || static_cast<size_t>(chosen) >= changes.size()) return;
        changes.erase(changes.begin() + chosen);
        ShowChanges();
        if (!changes.empty())
            SendDlgItemMessageW(window_, IDC_RATE_CHANGES, LB_SETCURSEL,
                                std::min<WPARAM>(static_cast<WPARAM>(chosen), changes.size() - 1), 0);
    }
};

// キー: the register's commands with their keys and the shop's own chords.
// The chord for the command chosen is typed as text ("Ctrl+F1") and given
// with 割り当て, or by leaving the page or OK; the map's own rule refuses it.
class KeysPage : public Page {
public:
    using Page::Page;

private:
    enum Column { kWhat, kKey, kChord };

    void Show() override {
        HWND list = Item(IDC_KEY_COMMANDS);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        // The shop's chords as wide as the widest there can be, the keys as
        // wide as their longest name, what it does takes the rest. A cell has
        // margins of 6 pixels, as the list's own column sizing gives it.
        const std::wstring widestChord = regi::ChordText({regi::keyF24, true, true, true});
        const int chordsWidth = ListView_GetStringWidth(list, widestChord.c_str()) + 12;
        const std::pair<const wchar_t*, int> columns[] = {{L"操作", 0}, {L"キー", 0}, {L"店のキー", chordsWidth}};
        for (int i = 0; i < static_cast<int>(std::size(columns)); ++i) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<wchar_t*>(columns[i].first);
            column.cx = columns[i].second;
            ListView_InsertColumn(list, i, &column);
        }
        const regi::ShopNames names = sheet_.Names();
        const std::vector<regi::KeyCommand>& rows = regi::KeyCommands();
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            std::wstring what = regi::WhatItDoes(rows[i], names);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = what.data();
            ListView_InsertItem(list, &item);
            ListView_SetItemText(list, i, kKey, const_cast<wchar_t*>(rows[i].keyName));
            ShowChord(i);
        }
        ListView_SetColumnWidth(list, kKey, LVSCW_AUTOSIZE_USEHEADER);
        RECT client;
        GetClientRect(list, &client);
        ListView_SetColumnWidth(list, kWhat, client.right - ListView_GetColumnWidth(list, kKey) - chordsWidth);
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    void Command(int id, int code) override {
        if (id == IDC_GIVE_KEY && code == BN_CLICKED) Give();
        if (id == IDC_TAKE_KEY_AWAY && code == BN_CLICKED) TakeAway();
    }

    void Notify(const NMHDR& what) override {
        if (what.idFrom != IDC_KEY_COMMANDS) return;
        if (what.code == LVN_ITEMCHANGED) {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(what);
            if (change.uNewState & ~change.uOldState & LVIS_SELECTED) SetText(IDC_KEY_CHORD, ChordOf(change.iItem));
        }
        if (what.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(what).wVKey == VK_DELETE) TakeAway();
    }

    // A chord typed and not given yet is given as the page is left.
    void Leave() override {
        int chosen = Chosen();
        if (chosen >= 0 && Text(IDC_KEY_CHORD) != ChordOf(chosen)) Give();
    }

    void Apply() override {
        if (changed_) sheet_.values.keyChords = sheet_.keys.ChordsText();
    }

    int Chosen() const { return ListView_GetNextItem(Item(IDC_KEY_COMMANDS), -1, LVNI_SELECTED); }

    std::wstring ChordOf(int row) const {
        std::optional<regi::KeyChord> chord = sheet_.keys.ExtraChord(regi::KeyCommands()[static_cast<size_t>(row)]);
        return chord ? regi::ChordText(*chord) : L"";
    }

    void ShowChord(int row) {
        std::wstring chord = ChordOf(row);
        ListView_SetItemText(Item(IDC_KEY_COMMANDS), row, kChord, chord.data());
    }

    // The typed chord to the command chosen; a blank box takes its chord away.
    void Give() {
        int chosen = Chosen();
        if (chosen < 0) return;
        std::wstring text = Text(IDC_KEY_CHORD);
        if (text.find_first_not_of(L" \u3000") == std::wstring::npos) return TakeAway();
        std::wstring refused = sheet_.keys.Give(regi::KeyCommands()[static_cast<size_t>(chosen)], text, sheet_.Names());
        if (!refused.empty()) {
            HWND box = Item(IDC_KEY_CHORD);
            SetFocus(box);
            SendMessageW(box, EM_SETSEL, 0, -1);
            throw ui::Error(refused);
        }
        Given(chosen);
    }

    void TakeAway() {
        int chosen = Chosen();
        if (chosen < 0) return;
        sheet_.keys.TakeAway(regi::KeyCommands()[static_cast<size_t>(chosen)]);
        Given(chosen);
    }

    void Given(int row) {
        changed_ = true;
        ShowChord(row);
        SetText(IDC_KEY_CHORD, ChordOf(row));
    }

    bool changed_ = false;  // only a page used writes the chords: a file without them keeps its bytes
};

// The list view's columns: their headers and widths in pixels.
void AddColumns(HWND list, std::initializer_list<std::pair<const wchar_t*, int>> columns) {
    int i = 0;
    for (const auto& [header, width] : columns) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(header);
        column.cx = width;
        ListView_InsertColumn(list, i++, &column);
    }
}

// 部門: the list of departments (choosing one shows it in the fields), the
// fields of the one to add or change with the buttons that put it in and take
// it out, and the names of the lines ENTER, F2 and + make.
class DepartmentsPage : public Page {
public:
    using Page::Page;

private:
    enum Column { kNumber, kName, kClass, kChord };
    // The class list's entries, in its order.
    static constexpr regi::TaxClass kClasses[] = {regi::TaxClass::Standard, regi::TaxClass::Reduced,
                                                  regi::TaxClass::Exempt};
    static const wchar_t* ClassText(regi::TaxClass taxClass) {
        return taxClass == regi::TaxClass::Standard  ? L"標準税率"
               : taxClass == regi::TaxClass::Reduced ? L"軽減税率"
                                                     : L"非課税";
    }

    DepartmentTable& Table() { return sheet_.departments; }

    void Show() override {
        HWND list = Item(IDC_DEPARTMENTS);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        // Measured in the list's own font: the number, the class and a chord
        // as wide as they come; the name takes the rest, and never less than
        // the longest name a department may have.
        auto width = [list](const wchar_t* text) { return ListView_GetStringWidth(list, text) + 16; };
        const int number = width(L"番号"), taxClass = width(L"軽減税率"),
                  chord = width(regi::ChordText({regi::keyF24, true, true, true}).c_str());
        RECT client;
        GetClientRect(list, &client);
        const int name = std::max<int>(client.right - number - taxClass - chord - GetSystemMetrics(SM_CXVSCROLL),
                                       width(std::wstring(regi::kMaxDepartmentName, L'\u30E0').c_str()));
        AddColumns(list, {{L"番号", number}, {L"名前", name}, {L"区分", taxClass}, {L"キー", chord}});
        for (regi::TaxClass c : kClasses)
            SendDlgItemMessageW(window_, IDC_DEPARTMENT_CLASS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ClassText(c)));
        SendDlgItemMessageW(window_, IDC_DEPARTMENT_CLASS, CB_SETCURSEL, 0, 0);
        // ENTER, F2 and +: each names the department of the class it makes now.
        for (int i = 0; i < 3; ++i) {
            regi::TaxClass c = KeyClass(i);
            SetText(IDC_KEY_LINE_NAME1 + i, Table().classNames[static_cast<int>(c)]);
            SendDlgItemMessageW(window_, IDC_KEY_LINE_NAME1 + i, EM_SETCUEBANNER, TRUE,
                                reinterpret_cast<LPARAM>(regi::NamesOf(c).item));
        }
        ShowList();
    }

    // The class of the line ENTER (0), F2 (1) and + (2) make.
    regi::TaxClass KeyClass(int key) const {
        if (key == 2) return regi::TaxClass::Exempt;
        return (key == 0) == sheet_.values.enterReduced ? regi::TaxClass::Reduced : regi::TaxClass::Standard;
    }

    void Command(int id, int code) override {
        if (id == IDC_PUT_DEPARTMENT && code == BN_CLICKED) Put();
        if (id == IDC_REMOVE_DEPARTMENT && code == BN_CLICKED) Remove();
    }

    void Notify(const NMHDR& what) override {
        if (what.idFrom != IDC_DEPARTMENTS) return;
        if (what.code == LVN_ITEMCHANGED) {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(what);
            if (change.uNewState & ~change.uOldState & LVIS_SELECTED) ShowChosen(change.iItem);
        }
        if (what.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(what).wVKey == VK_DELETE) Remove();
    }

    // A department typed and not put in yet is put in as the page is left;
    // a class line's name too long is refused.
    void Leave() override {
        std::optional<DepartmentRow> typed = Typed();
        if (typed) {
            const DepartmentRow* had = Table().Find(typed->department.number);
            if (!had || !(had->department == typed->department) || had->chord != Text(IDC_DEPARTMENT_CHORD)) Put();
        }
        for (int i = 0; i < 3; ++i) {
            std::wstring name = Text(IDC_KEY_LINE_NAME1 + i);
            std::wstring problem = name.empty() ? L"" : regi::DepartmentProblem({1, name, KeyClass(i)});
            if (!problem.empty()) {
                SetFocus(Item(IDC_KEY_LINE_NAME1 + i));
                throw ui::Error(problem);
            }
        }
    }

    void Apply() override {
        for (int i = 0; i < 3; ++i) {
            std::wstring& name = Table().classNames[static_cast<int>(KeyClass(i))];
            if (Text(IDC_KEY_LINE_NAME1 + i) != name) {
                name = Text(IDC_KEY_LINE_NAME1 + i);
                changed_ = true;
            }
        }
        // Only a table the shop edited is written: a file's own lines stay as they are.
        if (changed_) sheet_.values.departmentLines = DepartmentTableText(Table());
    }

    void ShowList() {
        HWND list = Item(IDC_DEPARTMENTS);
        ListView_DeleteAllItems(list);
        for (int i = 0; i < static_cast<int>(Table().rows.size()); ++i) {
            const DepartmentRow& row = Table().rows[static_cast<size_t>(i)];
            std::wstring texts[] = {std::to_wstring(row.department.number), row.department.name,
                                    ClassText(row.department.taxClass), row.chord};
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = texts[kNumber].data();
            ListView_InsertItem(list, &item);
            for (int column : {kName, kClass, kChord}) ListView_SetItemText(list, i, column, texts[column].data());
        }
    }

    void ShowChosen(int chosen) {
        if (chosen < 0 || static_cast<size_t>(chosen) >= Table().rows.size()) return;
        const DepartmentRow& row = Table().rows[static_cast<size_t>(chosen)];
        SetText(IDC_DEPARTMENT_NUMBER, std::to_wstring(row.department.number));
        SetText(IDC_DEPARTMENT_NAME, row.department.name);
        int place = static_cast<int>(std::find(std::begin(kClasses), std::end(kClasses), row.department.taxClass) -
                                     std::begin(kClasses));
        SendDlgItemMessageW(window_, IDC_DEPARTMENT_CLASS, CB_SETCURSEL, static_cast<WPARAM>(place), 0);
        SetText(IDC_DEPARTMENT_CHORD, row.chord);
    }

    // The department the fields hold; nothing while they are empty.
    std::optional<DepartmentRow> Typed() const {
        std::wstring numberText = Text(IDC_DEPARTMENT_NUMBER), name = Text(IDC_DEPARTMENT_NAME);
        if (numberText.find_first_not_of(L" \u3000") == std::wstring::npos && name.empty()) return std::nullopt;
        LRESULT place = SendDlgItemMessageW(window_, IDC_DEPARTMENT_CLASS, CB_GETCURSEL, 0, 0);
        DepartmentRow row;
        row.department.number = ReadTypedNumber(numberText, regi::kMaxDepartment).value_or(-1);
        row.department.name = name;
        row.department.taxClass = kClasses[place >= 0 && place < 3 ? place : 0];
        row.chord = Text(IDC_DEPARTMENT_CHORD);
        return row;
    }

    // The department typed in, in the place of the one of its number; its
    // key by the key map's rule.
    void Put() {
        std::optional<DepartmentRow> row = Typed();
        if (!row) return;
        std::wstring problem = regi::DepartmentProblem(row->department);
        if (!problem.empty()) {
            HWND field = Item(row->department.number < 1 ? IDC_DEPARTMENT_NUMBER : IDC_DEPARTMENT_NAME);
            SetFocus(field);
            SendMessageW(field, EM_SETSEL, 0, -1);
            throw ui::Error(problem);
        }
        const regi::RegisterCommand line = regi::DepartmentLine(row->department.number);
        if (row->chord.find_first_not_of(L" \u3000") == std::wstring::npos) {
            sheet_.keys.TakeAway(line);
            row->chord.clear();
        } else {
            std::wstring refused = sheet_.keys.Give(line, row->chord, sheet_.Names());
            if (!refused.empty()) {
                HWND box = Item(IDC_DEPARTMENT_CHORD);
                SetFocus(box);
                SendMessageW(box, EM_SETSEL, 0, -1);
                throw ui::Error(refused);
            }
            row->chord = regi::ChordText(*sheet_.keys.ExtraChord(line));
        }
        Table().Put(*row);
        changed_ = true;
        ShowList();
        int place = static_cast<int>(Table().Find(row->department.number) - Table().rows.data());
        ListView_SetItemState(Item(IDC_DEPARTMENTS), place, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(Item(IDC_DEPARTMENTS), place, FALSE);
        // The next department is typed over this one.
        SetFocus(Item(IDC_DEPARTMENT_NUMBER));
        SendDlgItemMessageW(window_, IDC_DEPARTMENT_NUMBER, EM_SETSEL, 0, -1);
    }

    // The department chosen in the list; the one after it is chosen next.
    void Remove() {
        HWND list = Item(IDC_DEPARTMENTS);
        int chosen = ListView_GetNextItem(list, -1, LVNI_SELECTED);
        if (chosen < 0 || static_cast<size_t>(chosen) >= Table().rows.size()) return;
        int number = Table().rows[static_cast<size_t>(chosen)].department.number;
        sheet_.keys.TakeAway(regi::DepartmentLine(number));
        Table().Remove(number);
        changed_ = true;
        ShowList();
        for (int field : {IDC_DEPARTMENT_NUMBER, IDC_DEPARTMENT_NAME, IDC_DEPARTMENT_CHORD}) SetText(field, L"");
        if (!Table().rows.empty()) {
            int next = std::min(chosen, static_cast<int>(Table().rows.size()) - 1);
            ListView_SetItemState(list, next, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        }
    }

    bool changed_ = false;  // only a table edited is written: a file without it keeps its bytes
};

// 値引: the discounts set ahead, each with its key, its kind, its value and
// the name the menu and the help give it.
class DiscountsPage : public Page {
public:
    using Page::Page;

private:
    // The kind list's entries, in its order.
    static constexpr regi::DiscountKind kKinds[] = {regi::DiscountKind::Percent, regi::DiscountKind::Yen};

    regi::DiscountKind Kind(int n) const {
        LRESULT place = SendDlgItemMessageW(window_, IDC_PRESET_KIND1 + n, CB_GETCURSEL, 0, 0);
        return kKinds[place == 1 ? 1 : 0];
    }

    void Show() override {
        for (int n = 0; n < regi::kMaxPresets; ++n) {
            SetText(IDC_PRESET_KEY1 + n,
                    std::wstring(regi::PresetKeyName(n + 1)) + L" (&" + std::to_wstring(n + 1) + L")");
            AddItems(Item(IDC_PRESET_KIND1 + n), {L"割引 (%)", L"値引 (円)"});
            std::optional<regi::Discount> preset = ReadPresetText(sheet_.values.presets[n]);
            const std::wstring& text = sheet_.values.presets[n];
            bool yen = preset ? preset->kind == regi::DiscountKind::Yen : !text.empty() && text.back() != L'%';
            SendDlgItemMessageW(window_, IDC_PRESET_KIND1 + n, CB_SETCURSEL, yen ? 1 : 0, 0);
            // A value the file has that does not read is shown as it is, to be put right.
            SetText(IDC_PRESET_VALUE1 + n, preset ? std::to_wstring(preset->keyed) : text);
            SetText(IDC_PRESET_LABEL1 + n, sheet_.values.presetLabels[n]);
        }
    }

    void Leave() override {
        for (int n = 0; n < regi::kMaxPresets; ++n) {
            std::wstring value = Text(IDC_PRESET_VALUE1 + n);
            if (value.find_first_not_of(L" \u3000") == std::wstring::npos) continue;
            std::wstring problem = PresetProblem(Kind(n), value);
            if (problem.empty()) continue;
            HWND field = Item(IDC_PRESET_VALUE1 + n);
            SetFocus(field);
            SendMessageW(field, EM_SETSEL, 0, -1);
            throw ui::Error(problem);
        }
    }

    void Apply() override {
        for (int n = 0; n < regi::kMaxPresets; ++n) {
            std::optional<regi::Discount> typed = ReadPreset(Kind(n), Text(IDC_PRESET_VALUE1 + n));
            // A value as the file has it stays as it is written there.
            if (!(typed == ReadPresetText(sheet_.values.presets[n])))
                sheet_.values.presets[n] = typed ? PresetText(*typed) : L"";
            sheet_.values.presetLabels[n] = Text(IDC_PRESET_LABEL1 + n);
        }
    }
};

// 商品
class ProductsPage : public Page {
public:
    using Page::Page;

private:
    void Show() override {
        for (const catalog::InStoreLayout& layout : catalog::InStoreLayouts()) {
            std::wstring name = catalog::LayoutName(layout);
            SendDlgItemMessageW(window_, IDC_INSTORE_LAYOUT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
        const catalog::InStoreLayout chosen =
            catalog::ReadLayout(sheet_.values.inStoreLayout).value_or(catalog::InStoreLayout{});
        const auto& layouts = catalog::InStoreLayouts();
        const auto place = std::find(layouts.begin(), layouts.end(), chosen) - layouts.begin();
        SendDlgItemMessageW(window_, IDC_INSTORE_LAYOUT, CB_SETCURSEL, static_cast<WPARAM>(place), 0);
        ShowFile();
    }

    void ShowFile() {
        const ShopSettingsHooks& hooks = sheet_.hooks;
        SetText(IDC_PRODUCTS_FILE, hooks.productFile ? hooks.productFile() : L"");
        SetText(IDC_PRODUCTS_STATUS, hooks.productStatus ? hooks.productStatus() : L"");
        std::wstring faults = hooks.productFaults ? hooks.productFaults() : L"";
        SetText(IDC_PRODUCTS_FAULTS, faults.empty() ? L"（ありません）" : faults);
    }

    void Command(int id, int code) override {
        if (id != IDC_RELOAD_PRODUCTS || code != BN_CLICKED) return;
        if (sheet_.hooks.reloadProducts) sheet_.hooks.reloadProducts();
        ShowFile();
    }

    void Apply() override {
        LRESULT place = SendDlgItemMessageW(window_, IDC_INSTORE_LAYOUT, CB_GETCURSEL, 0, 0);
        const auto& layouts = catalog::InStoreLayouts();
        if (place < 0 || static_cast<size_t>(place) >= layouts.size()) return;
        // A layout as the file has it stays as it is written there.
        if (!(catalog::ReadLayout(sheet_.values.inStoreLayout) == layouts[static_cast<size_t>(place)]))
            sheet_.values.inStoreLayout = catalog::LayoutText(layouts[static_cast<size_t>(place)]);
    }
};

}  // namespace

bool EditShopSettings(HWND owner, Settings& values, const ShopSettingsHooks& hooks) {
    Sheet sheet(values, hooks);
    ReceiptPage receipt(sheet);
    TendersPage tenders(sheet);
    RatesPage rates(sheet);
    KeysPage keys(sheet);
    DepartmentsPage departments(sheet);
    DiscountsPage discounts(sheet);
    ProductsPage products(sheet);
    const std::pair<int, Page*> pages[] = {
        {IDD_SHOP_RECEIPT, &receipt}, {IDD_SHOP_TENDERS, &tenders},         {IDD_SHOP_RATES, &rates},
        {IDD_SHOP_KEYS, &keys},       {IDD_SHOP_DEPARTMENTS, &departments}, {IDD_SHOP_DISCOUNTS, &discounts},
        {IDD_SHOP_PRODUCTS, &products}};
    PROPSHEETPAGEW made[std::size(pages)] = {};
    for (size_t i = 0; i < std::size(pages); ++i) {
        made[i].dwSize = sizeof made[i];
        made[i].hInstance = ui::App().Instance();
        made[i].pszTemplate = MAKEINTRESOURCEW(pages[i].first);
        made[i].pfnDlgProc = Page::Proc;
        made[i].lParam = reinterpret_cast<LPARAM>(pages[i].second);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.hInstance = ui::App().Instance();
    header.pszCaption = L"店の設定";
    header.nPages = static_cast<UINT>(std::size(made));
    header.ppsp = made;
    PropertySheetW(&header);
    if (!sheet.applied) return false;
    values = std::move(sheet.values);
    return true;
}

}  // namespace settings
