#include "app/Form1.h"

#include <commctrl.h>
#include <mmsystem.h>

#include "about/VersionBox.h"
#include "app/Form1Ids.h"
#include "common/Version.h"
#include "help/Help.h"
#include "journal/ReportWindow.h"
#include "receipt/Preview.h"
#include "receipt/Printing.h"
#include "settings/GreetingSound.h"
#include "platform/Clock.h"
#include "settings/LocalClock.h"
#include "settings/ProfileValues.h"
#include "settings/WindowBounds.h"
#include "ui/App.h"
#include "ui/Confirm.h"
#include "ui/Controls.h"
#include "ui/Error.h"
#include "platform/Files.h"

using namespace form1;

namespace {

const wchar_t kClass[] = L"TForm1";
using ui::kFontFace;
constexpr int kToolBarHeight = 29;
constexpr int kStatusBarHeight = 26;

struct ToolButton {
    int id;
    const wchar_t* picture;
    const wchar_t* tip;
};
const ToolButton kToolButtons[] = {
    {SpeedButton1, L"TOOLEXIT", L"終了"},
    {SpeedButton2, L"TOOLHELP", L"ヘルプを表示します。"},
    {SpeedButton3, L"TOOLABOUT", L"バージョン情報を表示します。"},
};

struct Page {
    int id;
    const wchar_t* caption;
};
const Page kPages[] = {{TabSheet1, L"Regi"}, {TabSheet2, L"Kinsyu"}, {TabSheet3, L"設定"}};

// Adds a tool-bar picture whose bottom-left pixel's colour is transparent.
void AddPicture(HIMAGELIST images, const wchar_t* name) {
    ui::Bitmap picture(
        static_cast<HBITMAP>(LoadImageW(ui::App().Instance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!picture) return;
    BITMAP info{};
    GetObjectW(picture.get(), sizeof info, &info);
    COLORREF transparent;
    {
        ui::MemoryDC dc(nullptr);
        ui::SelectGuard select(dc, picture.get());
        transparent = GetPixel(dc, 0, info.bmHeight - 1);
    }
    ImageList_AddMasked(images, picture.get(), transparent);
}

struct RegisterCommand {
    int id;
    std::uint16_t key;  // 0: a separator
    const wchar_t* caption;
};
const RegisterCommand kRegisterCommands[] = {
    {RegiEnter, regi::keyReturn, L"ENTER キーの行(&E)\tEnter"},
    {RegiReduced, regi::keyF2, L"軽減税率の行(&R)\tF2"},
    {RegiExempt, regi::keyAdd, L"非課税の行(&N)\tNum +"},
    {RegiQuantity, regi::keyMultiply, L"数量(&Q)\tNum *"},
    {0, 0, nullptr},
    {RegiVoid, regi::keyF3, L"直前の行を取消(&V)\tF3"},
    {RegiClearEntry, regi::keyF4, L"入力のクリア(&C)\tF4"},
    {RegiCancel, regi::keyF8, L"取引中止(&A)\tF8"},
    {0, 0, nullptr},
    {RegiSettle, regi::keyDivide, L"預り・釣銭(&T)\tNum /"},
    {RegiClear, regi::keyDecimal, L"次のお客様(&L)\tNum Del"},
};

HMENU MakeMainMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING | MF_GRAYED, TakeX, L"点検(&T)...");
    AppendMenuW(file, MF_STRING | MF_GRAYED, TakeZ, L"精算(&Z)...");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, Exit1, L"終了(&X)");
    // The register's commands with their keys; each does what its key would.
    HMENU regi = CreatePopupMenu();
    for (const RegisterCommand& command : kRegisterCommands) {
        if (command.key == 0)
            AppendMenuW(regi, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(regi, MF_STRING, command.id, command.caption);
    }
    HMENU help = CreatePopupMenu();
    AppendMenuW(help, MF_STRING, Contents1, L"目次(&C)");
    AppendMenuW(help, MF_STRING, SearchforHelpOn1, L"トピックの検索(&S)...");
    AppendMenuW(help, MF_STRING, HowtoUseHelp1, L"ヘルプの使い方(&H)");
    AppendMenuW(help, MF_STRING, About1, L"バージョン情報(&A)...");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル(&F)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(regi), L"レジ(&R)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"ヘルプ(&H)");
    return bar;
}

}  // namespace

