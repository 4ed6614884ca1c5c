#pragma once
// What the register page shows of a sale: the texts of the line grid's cells,
// of the amount and instruction labels and of the tax tip, rendered from the
// sale's state. The page sets a widget only when its text changes. No Windows here.
#include <string>
#include <vector>

#include "sale/Sale.h"

namespace regi {

constexpr int kCols = 6;

// The labels of the page whose captions belong to the sale, by their numbers;
// the page's control IDs (regi::ids) name the same widgets as windows.
enum Label : int {
    Label1 = 1,    // the sale's consumption tax, money text
    Label2,        // the sale's total
    Label3,        // the change; not empty once the sale is settled
    Label4,        // the sales total
    Label5,        // caption of Label1: "消費税"
    Label6,        // caption of Label2: "合  計"
    Label7,        // caption of the entry field once settled: "預　り"
    Label8,        // caption of Label3: "釣　銭"
    Label9,        // caption of Label4: "売  上", fixed
    Label14 = 14,  // the first instruction: price, or clear
    Label15 = 15,  // the second instruction: tender
    Label19 = 19,  // the third instruction: quantity
};

extern const wchar_t kPricePrompt[];
extern const wchar_t kTenderPrompt[];
extern const wchar_t kQuantityPrompt[];
extern const wchar_t kClearPrompt[];
extern const wchar_t kLabel14Placeholder[];
extern const wchar_t kBlankPlaceholder[];  // Label15 and Label19 before the first line
extern const wchar_t kTaxCaption[], kTotalCaption[], kTenderedCaption[], kChangeCaption[], kSalesCaption[];
extern const wchar_t kDueCaption[];  // Label6 while a sale is partly paid, Label2 showing what is still due

// What the page has shown since start, which the instructions depend on.
struct ScreenState {
    bool prompted = false;  // the price prompt replaced the placeholder (at start, or after a clear)
    bool hadLines = false;  // a line was made since start: the placeholders below the prompt are gone
    // After every change of the sale.
    void Follow(const TSale& sale);
};

// How the page shows what a command did: the grid's row cursor moves (in
// order) and the entry field is armed again (posted clicks) after a clear.
struct CommandShown {
    std::vector<int> cursorMoves;
    bool armEntry = false;
};
CommandShown ShownAfter(Command command, const Outcome& outcome, const TSale& sale);

// Cell (col, row) of the line grid: "No.", unit price and quantity as keyed,
// subtotal, the class's mark ("※" reduced, "非" exempt) and its hidden flag
// ("1" standard, "2" reduced, "0" exempt); empty below the lines.
std::wstring CellText(const TSale& sale, int col, int row);
// The same with the sale's rows worked out once (TSale::Rows) for all its cells.
std::wstring CellText(const TSale& sale, const std::vector<SaleRow>& rows, int col, int row);
// The row of the sale's last line.
int LastLineRow(const TSale& sale);
// What the status bar says of departments: the department armed for the
// next line ("部門 12 パン : 単価を打って下さい"), else which one the last line
// went to ("3行目 ※パン"), a product's line by its name ("3行目 ※緑茶 (飲料)");
// empty without lines or while the shop names none.
std::wstring DepartmentText(const TSale& sale, const Departments& departments);
// A label's caption.
std::wstring CaptionText(const TSale& sale, const ScreenState& screen, Label label);
// The tax per class, one line each for the classes present, for the tip.
std::wstring TaxTipText(const TSale& sale);

}  // namespace regi
