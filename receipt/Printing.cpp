#include "receipt/Printing.h"

#include <winspool.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/SystemError.h"
#include "ui/Error.h"
#include "ui/Gdi.h"

namespace receipt {

const wchar_t kNoPrinter[] = L"プリンターが見つかりません";

namespace {

const wchar_t kRefused[] = L"印刷できません。\r\n";

struct PrinterCloser {
    void operator()(HANDLE printer) const noexcept {
        if (printer) ClosePrinter(printer);
    }
};
using Printer = std::unique_ptr<std::remove_pointer_t<HANDLE>, PrinterCloser>;

[[noreturn]] void Refused(DWORD error) { throw ui::Error(kRefused + platform::SystemReason(error)); }

std::wstring DefaultPrinter() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    std::wstring name(size, L'\0');
    if (size == 0 || !GetDefaultPrinterW(name.data(), &size)) throw ui::Error(kNoPrinter);
    name.resize(wcslen(name.c_str()));
    return name;
}

Printer OpenNamedPrinter(std::wstring name) {
    HANDLE printer = nullptr;
    if (OpenPrinterW(name.data(), &printer, nullptr)) return Printer(printer);
    DWORD error = GetLastError();
    if (error == ERROR_INVALID_PRINTER_NAME || error == ERROR_FILE_NOT_FOUND || error == ERROR_UNKNOWN_PRINTER_DRIVER)
        throw ui::Error(kNoPrinter);
    Refused(error);
}

// The printer's settings with the paper as wide as the roll and as long as
// the rows; empty when the driver gives none, and the driver keeps what it
// cannot take of the paper size.
std::vector<BYTE> PaperSettings(HANDLE printer, std::wstring name, int rows, const Settings& settings) {
    LONG size = DocumentPropertiesW(nullptr, printer, name.data(), nullptr, nullptr, 0);
    if (size < static_cast<LONG>(sizeof(DEVMODEW))) return {};
    std::vector<BYTE> current(static_cast<size_t>(size)), merged(static_cast<size_t>(size));
    auto* mode = reinterpret_cast<DEVMODEW*>(current.data());
    if (DocumentPropertiesW(nullptr, printer, name.data(), mode, nullptr, DM_OUT_BUFFER) != IDOK) return {};
    mode->dmFields |= DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
    mode->dmOrientation = DMORIENT_PORTRAIT;
    mode->dmPaperSize = 0;  // the size is the width and length below
    mode->dmPaperWidth = static_cast<short>(PaperFor(settings.paperWidth).widthMm * 10);
    mode->dmPaperLength = PaperLength(rows, settings.paperWidth, settings.Columns());
    if (DocumentPropertiesW(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(merged.data()), mode,
                            DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK)
        return current;
    return merged;
}

JobDC SystemJobDC(const Settings& settings, int rows) {
    const std::wstring name = settings.printer.empty() ? DefaultPrinter() : settings.printer;
    Printer printer = OpenNamedPrinter(name);
    std::vector<BYTE> mode = PaperSettings(printer.get(), name, rows, settings);
    JobDC dc(CreateDCW(L"WINSPOOL", name.c_str(), nullptr,
                       mode.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(mode.data())));
    if (!dc) Refused(GetLastError());
    return dc;
}

std::vector<std::wstring> SystemPrinters() {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0) return {};
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersW(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return {};
    const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    std::vector<std::wstring> names;
    for (DWORD i = 0; i < count; ++i) names.emplace_back(printers[i].pPrinterName);
    return names;
}

Printers& CurrentPrinters() {
    static Printers printers{SystemPrinters, SystemJobDC};
    return printers;
}

// The slips' face at a character height; a width other than 0 narrows every glyph.
ui::Font MakeFace(int height, int width) {
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfWidth = width;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    wcsncpy(font.lfFaceName, ui::kFixedFontFace, LF_FACESIZE - 1);
    return ui::Font(CreateFontIndirectW(&font));
}

}  // namespace

void DrawRows(HDC dc, const std::vector<Row>& rows, const Strip& strip, std::size_t first, std::size_t count) {
    const int height = strip.FontHeight();
    ui::Font font = MakeFace(height, 0);
    // A glyph wider than its cells (a face whose yen sign is full-width, say)
    // is drawn from the narrow face, where full-width glyphs are half as wide,
    // so that it never runs into its neighbour.
    ui::Font narrow = MakeFace(height, std::max(height / 4, 1));
    ui::SelectGuard selectFont(dc, font.get());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
    UINT oldAlign = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    const int pitch = strip.RowPitch();
    const int lead = (pitch - height) / 2;
    std::vector<INT> advances;
    std::vector<bool> squeezed;
    for (std::size_t i = first; i < rows.size() && i - first < count; ++i) {
        const int y = strip.top + static_cast<int>(i - first) * pitch + lead;
        for (const Piece& piece : rows[i]) {
            // Each character is put into its own cells, so the grid holds even
            // when the face that stands in is proportional.
            const std::wstring& text = piece.text;
            advances.clear();
            squeezed.clear();
            int column = piece.column;
            for (std::size_t k = 0; k < text.size(); ++k) {
                int next = column + CellsOf(text[k]);
                int room = strip.ColumnX(next) - strip.ColumnX(column);
                advances.push_back(room);
                if (CellsOf(text[k]) == 0 && k > 0) {
                    squeezed.push_back(squeezed.back());  // the second half of a pair goes with the first
                } else {
                    SIZE natural{};
                    GetTextExtentPoint32W(
                        dc, &text[k], CellsOf(text[k]) == 2 && k + 1 < text.size() && CellsOf(text[k + 1]) == 0 ? 2 : 1,
                        &natural);
                    squeezed.push_back(natural.cx > room + room / 4);
                }
                column = next;
            }
            // Runs of characters from the same face, one call each.
            int x = strip.ColumnX(piece.column);
            for (std::size_t start = 0, end = 0; start < text.size(); start = end) {
                while (end < text.size() && squeezed[end] == squeezed[start]) ++end;
                ui::SelectGuard selectRun(dc, squeezed[start] ? narrow.get() : font.get());
                ExtTextOutW(dc, x, y, 0, nullptr, text.c_str() + start, static_cast<UINT>(end - start),
                            advances.data() + start);
                for (std::size_t k = start; k < end; ++k) x += advances[k];
            }
        }
    }
    SetTextAlign(dc, oldAlign);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

void Draw(HDC dc, const std::vector<Line>& lines, const Strip& strip) {
    DrawRows(dc, Arrange(lines, strip.columns), strip);
}

void Print(const std::vector<Line>& lines, const Settings& settings, const std::wstring& documentName) {
    const int columns = settings.Columns();
    const std::vector<Row> rows = Arrange(lines, columns);
    JobDC dc = CurrentPrinters().open(settings, static_cast<int>(rows.size()));
    DeviceMetrics device;
    device.dpiX = GetDeviceCaps(dc.get(), LOGPIXELSX);
    device.dpiY = GetDeviceCaps(dc.get(), LOGPIXELSY);
    device.printableWidth = GetDeviceCaps(dc.get(), HORZRES);
    device.printableHeight = GetDeviceCaps(dc.get(), VERTRES);
    device.physicalWidth = GetDeviceCaps(dc.get(), PHYSICALWIDTH);
    device.offsetX = GetDeviceCaps(dc.get(), PHYSICALOFFSETX);
    device.offsetY = GetDeviceCaps(dc.get(), PHYSICALOFFSETY);
    const PagePlan plan = PlanPage(device, settings.paperWidth, columns);

    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = documentName.c_str();
    if (StartDocW(dc.get(), &document) <= 0) Refused(GetLastError());
    const std::size_t perPage = static_cast<std::size_t>(plan.rowsPerPage);
    std::size_t first = 0;
    do {
        if (StartPage(dc.get()) <= 0) {
            DWORD error = GetLastError();
            AbortDoc(dc.get());
            Refused(error);
        }
        DrawRows(dc.get(), rows, plan.strip, first, perPage);
        if (EndPage(dc.get()) <= 0) {
            DWORD error = GetLastError();
            AbortDoc(dc.get());
            Refused(error);
        }
        first += perPage;
    } while (first < rows.size());
    if (EndDoc(dc.get()) <= 0) Refused(GetLastError());
}

std::vector<std::wstring> InstalledPrinters() {
    std::vector<std::wstring> printers = CurrentPrinters().installed();
    if (printers.empty()) throw ui::Error(kNoPrinter);
    return printers;
}

Printers SetPrinters(Printers printers) {
    if (!printers.installed) printers.installed = SystemPrinters;
    if (!printers.open) printers.open = SystemJobDC;
    return std::exchange(CurrentPrinters(), std::move(printers));
}

}  // namespace receipt
