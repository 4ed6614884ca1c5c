#include "app/Form1.h"

#include <commctrl.h>
#include <mmsystem.h>

#include "about/VersionBox.h"
#include "catalog/InStore.h"
#include "catalog/Scan.h"
#include "app/Form1Ids.h"
#include "app/Frame.h"
#include "common/Version.h"
#include "help/Help.h"
#include "history/HistoryWindow.h"
#include "platform/Files.h"
#include "receipt/Printing.h"
#include "settings/GreetingSound.h"
#include "settings/LocalClock.h"
#include "settings/ProfileValues.h"
#include "settings/ShopSettings.h"
#include "settings/WindowBounds.h"
#include "ui/App.h"
#include "ui/Confirm.h"
#include "ui/Controls.h"
#include "ui/Error.h"

using namespace form1;

namespace {

const wchar_t kClass[] = L"TForm1";

// Posted at the end of creation: what start-up has to tell, once the window is up.
constexpr UINT kShowStartMessages = WM_APP + 1;
// Posted by the product file's reading once it has finished.
constexpr UINT kProductsRead = WM_APP + 2;
// Posted by the check of the journal's chain when it found a break.
constexpr UINT kChainBroken = WM_APP + 7;

}  // namespace

const wchar_t TForm1::kExitQuestion[] = L"終了すると売上が消えま\rす別途メモしてください｡\r宜しいでしょうか?";
const wchar_t TForm1::kExitQuestionWithJournal[] = L"終了してもよろしいですか?\r売上は記録に残ります。";

TForm1::TForm1(std::wstring settingsPath, Services services)
    : services_(std::move(services)),
      settingsFile_(std::move(settingsPath)),
      receipts_([this] { return ReceiptSettings(); }, [this] { return journal_.EarlierSale(); }, services_.printers),
      journal_(
          platform::FolderOf(settingsFile_.Path()),
          {[this] { return settingsPage_.JournalOn(); }, [this] { return settingsPage_.CashFloat(); },
           [this] { return settingsPage_.Receipt(); }, [this] { return settings::TenderNames(settingsPage_.Values()); },
           [this] { return Rates().departments; }, services_.clock, services_.printers,
           [this](std::int64_t code) { return DescribeProduct(code); },
           [this] { return settingsPage_.Values().bookLines; }, services_.chooseBooksFile}),
      returns_({[this] { return journal_.Journal(); }, [this] { return Rates(); }, [this] { return ReceiptSettings(); },
                services_.clock, services_.printers,
                [this](std::string_view digits, bool productKey) { return ReadCode(digits, productKey); }}) {
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
    baseFont_ = ui::MakeFont(ui::kFontFace, settings::PointsToPixels(settings::BaseFontPoints(dpi), dpi));
    toolBar_ = CreateToolBar(Handle(), toolPictures_);
    CreatePages();
    statusBar_ = CreateStatusBar(Handle(), statusFont_);
    RECT client;
    GetClientRect(Handle(), &client);
    LayoutFrame(client.right, client.bottom);
    // 2. The settings of the last run.
    settings::Settings values = settings::ReadSettings(settingsFile_);
    kept_ = values;
    // Entries that do not read are left as they are and said once, until they change.
    std::wstring unreadable = settings::UnreadableChangesToTell(values);
    if (!unreadable.empty()) TellAtStart(std::move(unreadable), false);
    settingsPage_.Load(values);
    // The product file, read once the start is over (ReadProductFile): the
    // register finds its products once the reading has finished.
    products_ = std::make_unique<ProductFile>(platform::FolderOf(settingsFile_.Path()), Handle(), kProductsRead);
    chainWatch_ = std::make_unique<ChainWatch>(Handle(), kChainBroken);
    // Rate changes whose day came while the program was not running are in force, and said.
    const common::DateTime now = services_.clock();
    if (std::optional<regi::RateChange> change = settingsPage_.BringRatesUpTo(now))
        TellAtStart(regi::ChangedRatesNotice(*change, now));
    KeepSettings();
    // The departments, and the POS keyboard's chords the shop gave the
    // register's commands and its departments. Lines that do not read are
    // said once and left in the file as they are.
    TakeDepartmentsAndKeys(values);
    std::wstring unusedDepartments = settings::UnusedDepartmentsMessage(departments_);
    if (!unusedDepartments.empty()) TellAtStart(std::move(unusedDepartments), false);
    std::wstring refusedKeys = registerPage_.Keys().RefusedMessage();
    if (!refusedKeys.empty()) TellAtStart(std::move(refusedKeys), false);
    settings::ApplyWindowBounds(Handle(), values.window, settings::Settings().window);
    // 3. This form previews no keys: they go straight to the focused control.
    // 4. The register's line grid.
    registerPage_.SetUpGrid();
    // 5. The register's entry field takes the focus once the message loop runs.
    registerPage_.ArmEntry();
    // 6. The cash count grid is set up with its page, after the first picture.
    // 7. The register's first instruction.
    registerPage_.ShowFirstPrompt();
    // The journal, when the shop keeps one: the sales since the last daily
    // close, and the sale a run that ended unexpectedly left open.
    StartJournal();
}

