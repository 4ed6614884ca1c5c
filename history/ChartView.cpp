#include "history/ChartView.h"

#include <algorithm>

#include "history/ChartLayout.h"
#include "ui/Gdi.h"

namespace history {

namespace {

const wchar_t kClass[] = L"THistoryChart";
const COLORREF kPaper = RGB(255, 255, 255), kGrid = RGB(208, 208, 208), kInk = RGB(0, 0, 0), kBar = RGB(64, 112, 176),
               kSelectedBar = RGB(232, 128, 32);

int Scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

}  // namespace

void TChartView::Create(HWND parent, int id, int x, int y, int width, int height,
                        std::function<void(size_t)> selected) {
    selectedChanged_ = std::move(selected);
    RegisterClassOnce(kClass, CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW), nullptr);
    Window::Create(kClass, L"売上のグラフ", WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, x, y, width, height,
                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void TChartView::SetBars(std::vector<Bar> bars) {
    bars_ = std::move(bars);
    auto sold = std::find_if(bars_.begin(), bars_.end(), [](const Bar& bar) { return bar.customers > 0; });
    selected_ = sold == bars_.end() ? 0 : static_cast<size_t>(sold - bars_.begin());
    InvalidateRect(Handle(), nullptr, FALSE);
    if (selectedChanged_) selectedChanged_(selected_);
}

void TChartView::Select(size_t bar) {
    if (bars_.empty()) return;
    selected_ = std::min(bar, bars_.size() - 1);
    InvalidateRect(Handle(), nullptr, FALSE);
    if (selectedChanged_) selectedChanged_(selected_);
}

int TChartView::Dpi() const { return GetDeviceCaps(ui::WindowDC(Handle()), LOGPIXELSY); }

void TChartView::Paint(HDC dc, int width, int height, int dpi) const {
    RECT all{0, 0, width, height};
    ui::Brush paper(CreateSolidBrush(kPaper));
    FillRect(dc, &all, paper.get());
    ui::Font font = ui::MakeFont(ui::kFontFace, Scaled(12, dpi));
    ui::SelectGuard selectFont(dc, font.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    std::vector<std::int64_t> figures;
    std::vector<std::wstring> labels;
    for (const Bar& bar : bars_) {
        figures.push_back(bar.amount);
        labels.push_back(bar.label);
    }
    const ChartLayout layout =
        LayOutChart(figures, labels, width, height, metrics.tmHeight, [dc](const std::wstring& text) {
            SIZE size{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            return static_cast<int>(size.cx);
        });
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kInk);
    ui::Brush grid(CreateSolidBrush(kGrid));
    for (const Mark& line : layout.grid) {
        RECT rule{layout.plot.left, line.at, layout.plot.right, line.at + std::max(1, Scaled(1, dpi))};
        FillRect(dc, &rule, grid.get());
        SetTextAlign(dc, TA_RIGHT | TA_TOP);
        TextOutW(dc, layout.plot.left - Scaled(4, dpi), line.at - metrics.tmHeight / 2, line.text.c_str(),
                 static_cast<int>(line.text.size()));
    }
    ui::Brush bar(CreateSolidBrush(kBar)), selected(CreateSolidBrush(kSelectedBar));
    for (size_t i = 0; i < layout.bars.size(); ++i) {
        const Box& box = layout.bars[i];
        // An empty bar still shows where it stands when it is the one selected.
        RECT shape{box.left, std::min(box.top, box.bottom - (i == selected_ ? Scaled(2, dpi) : 0)), box.right,
                   box.bottom};
        FillRect(dc, &shape, i == selected_ ? selected.get() : bar.get());
    }
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    for (const Mark& label : layout.labels)
        TextOutW(dc, label.at, layout.plot.bottom + Scaled(3, dpi), label.text.c_str(),
                 static_cast<int>(label.text.size()));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
}

std::vector<std::uint32_t> TChartView::Pixels(int& width, int& height) const {
    RECT client{};
    GetClientRect(Handle(), &client);
    width = client.right;
    height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ui::WindowDC screen(Handle());
    ui::Bitmap picture(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::vector<std::uint32_t> pixels;
    if (!picture || !bits) return pixels;
    {
        ui::MemoryDC dc(screen);
        ui::SelectGuard select(dc, picture.get());
        Paint(dc, width, height, Dpi());
        GdiFlush();
    }
    const std::uint32_t* from = static_cast<const std::uint32_t*>(bits);
    pixels.assign(from, from + static_cast<size_t>(width) * static_cast<size_t>(height));
    for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;  // the DIB's BGRA is 0x00RRGGBB read as a number
    return pixels;
}

LRESULT TChartView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_LEFT: Select(selected_ > 0 ? selected_ - 1 : 0); return 0;
        case VK_RIGHT: Select(selected_ + 1); return 0;
        case VK_HOME: Select(0); return 0;
        case VK_END: Select(bars_.empty() ? 0 : bars_.size() - 1); return 0;
        }
        break;
    case WM_LBUTTONDOWN: {
        SetFocus(Handle());
        RECT client{};
        GetClientRect(Handle(), &client);
        if (!bars_.empty() && client.right > 0)
            Select(static_cast<size_t>(std::max(0, static_cast<int>(static_cast<short>(LOWORD(lParam))))) *
                   bars_.size() / static_cast<size_t>(client.right));
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(Handle(), nullptr, FALSE); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        ui::PaintDC paint(Handle());
        RECT client{};
        GetClientRect(Handle(), &client);
        // Drawn off screen first: the bars do not flicker as the selection moves.
        ui::MemoryDC buffer(paint);
        ui::Bitmap picture(CreateCompatibleBitmap(paint, client.right, client.bottom));
        {
            ui::SelectGuard select(buffer, picture.get());
            Paint(buffer, client.right, client.bottom, Dpi());
            if (GetFocus() == Handle()) DrawFocusRect(buffer, &client);
            BitBlt(paint, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
        }
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        GetClientRect(Handle(), &client);
        Paint(reinterpret_cast<HDC>(wParam), client.right, client.bottom, Dpi());
        return 0;
    }
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace history
