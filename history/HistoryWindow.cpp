#include "history/HistoryWindow.h"

#include <algorithm>

#include "common/Error.h"
#include "history/Png.h"
#include <commdlg.h>

#include "platform/Files.h"
#include "platform/SystemFunction.h"
#include "platform/SystemError.h"
#include "receipt/Preview.h"
#include "receipt/Receipt.h"
#include "sale/Money.h"
#include "ui/Controls.h"
#include "ui/Error.h"

namespace history {

namespace {

const wchar_t kClass[] = L"THistoryWindow";
const wchar_t kNoJournal[] = L"売上の記録をつけていません｡設定のページで「売上を記録する」を選んで下さい｡";
const wchar_t kNoSales[] = L"この条件の売上はありません｡";
const wchar_t kNoRange[] = L"期間を入れると、その期間のグラフが出ます｡";
const wchar_t kChooseSale[] = L"一覧で売上を選んで下さい｡";
const wchar_t kFindFirst[] = L"条件を入れて検索して下さい｡";
const wchar_t kCsvFilter[] = L"CSV ファイル (*.csv)\0*.csv\0";
const wchar_t kPngFilter[] = L"PNG 画像 (*.png)\0*.png\0";
constexpr int kWidth = 760, kHeight = 660;

std::wstring Filter(const wchar_t* filter, size_t size) { return std::wstring(filter, size - 1); }

}  // namespace

FileChooser SystemFileChooser() {
    return [](HWND owner, const std::wstring& filter, const std::wstring& suggested) -> std::optional<std::wstring> {
        // The common dialogs are loaded the first time a file is saved, not at start.
        static const auto getSaveFileName =
            platform::SystemFunction<decltype(&GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
        if (!getSaveFileName) throw common::Error(L"保存のダイアログを表示できません (comdlg32.dll)");
        std::vector<wchar_t> file(32768, L'\0');
        suggested.copy(file.data(), std::min(suggested.size(), file.size() - 1));
        const std::wstring filters = filter + L'\0';
        const size_t dot = suggested.rfind(L'.');
        const std::wstring extension = dot == std::wstring::npos ? L"" : suggested.substr(dot + 1);
        OPENFILENAMEW settings{};
        settings.lStructSize = sizeof settings;
        settings.hwndOwner = owner;
        settings.lpstrFilter = filters.c_str();
        settings.nFilterIndex = 1;
        settings.lpstrFile = file.data();
        settings.nMaxFile = static_cast<DWORD>(file.size());
        settings.lpstrDefExt = extension.c_str();
        settings.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        if (!getSaveFileName(&settings)) return std::nullopt;
        return std::wstring(file.data());
    };
}

const wchar_t THistoryWindow::kCaption[] = L"売上の記録";

THistoryWindow::THistoryWindow(Hooks hooks) : hooks_(std::move(hooks)) {
    dpi_ = GetDeviceCaps(ui::WindowDC(nullptr), LOGPIXELSY);
    RegisterClassOnce(kClass, 0, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    RECT frame{0, 0, Scaled(kWidth), Scaled(kHeight)};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    Create(kClass, kCaption, style, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, 0, 0, frame.right - frame.left,
           frame.bottom - frame.top, nullptr, nullptr);
    font_ = ui::MakeFont(ui::kFontFace, Scaled(15));
    fixedFont_ = ui::MakeFont(ui::kFixedFontFace, Scaled(13));
    HWND self = Handle();
    HFONT font = font_.get();
    auto S = [this](int pixels) { return Scaled(pixels); };
    const DWORD edit = ES_AUTOHSCROLL | WS_TABSTOP, button = BS_PUSHBUTTON | WS_TABSTOP;
    // The fields, each after its label, so that Tab goes through them in order.
    struct Field {
        int label, edit;
        const wchar_t* caption;
        int x, labelWidth, width;
    };
    const Field fields[] = {{RangeLabel, RangeEdit, L"期間", 10, 36, 210},
                            {NumberLabel, NumberEdit, L"番号", 264, 36, 80},
                            {AmountLabel, AmountEdit, L"金額", 388, 36, 90},
                            {DepartmentLabel, DepartmentEdit, L"部門", 522, 36, 100}};
    for (const Field& field : fields) {
        ui::CreateControl(L"STATIC", field.caption, SS_LEFT | SS_NOPREFIX, S(field.x), S(14), S(field.labelWidth),
                          S(20), self, field.label, font);
        ui::CreateControl(L"EDIT", L"", edit, S(field.x + field.labelWidth), S(10), S(field.width), S(24), self,
                          field.edit, font, WS_EX_CLIENTEDGE);
    }
    ui::CreateControl(L"BUTTON", L"検索(&F)", button | BS_DEFPUSHBUTTON, S(666), S(9), S(84), S(26), self, FindButton,
                      font);
    chart_.Create(self, Chart, S(10), S(44), S(740), S(240), [this](size_t bar) { ShowBar(bar); });
    ui::CreateControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, S(10), S(292), S(620), S(20), self, ChartWords, font);
    ui::CreateControl(L"BUTTON", L"部門別(&V)", button, S(650), S(288), S(100), S(26), self, ViewButton, font);
    // Three lines: a message, the journal's path and the system's reason.
    ui::CreateControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, S(10), S(318), S(740), S(54), self, StatusLabel, font);
    ui::CreateControl(L"LISTBOX", L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, S(10), S(376),
                      S(330), S(236), self, SaleList, font, WS_EX_CLIENTEDGE);
    ui::CreateControl(L"EDIT", L"", ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, S(350), S(376),
                      S(400), S(236), self, DetailText, fixedFont_.get(), WS_EX_CLIENTEDGE);
    struct Button {
        int id;
        const wchar_t* caption;
        int x, width;
    };
    const Button buttons[] = {{ReissueButton, L"再発行(&R)", 10, 110},
                              {CsvButton, L"CSVで保存(&S)", 126, 130},
                              {PngButton, L"PNGで保存(&P)", 262, 130},
                              {PrintButton, L"グラフを印刷(&G)", 398, 150},
                              {CloseButton, L"閉じる", 650, 100}};
    for (const Button& b : buttons)
        ui::CreateControl(L"BUTTON", b.caption, button, S(b.x), S(622), S(b.width), S(28), self, b.id, font);
    // The window opens on today's sales.
    const common::DateTime today = hooks_.clock();
    SetWindowTextW(Control(RangeEdit), DateText({today.year, today.month, today.day}).c_str());
    ui::Guarded([this] { FindClick(); });
}

void THistoryWindow::Place(HWND owner) {
    RECT o{};
    if (owner) GetWindowRect(owner, &o);
    SetWindowPos(Handle(), nullptr, o.left + 20, o.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ui::MoveIntoWorkArea(Handle());
}

journal::Session& THistoryWindow::Journal() const {
    journal::Session* journal = hooks_.journal ? hooks_.journal() : nullptr;
    if (!journal) throw common::Error(kNoJournal);
    return *journal;
}

void THistoryWindow::Say(const std::wstring& text) { SetWindowTextW(Control(StatusLabel), text.c_str()); }

void THistoryWindow::FindClick() {
    HWND list = Control(SaleList);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SetWindowTextW(Control(DetailText), L"");
    listed_.clear();
    byTime_.reset();
    shares_.clear();
    try {
        const receipt::Settings settings = hooks_.receipt();
        query_.reset();
        query_ = ReadQuery({ui::GetText(Control(RangeEdit)), ui::GetText(Control(NumberEdit)),
                            ui::GetText(Control(AmountEdit)), ui::GetText(Control(DepartmentEdit))},
                           settings.departments);
        if (query_->range) byTime_.emplace(*query_->range);
        DepartmentShares shares;
        std::int64_t count = 0, total = 0;
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        EachSale(Journal(), *query_, [&](const journal::FoundSale& found) {
            ++count;
            total += found.sale.taxes.Total();
            if (byTime_) byTime_->Add(found.sale.time, found.sale.taxes.Total());
            shares.Add(found.sale);
            if (listed_.size() < kMaxListed) {
                listed_.push_back(found.sale.number);
                SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ListRow(found.sale).c_str()));
            }
            return true;
        });
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        shares_ = shares.Bars(settings.departments);
        std::wstring said = count == 0 ? kNoSales
                                       : std::to_wstring(count) + L"件  合計 " + regi::FormatMoney(total) +
                                             L"  客単価 " + regi::FormatMoney(total / count);
        if (static_cast<size_t>(count) > listed_.size())
            said += L"\r\n一覧には初めの " + std::to_wstring(listed_.size()) + L" 件を出しています (CSV には全件)｡";
        if (!byTime_ && count > 0) said += std::wstring(L"\r\n") + kNoRange;
        Say(said);
        if (listed_.size() == 1) {
            SendMessageW(list, LB_SETCURSEL, 0, 0);
            ShowSale();
        }
    } catch (const common::Error& error) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        Say(error.Message());
    }
    ShowChart();
}