void TForm1::StartJournal() {
    cashCountPage_.ShowJournalButton(settingsPage_.JournalOn());
    for (JournalKeeper::Message& message : journal_.Start(registerPage_.Sale(), Rates()))
        TellAtStart(std::move(message.text), message.notice);
    registerPage_.Refresh();
}

void TForm1::TellAtStart(std::wstring text, bool notice) {
    if (startMessages_.empty()) PostMessageW(Handle(), kShowStartMessages, 0, 0);
    startMessages_.push_back({std::move(text), notice});
}

regi::Rates TForm1::Rates() {
    // A rate change is in force from the first key of its day on: a sale open
    // at midnight is settled at the new rates.
    if (settingsPage_.BringRatesUpTo(services_.clock())) KeepSettings();
    const settings::Settings& values = settingsPage_.Values();
    regi::Rates rates = regi::Rates::FromTexts(values.taxText, values.reducedTaxText, values.enterReduced,
                                               settings::OfferedTenders(values));
    rates.departments = departments_.Departments();
    rates.presets = settings::Presets(values);
    return rates;
}

void TForm1::TakeDepartmentsAndKeys(const settings::Settings& values) {
    departments_ = settings::ReadDepartmentTable(values.departmentLines);
    registerPage_.SetKeys(regi::KeyMap::Read(values.keyChords, departments_.Chords()));
}

regi::ShopNames TForm1::ShopNames() const {
    const settings::Settings& values = settingsPage_.Values();
    regi::ShopNames names(settings::OfferedTenders(values), settings::PresetLabels(values));
    names.departments = departments_.Names();
    return names;
}

receipt::Settings TForm1::ReceiptSettings() const {
    const settings::Settings& values = settingsPage_.Values();
    receipt::Settings receipt = values.receipt;
    receipt.tenders = settings::TenderNames(values);
    receipt.departments = departments_.Departments();
    receipt.productName = [products = products_ ? products_->Products() : nullptr](const std::string& code) {
        const catalog::Product* product = products && !code.empty() ? products->Find(std::stoull(code)) : nullptr;
        return product ? products->Name(*product) : std::wstring();
    };
    return receipt;
}

void TForm1::CreatePages() {
    pageControl_ = CreatePageControl(Handle(), baseFont_.get(), tabSheets_);
    regi::RegisterPage::Hooks hooks;
    hooks.rates = [this] { return Rates(); };
    hooks.showHelpContents = [this] {
        ShowKeyList();
        help::ShowContents(Handle());
    };
    hooks.changed = [this](const regi::TSale& sale) {
        journal_.Keep(sale);
        std::wstring text = regi::DepartmentText(sale, departments_.Departments());
        SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(text.c_str()));
    };
    hooks.settled = [this](const regi::SaleRecord& sale) {
        returns_.SaleSettled();
        receipts_.Settled(sale);
    };
    hooks.showReceipt = [this] {
        if (returns_.LastWasReturn())
            returns_.ShowLast(Handle());
        else
            receipts_.ShowLast(Handle(), registerPage_.Sale().LastSettled());
    };
    hooks.returnGoods = [this](const std::wstring& entry) { return returns_.Start(Handle(), entry); };
    hooks.openDrawer = [this] {
        receipts_.OpenDrawer();
        journal_.RecordDrawer();
    };
    hooks.readCode = [this](std::string_view digits, bool productKey) { return ReadCode(digits, productKey); };
    registerPage_.Create(tabSheets_[0].Handle(), Handle(), pageControl_, std::move(hooks));
    registerPage_.SaNumEdit1().SetBeeper(services_.beep);
    journal_.Connect(registerPage_.Sale());
}

std::optional<regi::CodeRing> TForm1::ReadCode(std::string_view digits, bool productKey) const {
    std::shared_ptr<const catalog::Catalog> products = products_ ? products_->Products() : nullptr;
    const catalog::InStoreLayout layout =
        catalog::ReadLayout(settingsPage_.Values().inStoreLayout).value_or(catalog::InStoreLayout{});
    // Both sides lvalues: a temporary on one side would copy the whole catalog at every key.
    static const catalog::Catalog none;
    return catalog::ReadCode(digits, productKey, products ? *products : none, layout);
}

void TForm1::ReadProductFile() {
    if (products_) products_->Reload(departments_.Departments());
}

