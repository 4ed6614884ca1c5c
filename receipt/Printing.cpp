#include "receipt/Printing.h"

#include <winspool.h>

#include <algorithm>
#include <cwchar>
#include <map>
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

// The slips' face at a character height, the fixed-pitch one unless another is
// named. The width is the face's own: some drivers measure a narrowed glyph
// narrow and then print it full size.
ui::Font MakeFace(int height, const wchar_t* face = ui::kFixedFontFace) {
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = (face == ui::kFixedFontFace ? FIXED_PITCH : VARIABLE_PITCH) | FF_MODERN;
    wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return ui::Font(CreateFontIndirectW(&font));
}

int Ascent(HDC dc) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmAscent;
}

}  // namespace

void DrawRows(HDC dc, const std::vector<Row>& rows, const Strip& strip, std::size_t first, std::size_t count) {
    const int height = strip.FontHeight();
    ui::Font font = MakeFace(height);
    ui::SelectGuard selectFont(dc, font.get());
    const int ascent = Ascent(dc);
    // A glyph wider than its cells (a face whose yen sign is full-width, say)
    // is drawn from the proportional face, where such signs are narrow, and
    // smaller where it is still too wide, on the same baseline: it never
    // covers its neighbour. One stand-in face for each height that needs one.
    std::map<int, std::pair<ui::Font, int>> standIns;  // by height: the face and its ascent
    auto faceOf = [&](int h) -> const std::pair<ui::Font, int>& {
        auto found = standIns.find(h);
        if (found != standIns.end()) return found->second;
        ui::Font face = MakeFace(h, ui::kFontFace);
        ui::SelectGuard selectFace(dc, face.get());
        int faceAscent = Ascent(dc);
        return standIns.emplace(h, std::pair{std::move(face), faceAscent}).first->second;
    };
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
    UINT oldAlign = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    const int pitch = strip.RowPitch();
    const int lead = (pitch - height) / 2;
    std::vector<INT> advances;
    std::vector<int> heights;  // 0: the slip's face; else the stand-in's height
    for (std::size_t i = first; i < rows.size() && i - first < count; ++i) {
        const int y = strip.top + static_cast<int>(i - first) * pitch + lead;
        for (const Piece& piece : rows[i]) {
            // Each character is put into its own cells, so the grid holds even
            // when the face that stands in is proportional.
            const std::wstring& text = piece.text;
            advances.clear();
            heights.clear();
            int column = piece.column;
            for (std::size_t k = 0; k < text.size(); ++k) {
                int next = column + CellsOf(text[k]);
                int room = strip.ColumnX(next) - strip.ColumnX(column);
                advances.push_back(room);
                if (CellsOf(text[k]) == 0 && k > 0) {
                    heights.push_back(heights.back());  // the second half of a pair goes with the first
                } else {
                    const int length =
                        CellsOf(text[k]) == 2 && k + 1 < text.size() && CellsOf(text[k + 1]) == 0 ? 2 : 1;
                    SIZE natural{};
                    GetTextExtentPoint32W(dc, &text[k], length, &natural);
                    int standIn = 0;
                    if (FittingHeight(height, natural.cx, room) != height) {
                        ui::SelectGuard measure(dc, faceOf(height).first.get());
                        GetTextExtentPoint32W(dc, &text[k], length, &natural);
                        standIn = FittingHeight(height, natural.cx, room);
                    }
                    heights.push_back(standIn);
                }
                column = next;
            }
            // Runs of characters of the same face, one call each.
            int x = strip.ColumnX(piece.column);
            for (std::size_t start = 0, end = 0; start < text.size(); start = end) {
                while (end < text.size() && heights[end] == heights[start]) ++end;
                HFONT face = font.get();
                int drop = 0;
                if (heights[start] != 0) {
                    const auto& [small, smallAscent] = faceOf(heights[start]);
                    face = small.get();
                    drop = ascent - smallAscent;
                }
                ui::SelectGuard selectRun(dc, face);
                ExtTextOutW(dc, x, y + drop, 0, nullptr, text.c_str() + start, static_cast<UINT>(end - start),
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
