#pragma once
// The main window: tool bar, menu, the three pages and the status bar. It reads
// its settings when it is made and writes them when it closes; the pages, the
// settings, the journal and the receipts do their own work.
#include <memory>
#include <string>
#include <vector>

#include "cashcount/CashCountPage.h"
#include "app/ChainWatch.h"
#include "app/JournalKeeper.h"
#include "app/ProductFile.h"
#include "app/ReturnDesk.h"
#include "app/Services.h"
#include "receipt/Receipts.h"
#include "register/RegisterPage.h"
#include "settings/Departments.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsPage.h"
#include "ui/Form.h"
#include "ui/Gdi.h"

class TVersionBox;

class TForm1 : public ui::Form {
public:
    // Makes the window, hidden, and runs its creation steps with the settings
    // file at settingsPath; what it asks of the machine goes to services.
    TForm1(std::wstring settingsPath, Services services);

    // Commands of the menu and the tool bar.
    void Exit1Click();
    void Contents1Click();
    void SearchforHelpOn1Click();
    void HowtoUseHelp1Click();
    void About1Click();
    // The shop-settings window; OK keeps what it changed.
    void ShopSettings1Click();
    // The sales history over the journal: find a sale, reissue its receipt, the charts.
    void SalesHistoryClick();
    void PageControl1Change();

    // The greeting, once per run when mute is off, and the status-bar clock.
    void Timer1Timer();
    void Timer2Timer();
    bool Timer1Enabled() const { return timer1Enabled_; }

    // The about box, made after this window.
    void SetVersionBox(TVersionBox* box) { versionBox_ = box; }
    // The pages the first picture does not show (Kinsyu, 設定): made once the
    // program has waited for its first key, or when first asked for.
    void CreateHiddenPages();

    // Writes the settings with the window's place; the window's close step.
    void FormClose();
    // Writes the settings when one of them changed since they were last
    // written or read; the window's place waits for the close.
    void KeepSettings();
    // A message for the operator, shown once the window is up (where the
    // settings went): a notice, or else an error.
    void TellAtStart(std::wstring text, bool notice = true);

    HWND Control(int id);
    settings::SettingsPage& SettingsPage();
    regi::RegisterPage& RegisterPage() { return registerPage_; }
    cashcount::CashCountPage& CashCountPage();
    const settings::SettingsFile& SettingsFile() const { return settingsFile_; }
    // The product file beside the settings file, read in the background:
    // started once the program has waited for its first key, so that the
    // start does not share the machine with it.
    ProductFile& Products() { return *products_; }
    void ReadProductFile();
    // Checks the journal's chain in the background once the start is over; a break is told when found.
    void CheckJournalChain();
    ChainWatch* JournalChain() { return chainWatch_.get(); }

    // The exit question of Exit1Click; with the journal on, sales are not lost.
    static const wchar_t kExitQuestion[];
    static const wchar_t kExitQuestionWithJournal[];

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void CreatePages();
    void LayoutFrame(int clientWidth, int clientHeight);
    void Command(int id, int code);
    void StartJournal();
    regi::Rates Rates();
    // The departments and the register's keys as values have them.
    void TakeDepartmentsAndKeys(const settings::Settings& values);
    // What the shop named, for the menu and the help.
    regi::ShopNames ShopNames() const;
    // The receipt settings with the other tenders' names, which receipts print.
    receipt::Settings ReceiptSettings() const;
    void CloseWithoutAsking();
    // The help's key list as the keys and the tenders offered stand now.
    void ShowKeyList();

    Services services_;
    settings::SettingsFile settingsFile_;
    settings::Settings kept_;                // what the settings file holds
    settings::DepartmentTable departments_;  // as the settings have them
    settings::SettingsPage settingsPage_;
    ui::Font baseFont_;
    ui::Font statusFont_;
    ui::ImageList toolPictures_;  // shown by the tool bar, which does not own it
    ui::Panel tabSheets_[3];
    regi::RegisterPage registerPage_;  // after the sheets: it goes first
    cashcount::CashCountPage cashCountPage_;
    receipt::Receipts receipts_;
    TVersionBox* versionBox_ = nullptr;
    JournalKeeper journal_;
    ReturnDesk returns_;
    std::unique_ptr<ProductFile> products_;   // made with the window, which it tells
    std::unique_ptr<ChainWatch> chainWatch_;  // the same
    // A product's code and name as the file has them; nothing for a code it lacks.
    std::pair<std::string, std::wstring> DescribeProduct(std::int64_t code) const;
    // What digits ring against the product file and the in-store layout of the settings.
    std::optional<regi::CodeRing> ReadCode(std::string_view digits, bool productKey) const;
    void ProductsRead();
    struct StartMessage {
        std::wstring text;
        bool notice;  // information, not an error
    };
    std::vector<StartMessage> startMessages_;  // shown once the window is up
    HWND toolBar_ = nullptr, pageControl_ = nullptr, statusBar_ = nullptr;
    bool timer1Enabled_ = false;
};