void TForm1::CheckJournalChain() {
    journal::Journal* journal = journal_.Journal();
    // Only a journal the start has read: it tells the check where the file ends.
    if (chainWatch_ && journal && journal->ReadSalesTotal()) chainWatch_->Start(journal->ChainToCheck());
}

std::pair<std::string, std::wstring> TForm1::DescribeProduct(std::int64_t code) const {
    std::shared_ptr<const catalog::Catalog> products = products_ ? products_->Products() : nullptr;
    const catalog::Product* product = products ? products->Find(static_cast<catalog::Code>(code)) : nullptr;
    if (!product) return {};
    return {catalog::Catalog::CodeText(*product), products->Name(*product)};
}

void TForm1::ProductsRead() {
    // The faults of a reading are told once; the next reading of the same file tells them again.
    std::wstring faults = products_->Take();
    if (!faults.empty()) ui::ShowError(faults);
}

void TForm1::CreateHiddenPages() {
    if (settingsPage_.Created()) return;
    settings::SettingsPage::Hooks settingsHooks;
    settingsHooks.choosePicture = [this] {
        if (versionBox_) versionBox_->ChoosePicture(Handle());
    };
    settingsHooks.openJournalFolder = [this] { journal_.OpenFolder(); };
    settingsHooks.journalSwitched = [this](bool on) { cashCountPage_.ShowJournalButton(on); };
    settingsHooks.openShopSettings = [this] { ShopSettings1Click(); };
    settingsHooks.changed = [this] { KeepSettings(); };
    settingsHooks.sound = services_.sound;
    settingsPage_.Create(tabSheets_[2].Handle(), baseFont_.get(), std::move(settingsHooks));
    cashcount::CashCountPage::Hooks cashHooks;
    cashHooks.expectedCash = [this] { return journal_.ExpectedCash(); };
    cashCountPage_.Create(tabSheets_[1].Handle(), std::move(cashHooks));
    cashCountPage_.SaNumEdit2().SetBeeper(services_.beep);
    cashCountPage_.SetUp();  // the grid's headers and row captions
    cashCountPage_.ShowJournalButton(settingsPage_.JournalOn());
}

settings::SettingsPage& TForm1::SettingsPage() {
    CreateHiddenPages();
    return settingsPage_;
}

cashcount::CashCountPage& TForm1::CashCountPage() {
    CreateHiddenPages();
    return cashCountPage_;
}

HWND TForm1::Control(int id) {
    CreateHiddenPages();
    return ui::FindControl(Handle(), id);
}

void TForm1::LayoutFrame(int clientWidth, int clientHeight) {
    if (toolBar_) MoveWindow(toolBar_, 0, 0, clientWidth, kToolBarHeight, TRUE);
    if (statusBar_) MoveWindow(statusBar_, 0, clientHeight - kStatusBarHeight, clientWidth, kStatusBarHeight, TRUE);
}

void TForm1::FormClose() {
    settings::Settings values = settingsPage_.Values();
    values.window = settings::RestoredPlace(Handle());
    settingsFile_.Keep(values);
    kept_ = values;
}

void TForm1::KeepSettings() {
    settings::Settings values = settingsPage_.Values();
    if (settings::SameBesideTheWindow(values, kept_)) return;
    // The place as it is now: a file made here has its sections in their order.
    values.window = settings::RestoredPlace(Handle());
    // A file that cannot be written is said; the program goes on with the values.
    ui::Guarded([&] {
        settingsFile_.Keep(values);
        kept_ = values;
    });
}

void TForm1::ShopSettings1Click() {
    settings::Settings values = settingsPage_.Values();
    settings::ShopSettingsHooks hooks;
    hooks.printers = [this] { return receipt::InstalledPrinters(services_.printers); };
    hooks.paperNote = [this](const std::wstring& printer, int paperWidth) {
        return receipt::PaperNote(services_.printers, printer, paperWidth);
    };
    hooks.clock = services_.clock;
    hooks.productFile = [this] { return products_->Path(); };
    hooks.productStatus = [this] { return products_->Status(); };
    hooks.productFaults = [this] { return catalog::FaultsMessage(products_->Faults()); };
    hooks.reloadProducts = [this] {
        products_->Reload(departments_.Departments());
        products_->Wait();
        products_->Take();  // the page shows the faults
    };
    const std::wstring departmentsBefore = values.departmentLines;
    if (!settings::EditShopSettings(Handle(), values, hooks)) return;
    settingsPage_.Load(values);
    // The departments and chords the pages gave work on the register at once;
    // they give none the map refuses.
    TakeDepartmentsAndKeys(values);
    KeepSettings();
    // Products of a department added or taken away read differently now.
    if (values.departmentLines != departmentsBefore) products_->Reload(departments_.Departments());
}

