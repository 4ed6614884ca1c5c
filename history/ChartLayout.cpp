#include "history/ChartLayout.h"

#include <algorithm>

#include "sale/Money.h"

namespace history {

std::int64_t GridStep(std::int64_t top) {
    if (top <= 0) return 1;
    for (std::int64_t power = 1;; power *= 10)
        for (std::int64_t step : {power, 2 * power, 5 * power})
            if (step * 4 >= top) return step;
}

ChartLayout LayOutChart(const std::vector<std::int64_t>& figures, const std::vector<std::wstring>& labels, int width,
                        int height, int textHeight, const MeasureText& measure) {
    ChartLayout layout;
    std::int64_t highest = 0;
    for (std::int64_t figure : figures) highest = std::max(highest, figure);
    const std::int64_t step = GridStep(highest);
    layout.top = highest > 0 ? (highest + step - 1) / step * step : step;
    const int gap = std::max(2, textHeight / 3);
    int gridWidth = 0;
    for (std::int64_t value = 0; value <= layout.top; value += step)
        gridWidth = std::max(gridWidth, measure(regi::FormatMoney(value)));
    layout.plot = {gridWidth + 2 * gap, textHeight / 2 + gap, width - gap, height - textHeight - 2 * gap};
    const Box& plot = layout.plot;
    const int count = static_cast<int>(figures.size());
    if (count == 0 || plot.Width() < count || plot.Height() < textHeight) return layout;
    for (std::int64_t value = 0; value <= layout.top; value += step)
        layout.grid.push_back(
            {plot.bottom - static_cast<int>(value * plot.Height() / layout.top), regi::FormatMoney(value)});
    // Bars a third of their slot apart, at least a pixel wide, spread over the whole plot.
    int widest = 0;
    for (const std::wstring& label : labels) widest = std::max(widest, measure(label));
    for (int i = 0; i < count; ++i) {
        const int left = plot.left + i * plot.Width() / count, right = plot.left + (i + 1) * plot.Width() / count;
        const int inset = (right - left) / 6;
        const std::int64_t figure = std::max<std::int64_t>(figures[static_cast<size_t>(i)], 0);
        const int tall = static_cast<int>(figure * plot.Height() / layout.top);
        layout.bars.push_back(
            {left + inset, plot.bottom - tall, std::max(right - inset, left + inset + 1), plot.bottom});
    }
    // Every n-th label, n as small as lets each stand clear of the next.
    const int slot = std::max(1, plot.Width() / count);
    const int every = std::max(1, (widest + gap + slot - 1) / slot);
    for (int i = 0; i < count && static_cast<size_t>(i) < labels.size(); i += every) {
        const Box& bar = layout.bars[static_cast<size_t>(i)];
        layout.labels.push_back({(bar.left + bar.right) / 2, labels[static_cast<size_t>(i)]});
    }
    return layout;
}

}  // namespace history