void THistoryWindow::ShowChart() {
    const bool shares = showShares_ || !byTime_;
    std::wstring other = !byTime_                                            ? L"部門別(&V)"
                         : showShares_ && byTime_->GetScale() == Scale::Hour ? L"時間別(&V)"
                         : showShares_ && byTime_->GetScale() == Scale::Day  ? L"日別(&V)"
                         : showShares_                                       ? L"月別(&V)"
                                                                             : L"部門別(&V)";
    SetWindowTextW(Control(ViewButton), other.c_str());
    EnableWindow(Control(ViewButton), byTime_.has_value());
    chart_.SetBars(shares ? shares_ : byTime_->Bars());
}

void THistoryWindow::ViewClick() {
    showShares_ = !showShares_;
    ShowChart();
}

void THistoryWindow::ShowBar(size_t bar) {
    const std::vector<Bar>& bars = chart_.Bars();
    std::wstring words;
    if (bars.empty()) {
        words = byTime_ || !listed_.empty() ? L"" : kNoRange;
    } else if (showShares_ || !byTime_) {
        std::int64_t total = 0;
        for (const Bar& each : bars) total += each.amount;
        words = ShareWords(bars[bar], total);
    } else {
        words = BarWords(bars[bar]);
    }
    ui::SetFittedCaption(Control(ChartWords), words, font_.get(), fittedWords_);
}

