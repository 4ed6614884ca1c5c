#pragma once
// Where the chart's parts go, as a function of its figures and its size
// alone, without Windows: the plot area, one bar per figure, the grid lines
// with their amounts, and the labels under the bars that fit. The window
// draws what this says at its DPI; the tests check it without drawing.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace history {

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct Mark {
    int at = 0;  // a grid line's y, a label's centre x
    std::wstring text;
};

struct ChartLayout {
    Box plot;                  // where the bars stand, their foot on its bottom
    std::vector<Box> bars;     // one per figure, in order; an empty figure's has no height
    std::vector<Mark> grid;    // from 0 up to the top, each with its amount
    std::vector<Mark> labels;  // the labels that fit, every n-th, the first always
    std::int64_t top = 0;      // the amount at the plot's top
};

// The width of a text in the face the chart is drawn in.
using MeasureText = std::function<int(const std::wstring& text)>;

// The layout of figures (amounts below 0 stand at 0) with labels, in a box of
// width x height pixels, text of textHeight pixels measured by measure. Too
// small a box for a bar each lays out nothing but the plot.
ChartLayout LayOutChart(const std::vector<std::int64_t>& figures, const std::vector<std::wstring>& labels, int width,
                        int height, int textHeight, const MeasureText& measure);

// The grid's step: 1, 2 or 5 times a power of ten, the smallest that reaches
// top in at most four steps (1 for a top of 0 or less).
std::int64_t GridStep(std::int64_t top);

}  // namespace history
