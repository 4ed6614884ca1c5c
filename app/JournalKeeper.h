#pragma once
// The journal while the shop keeps one, beside the settings file: made when
// first needed, started with the register's sale, and the daily close's two
// reports, 点検 (X) and 精算 (Z), shown and printed.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "journal/BooksFile.h"
#include "journal/Journal.h"
#include "receipt/Printing.h"
#include "receipt/ReceiptSettings.h"
#include "sale/Sale.h"

class JournalKeeper {
public:
    struct Hooks {
        std::function<bool()> on;                            // the journal is switched on
        std::function<std::int64_t()> cashFloat;             // the change in the drawer at opening
        std::function<receipt::Settings()> receipt;          // how reports print
        std::function<std::vector<std::wstring>()> tenders;  // the other tenders' names, for the reports
        std::function<regi::Departments()> departments;      // the departments' names, for the reports
        common::Clock clock;                                 // the time records carry
        receipt::Printers printers;                          // where reports print
        // A product's code and name as the product file has them, for the sales by product.
        std::function<std::pair<std::string, std::wstring>(std::int64_t code)> product = {};
        // The settings' [Books] lines: the accounting programs' accounts and tax categories.
        std::function<std::wstring()> bookLines = {};
        // Where a Z's entries for an accounting program go, and for which.
        journal::BooksFileChooser chooseBooksFile = journal::RunBooksDialog;
    };
    // What start has to tell the operator: an error, or a notice.
    struct Message {
        std::wstring text;
        bool notice;
    };

    JournalKeeper(std::wstring folder, Hooks hooks);

    // The journal while it is switched on; nullptr while not.
    journal::Journal* Journal();
    // Each sale, void and cancel of sale reaches the journal before the screen shows it.
    void Connect(regi::TSale& sale);
    // Keeps the open sale in the recovery file, with the journal on.
    void Keep(const regi::TSale& sale);
    // The sale settled before the last one, for a reprint; none with the journal off.
    const regi::SaleRecord* EarlierSale();
    // Opens the journal's folder in the shell.
    void OpenFolder() const;
    // Starts the journal: the sales total since the last close goes into sale,
    // and so does the sale a run that ended unexpectedly left open. Returns
    // what the operator is to be told.
    std::vector<Message> Start(regi::TSale& sale, const regi::Rates& rates);
    // 点検: shows the report; nothing happens with the journal off.
    // 入金 (kind In) or 出金 (kind Out): asks the amount and records it.
    void RecordMoney(HWND owner, journal::Kind kind);
    // The spooler took the command that opens the drawer, no sale: recorded
    // while the journal is on.
    void RecordDrawer();
    void TakeX(HWND owner);
    // 精算 after the question; taken runs once the close is taken, before its
    // report shows.
    void TakeZ(HWND owner, const std::function<void()>& taken);
    // Asks which Z's, then saves them for an accounting program as the
    // journal has them (SaveBooks with the numbers); nothing with the journal off.
    void SaveBooks(HWND owner);
    // Saves the Z's of numbers first to last; says so when there is none.
    void SaveBooks(HWND owner, std::int64_t first, std::int64_t last);
    // What the drawer should hold; none with the journal off.
    std::optional<std::int64_t> ExpectedCash();

    static const wchar_t kRecoveredSale[];
    static const wchar_t kZQuestion[];

private:
    void ShowReport(HWND owner, const wchar_t* caption, journal::Report report);
    void SaveBooks(HWND owner, const std::vector<journal::ClosedDay>& days);

    std::wstring folder_;
    Hooks hooks_;
    std::unique_ptr<journal::Journal> journal_;
};
