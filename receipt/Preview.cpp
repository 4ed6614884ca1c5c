#include "receipt/Preview.h"

#include <algorithm>

#include "receipt/Printing.h"
#include "ui/App.h"
#include "ui/Controls.h"
#include "ui/Error.h"

namespace receipt {

namespace {

const wchar_t kClass[] = L"TReceiptPreview";
const wchar_t kPaperClass[] = L"PelmoraReceiptPaper";
const wchar_t kClipboardBusy[] = L"クリップボードを開けません。もう一度お試しください。";

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The screen's picture of the paper: 16/3 pixels a millimetre, so that the
// print width (72 mm or 48 mm) is 8 pixels a cell.
constexpr int kGap = 16;           // grey around the paper
constexpr int kTopMargin = 16;     // 3 mm of paper above the first row
constexpr int kBottomMargin = 27;  // 5 mm below the last
constexpr int kButtonBar = 41, kButtonWidth = 88, kButtonHeight = 25;

int PaperPixels(int paperWidth) { return (PaperFor(paperWidth).widthMm * 16 + 1) / 3; }

struct GlobalDeleter {
    void operator()(HGLOBAL memory) const noexcept {
        if (memory) GlobalFree(memory);
    }
};
using GlobalMemory = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalDeleter>;

struct ClipboardCloser {
    ~ClipboardCloser() { CloseClipboard(); }
};

void PutOnClipboard(HWND owner, const std::wstring& text) {
    // Another program may hold the clipboard a moment (Wine's own service does).
    bool open = false;
    for (int attempt = 0; attempt < 20 && !open; ++attempt) {
        open = OpenClipboard(owner) != 0;
        if (!open) Sleep(5);
    }
    if (!open) throw ui::Error(kClipboardBusy);
    ClipboardCloser closer;
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    auto* buffer = memory ? static_cast<wchar_t*>(GlobalLock(memory.get())) : nullptr;
    if (!buffer) throw ui::Error(L"メモリが不足しています");
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = L'\0';
    GlobalUnlock(memory.get());
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, memory.get())) throw ui::Error(kClipboardBusy);
    memory.release();  // the clipboard owns it now
}

}  // namespace

// The paper strip with the slip on it, scrolled vertically.
class TReceiptPreview::Paper : public ui::Window {
public:
    Paper(HWND parent, const std::vector<Line>& lines, const Settings& settings)
        : rows_(Arrange(lines, settings.Columns())), paperPixels_(PaperPixels(settings.paperWidth)) {
        strip_.columns = settings.Columns();
        strip_.width = strip_.columns * kCellPixels;
        strip_.left = kGap + (paperPixels_ - strip_.width) / 2;
        RegisterClassOnce(kPaperClass, CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW), nullptr);
        Create(kPaperClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 0, 0, 0, parent,
               reinterpret_cast<HMENU>(static_cast<INT_PTR>(PaperView)));
    }

    int Width() const { return paperPixels_ + 2 * kGap + GetSystemMetrics(SM_CXVSCROLL); }
    int PaperHeight() const { return kTopMargin + static_cast<int>(rows_.size()) * strip_.RowPitch() + kBottomMargin; }
    int ContentHeight() const { return PaperHeight() + 2 * kGap; }
    int Position() const { return position_; }

    void ScrollTo(int position) {
        RECT client;
        GetClientRect(Handle(), &client);
        position = std::clamp(position, 0, std::max(ContentHeight() - static_cast<int>(client.bottom), 0));
        if (position == position_) return;
        position_ = position;
        SetScrollPos(Handle(), SB_VERT, position_, TRUE);
        InvalidateRect(Handle(), nullptr, FALSE);
    }

    // A scroll bar request (SB_LINEDOWN, SB_PAGEUP, ...), also from the keyboard.
    void Scroll(int request, int thumb = 0) {
        RECT client;
        GetClientRect(Handle(), &client);
        const int line = strip_.RowPitch(), page = std::max(static_cast<int>(client.bottom) - line, line);
        switch (request) {
        case SB_LINEUP: ScrollTo(position_ - line); break;
        case SB_LINEDOWN: ScrollTo(position_ + line); break;
        case SB_PAGEUP: ScrollTo(position_ - page); break;
        case SB_PAGEDOWN: ScrollTo(position_ + page); break;
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(ContentHeight()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(thumb); break;
        }
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_SIZE: UpdateScrollBar(); return 0;
        case WM_VSCROLL: {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(Handle(), SB_VERT, &info);
            Scroll(LOWORD(wParam), info.nTrackPos);
            return 0;
        }
        case WM_MOUSEWHEEL:
            ScrollTo(position_ - GET_WHEEL_DELTA_WPARAM(wParam) * 3 * strip_.RowPitch() / WHEEL_DELTA);
            return 0;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            ui::PaintDC dc(Handle());
            PaintBuffered(dc);
            return 0;
        }
        case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
        }
        return Window::HandleMessage(message, wParam, lParam);
    }