std::optional<std::int64_t> THistoryWindow::SelectedSale() const {
    LRESULT row = SendMessageW(Control(SaleList), LB_GETCURSEL, 0, 0);
    if (row == LB_ERR || static_cast<size_t>(row) >= listed_.size()) return std::nullopt;
    return listed_[static_cast<size_t>(row)];
}

void THistoryWindow::ShowSale() {
    std::optional<std::int64_t> number = SelectedSale();
    std::wstring text;
    if (number) {
        std::optional<journal::FoundSale> found = Journal().FindSale(*number);
        text = found ? history::DetailText(*found, hooks_.receipt()) : L"";
    }
    SetWindowTextW(Control(DetailText), text.c_str());
}

void THistoryWindow::ReissueClick() {
    std::optional<std::int64_t> number = SelectedSale();
    if (!number) throw common::Error(kChooseSale);
    journal::Session& journal = Journal();
    std::optional<journal::FoundSale> found = journal.FindSale(*number);
    if (!found || found->cancelled)
        throw common::Error(L"No." + std::to_wstring(*number) + L" の売上が記録にありません｡");
    if (!found->complete)
        throw common::Error(L"No." + std::to_wstring(*number) +
                            L" の売上は記録の一部が読めないため、再発行できません｡");
    const receipt::Settings settings = hooks_.receipt();
    receipt::TReceiptPreview preview(receipt::ReceiptLines(found->sale, settings, true), settings, hooks_.printers,
                                     L"No." + std::to_wstring(*number));
    if (preview.ShowModal(Handle()) != IDOK) return;
    // Printed: the journal counts it.
    journal.RecordReissue(*number);
    Say(L"No." + std::to_wstring(*number) + L" のレシートを再発行しました｡");
}