const wchar_t TForm1::kExitQuestion[] = L"終了すると売上が消えま\rす別途メモしてください｡\r宜しいでしょうか?";
const wchar_t TForm1::kExitQuestionWithJournal[] = L"終了してもよろしいですか?\r売上は記録に残ります。";
const wchar_t TForm1::kRecoveredSale[] = L"前回終了時の取引を復元しました";
const wchar_t TForm1::kZQuestion[] = L"精算すると売上の集計を 0 に戻します。よろしいですか?";

namespace {
// Posted at the end of creation: what start-up has to tell, once the window is up.
constexpr UINT kShowStartMessages = WM_APP + 1;
}  // namespace

TForm1::TForm1(std::wstring settingsPath) : settingsFile_(std::move(settingsPath)) {
    RegisterClassOnce(kClass, 0, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      LoadIconW(ui::App().Instance(), L"MAINICON"));
    Create(kClass, L" Pelmora Version " PELMORA_VERSION_WTEXT,
           (WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX) | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 315, 118, 606, 597, nullptr,
           MakeMainMenu());
    // The greeting and the clock run from creation on.
    timer1Enabled_ = SetTimer(Handle(), Timer1, 500, nullptr) != 0;
    SetTimer(Handle(), Timer2, 1000, nullptr);
    // A failed creation step is reported and the window is still there to use.
    ui::Guarded([this] { FormCreate(); });
}

void TForm1::FormCreate() {
    // 1. The base font: 11 points on a 96-dpi screen, else 9 points.
    int dpi = GetDeviceCaps(ui::WindowDC(nullptr), LOGPIXELSY);
    baseFont_ = ui::MakeFont(kFontFace, settings::PointsToPixels(settings::BaseFontPoints(dpi), dpi));
    CreateWidgets();
    // 2. The settings of the last run.
    ApplySettings();
    // 3. This form previews no keys: they go straight to the focused control.
    // 4. The register's line grid.
    registerPage_.SetUpGrid();
    // 5. The register's entry field takes the focus once the message loop runs.
    registerPage_.ArmEntry();
    // 6. The cash count grid's headers and row captions.
    cashCountPage_.SetUp();
    // 7. The register's first instruction.
    registerPage_.ShowFirstPrompt();
    // The journal, when the shop keeps one: the sales since the last daily
    // close, and the sale a run that ended unexpectedly left open.
    StartJournal();
}

void TForm1::StartJournal() {
    cashCountPage_.ShowJournalButton(settingsPage_.JournalOn());
    journal::Journal* journal = Journal();
    if (!journal) return;
    std::vector<regi::LineRecord> lines;
    ui::Guarded([&] { lines = journal->Start(); });
    regi::TSale& sale = registerPage_.Sale();
    sale.SetSalesTotal(journal->SalesTotal());
    // What the journal has to say of itself (changed outside the program, held
    // by another one, a recovery file kept aside), then the sale put back.
    for (std::wstring& message : journal->StartMessages()) startMessages_.push_back({std::move(message), false});
    if (!lines.empty()) {
        sale.Restore(lines, {settingsPage_.TaxText(), settingsPage_.ReducedTaxText(), settingsPage_.EnterReduced()});
        startMessages_.push_back({kRecoveredSale, true});
    }
    registerPage_.Refresh();
    if (!startMessages_.empty()) PostMessageW(Handle(), kShowStartMessages, 0, 0);
}

void TForm1::TellAtStart(std::wstring notice) {
    if (startMessages_.empty()) PostMessageW(Handle(), kShowStartMessages, 0, 0);
    startMessages_.push_back({std::move(notice), true});
}

journal::Journal* TForm1::Journal() {
    if (!settingsPage_.JournalOn()) return nullptr;
    if (!journal_) journal_ = std::make_unique<journal::Journal>(platform::FolderOf(settingsFile_.Path()));
    return journal_.get();
}

std::int64_t TForm1::CashFloat() const { return settingsPage_.CashFloat(); }

void TForm1::ShowReport(const wchar_t* caption, const journal::Report& report) {
    std::vector<receipt::Line> printed;
    for (const journal::ReportLine& line : report.items)
        printed.push_back(receipt::Captioned(line.caption, line.values));
    journal::TReportWindow window(caption, report.Text(), [this, caption, printed] {
        receipt::Print(printed, settingsPage_.Receipt(), caption);
    });
    window.ShowModal(Handle());
}

