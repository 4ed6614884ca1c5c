#pragma once
// The window "売上の記録": the journal's sales found by a date range, a sale's
// number, an amount or a department; the chart of the range above the list
// (by hour, day or month, or the departments' shares), the selected bar's
// figures in words below it; the selected sale with its lines, discounts,
// tenders and returns; its receipt reissued (再発行, recorded in the journal);
// the listed sales saved as CSV, the chart as a PNG or printed. Everything
// works from the keyboard. Bad input and a journal that cannot be read are
// said in words; nothing here changes the journal but a reissue's record.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "history/ChartView.h"
#include "history/Query.h"
#include "journal/Session.h"
#include "receipt/Printing.h"
#include "ui/Gdi.h"
#include "ui/ModalWindow.h"

namespace history {

// Where to save a file of the kind filter names (a common dialog's filter:
// pairs of "\0"-separated texts), suggested as its name; nothing when the
// operator chose none.
using FileChooser =
    std::function<std::optional<std::wstring>(HWND owner, const std::wstring& filter, const std::wstring& suggested)>;
// The system's save dialog.
FileChooser SystemFileChooser();

class THistoryWindow : public ui::ModalWindow {
public:
    enum Id : int {
        RangeLabel = 100,
        RangeEdit,
        NumberLabel,
        NumberEdit,
        AmountLabel,
        AmountEdit,
        DepartmentLabel,
        DepartmentEdit,
        FindButton,
        Chart,
        ChartWords,
        ViewButton,
        StatusLabel,
        SaleList,
        DetailText,
        ReissueButton,
        CsvButton,
        PngButton,
        PrintButton,
        CloseButton,
    };
    struct Hooks {
        std::function<journal::Session*()> journal;  // nullptr while the shop keeps none
        std::function<receipt::Settings()> receipt;  // with the departments' and tenders' names
        receipt::Printers printers;
        common::Clock clock;  // the window opens on today
        FileChooser chooseFile;
    };
    explicit THistoryWindow(Hooks hooks);

    // Finds the sales the fields ask for.
    void FindClick();
    void ViewClick();  // the chart by time or the departments' shares
    void ReissueClick();
    void CsvClick();
    void PngClick();
    void PrintClick();

    TChartView& ChartView() { return chart_; }
    // The sales listed, by number, in the list's order.
    const std::vector<std::int64_t>& Listed() const { return listed_; }

    static const wchar_t kCaption[];
    // At most this many sales are listed; the CSV holds them all.
    static constexpr size_t kMaxListed = 2000;

protected:
    HWND FirstFocus() const override { return Control(RangeEdit); }
    void Place(HWND owner) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    journal::Session& Journal() const;
    void ShowSale();
    void ShowBar(size_t bar);
    void ShowChart();
    void Say(const std::wstring& text);
    std::optional<std::int64_t> SelectedSale() const;
    void Save(const std::wstring& filter, const std::wstring& suggested, const std::string& bytes);
    std::wstring ChartTitle() const;

    Hooks hooks_;
    int dpi_ = 96;
    ui::Font font_, fixedFont_, fittedWords_;
    TChartView chart_;
    std::optional<Query> query_;  // of the sales listed; none after a query that did not read
    std::optional<SalesChart> byTime_;
    std::vector<Bar> shares_;
    bool showShares_ = false;
    std::vector<std::int64_t> listed_;
};

}  // namespace history
