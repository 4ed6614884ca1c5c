#pragma once
// The chart's window: the bars drawn with GDI at the window's DPI, one of
// them selected (←, →, Home, End, or a click), its figures told through a
// callback so that the window can put them in words. Paint draws into any
// device context: the screen, and the bitmap saved as a PNG.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "history/Chart.h"
#include "ui/Window.h"

namespace history {

class TChartView : public ui::Window {
public:
    // A child of parent with control ID id; selected runs when the selection moves.
    void Create(HWND parent, int id, int x, int y, int width, int height, std::function<void(size_t)> selected);
    // New bars; the selection goes to the first with sales, else the first.
    void SetBars(std::vector<Bar> bars);
    const std::vector<Bar>& Bars() const { return bars_; }
    size_t Selected() const { return selected_; }
    void Select(size_t bar);
    // The chart as the screen shows it, width x height pixels at dpi.
    void Paint(HDC dc, int width, int height, int dpi) const;
    // The chart as pixels 0xRRGGBB, top row first, as the window's size and DPI give it.
    std::vector<std::uint32_t> Pixels(int& width, int& height) const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int Dpi() const;
    std::vector<Bar> bars_;
    size_t selected_ = 0;
    std::function<void(size_t)> selectedChanged_;
};

}  // namespace history