void THistoryWindow::Save(const std::wstring& filter, const std::wstring& suggested, const std::string& bytes) {
    if (!hooks_.chooseFile) return;
    std::optional<std::wstring> path = hooks_.chooseFile(Handle(), filter, suggested);
    if (!path) return;
    if (!platform::ReplaceFileContent(*path, bytes))
        throw common::Error(L"保存できません\r\n" + *path + L"\r\n" + platform::SystemReason(GetLastError()));
    Say(L"保存しました: " + *path);
}

void THistoryWindow::CsvClick() {
    if (!query_) throw common::Error(kFindFirst);
    std::string csv = std::string(journal::kByteOrderMark) + kCsvHeader + "\r\n";
    EachSale(Journal(), *query_, [&](const journal::FoundSale& found) {
        csv += CsvRow(found.sale);
        return true;
    });
    std::wstring name = query_->range ? DateText(query_->range->from) + L"_" + DateText(query_->range->to) : L"全期間";
    Save(Filter(kCsvFilter, std::size(kCsvFilter)), L"売上_" + name + L".csv", csv);
}

std::wstring THistoryWindow::ChartTitle() const {
    const std::optional<DateRange> shown = byTime_ ? std::optional<DateRange>(byTime_->Range()) : std::nullopt;
    std::wstring range = !shown              ? L"全期間"
                         : shown->Days() > 1 ? DateText(shown->from) + L"～" + DateText(shown->to)
                                             : DateText(shown->from);
    return range + (showShares_ || !byTime_ ? L" 部門別の売上" : L" の売上");
}

void THistoryWindow::PngClick() {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels = chart_.Pixels(width, height);
    if (pixels.empty()) throw common::Error(L"グラフを画像にできません｡");
    // "売上グラフ_2026-12-01_2026-12-31.png", "売上グラフ_2026-12-08_部門別.png"
    std::wstring name = ChartTitle();
    name = name.substr(0, name.find(L' '));
    std::replace(name.begin(), name.end(), L'～', L'_');
    if (showShares_ || !byTime_) name += L"_部門別";
    Save(Filter(kPngFilter, std::size(kPngFilter)), L"売上グラフ_" + name + L".png", EncodePng(width, height, pixels));
}

void THistoryWindow::PrintClick() {
    const bool shares = showShares_ || !byTime_;
    receipt::Print(hooks_.printers, ChartSlip(ChartTitle(), chart_.Bars(), shares ? L"点" : L"人"), hooks_.receipt(),
                   L"売上のグラフ");
    Say(L"グラフを印刷しました｡");
}

LRESULT THistoryWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == SaleList && code == LBN_SELCHANGE) {
            ui::Guarded([this] { ShowSale(); });
            return 0;
        }
        if (code != BN_CLICKED) return ModalWindow::HandleMessage(message, wParam, lParam);
        switch (id) {
        case FindButton: FindClick(); return 0;
        case ViewButton: ViewClick(); return 0;
        case ReissueButton: ui::Guarded([this] { ReissueClick(); }); return 0;
        case CsvButton: ui::Guarded([this] { CsvClick(); }); return 0;
        case PngButton: ui::Guarded([this] { PngClick(); }); return 0;
        case PrintButton: ui::Guarded([this] { PrintClick(); }); return 0;
        case CloseButton: Close(IDCANCEL); return 0;
        }
    }
    if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLOREDIT) {
        if (HBRUSH brush = ui::ControlColors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
    }
    return ModalWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace history