void TForm1::ShowReceipt() {
    // The last sale of this run; else, with the journal, the last one it held
    // at the start, settled in an earlier run: its receipt is a reprint.
    const regi::SaleRecord* sale = &registerPage_.Sale().LastSettled();
    bool earlierRun = false;
    if (sale->number == 0 && Journal()) {
        sale = &journal_->EarlierSale();
        earlierRun = true;
    }
    if (sale->number == 0) return;
    receipt::Settings settings = settingsPage_.Receipt();
    bool reprint = earlierRun || printedSale_ == sale->number;
    receipt::TReceiptPreview preview(receipt::ReceiptLines(*sale, settings, reprint), settings);
    if (preview.ShowModal(Handle()) == IDOK) printedSale_ = sale->number;
}

void TForm1::PrintReceipt(const regi::SaleRecord& sale) {
    // A printer that fails says so; the sale stays settled and F5 can try again.
    if (settingsPage_.PrintMode() != 1) return;
    ui::Guarded([&] {
        receipt::Print(receipt::ReceiptLines(sale, settingsPage_.Receipt(), false), settingsPage_.Receipt(),
                       L"レシート");
        printedSale_ = sale.number;
    });
}

void TForm1::ChoosePrinter() {
    std::vector<std::wstring> printers = receipt::InstalledPrinters();
    if (printers.empty()) throw ui::Error(receipt::kNoPrinter);
    ui::Menu menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, 1, L"通常使うプリンター");
    for (size_t i = 0; i < printers.size(); ++i) AppendMenuW(menu.get(), MF_STRING, i + 2, printers[i].c_str());
    RECT r;
    GetWindowRect(Control(Button6), &r);
    UINT chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, r.left, r.bottom, 0, Handle(), nullptr);
    if (chosen == 1) settingsPage_.SetPrinter(L"");
    if (chosen >= 2) settingsPage_.SetPrinter(printers[chosen - 2]);
}

void TForm1::TakeXClick() {
    journal::Journal* journal = Journal();
    if (!journal) return;
    ShowReport(L"点検", journal->TakeX(CashFloat()));
}

void TForm1::TakeZClick() {
    journal::Journal* journal = Journal();
    if (!journal || !ui::Ask(Handle(), {kZQuestion, L"確認", L"はい(&Y)", L"いいえ(&N)"})) return;
    journal::Report report = journal->TakeZ(CashFloat());
    registerPage_.Sale().SetSalesTotal(journal->SalesTotal());
    registerPage_.Refresh();
    ShowReport(L"精算", report);
}

void TForm1::CreateWidgets() {
    CreateToolBar();
    CreatePages();
    CreateStatusBar();
    RECT client;
    GetClientRect(Handle(), &client);
    LayoutFrame(client.right, client.bottom);
}

void TForm1::CreateToolBar() {
    toolBar_ =
        CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE, 0,
                        0, 598, kToolBarHeight, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(ToolBar1)),
                        ui::App().Instance(), nullptr);
    SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    toolPictures_.reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0));
    for (const ToolButton& button : kToolButtons) AddPicture(toolPictures_.get(), button.picture);
    SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolPictures_.get()));
    SendMessageW(toolBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));

    // Separator of 8 pixels before each button; the button texts are the tips.
    TBBUTTON buttons[6] = {};
    for (int i = 0; i < 3; ++i) {
        TBBUTTON& separator = buttons[2 * i];
        separator.iBitmap = 8;
        separator.fsStyle = BTNS_SEP;
        TBBUTTON& button = buttons[2 * i + 1];
        button.iBitmap = i;
        button.idCommand = kToolButtons[i].id;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON;
        button.iString = reinterpret_cast<INT_PTR>(kToolButtons[i].tip);
    }
    SendMessageW(toolBar_, TB_ADDBUTTONSW, 6, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolBar_, TB_SETMAXTEXTROWS, 0, 0);
    SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 22));
}

