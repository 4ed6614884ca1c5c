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

// The character height that draws a glyph `natural` pixels wide at `height`
// within `room` pixels: height itself when it fits (a quarter over is still
// inside its neighbour's margin), else as much smaller as it must be. Drivers
// that scale a glyph only by its height draw it so.
int FittingHeight(int height, int natural, int room);

}  // namespace receipt