void TForm1::SalesHistoryClick() {
    history::THistoryWindow window({[this]() -> journal::Session* { return journal_.Journal(); },
                                    [this] { return ReceiptSettings(); }, services_.printers, services_.clock,
                                    services_.chooseFile});
    window.ShowModal(Handle());
}

void TForm1::CloseWithoutAsking() {
    // A settings file that cannot be written is reported, and the program still ends.
    ui::Guarded([this] { FormClose(); });
    DestroyWindow(Handle());
}

void TForm1::Exit1Click() {
    if (ui::AskYesNo(Handle(), settingsPage_.JournalOn() ? kExitQuestionWithJournal : kExitQuestion))
        CloseWithoutAsking();
}

void TForm1::ShowKeyList() { help::SetKeyList(regi::KeyListText(registerPage_.Keys(), ShopNames())); }

void TForm1::Contents1Click() {
    ShowKeyList();
    help::SetHelpFile(help::kContentsHelpFile);
    help::ShowContents(Handle());
}

void TForm1::SearchforHelpOn1Click() {
    ShowKeyList();
    help::SetHelpFile(help::kHelpFile);
    help::ShowSearch(Handle());
}

void TForm1::HowtoUseHelp1Click() { help::ShowHelpOnHelp(Handle()); }

void TForm1::About1Click() {
    if (versionBox_) versionBox_->ShowModal(Handle());
}

void TForm1::PageControl1Change() {
    int shown = static_cast<int>(SendMessageW(pageControl_, TCM_GETCURSEL, 0, 0));
    if (shown != 0) CreateHiddenPages();
    for (int i = 0; i < 3; ++i) ShowWindow(tabSheets_[i].Handle(), i == shown ? SW_SHOW : SW_HIDE);
    if (shown == 0) registerPage_.Rearm();
    if (shown == 1) cashCountPage_.ShowJournalButton(settingsPage_.JournalOn());
}

void TForm1::Timer1Timer() {
    // While mute is on the test repeats at every tick; the greeting sounds once.
    if (!timer1Enabled_ || settingsPage_.Muted()) return;
    KillTimer(Handle(), Timer1);
    timer1Enabled_ = false;
    settings::PlayGreeting(services_.sound, settings::GreetingForHour(services_.clock().hour), SND_MEMORY | SND_ASYNC);
}

void TForm1::Timer2Timer() {
    // The settings page shows a change in force at midnight without waiting for a key.
    common::DateTime now = services_.clock();
    settingsPage_.BringRatesUpTo(now);
    // A product file saved again since it was read is read again.
    if (products_) products_->ReloadIfChanged(departments_.Departments());
    std::wstring text = settings::LocalClockText(now);
    SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TForm1::Command(int id, int code) {
    // The pages' own controls first: each page handles its commands.
    if (settingsPage_.Command(id, code) || cashCountPage_.Command(id, code)) return;
    if (registerPage_.RunCommand(id)) return;
    switch (id) {
    case TakeX: journal_.TakeX(Handle()); break;
    case MoneyIn: journal_.RecordMoney(Handle(), journal::Kind::In); break;
    case MoneyOut: journal_.RecordMoney(Handle(), journal::Kind::Out); break;
    case ShopSettings1: ShopSettings1Click(); break;
    case SalesHistory: SalesHistoryClick(); break;
    case TakeZ: journal_.TakeZ(Handle(), [this] { registerPage_.Refresh(); }); break;
    case SaveBooks1: journal_.SaveBooks(Handle()); break;
    case Exit1:
    case SpeedButton1: Exit1Click(); break;
    case Contents1:
    case SpeedButton2: Contents1Click(); break;
    case SearchforHelpOn1: SearchforHelpOn1Click(); break;
    case HowtoUseHelp1: HowtoUseHelp1Click(); break;
    case About1:
    case SpeedButton3: About1Click(); break;
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
        EnableMenuItem(GetMenu(Handle()), SalesHistory, MF_BYCOMMAND | state);
        EnableMenuItem(GetMenu(Handle()), SaveBooks1, MF_BYCOMMAND | state);
        ShowOptionalItems(GetMenu(Handle()), ShopNames(), settingsPage_.JournalOn());
        return 0;
    }
    case kProductsRead: ProductsRead(); return 0;
    case kChainBroken:
        if (std::wstring found = chainWatch_->Take(); !found.empty()) ui::ShowError(found);
        return 0;
    case kShowStartMessages: {
        std::vector<StartMessage> messages = std::move(startMessages_);
        for (const StartMessage& message : messages)
            message.notice ? ui::ShowNotice(message.text) : ui::ShowError(message.text);
        return 0;
    }
    case WM_NOTIFY: {
        NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.hwndFrom == pageControl_ && header.code == TCN_SELCHANGE) PageControl1Change();
        AnswerToolTip(header);
        return 0;
    }
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