void TForm1::CreatePages() {
    pageControl_ = ui::CreateControl(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, 0, 32, 593, 481, Handle(),
                                     PageControl1, baseFont_.get());
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kPages[i].caption);
        SendMessageW(pageControl_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    // The pages lie over the page control's display area, the first one shown.
    RECT area{0, 0, 593, 481};
    SendMessageW(pageControl_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int i = 0; i < 3; ++i) {
        tabSheets_[i].Create(Handle(), kPages[i].id, area.left, 32 + area.top, area.right - area.left,
                             area.bottom - area.top, i == 0);
        SetWindowPos(tabSheets_[i].Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    settingsPage_.Create(tabSheets_[2].Handle(), baseFont_.get());
    regi::RegisterPage::Hooks hooks;
    hooks.rates = [this] {
        return regi::RateTexts(settingsPage_.TaxText(), settingsPage_.ReducedTaxText(), settingsPage_.EnterReduced());
    };
    hooks.showHelpContents = [this] {
        help::ShowHelp(Handle(), help::HelpFile(), HELP_COMMAND, reinterpret_cast<ULONG_PTR>(L"CONTENTS()"));
    };
    hooks.changed = [this](const regi::TSale& sale) {
        if (journal::Journal* journal = Journal()) journal->KeepSale(sale);
    };
    hooks.settled = [this](const regi::SaleRecord& sale) { PrintReceipt(sale); };
    hooks.showReceipt = [this] { ShowReceipt(); };
    registerPage_.Create(tabSheets_[0].Handle(), Handle(), pageControl_, std::move(hooks));
    // Each sale, void and cancel reaches the journal before the screen shows it.
    journal::ConnectRecorder(
        registerPage_.Sale().recorder, [this] { return Journal(); }, platform::NowAsDateTime);
    cashCountPage_.Create(tabSheets_[1].Handle());
}

void TForm1::CreateStatusBar() {
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"",
                                 WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0,
                                 kStatusBarHeight, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(StatusBar1)),
                                 ui::App().Instance(), nullptr);
    statusFont_ = ui::MakeFont(kFontFace, 13);
    SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(statusFont_.get()), FALSE);
    int edges[2] = {222, 222 + 240};  // panel 0 shows the clock, panel 1 stays empty
    SendMessageW(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

void TForm1::LayoutFrame(int clientWidth, int clientHeight) {
    if (toolBar_) MoveWindow(toolBar_, 0, 0, clientWidth, kToolBarHeight, TRUE);
    if (statusBar_) MoveWindow(statusBar_, 0, clientHeight - kStatusBarHeight, clientWidth, kStatusBarHeight, TRUE);
}

void TForm1::ApplySettings() {
    using settings::SettingsFile;
    const SettingsFile& file = settingsFile_;
    settingsPage_.SetMuted(file.ReadBoolean(L"CheckBox1", L"Checked", true));

    settings::ApplyWindowBounds(Handle(), file, L"form", {597, 606, 0, 0});
    settingsPage_.SetTaxText(file.ReadString(L"Config", L"Tax", L"10"));
    settingsPage_.SetReducedTaxText(file.ReadString(L"Config", L"ReducedTax", L"8"));
    settingsPage_.SetEnterReduced(file.ReadBoolean(L"Config", L"EnterReduced", false));
    settingsPage_.SetJournalOn(file.ReadBoolean(L"Journal", L"Enabled", false));
    settingsPage_.SetFloatText(file.ReadString(L"Journal", L"Float", L"0"));
    receipt::Settings receipt;
    receipt.shop = file.ReadString(L"Receipt", L"Shop", L"");
    receipt.address = file.ReadString(L"Receipt", L"Address", L"");
    receipt.registrationNumber = file.ReadString(L"Receipt", L"RegNo", L"");
    settingsPage_.SetPrintMode(file.ReadInteger(L"Receipt", L"Print", 0));
    receipt.printer = file.ReadString(L"Receipt", L"Printer", L"");
    receipt.paperWidth = file.ReadInteger(L"Receipt", L"Width", receipt::kWidePaper);
    settingsPage_.SetReceipt(receipt);
}

RECT TForm1::RestoredBounds() const {
    // A minimized window sits far off screen; what the user will see again is
    // its restored place.
    RECT r;
    GetWindowRect(Handle(), &r);
    if (IsIconic(Handle())) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(Handle(), &placement)) r = placement.rcNormalPosition;
    }
    return r;
}

