// Prints what one keystroke and one formatting of the numeric entry control
// cost. A keystroke must stay far below what a typist can notice. Each figure
// is the best of several runs, since the machine may be busy with other work.
#include "numedit/SaNumEditModel.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

// Nanoseconds per operation of Run, which performs Count operations.
template <class F>
double BestNanosecondsPer(long Count, F Run) {
    double best = 1e300;
    for (int i = 0; i < 7; ++i) {
        const Clock::time_point t0 = Clock::now();
        Run();
        best = std::min(best, std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / Count);
    }
    return best;
}

}  // namespace

int main() {
    // The register's entry field: 13 digits, the yen mark, the width stop on.
    TSaNumEditModel m;
    m.SetMeasureFunc([](const std::wstring& t) { return 14 * static_cast<int>(t.size()); });
    m.SetClientSize(300, 36);  // room for all 13 digits
    m.SetIntegerLength(13);
    m.SetDecimalLength(0);
    m.SetLeftMark(L"\u00A5");
    m.SetOptions({eoArrowUp, eoArrowDown, eoORInputStop});

    const long rounds = 20000;
    const double keystroke = BestNanosecondsPer(rounds * 13, [&] {
        for (long r = 0; r < rounds; ++r) {
            m.SetText(L"");
            for (int i = 0; i < 13; ++i) {
                wchar_t key = static_cast<wchar_t>(L'1' + i % 9);
                m.InsertDigit(key);
            }
        }
    });
    const std::size_t typed = m.ValueText().size();

    m.SetText(L"-1234567890123");
    const long calls = 200000;
    std::size_t sink = 0;
    const double format = BestNanosecondsPer(calls, [&] {
        for (long i = 0; i < calls; ++i) sink += m.FormatDisplay(m.ValueText()).size();
    });

    std::printf("InsertDigit with width check: %.1f ns per keystroke (%zu digits typed per round)\n", keystroke, typed);
    std::printf("FormatDisplay of a 13-digit value: %.1f ns per call (%zu characters shown)\n", format,
                sink / static_cast<std::size_t>(7 * calls));
    return 0;
}
