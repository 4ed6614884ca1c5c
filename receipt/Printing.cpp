#include "receipt/Printing.h"

#include <winspool.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/SystemError.h"
#include "receipt/Drawer.h"
#include "ui/Error.h"
#include "ui/Gdi.h"

namespace receipt {

const wchar_t kNoPrinter[] = L"プリンターが見つかりません";
const wchar_t kPrinterMissing[] = L"プリンター「%s」が見つかりません";
const wchar_t kDrawerFailed[] = L"ドロアを開ける指示をプリンターに送れませんでした。\r\n";

namespace {

const wchar_t kPaperFound[] = L"用紙: %s";
const wchar_t kNoPaperOfWidth[] = L"このプリンターには %s mm 幅の用紙がありません";

struct PrinterCloser {
    void operator()(HANDLE printer) const noexcept {
        if (printer) ClosePrinter(printer);
    }
};
using Printer = std::unique_ptr<std::remove_pointer_t<HANDLE>, PrinterCloser>;

// PrinterState.h reads the spooler's bits at their own values.
static_assert(kPrinterPaused == PRINTER_STATUS_PAUSED && kPrinterError == PRINTER_STATUS_ERROR &&
              kPrinterPendingDeletion == PRINTER_STATUS_PENDING_DELETION &&
              kPrinterPaperJam == PRINTER_STATUS_PAPER_JAM && kPrinterPaperOut == PRINTER_STATUS_PAPER_OUT &&
              kPrinterPaperProblem == PRINTER_STATUS_PAPER_PROBLEM && kPrinterOffline == PRINTER_STATUS_OFFLINE &&
              kPrinterNotAvailable == PRINTER_STATUS_NOT_AVAILABLE &&
              kPrinterUserIntervention == PRINTER_STATUS_USER_INTERVENTION &&
              kPrinterDoorOpen == PRINTER_STATUS_DOOR_OPEN && kPrinterServerUnknown == PRINTER_STATUS_SERVER_UNKNOWN &&
              kPrinterWorkOffline == PRINTER_ATTRIBUTE_WORK_OFFLINE);
static_assert(kJobError == JOB_STATUS_ERROR && kJobDeleting == JOB_STATUS_DELETING &&
              kJobOffline == JOB_STATUS_OFFLINE && kJobPaperOut == JOB_STATUS_PAPEROUT &&
              kJobDeleted == JOB_STATUS_DELETED && kJobBlocked == JOB_STATUS_BLOCKED_DEVQ &&
              kJobUserIntervention == JOB_STATUS_USER_INTERVENTION);

PrinterState StateOf(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return {};
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    return {info->Status, info->Attributes};
}

// A call for a job on printer failed with error: the spooler is asked why.
[[noreturn]] void Refused(std::wstring printer, DWORD error) {
    PrinterState state;
    HANDLE handle = nullptr;
    if (OpenPrinterW(printer.data(), &handle, nullptr)) state = StateOf(Printer(handle).get());
    throw ui::Error(RefusedMessage(printer, state, error, platform::SystemReason(error)));
}

// The job has ended. Where it still waits in the queue and the spooler says it
// will not print now, it is taken out and the reason raised; a job no longer
// there went to the printer.
void CheckQueued(HANDLE printer, const std::wstring& name, DWORD job) {
    DWORD needed = 0;
    GetJobW(printer, job, 1, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !GetJobW(printer, job, 1, buffer.data(), needed, &needed)) return;
    const auto* info = reinterpret_cast<const JOB_INFO_1W*>(buffer.data());
    std::wstring stuck = StuckJobMessage(name, info->Status, StateOf(printer));
    if (stuck.empty()) return;
    SetJobW(printer, job, 0, nullptr, JOB_CONTROL_DELETE);
    throw ui::Error(stuck);
}

// The default printer's name; empty when there is none.
std::wstring DefaultPrinter() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    std::wstring name(size, L'\0');
    if (size == 0 || !GetDefaultPrinterW(name.data(), &size)) return L"";
    name.resize(wcslen(name.c_str()));
    return name;
}

// The printer a job for printer goes to: printer itself, or the default one.
std::wstring PrinterFor(const std::wstring& printer) {
    if (!printer.empty()) return printer;
    std::wstring name = DefaultPrinter();
    if (name.empty()) throw ui::Error(kNoPrinter);
    return name;
}

Printer OpenNamedPrinter(std::wstring name) {
    HANDLE printer = nullptr;
    if (OpenPrinterW(name.data(), &printer, nullptr)) return Printer(printer);
    DWORD error = GetLastError();
    if (error == ERROR_INVALID_PRINTER_NAME || error == ERROR_FILE_NOT_FOUND || error == ERROR_UNKNOWN_PRINTER_DRIVER)
        throw ui::Error(ui::FormatMessageText(kPrinterMissing, name));
    Refused(name, error);
}

std::vector<PaperOffer> SystemPapers(const std::wstring& printer) {
    const std::wstring name = PrinterFor(printer);
    OpenNamedPrinter(name);  // a printer that is not there says so
    const int count = DeviceCapabilitiesW(name.c_str(), nullptr, DC_PAPERS, nullptr, nullptr);
    if (count <= 0) return {};
    std::vector<WORD> ids(static_cast<size_t>(count));
    std::vector<POINT> sizes(static_cast<size_t>(count));
    std::vector<wchar_t> names(static_cast<size_t>(count) * 64);
    if (DeviceCapabilitiesW(name.c_str(), nullptr, DC_PAPERS, reinterpret_cast<wchar_t*>(ids.data()), nullptr) !=
            count ||
        DeviceCapabilitiesW(name.c_str(), nullptr, DC_PAPERSIZE, reinterpret_cast<wchar_t*>(sizes.data()), nullptr) !=
            count)
        return {};
    const bool named = DeviceCapabilitiesW(name.c_str(), nullptr, DC_PAPERNAMES, names.data(), nullptr) == count;
    std::vector<PaperOffer> offers;
    for (size_t i = 0; i < ids.size(); ++i) {
        PaperOffer offer{ids[i], sizes[i].x, sizes[i].y, L""};
        if (named) offer.name.assign(&names[i * 64], wcsnlen(&names[i * 64], 64));
        offers.push_back(std::move(offer));
    }
    return offers;
}

void SystemRaw(const std::wstring& printer, const std::string& bytes, const std::wstring& documentName) {
    const std::wstring name = PrinterFor(printer);
    Printer handle = OpenNamedPrinter(name);
    std::wstring document = documentName, type = L"RAW";
    DOC_INFO_1W info{document.data(), nullptr, type.data()};
    const DWORD job = StartDocPrinterW(handle.get(), 1, reinterpret_cast<BYTE*>(&info));
    if (job == 0) Refused(name, GetLastError());
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(bytes.size());
    if (!StartPagePrinter(handle.get()) ||
        !WritePrinter(handle.get(), const_cast<char*>(bytes.data()), size, &written) || written != size ||
        !EndPagePrinter(handle.get())) {
        DWORD error = GetLastError();
        EndDocPrinter(handle.get());
        Refused(name, error);
    }
    if (!EndDocPrinter(handle.get())) Refused(name, GetLastError());
    CheckQueued(handle.get(), name, job);
}

// The printer's settings for a slip of rows rows: the driver's paper as wide as
// the roll, else the roll's width and as long as the rows, which a driver that
// cannot take such a size ignores. Empty when the driver gives none.
std::vector<BYTE> PaperSettings(HANDLE printer, std::wstring name, int rows, const Settings& settings) {
    LONG size = DocumentPropertiesW(nullptr, printer, name.data(), nullptr, nullptr, 0);
    if (size < static_cast<LONG>(sizeof(DEVMODEW))) return {};
    std::vector<BYTE> current(static_cast<size_t>(size)), merged(static_cast<size_t>(size));
    auto* mode = reinterpret_cast<DEVMODEW*>(current.data());
    if (DocumentPropertiesW(nullptr, printer, name.data(), mode, nullptr, DM_OUT_BUFFER) != IDOK) return {};
    mode->dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
    mode->dmOrientation = DMORIENT_PORTRAIT;
    if (std::optional<PaperOffer> roll = ChoosePaper(SystemPapers(name), settings.paperWidth)) {
        mode->dmFields &= ~static_cast<DWORD>(DM_PAPERWIDTH | DM_PAPERLENGTH);
        mode->dmPaperSize = static_cast<short>(roll->id);
    } else {
        mode->dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
        mode->dmPaperSize = 0;  // the size is the width and length below
        mode->dmPaperWidth = static_cast<short>(PaperFor(settings.paperWidth).widthMm * 10);
        mode->dmPaperLength = PaperLength(rows, settings.paperWidth, settings.Columns());
    }
    if (DocumentPropertiesW(nullptr, printer, name.data(), reinterpret_cast<DEVMODEW*>(merged.data()), mode,
                            DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK)
        return current;
    return merged;
}

JobDC SystemJobDC(const Settings& settings, int rows) {
    const std::wstring name = PrinterFor(settings.printer);
    Printer printer = OpenNamedPrinter(name);
    std::vector<BYTE> mode = PaperSettings(printer.get(), name, rows, settings);
    JobDC dc(CreateDCW(L"WINSPOOL", name.c_str(), nullptr,
                       mode.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(mode.data())));
    if (!dc) Refused(name, GetLastError());
    return dc;
}

std::vector<std::wstring> SystemPrinterNames() {
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

// The slips' face at a character height. The width is the face's own: some
// drivers measure a narrowed glyph narrow and then print it full size.
ui::Font MakeFace(int height) {
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    wcsncpy(font.lfFaceName, ui::kFixedFontFace, LF_FACESIZE - 1);
    return ui::Font(CreateFontIndirectW(&font));
}

// Draws characters at x as ExtTextOutW does, put into their cells by fit: a
// world transform, which printer drivers honour as screens do, where a
// narrowed font (LOGFONT's width) some of them ignore.
void DrawFitted(HDC dc, int x, int y, const wchar_t* text, UINT length, const INT* advances, GlyphFit fit) {
    const int oldMode = SetGraphicsMode(dc, GM_ADVANCED);
    XFORM old{};
    GetWorldTransform(dc, &old);
    const auto scale = static_cast<FLOAT>(fit.scale);
    const XFORM narrow{scale, 0, 0, 1, static_cast<FLOAT>(x + fit.shift) - scale * static_cast<FLOAT>(x), 0};
    ModifyWorldTransform(dc, &narrow, MWT_LEFTMULTIPLY);
    ExtTextOutW(dc, x, y, 0, nullptr, text, length, advances);
    SetWorldTransform(dc, &old);
    SetGraphicsMode(dc, oldMode);
}

}  // namespace

void DrawRows(HDC dc, const std::vector<Row>& rows, const Strip& strip, std::size_t first, std::size_t count) {
    ui::Font font = MakeFace(strip.FontHeight());
    ui::SelectGuard selectFont(dc, font.get());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
    UINT oldAlign = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    const int pitch = strip.RowPitch();
    const int lead = (pitch - strip.FontHeight()) / 2;
    std::vector<INT> advances;
    std::vector<GlyphFit> fits;
    for (std::size_t i = first; i < rows.size() && i - first < count; ++i) {
        const int y = strip.top + static_cast<int>(i - first) * pitch + lead;
        for (const Piece& piece : rows[i]) {
            // Each character is put into its own cells, so the grid holds
            // whatever the face's widths. A glyph wider than its cells (a
            // face whose yen sign is full-width, say) is drawn narrower there,
            // at its full height: it never covers its neighbour and reads as
            // what it is.
            const std::wstring& text = piece.text;
            advances.clear();
            fits.clear();
            int column = piece.column;
            for (std::size_t k = 0; k < text.size(); ++k) {
                int next = column + CellsOf(text[k]);
                int room = strip.ColumnX(next) - strip.ColumnX(column);
                advances.push_back(room);
                if (CellsOf(text[k]) == 0 && k > 0) {
                    fits.push_back(fits.back());  // the second half of a pair goes with the first
                } else {
                    const int length =
                        CellsOf(text[k]) == 2 && k + 1 < text.size() && CellsOf(text[k + 1]) == 0 ? 2 : 1;
                    SIZE natural{};
                    GetTextExtentPoint32W(dc, &text[k], length, &natural);
                    ABC ink{0, static_cast<UINT>(natural.cx), 0}, measured{};  // unmeasured (a pair): all of it
                    if (length == 1 && GetCharABCWidthsW(dc, text[k], text[k], &measured)) ink = measured;
                    fits.push_back(FitGlyph(natural.cx, ink.abcA, static_cast<int>(ink.abcB), room));
                }
                column = next;
            }
            // Runs of characters drawn as they are, one call each; a fitted
            // character (with the second half of its pair) on its own.
            int x = strip.ColumnX(piece.column);
            auto asItIs = [&fits](std::size_t k) { return fits[k].scale == 1 && fits[k].shift == 0; };
            for (std::size_t start = 0, end = 0; start < text.size(); start = end) {
                const bool fitted = !asItIs(start);
                ++end;
                while (end < text.size() && (fitted ? CellsOf(text[end]) == 0 : asItIs(end))) ++end;
                const UINT length = static_cast<UINT>(end - start);
                if (fitted)
                    DrawFitted(dc, x, y, text.c_str() + start, length, advances.data() + start, fits[start]);
                else
                    ExtTextOutW(dc, x, y, 0, nullptr, text.c_str() + start, length, advances.data() + start);
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

Printers SystemPrinters() { return {SystemPrinterNames, SystemJobDC, SystemPapers, SystemRaw}; }

void Print(const Printers& printers, const std::vector<Line>& lines, const Settings& settings,
           const std::wstring& documentName, const std::wstring& mark) {
    const int columns = settings.Columns();
    const std::vector<Row> rows = Arrange(lines, columns);
    JobDC dc = printers.open(settings, static_cast<int>(rows.size()));
    const std::wstring printer = PrinterFor(settings.printer);
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
    const int job = StartDocW(dc.get(), &document);
    if (job <= 0) Refused(printer, GetLastError());
    for (const std::vector<Row>& page : Pages(rows, plan.rowsPerPage, mark, columns)) {
        if (StartPage(dc.get()) <= 0) {
            DWORD error = GetLastError();
            AbortDoc(dc.get());
            Refused(printer, error);
        }
        DrawRows(dc.get(), page, plan.strip);
        if (EndPage(dc.get()) <= 0) {
            DWORD error = GetLastError();
            AbortDoc(dc.get());
            Refused(printer, error);
        }
    }
    if (EndDoc(dc.get()) <= 0) Refused(printer, GetLastError());
    CheckQueued(OpenNamedPrinter(printer).get(), printer, static_cast<DWORD>(job));
    if (std::string cut = CutCommand(settings); !cut.empty()) printers.raw(printer, cut, documentName);
}

bool OpenDrawer(const Printers& printers, const Settings& settings, bool slipPrinted) {
    if (settings.drawer == DrawerMode::Never) return false;
    try {
        if (settings.drawer != DrawerMode::Driver) {
            printers.raw(settings.printer, DrawerCommand(settings.drawer), L"ドロア");
        } else if (!slipPrinted) {
            // A job of no pages: the driver's commands at its start and end, no paper.
            JobDC dc = printers.open(settings, 0);
            const std::wstring printer = PrinterFor(settings.printer);
            DOCINFOW document{};
            document.cbSize = sizeof document;
            document.lpszDocName = L"ドロア";
            const int job = StartDocW(dc.get(), &document);
            if (job <= 0 || EndDoc(dc.get()) <= 0) Refused(printer, GetLastError());
            CheckQueued(OpenNamedPrinter(printer).get(), printer, static_cast<DWORD>(job));
        }
    } catch (const ui::Error& e) {
        throw ui::Error(kDrawerFailed + e.Message());
    }
    return true;
}

std::wstring PaperNote(const Printers& printers, const std::wstring& printer, int paperWidth) {
    try {
        std::optional<PaperOffer> roll = ChoosePaper(printers.papers(printer), paperWidth);
        if (roll) return ui::FormatMessageText(kPaperFound, roll->name);
        return ui::FormatMessageText(kNoPaperOfWidth, std::to_wstring(PaperFor(paperWidth).widthMm));
    } catch (const ui::Error& e) {
        return e.Message();
    }
}

std::vector<std::wstring> InstalledPrinters(const Printers& printers) {
    std::vector<std::wstring> names = printers.installed();
    if (names.empty()) throw ui::Error(kNoPrinter);
    return names;
}

}  // namespace receipt
