#include "receipt/Page.h"
#include "receipt/Receipt.h"

#include <algorithm>
#include <cmath>

namespace receipt {

namespace {
constexpr int kTopMarginMm = 3;
constexpr int kBottomMarginMm = 5;  // the last row clears the printer's cutter

int MmToPixels(int mm, int dpi) { return static_cast<int>((std::int64_t{mm} * dpi * 10 + 127) / 254); }
}  // namespace

int Strip::ColumnX(int column) const { return left + static_cast<int>(std::int64_t{width} * column / columns); }
int Strip::FontHeight() const { return std::max(2 * width / columns, 1); }
int Strip::RowPitch() const { return std::max(5 * width / (2 * columns), 1); }

PagePlan PlanPage(const DeviceMetrics& device, int paperWidth, int columns) {
    int wanted = MmToPixels(PaperFor(paperWidth).printWidthMm, device.dpiX);
    int paper = MmToPixels(PaperFor(paperWidth).widthMm, device.dpiX);
    if (device.physicalWidth > 0) paper = std::min(paper, device.physicalWidth);
    PagePlan plan;
    Strip& strip = plan.strip;
    strip.columns = std::max(columns, 1);
    strip.left = std::clamp((paper - wanted) / 2 - device.offsetX, 0, std::max(device.printableWidth - 1, 0));
    strip.width = std::max(std::min(wanted, device.printableWidth - strip.left), strip.columns);
    strip.top = std::max(MmToPixels(kTopMarginMm, device.dpiY) - device.offsetY, 0);
    plan.rowsPerPage = std::max((device.printableHeight - strip.top) / strip.RowPitch(), 1);
    return plan;
}

short PaperLength(int rows, int paperWidth, int columns) {
    // A row is 5/2 of a cell, a cell the print width over the columns.
    std::int64_t rowsLength =
        std::int64_t{std::max(rows, 0)} * 5 * PaperFor(paperWidth).printWidthMm * 10 / (2 * std::max(columns, 1));
    std::int64_t length = (kTopMarginMm + kBottomMarginMm) * 10 + rowsLength;
    return static_cast<short>(std::min<std::int64_t>(length, 32767));
}

std::optional<PaperOffer> ChoosePaper(const std::vector<PaperOffer>& offers, int paperWidth) {
    const int wanted = PaperFor(paperWidth).widthMm * 10;
    std::optional<PaperOffer> chosen;
    for (const PaperOffer& offer : offers) {
        if (offer.width < wanted - 10 || offer.width > wanted + 10) continue;
        if (!chosen || offer.length > chosen->length) chosen = offer;
    }
    return chosen;
}

GlyphFit FitGlyph(int advance, int inkLeft, int inkWidth, int room) {
    if (advance <= room + room / 4 || advance <= 0) return {};
    const double ink = std::max(inkWidth, 1), scale = std::min(std::max(room, 1) * 4 / (5 * ink), 1.0);
    return {scale, static_cast<int>(std::lround((room - ink * scale) / 2 - inkLeft * scale))};
}

}  // namespace receipt