void TForm1::FormClose() {
    const settings::SettingsFile& file = settingsFile_;
    RECT r = RestoredBounds();
    file.WriteBoolean(L"CheckBox1", L"Checked", settingsPage_.Muted());
    file.WriteInteger(L"form", L"top", r.top);
    file.WriteInteger(L"form", L"left", r.left);
    file.WriteInteger(L"form", L"height", r.bottom - r.top);
    file.WriteInteger(L"form", L"width", r.right - r.left);
    file.WriteString(L"Config", L"Tax", settingsPage_.TaxText());
    file.WriteString(L"Config", L"ReducedTax", settingsPage_.ReducedTaxText());
    file.WriteBoolean(L"Config", L"EnterReduced", settingsPage_.EnterReduced());
    file.WriteBoolean(L"Journal", L"Enabled", settingsPage_.JournalOn());
    file.WriteString(L"Journal", L"Float", settingsPage_.FloatText());
    receipt::Settings receipt = settingsPage_.Receipt();
    file.WriteString(L"Receipt", L"Shop", receipt.shop);
    file.WriteString(L"Receipt", L"Address", receipt.address);
    file.WriteString(L"Receipt", L"RegNo", receipt.registrationNumber);
    file.WriteInteger(L"Receipt", L"Print", settingsPage_.PrintMode());
    file.WriteString(L"Receipt", L"Printer", receipt.printer);
    file.WriteInteger(L"Receipt", L"Width", receipt.paperWidth);
}

bool TForm1::AskExit() {
    const wchar_t* question = settingsPage_.JournalOn() ? kExitQuestionWithJournal : kExitQuestion;
    return ui::Ask(Handle(), {question, L"確認", L"はい(&Y)", L"いいえ(&N)"});
}

void TForm1::CloseWithoutAsking() {
    // A settings file that cannot be written is reported, and the program still ends.
    ui::Guarded([this] { FormClose(); });
    DestroyWindow(Handle());
}

void TForm1::Exit1Click() {
    if (AskExit()) CloseWithoutAsking();
}

void TForm1::Contents1Click() {
    help::SetHelpFile(help::kContentsHelpFile);
    help::ShowHelp(Handle(), help::HelpFile(), HELP_COMMAND, reinterpret_cast<ULONG_PTR>(L"CONTENTS()"));
}

void TForm1::SearchforHelpOn1Click() {
    help::SetHelpFile(help::kHelpFile);
    help::ShowHelp(Handle(), help::HelpFile(), HELP_KEY, reinterpret_cast<ULONG_PTR>(L""));
}

void TForm1::HowtoUseHelp1Click() { help::ShowHelp(Handle(), help::HelpFile(), HELP_HELPONHELP, 0); }

void TForm1::About1Click() {
    if (versionBox_) versionBox_->ShowModal(Handle());
}

void TForm1::Button4Click() {
    std::optional<std::wstring> chosen = openPictureDialog1_.Execute(Handle());
    if (!chosen) return;
    // The path is kept first; a picture that cannot be loaded is reported and
    // the box keeps the one it has.
    settingsFile_.WriteString(L"Image", L"FileName", *chosen);
    if (versionBox_) versionBox_->LoadPicture(*chosen);
}

void TForm1::PageControl1Change() {
    int shown = static_cast<int>(SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0));
    for (int i = 0; i < 3; ++i) ShowWindow(tabSheets_[i].Handle(), i == shown ? SW_SHOW : SW_HIDE);
    if (shown == 0) registerPage_.Rearm();
    if (shown == 1) cashCountPage_.ShowJournalButton(settingsPage_.JournalOn());
}

void TForm1::Timer1Timer() {
    // While mute is on the test repeats at every tick; the greeting sounds once.
    if (!timer1Enabled_ || settingsPage_.Muted()) return;
    KillTimer(Handle(), Timer1);
    timer1Enabled_ = false;
    settings::PlayGreeting(settings::GreetingForHour(platform::Now().wHour), SND_MEMORY | SND_ASYNC);
}