private:
    void UpdateScrollBar() {
        RECT client;
        GetClientRect(Handle(), &client);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
        info.nMax = ContentHeight() - 1;
        info.nPage = static_cast<UINT>(std::max<LONG>(client.bottom, 0));
        SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
        const int keep = position_;
        position_ = -1;  // the position is clamped anew and drawn
        ScrollTo(keep);
    }

    // Drawn in memory first, so that scrolling does not flicker.
    void PaintBuffered(HDC dc) {
        RECT client;
        GetClientRect(Handle(), &client);
        ui::MemoryDC memory(dc);
        ui::Bitmap bitmap(
            CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)));
        ui::SelectGuard selectBitmap(memory, bitmap.get());
        Paint(memory);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    }

    void Paint(HDC dc) {
        RECT client;
        GetClientRect(Handle(), &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
        const int top = kGap - position_;
        RECT paper{kGap, top, kGap + paperPixels_, top + PaperHeight()};
        FillRect(dc, &paper, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        FrameRect(dc, &paper, GetSysColorBrush(COLOR_3DSHADOW));
        Strip strip = strip_;
        strip.top = top + kTopMargin;
        // Only the rows that can be seen.
        const int pitch = strip.RowPitch();
        const int first = std::max((0 - strip.top) / pitch, 0);
        strip.top += first * pitch;
        DrawRows(dc, rows_, strip, static_cast<std::size_t>(first),
                 static_cast<std::size_t>(client.bottom / pitch + 2));
    }

    std::vector<Row> rows_;
    int paperPixels_;
    Strip strip_;
    int position_ = 0;
};

const wchar_t TReceiptPreview::kCaption[] = L"レシート";

TReceiptPreview::TReceiptPreview(std::vector<Line> lines, Settings settings, Printers printers, std::wstring mark)
    : lines_(std::move(lines)), settings_(std::move(settings)), printers_(std::move(printers)), mark_(std::move(mark)) {
    RegisterClassOnce(kClass);
    Create(kClass, kCaption, kStyle, kExStyle, 0, 0, 0, 0, nullptr, nullptr);
    paper_ = std::make_unique<Paper>(Handle(), lines_, settings_);

    // As tall as the slip, up to what the screen holds.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int frameHeight = frame.bottom - frame.top, frameWidth = frame.right - frame.left;
    const int width = paper_->Width();
    const int workWidth = work.right - work.left, workHeight = work.bottom - work.top;
    const int viewHeight =
        std::clamp(paper_->ContentHeight(), 160, std::max(workHeight - frameHeight - kButtonBar, 160));
    MoveWindow(paper_->Handle(), 0, 0, width, viewHeight, FALSE);

    buttonFont_ = ui::MakeFont(ui::kFontFace, 15);
    struct ButtonSpec {
        int id;
        const wchar_t* caption;
        DWORD style;
    };
    const ButtonSpec buttons[] = {
        {PrintButton, L"印刷(&P)", BS_DEFPUSHBUTTON},
        {CopyButton, L"コピー(&C)", BS_PUSHBUTTON},
        {CloseButton, L"閉じる", BS_PUSHBUTTON},
    };
    int x = width - 3 * (kButtonWidth + 8);
    for (const ButtonSpec& b : buttons) {
        ui::CreateControl(L"BUTTON", b.caption, b.style | WS_TABSTOP, x, viewHeight + 8, kButtonWidth, kButtonHeight,
                          Handle(), b.id, buttonFont_.get());
        x += kButtonWidth + 8;
    }

    const int outerWidth = width + frameWidth, outerHeight = viewHeight + kButtonBar + frameHeight;
    SetWindowPos(Handle(), nullptr, work.left + std::max((workWidth - outerWidth) / 2, 0),
                 work.top + std::max((workHeight - outerHeight) / 2, 0), outerWidth, outerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

TReceiptPreview::~TReceiptPreview() = default;

int TReceiptPreview::ScrollPosition() const { return paper_->Position(); }
int TReceiptPreview::ContentHeight() const { return paper_->ContentHeight(); }

// The arrows and the page keys scroll the paper, whatever has the focus.
bool TReceiptPreview::TakeKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    switch (msg.wParam) {
    case VK_UP: paper_->Scroll(SB_LINEUP); return true;
    case VK_DOWN: paper_->Scroll(SB_LINEDOWN); return true;
    case VK_PRIOR: paper_->Scroll(SB_PAGEUP); return true;
    case VK_NEXT: paper_->Scroll(SB_PAGEDOWN); return true;
    case VK_HOME: paper_->Scroll(SB_TOP); return true;
    case VK_END: paper_->Scroll(SB_BOTTOM); return true;
    }
    return false;
}

void TReceiptPreview::PrintClick() {
    Print(printers_, lines_, settings_, kCaption, mark_);
    Close(IDOK);
}

void TReceiptPreview::CopyClick() { PutOnClipboard(Handle(), PlainText(lines_, settings_.Columns())); }

void TReceiptPreview::CloseClick() { Close(IDCANCEL); }

LRESULT TReceiptPreview::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            switch (LOWORD(wParam)) {
            case PrintButton: PrintClick(); return 0;
            case CopyButton: CopyClick(); return 0;
            case CloseButton: CloseClick(); return 0;
            }
        }
        break;
    case WM_MOUSEWHEEL:
        // The wheel turns over the buttons too: it always scrolls the paper.
        return SendMessageW(paper_->Handle(), message, wParam, lParam);
    }
    return ModalWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace receipt
