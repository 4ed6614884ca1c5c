#pragma once
// Where the rows of a slip go on a device, in its pixels. Windows-free: the
// drawing takes the numbers from here, the printing gives the device's.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace receipt {

// A strip `width` pixels wide, starting at `left`, holding `columns` cells.
struct Strip {
    int left = 0;
    int top = 0;
    int width = 0;
    int columns = 48;

    // Where a column starts; the width is spread over the cells without a
    // remainder, so the last cell ends at the strip's right edge.
    int ColumnX(int column) const;
    // The font's character height: two cells, the width of a full-width character.
    int FontHeight() const;
    // The distance between rows: the character height and half a cell of space.
    int RowPitch() const;
};

// What the printer driver says of its page (GetDeviceCaps).
struct DeviceMetrics {
    int dpiX = 0, dpiY = 0;                       // LOGPIXELSX, LOGPIXELSY
    int printableWidth = 0, printableHeight = 0;  // HORZRES, VERTRES
    int physicalWidth = 0;                        // PHYSICALWIDTH
    int offsetX = 0, offsetY = 0;                 // PHYSICALOFFSETX, PHYSICALOFFSETY
};

struct PagePlan {
    Strip strip;          // on the printable area, whose origin is the device's (0, 0)
    int rowsPerPage = 1;  // more rows than this go on further pages
};

// The print width of the paper, centred on the paper as far as the printable
// area allows and never beyond it, below a small top margin.
PagePlan PlanPage(const DeviceMetrics& device, int paperWidth, int columns);

// The paper length (tenths of a mm, as DEVMODE takes it) that holds `rows`
// rows of paper of that width: one page as long as the receipt.
short PaperLength(int rows, int paperWidth, int columns);

// A paper the printer's driver offers, as DeviceCapabilities lists it.
struct PaperOffer {
    int id = 0;         // DC_PAPERS: what DEVMODE's dmPaperSize takes
    int width = 0;      // DC_PAPERSIZE, tenths of a mm
    int length = 0;     // tenths of a mm
    std::wstring name;  // DC_PAPERNAMES
};

// The offered paper for the roll of paperWidth mm: as wide as the roll give or
// take a millimetre, the longest of them; nullopt when the driver offers none.
std::optional<PaperOffer> ChoosePaper(const std::vector<PaperOffer>& offers, int paperWidth);

// How a glyph is put into its cells, `room` pixels: its width scaled by
// `scale` and its origin `shift` pixels from where the cells start.
struct GlyphFit {
    double scale = 1;
    int shift = 0;
};
// The fit of a glyph `advance` pixels wide whose ink begins `inkLeft` pixels
// after its origin and is `inkWidth` wide: as it is when it fits (a quarter
// over is still inside its neighbour's margin); else narrowed until its ink
// takes four fifths of the cells at most, centred there. Only its width
// changes: a full-width yen sign in one cell stays as tall as the digits
// beside it and keeps clear of them.
GlyphFit FitGlyph(int advance, int inkLeft, int inkWidth, int room);

}  // namespace receipt