void TForm1::Timer2Timer() {
    std::wstring text = settings::ClockTextNow();
    SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The buttons play whatever the hour and the mute switch, and wait for the end.
void TForm1::Button1Click() { settings::PlayGreeting(settings::Greeting::Asa, SND_MEMORY); }
void TForm1::Button2Click() { settings::PlayGreeting(settings::Greeting::Hiru, SND_MEMORY); }
void TForm1::Button3Click() { settings::PlayGreeting(settings::Greeting::Ban, SND_MEMORY); }

HWND TForm1::Control(int id) const { return ui::FindControl(Handle(), id); }

void TForm1::Command(int id, int code) {
    switch (id) {
    case TakeX: TakeXClick(); return;
    case TakeZ: TakeZClick(); return;
    case CheckBox3: cashCountPage_.ShowJournalButton(settingsPage_.JournalOn()); return;
    case Button5: journal::OpenFolder(platform::FolderOf(settingsFile_.Path())); return;
    case Button7:
        if (journal::Journal* journal = Journal()) cashCountPage_.SetComputedAmount(journal->ExpectedCash(CashFloat()));
        return;
    case Button6: ChoosePrinter(); return;
    case Edit7:
        if (code == EN_KILLFOCUS) settingsPage_.Edit7Exit();
        return;
    }
    for (const RegisterCommand& command : kRegisterCommands)
        if (command.key != 0 && command.id == id) registerPage_.RunCommand(command.key);
    switch (id) {
    case Exit1:
    case SpeedButton1: Exit1Click(); break;
    case Contents1:
    case SpeedButton2: Contents1Click(); break;
    case SearchforHelpOn1: SearchforHelpOn1Click(); break;
    case HowtoUseHelp1: HowtoUseHelp1Click(); break;
    case About1:
    case SpeedButton3: About1Click(); break;
    case Button4: Button4Click(); break;
    case Button1: Button1Click(); break;
    case Button2: Button2Click(); break;
    case Button3: Button3Click(); break;
    }
}

// The tool bar's buttons carry their tips as hidden texts, which the tool bar
// shows only in some modes; otherwise its tool tip asks this window.
static const wchar_t* ToolTip(UINT_PTR id) {
    for (const ToolButton& button : kToolButtons)
        if (static_cast<UINT_PTR>(button.id) == id) return button.tip;
    return nullptr;
}

void TForm1::Notify(NMHDR& header) {
    if (header.hwndFrom == pageControl_ && header.code == TCN_SELCHANGE) PageControl1Change();
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
        if (const wchar_t* tip = ToolTip(header.idFrom)) {
            info.hinst = nullptr;
            info.lpszText = const_cast<wchar_t*>(tip);
        }
    }
    if (header.code == TBN_GETINFOTIPW) {
        auto& info = reinterpret_cast<NMTBGETINFOTIPW&>(header);
        const wchar_t* tip = ToolTip(static_cast<UINT_PTR>(info.iItem));
        if (tip && info.pszText && info.cchTextMax > 0) lstrcpynW(info.pszText, tip, info.cchTextMax);
    }
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: Command(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_INITMENUPOPUP: {
        // The daily close needs the journal.
        UINT state = settingsPage_.JournalOn() ? MF_ENABLED : MF_GRAYED;
        EnableMenuItem(GetMenu(Handle()), TakeX, MF_BYCOMMAND | state);
        EnableMenuItem(GetMenu(Handle()), TakeZ, MF_BYCOMMAND | state);
        return 0;
    }
    case kShowStartMessages: {
        std::vector<StartMessage> messages = std::move(startMessages_);
        for (const StartMessage& message : messages)
            message.notice ? ui::ShowNotice(message.text) : ui::ShowError(message.text);
        return 0;
    }
    case WM_NOTIFY: Notify(*reinterpret_cast<NMHDR*>(lParam)); return 0;
    case WM_TIMER:
        if (wParam == Timer1)
            Timer1Timer();
        else if (wParam == Timer2)
            Timer2Timer();
        return 0;
    case WM_SIZE: LayoutFrame(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_CLOSE:
        // The close box, the system menu and Alt+F4 ask like the menu's exit:
        // closing throws the day's sales away.
        Exit1Click();
        return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        // Windows is ending: no question, but the settings are kept.
        if (wParam) ui::Guarded([this] { FormClose(); });
        return 0;
    case WM_DESTROY:
        help::ShowHelp(Handle(), help::HelpFile(), HELP_QUIT, 0);
        PostQuitMessage(0);
        return 0;
    }
    return Form::HandleMessage(message, wParam, lParam);
}
