#pragma once
// Drawing a slip's lines into any device context (the preview, a printer, an
// enhanced metafile) and printing them through the printer's Windows driver.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "receipt/Layout.h"
#include "receipt/Page.h"
#include "receipt/PrinterState.h"
#include "receipt/Receipt.h"

namespace receipt {

// The message when there is no printer to print on, and when the one named is
// not there ("%s" stands for its name).
extern const wchar_t kNoPrinter[];
extern const wchar_t kPrinterMissing[];

// Draws rows [first, first + count) of the arranged lines into strip, the
// first of them at strip.top, each character in its cells of the strip's grid,
// black on whatever lies below. Every piece of text is one ExtTextOutW call.
void DrawRows(HDC dc, const std::vector<Row>& rows, const Strip& strip, std::size_t first = 0,
              std::size_t count = static_cast<std::size_t>(-1));
// All the lines, arranged on strip.columns columns.
void Draw(HDC dc, const std::vector<Line>& lines, const Strip& strip);

struct DCDeleter {
    void operator()(HDC dc) const noexcept {
        if (dc) DeleteDC(dc);
    }
};
using JobDC = std::unique_ptr<std::remove_pointer_t<HDC>, DCDeleter>;

// Where print jobs go. The program hands its windows the system's printers;
// tests hand them their own, so that no test depends on or prints to the
// machine's printers.
struct Printers {
    std::function<std::vector<std::wstring>()> installed;
    // A device context for a job of rows rows on settings.printer (empty: the
    // default printer) and settings.paperWidth; throws ui::Error with kNoPrinter
    // when there is no such printer, or with the system's reason.
    std::function<JobDC(const Settings& settings, int rows)> open;
    // The papers the driver of printer (empty: the default printer) offers;
    // throws like open when there is no such printer.
    std::function<std::vector<PaperOffer>(const std::wstring& printer)> papers;
    // Sends bytes as they are to printer (empty: the default printer), through
    // the spooler as the "RAW" data type: commands of the printer's own.
    // Throws ui::Error like Print when the spooler refuses them.
    std::function<void(const std::wstring& printer, const std::string& bytes, const std::wstring& documentName)> raw;
};
// The system's printers, through their Windows drivers and the spooler.
Printers SystemPrinters();

// Prints the lines on settings.printer (empty: the default printer) on the
// driver's paper of settings.paperWidth (else a page of that width and as long
// as the lines, where the driver takes one), on as many pages as they need,
// each marked with mark and its place ("No.7 2/3") when there are more than
// one. documentName is what the print queue shows. Throws ui::Error with
// kNoPrinter or kPrinterMissing when there is no such printer, or with
// RefusedMessage when the spooler refuses the job, or StuckJobMessage when it
// took the job but says it will not print now (the job is then taken back).
void Print(const Printers& printers, const std::vector<Line>& lines, const Settings& settings,
           const std::wstring& documentName, const std::wstring& mark = L"");

// Opens the cash drawer as settings.drawer says: its command to the receipt
// printer, or, where the driver opens it with each job, an empty job unless
// a slip was printed just now. False when the shop opens no drawer through
// the printer. Throws ui::Error with kDrawerFailed and the printer's reason
// when the spooler did not take the command: only a true return was sent.
bool OpenDrawer(const Printers& printers, const Settings& settings, bool slipPrinted);
extern const wchar_t kDrawerFailed[];

// What the settings say of the paper printer (empty: the default printer) will
// print a roll of paperWidth mm on: the driver's paper of that width, or that
// it offers none; why there is no answer when the printer is not there.
std::wstring PaperNote(const Printers& printers, const std::wstring& printer, int paperWidth);

// The names of the installed printers, for choosing one; throws ui::Error with
// kNoPrinter when there are none.
std::vector<std::wstring> InstalledPrinters(const Printers& printers);

}  // namespace receipt
