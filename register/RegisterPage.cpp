#include "register/RegisterPage.h"

#include <commctrl.h>

#include <imm.h>

#include <algorithm>

#include "catalog/CheckDigit.h"
#include "catalog/Scan.h"
#include "register/RegisterPageIds.h"
#include "help/Help.h"
#include "ui/App.h"
#include "ui/Confirm.h"
#include "ui/Controls.h"
#include "sale/Return.h"
#include "ui/Error.h"

namespace regi {

namespace {

const wchar_t* const kFace = ui::kFontFace;
const COLORREF kValueColor = RGB(237, 244, 102);    // light yellow: amounts, grid
const COLORREF kCaptionColor = RGB(158, 248, 248);  // light cyan: their captions
const TColor kEntryColor = 16566268;                // RGB(252, 199, 252)
constexpr int kRowHeight = 40;
constexpr int kDefaultColWidth = 200;
constexpr UINT_PTR kSheetSubclass = 1;

// One row of the amount column: caption label, value widget, heights, fonts.
struct AmountRow {
    Label caption;
    int captionId;
    Label value;  // Label7's value is the entry field itself
    int valueId;
    int top, height;
};
const AmountRow kAmountRows[] = {
    {Label5, ids::Label5, Label1, ids::Label1, 246, 29}, {Label6, ids::Label6, Label2, ids::Label2, 280, 40},
    {Label7, ids::Label7, Label7, 0, 324, 40},           {Label8, ids::Label8, Label3, ids::Label3, 370, 40},
    {Label9, ids::Label9, Label4, ids::Label4, 416, 29},
};

struct Header {
    int id;
    const wchar_t* caption;
    int left;
};
const Header kHeaders[] = {
    {ids::Label13, L"No.", 15},   {ids::Label16, L"単価", 196}, {ids::Label17, L"数", 282},
    {ids::Label18, L"小計", 467}, {ids::Label10, L"税", 533},
};

// The sale's labels in the order of Label, with their control IDs.
const std::pair<Label, int> kLabelIds[] = {
    {Label1, ids::Label1}, {Label2, ids::Label2},   {Label3, ids::Label3},   {Label4, ids::Label4},
    {Label5, ids::Label5}, {Label6, ids::Label6},   {Label7, ids::Label7},   {Label8, ids::Label8},
    {Label9, ids::Label9}, {Label14, ids::Label14}, {Label15, ids::Label15}, {Label19, ids::Label19},
};

bool IsValueLabel(Label label) { return label >= Label1 && label <= Label4; }

}  // namespace

RegisterPage::~RegisterPage() {
    if (sheet_ && IsWindow(sheet_)) RemoveWindowSubclass(sheet_, SheetProc, kSheetSubclass);
}

void RegisterPage::Create(HWND sheet, HWND form, HWND pageControl, Hooks hooks) {
    sheet_ = sheet;
    form_ = form;
    pageControl_ = pageControl;
    hooks_ = std::move(hooks);
    font16_ = ui::MakeFont(kFace, 16);
    font16Bold_ = ui::MakeFont(kFace, 16, true);
    font19Bold_ = ui::MakeFont(kFace, 19, true);
    font24_ = ui::MakeFont(kFace, 24);
    font27Bold_ = ui::MakeFont(kFace, 27, true);

    // Column headers over the right-hand ends of their columns. Like every
    // label of the page they take their own clicks, which do nothing.
    for (const Header& h : kHeaders) {
        HWND label = ui::CreateLabel(sheet, h.id, h.caption, h.left, 5, font19Bold_.get());
        SetWindowLongPtrW(label, GWL_STYLE, GetWindowLongPtrW(label, GWL_STYLE) | WS_CLIPSIBLINGS | SS_NOTIFY);
    }

    // Tab order: the grid first, the entry field second.
    grid_.SetColor(kValueColor);
    grid_.SetFont(font24_.get());
    grid_.SetDefaultColWidth(kDefaultColWidth);
    grid_.SetDefaultRowHeight(kRowHeight);
    grid_.SetGridLines(true, true);
    grid_.SetOwnerCoversCells(true);  // StringGrid1DrawCell fills every cell
    grid_.OnDrawCell = [this](int col, int row, const RECT& rect, ui::StringGrid::DrawState state,
                              ui::StringGrid::Canvas& canvas) { StringGrid1DrawCell(col, row, rect, state, canvas); };
    grid_.OnSelectCell = [this](int col, int row, bool& canSelect) { StringGrid1SelectCell(col, row, canSelect); };
    grid_.OnEnter = [this] { StringGrid1Enter(); };
    grid_.Create(sheet, ids::StringGrid1, 2, 32, 571, 201);

    entry_.SetAutoSize(false);
    entry_.SetAutoSelect(false);
    entry_.SetIntegerLength(13);
    entry_.SetDecimalLength(0);
    entry_.SetLeftMark(L"\u00A5");
    entry_.SetOptions({eoArrowUp, eoArrowDown, eoORInputStop});
    entry_.SetRightMargin(0);
    entry_.Create(sheet, ids::SaNumEdit1, 364, 324, 210, 40, font27Bold_.get());
    entry_.SetColor(kEntryColor);  // after Create, whose parent step sets the window colour
    // An amount as large as the largest sale still fits: the field draws it smaller.
    std::vector<HFONT> smaller;
    for (int height = 25; height >= 13; height -= 2) {
        entryFonts_.push_back(ui::MakeFont(kFace, height, true));
        smaller.push_back(entryFonts_.back().get());
    }
    entry_.SetFittingFonts(std::move(smaller));
    entry_.SetText(L"");
    entry_.OnKeyDown = [this](TSaNumEdit& sender, std::uint16_t& key, TShiftState shift) {
        SaNumEdit1KeyDown(sender, key, shift);
    };
    entry_.OnKeyUp = [this](TSaNumEdit& sender, std::uint16_t& key, TShiftState shift) {
        SaNumEdit1KeyUp(sender, key, shift);
    };
    entry_.OnKeyPress = [this](TSaNumEdit& sender, wchar_t& key) { SaNumEdit1KeyPress(sender, key); };
    entry_.OnExit = [this](TSaNumEdit&) { held_.Forget(); };
    // No input method on the entry field: a scanner's digits would become a composition.
    ImmAssociateContextEx(entry_.Handle(), nullptr, 0);

    CreateLabels(sheet);
    SetWindowSubclass(sheet, SheetProc, kSheetSubclass, reinterpret_cast<DWORD_PTR>(this));
}

const wchar_t* RegisterPage::ShownCaption(Label label) {
    shownCaptions_[label] = CaptionText(sale_, screen_, label);
    return shownCaptions_[label].c_str();
}

void RegisterPage::CreateLabels(HWND sheet) {
    for (const AmountRow& row : kAmountRows) {
        HFONT captionFont = row.height == 29 ? font16Bold_.get() : font19Bold_.get();
        labels_[row.caption] = ui::CreateControl(L"STATIC", ShownCaption(row.caption),
                                                 SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | SS_NOTIFY | WS_CLIPSIBLINGS,
                                                 273, row.top, 80, row.height, sheet, row.captionId, captionFont);
        ui::SetControlColors(labels_[row.caption], kCaptionColor, GetSysColor(COLOR_WINDOWTEXT));
        if (!row.valueId) continue;
        HFONT valueFont = row.height == 29 ? font16_.get() : font27Bold_.get();
        labels_[row.value] = ui::CreateControl(L"STATIC", ShownCaption(row.value),
                                               SS_RIGHT | SS_CENTERIMAGE | SS_NOPREFIX | SS_NOTIFY | WS_CLIPSIBLINGS,
                                               364, row.top, 205, row.height, sheet, row.valueId, valueFont);
        ui::SetControlColors(labels_[row.value], kValueColor, GetSysColor(COLOR_WINDOWTEXT));
    }
    // The instruction texts, in the bevelled frame that is made after them so
    // that it lies beneath them.
    struct Prompt {
        Label label;
        int id;
        int top, height;
    };
    const Prompt prompts[] = {
        {Label14, ids::Label14, 256, 72}, {Label15, ids::Label15, 332, 56}, {Label19, ids::Label19, 392, 44}};
    for (const Prompt& p : prompts) {
        labels_[p.label] =
            ui::CreateControl(L"STATIC", ShownCaption(p.label), SS_LEFT | SS_NOPREFIX | SS_NOTIFY | WS_CLIPSIBLINGS, 12,
                              p.top, 245, p.height, sheet, p.id, font16_.get());
    }
    bevel_ = ui::CreateControl(L"STATIC", L"", SS_ETCHEDFRAME | SS_NOTIFY | WS_CLIPSIBLINGS, 4, 248, 261, 193, sheet,
                               ids::Bevel1, nullptr);
    CreateTaxTip();
}

void RegisterPage::CreateTaxTip() {
    taxTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0,
                              0, sheet_, nullptr, ui::App().Instance(), nullptr);
    if (!taxTip_) return;
    SendMessageW(taxTip_, TTM_SETMAXTIPWIDTH, 0, 400);  // one line per class
    for (Label label : {Label5, Label1}) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = sheet_;
        tool.uId = reinterpret_cast<UINT_PTR>(labels_[label]);
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(taxTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void RegisterPage::SetUpGrid() {
    grid_.SetRowCount(kRows);
    grid_.SetColCount(kCols);
    grid_.SetFixedRows(0);
    grid_.SetFixedCols(0);
    RECT r;
    GetWindowRect(grid_.Handle(), &r);
    // Five rows show at a time.
    SetWindowPos(grid_.Handle(), nullptr, 0, 0, r.right - r.left, (grid_.DefaultRowHeight() + 1) * 5 + 3,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    int width = grid_.DefaultColWidth();
    grid_.SetColWidth(0, width / 5);
    grid_.SetColWidth(2, width / 3);
    grid_.SetColWidth(4, width / 5);
    grid_.SetColWidth(5, width / 5);
}

void RegisterPage::ArmEntry() {
    entry_.SetText(L"");
    PostArmingClicks();
}

void RegisterPage::PostArmingClicks() {
    PostMessageW(entry_.Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(0, 0));
    PostMessageW(entry_.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
}

void RegisterPage::ShowFirstPrompt() {
    screen_.prompted = true;
    Refresh();
}

void RegisterPage::Rearm() {
    if (SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0) != 0) return;
    SetFocus(pageControl_);
    ArmEntry();
}

namespace {

KeyChord ChordOf(std::uint16_t key, TShiftState shift) {
    return {key, (shift & ssCtrl) != 0, (shift & ssShift) != 0, (shift & ssAlt) != 0};
}

bool IsDigitKey(std::uint16_t key) { return (key >= '0' && key <= '9') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9); }

}  // namespace

void RegisterPage::SaNumEdit1KeyDown(TSaNumEdit& sender, std::uint16_t& key, TShiftState shift) {
    const KeyChord chord = ChordOf(key, shift);
    KillTimer(sheet_, kScanTimerId);
    if (IsDigitKey(key)) FollowDigit(key, static_cast<std::uint32_t>(GetMessageTime()));
    if (sender.Focused()) {
        held_.Press(chord, sender.Text());
        zerosAtPress_.emplace(key, zeros_);
    }
    // The character a command's chord makes (Shift+Num - makes "-") is no
    // typing: only the plain keypad minus gives the entry its sign.
    commandChar_ = (chord.ctrl || chord.shift || chord.alt) && keys_.Find(chord);
    if (key != keyF1) return;
    help::SetHelpFile(help::kHelpFile);
    if (hooks_.showHelpContents) hooks_.showHelpContents();
}

void RegisterPage::FollowDigit(std::uint16_t /*key*/, std::uint32_t time) {
    const std::wstring text = entry_.Text();
    // The first digit of an entry starts the count of its leading zeros.
    if (text.empty()) {
        zeros_ = 0;
        scanSpeed_ = true;
    } else if (time - lastDigitTime_ > kScanGap) {
        scanSpeed_ = false;
    }
    lastDigitTime_ = time;
}

void RegisterPage::SaNumEdit1KeyPress(TSaNumEdit& sender, wchar_t& key) {
    if (commandChar_) key = 0;
    commandChar_ = false;
    if (key == L'0' && (sender.Text().empty() || sender.Text() == L"0")) ++zeros_;
}

void RegisterPage::SaNumEdit1KeyUp(TSaNumEdit& /*sender*/, std::uint16_t& key, TShiftState /*shift*/) {
    // The command of the chord as it was pressed, whatever was let go of since.
    std::optional<HeldKey> press = held_.Release(key);
    auto zeros = zerosAtPress_.find(key);
    const int zerosAtPress = zeros == zerosAtPress_.end() ? zeros_ : zeros->second;
    if (zeros != zerosAtPress_.end()) zerosAtPress_.erase(zeros);
    if (!press) return;
    if (std::optional<RegisterCommand> does = keys_.Find(press->chord)) return Act(*does, press->entry, zerosAtPress);
    // A scanner's suffix of Tab, or none: a code rings once the scanner has
    // stopped typing. Not at its last digit: a suffix still to come would
    // close the message that tells of a code not found.
    if (key == VK_TAB && press->chord == KeyChord{VK_TAB}) return RingScannedCode();
    if (!IsDigitKey(key)) return;
    if (scanSpeed_ && catalog::IsJanLength(KeyedDigits(entry_.Text(), zeros_).size()))
        SetTimer(sheet_, kScanTimerId, kScanPause, nullptr);
}

std::string RegisterPage::KeyedDigits(const std::wstring& entry, int zeros) {
    std::string digits;
    for (wchar_t c : entry) {
        if (c < L'0' || c > L'9') return std::string(entry.begin(), entry.end());
        digits += static_cast<char>(c);
    }
    // The field shows "0" for any number of zeros keyed alone.
    if (digits == "0") return std::string(static_cast<size_t>(std::max(zeros, 1)), '0');
    return std::string(static_cast<size_t>(std::max(zeros, 0)), '0') + digits;
}

std::optional<CodeRing> RegisterPage::CodeOf(const std::wstring& entry, int zeros, bool productKey) const {
    if (entry.empty()) return std::nullopt;
    const std::string digits = KeyedDigits(entry, zeros);
    if (hooks_.readCode) return hooks_.readCode(digits, productKey);
    return catalog::ReadCode(digits, productKey, catalog::Catalog{}, catalog::InStoreLayout{});
}

void RegisterPage::RingScannedCode() {
    KillTimer(sheet_, kScanTimerId);
    if (!entry_.Focused() || !CodeOf(entry_.Text(), zeros_, false)) return;
    Act(RegisterCommand{PageAction::Sale, Command::EnterLine}, entry_.Text(), zeros_);
}

void RegisterPage::ScanTimer() {
    KillTimer(sheet_, kScanTimerId);
    if (scanSpeed_) RingScannedCode();
}

bool RegisterPage::RunCommand(int menuId) {
    const KeyCommand* row = nullptr;
    for (const KeyCommand& r : KeyCommands())
        if (r.menuId == menuId) row = &r;
    if (!row) return false;
    if (SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0) != 0) return true;
    Act(row->does, entry_.Text(), zeros_);
    SetFocus(entry_.Handle());
    return true;
}

void RegisterPage::Act(const RegisterCommand& does, const std::wstring& entryAtPress, int zerosAtPress) {
    switch (does.action) {
    case PageAction::Help: return;  // at the key's press
    case PageAction::Receipt:
        if (hooks_.showReceipt) hooks_.showReceipt();
        return;
    case PageAction::Drawer:
        // No sale: the drawer opens between sales, never in the middle of one.
        if (sale_.State() == SaleState::Open)
            ui::ShowError(kDrawerInSale);
        else if (hooks_.openDrawer)
            hooks_.openDrawer();
        return;
    case PageAction::Return:
        // Between sales, as the drawer: a return is a transaction of its own.
        if (sale_.State() == SaleState::Open)
            ui::ShowError(kReturnInSale);
        else if (hooks_.returnGoods && hooks_.returnGoods(entryAtPress))
            entry_.SetText(held_.AfterCommand(entryAtPress, entry_.Text(), L"", true));
        return;
    case PageAction::Sale:
    case PageAction::Department:
    case PageAction::Product: break;
    }
    const bool wasSettled = sale_.State() == SaleState::Settled;
    // The command takes the entry of its key's press; digits typed while the
    // key was held stay in the field for the next one. A command refused
    // (or one that throws) leaves the field with all that was typed.
    const std::wstring shown = entry_.Text();
    const Rates rates = hooks_.rates ? hooks_.rates() : Rates();
    // A department's own key makes a line, as ENTER does; so does a code,
    // keyed with the product key or scanned with ENTER.
    const bool department = does.action == PageAction::Department || does.action == PageAction::Product;
    const bool enter = does.action == PageAction::Sale && does.command == Command::EnterLine;
    std::optional<CodeRing> code;
    if (does.action == PageAction::Product || enter)
        code = CodeOf(entryAtPress, zerosAtPress, does.action == PageAction::Product);
    if (does.action == PageAction::Product && !code) return;
    Outcome outcome = code         ? sale_.RunCode(*code, rates)
                      : department ? sale_.RunDepartment(does.department, Entry(entryAtPress), rates)
                                   : sale_.Run(does.command, Entry(entryAtPress), rates);
    std::wstring left = outcome.EntryAfter(entryAtPress);
    std::wstring now = held_.AfterCommand(entryAtPress, shown, left, outcome.acted);
    if (entry_.Text() != now) entry_.SetText(now);
    Show(ShownAfter(department ? Command::EnterLine : does.command, outcome, sale_), outcome);
    if (outcome.askCancel && ui::AskYesNo(GetAncestor(sheet_, GA_ROOT), sale_.CancelQuestion())) {
        outcome = sale_.Cancel();
        now = held_.AfterCommand(entryAtPress, shown, outcome.EntryAfter(entry_.Text()), outcome.acted);
        if (entry_.Text() != now) entry_.SetText(now);
        Show(ShownAfter(Command::Cancel, outcome, sale_), outcome);
    }
    if (!wasSettled && sale_.State() == SaleState::Settled && hooks_.settled) hooks_.settled(sale_.LastSettled());
    if (outcome.acted && hooks_.changed) hooks_.changed(sale_);
}

void RegisterPage::Show(const CommandShown& shown, const Outcome& outcome) {
    screen_.Follow(sale_);
    for (int row : shown.cursorMoves) grid_.SetCurrent(0, row);
    // Only what changed is set again: the grid repaints the cells it is given,
    // a label measures its font for every caption.
    const std::vector<SaleRow> saleRows = sale_.Rows();
    const int rows = std::max(static_cast<int>(saleRows.size()), rowsShown_);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c) grid_.SetCell(c, r, CellText(sale_, saleRows, c, r));
    rowsShown_ = static_cast<int>(saleRows.size());
    for (const auto& [label, id] : kLabelIds) {
        HWND window = labels_[label];
        std::wstring caption = CaptionText(sale_, screen_, label);
        if (!window || caption == shownCaptions_[label]) continue;
        if (IsValueLabel(label)) {
            // An amount is shown whole, in a smaller font when it must be.
            HFONT base = label == Label1 || label == Label4 ? font16_.get() : font27Bold_.get();
            ui::SetFittedCaption(window, caption, base, fittedFonts_[label]);
        } else {
            SetWindowTextW(window, caption.c_str());
        }
        shownCaptions_[label] = std::move(caption);
    }
    std::wstring tip = TaxTipText(sale_);
    if (taxTip_ && tip != shownTip_) {
        shownTip_ = std::move(tip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = sheet_;
        tool.lpszText = const_cast<wchar_t*>(shownTip_.c_str());
        for (Label label : {Label5, Label1}) {
            tool.uId = reinterpret_cast<UINT_PTR>(labels_[label]);
            SendMessageW(taxTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    if (outcome.acted) SetFocus(entry_.Handle());
    // The sale has emptied the entry already; what the field shows now was
    // typed while the command key was held and stays.
    if (shown.armEntry) PostArmingClicks();
    if (outcome.Refused()) ui::ShowError(outcome.Message());
}

void RegisterPage::StringGrid1DrawCell(int col, int row, const RECT& rect, ui::StringGrid::DrawState state,
                                       ui::StringGrid::Canvas& canvas) {
    // The current cell looks like every other cell.
    if (state.selected) {
        canvas.brushColor = grid_.Color();
        canvas.fontColor = grid_.FontColor();
    }
    canvas.FillRect(rect);
    RECT text = rect;
    OffsetRect(&text, 0, 2);
    canvas.DrawText(grid_.Cell(col, row), text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

void RegisterPage::StringGrid1SelectCell(int col, int /*row*/, bool& canSelect) { canSelect = col <= 0; }

void RegisterPage::StringGrid1Enter() {
    // The grid is a display: the focus goes straight on to the entry field.
    SendMessageW(form_, WM_NEXTDLGCTL, 0, 0);
}

void RegisterPage::TabSheet1MouseUp() { Rearm(); }

LRESULT CALLBACK RegisterPage::SheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                         DWORD_PTR data) {
    switch (message) {
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: ui::Guarded([data] { reinterpret_cast<RegisterPage*>(data)->TabSheet1MouseUp(); }); break;
    case WM_TIMER:
        if (wParam == kScanTimerId) {
            ui::Guarded([data] { reinterpret_cast<RegisterPage*>(data)->ScanTimer(); });
            return 0;
        }
        break;
    case WM_NCDESTROY: RemoveWindowSubclass(hwnd, SheetProc, kSheetSubclass); break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace regi
