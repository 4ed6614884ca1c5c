// The chart's figures (its bars by hour, day and month, across month and year
// ends and a clock set back), their words, the departments' shares, the
// layout as a function of the figures and the size, and the PNG file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Utf8.h"
#include "history/Chart.h"
#include "history/ChartLayout.h"
#include "history/Png.h"
#include "tests/support/SettledSale.h"

using namespace history;
using regi::TaxClass;

namespace {

DateRange Days(Date from, Date to) { return {from, to}; }

TEST(SalesChartTest, TheRangeChoosesTheBarsAndEachSaleCountsAtItsOwnTime) {
    struct Sold {
        const wchar_t* time;
        std::int64_t amount;
        bool counted;
    };
    struct Row {
        const char* what;
        DateRange range;
        Scale scale;
        std::vector<Sold> sales;                               // in the journal's order
        std::vector<std::wstring> labels;                      // the first, the last; "" for any
        std::vector<std::pair<size_t, std::int64_t>> amounts;  // bar, amount
    };
    const Row rows[] = {
        {"a day by hour; the clock set back from 11:15 to 10:30",
         Days({2026, 12, 8}, {2026, 12, 8}),
         Scale::Hour,
         {{L"2026-12-08T11:15:00", 1000, true},
          {L"2026-12-08T10:30:00", 500, true},
          {L"2026-12-08T00:00:00", 7, true},
          {L"2026-12-08T23:59:59", 9, true},
          {L"2026-12-09T00:00:00", 1, false},
          {L"2026-12-07T23:59:59", 1, false}},
         {L"0", L"23"},
         {{10, 500}, {11, 1000}, {0, 7}, {23, 9}, {12, 0}}},
        {"days across a month end",
         Days({2026, 1, 30}, {2026, 2, 2}),
         Scale::Day,
         {{L"2026-02-01T09:00:00", 300, true}, {L"2026-01-31T20:00:00", 200, true}, {L"2026-01-29T20:00:00", 1, false}},
         {L"1/30", L"2/2"},
         {{0, 0}, {1, 200}, {2, 300}, {3, 0}}},
        {"days across a year end, two months at most",
         Days({2026, 12, 1}, {2027, 1, 31}),
         Scale::Day,
         {{L"2027-01-01T00:10:00", 50, true}},
         {L"12/1", L"1/31"},
         {{31, 50}}},
        {"months across a year end",
         Days({2026, 11, 1}, {2027, 2, 28}),
         Scale::Month,
         {{L"2027-01-15T12:00:00", 400, true},
          {L"2026-12-31T23:00:00", 100, true},
          {L"2026-11-01T00:00:00", 5, true},
          {L"2027-03-01T00:00:00", 1, false},
          {L"damaged", 1, false}},
         {L"11月", L"2月"},
         {{0, 5}, {1, 100}, {2, 400}, {3, 0}}},
        {"a year by month", Days({2026, 1, 1}, {2026, 12, 31}), Scale::Month, {}, {L"1月", L"12月"}, {{11, 0}}},
    };
    for (const Row& row : rows) {
        SalesChart chart(row.range);
        EXPECT_EQ(chart.GetScale(), row.scale) << row.what;
        std::int64_t counted = 0;
        for (const Sold& sale : row.sales) {
            EXPECT_EQ(chart.Add(sale.time, sale.amount), sale.counted) << row.what << " " << common::ToUtf8(sale.time);
            counted += sale.counted;
        }
        ASSERT_FALSE(chart.Bars().empty()) << row.what;
        EXPECT_EQ(chart.Bars().front().label, row.labels[0]) << row.what;
        EXPECT_EQ(chart.Bars().back().label, row.labels[1]) << row.what;
        for (auto [bar, amount] : row.amounts) EXPECT_EQ(chart.Bars().at(bar).amount, amount) << row.what << " " << bar;
        EXPECT_EQ(chart.Customers(), counted) << row.what;
    }
}

TEST(SalesChartTest, ABarInWords) {
    SalesChart day(Days({2026, 12, 8}, {2026, 12, 8}));
    day.Add(L"2026-12-08T10:05:00", 10000);
    day.Add(L"2026-12-08T10:55:00", 2341);
    EXPECT_EQ(BarWords(day.Bars()[10]), L"12月8日 10時台: 売上 ¥12,341、客数 2人、客単価 ¥6,170");
    EXPECT_EQ(BarWords(day.Bars()[11]), L"12月8日 11時台: 売上なし");
    EXPECT_EQ(SalesChart(Days({2026, 12, 7}, {2026, 12, 8})).Bars()[1].name, L"2026年12月8日(火)");
    EXPECT_EQ(SalesChart(Days({2026, 1, 1}, {2027, 12, 31})).Bars()[12].name, L"2027年1月");
}

TEST(DepartmentSharesTest, LargestFirstWithTheirShareOfTheWhole) {
    regi::Departments departments;
    departments.named = {{3, L"野菜", TaxClass::Reduced}, {5, L"雑貨", TaxClass::Standard}};
    DepartmentShares shares;
    shares.Add(
        testing_support::SettledSale({{TaxClass::Reduced, 100, 3, 300, 3}, {TaxClass::Standard, 200, 1, 200, 5}}, 500));
    shares.Add(
        testing_support::SettledSale({{TaxClass::Reduced, 150, 1, 150, 3}, {TaxClass::Standard, 350, 1, 350}}, 500));
    std::vector<Bar> bars = shares.Bars(departments);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(ShareWords(bars[0], 1000), L"※野菜: ¥450 (45.0%)、4点");
    EXPECT_EQ(ShareWords(bars[1], 1000), L"商品: ¥350 (35.0%)、1点");
    EXPECT_EQ(ShareWords(bars[2], 1000), L"雑貨: ¥200 (20.0%)、1点");
    EXPECT_EQ(ShareWords(bars[2], 0), L"雑貨: ¥200 (0.0%)、1点");
}

TEST(ChartSlipTest, EachBarALineAndTheTotal) {
    std::vector<Bar> bars = {{L"1月", L"2026年1月", 1000, 3}, {L"2月", L"2026年2月", 0, 0}};
    std::vector<receipt::Line> lines = ChartSlip(L"月別の売上", bars, L"人");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].text, L"月別の売上");
    EXPECT_EQ(lines[2].text, L"2026年1月 3人");
    EXPECT_EQ(lines[2].amount, L"¥1,000");
    EXPECT_EQ(lines[5].text, L"合計 3人");
    EXPECT_EQ(lines[5].amount, L"¥1,000");
}

// Every character 8 pixels wide.
int Measure(const std::wstring& text) { return 8 * static_cast<int>(text.size()); }

TEST(ChartLayoutTest, GridStepsAreRoundAndReachTheTop) {
    const std::pair<std::int64_t, std::int64_t> rows[] = {
        {0, 1}, {-5, 1}, {1, 1},   {4, 1},        {5, 2},         {8, 2},
        {9, 5}, {20, 5}, {21, 10}, {12345, 5000}, {40000, 10000}, {999'999'999'999, 500'000'000'000}};
    for (auto [top, step] : rows) EXPECT_EQ(GridStep(top), step) << top;
}

TEST(ChartLayoutTest, BarsStandOnThePlotInProportionAndLabelsDoNotCollide) {
    struct Row {
        const char* what;
        std::vector<std::int64_t> figures;
        int width, height;
        size_t labelsShown;
    };
    const std::vector<std::int64_t> hours = {0, 0, 0, 0, 0, 0, 0, 0, 0, 12000, 3000, 18000,
                                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0,     0,    -500};
    const Row rows[] = {
        {"a day, wide", hours, 760, 240, 24},
        {"a day, narrow", hours, 300, 200, 8},
        {"one bar", {5}, 200, 100, 1},
        {"nothing sold", std::vector<std::int64_t>(12, 0), 500, 200, 12},
    };
    for (const Row& row : rows) {
        std::vector<std::wstring> labels;
        for (size_t i = 0; i < row.figures.size(); ++i) labels.push_back(std::to_wstring(i));
        ChartLayout layout = LayOutChart(row.figures, labels, row.width, row.height, 12, Measure);
        ASSERT_EQ(layout.bars.size(), row.figures.size()) << row.what;
        EXPECT_GE(layout.plot.left, Measure(L"¥0")) << row.what << ": room for the grid's amounts";
        EXPECT_LE(layout.plot.right, row.width) << row.what;
        EXPECT_LE(layout.plot.bottom + 12, row.height) << row.what << ": room for the labels";
        for (size_t i = 0; i < layout.bars.size(); ++i) {
            const Box& bar = layout.bars[i];
            EXPECT_EQ(bar.bottom, layout.plot.bottom) << row.what << " " << i;
            EXPECT_GE(bar.Width(), 1) << row.what << " " << i;
            EXPECT_GE(bar.left, layout.plot.left) << row.what << " " << i;
            EXPECT_LE(bar.right, layout.plot.right) << row.what << " " << i;
            if (i > 0) {
                EXPECT_LE(layout.bars[i - 1].right, bar.left) << row.what << " " << i;
            }
            const std::int64_t figure = std::max<std::int64_t>(row.figures[i], 0);
            EXPECT_EQ(bar.Height(), static_cast<int>(figure * layout.plot.Height() / layout.top))
                << row.what << " " << i;
        }
        EXPECT_GE(layout.top, *std::max_element(row.figures.begin(), row.figures.end())) << row.what;
        EXPECT_EQ(layout.grid.front().at, layout.plot.bottom) << row.what;
        EXPECT_EQ(layout.grid.back().at, layout.plot.top) << row.what << ": the top is a grid line";
        EXPECT_EQ(layout.labels.size(), row.labelsShown) << row.what;
        for (size_t i = 1; i < layout.labels.size(); ++i)
            EXPECT_GE(layout.labels[i].at - layout.labels[i - 1].at,
                      (Measure(layout.labels[i].text) + Measure(layout.labels[i - 1].text)) / 2)
                << row.what << ": labels " << i - 1 << " and " << i << " overlap";
    }
    EXPECT_EQ(LayOutChart(hours, {}, 760, 240, 12, Measure).grid.back().text, L"¥20,000");
    EXPECT_TRUE(LayOutChart(hours, {}, 80, 240, 12, Measure).bars.empty()) << "too narrow for a bar each";
    EXPECT_TRUE(LayOutChart(hours, {}, 760, 20, 12, Measure).bars.empty()) << "too low";
}

// The bytes of a zlib stream of stored blocks, back.
std::string Inflated(const std::string& zlib) {
    std::string out;
    size_t at = 2;
    for (bool last = false; !last;) {
        last = zlib[at] & 1;
        const size_t length = static_cast<unsigned char>(zlib[at + 1]) | static_cast<unsigned char>(zlib[at + 2]) << 8;
        const size_t complement = static_cast<unsigned char>(zlib[at + 3]) | static_cast<unsigned char>(zlib[at + 4])
                                                                                 << 8;
        EXPECT_EQ(length ^ 0xFFFF, complement);
        out += zlib.substr(at + 5, length);
        at += 5 + length;
    }
    EXPECT_EQ(at + 4, zlib.size()) << "the Adler-32 ends the stream";
    return out;
}

std::uint32_t Big(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

TEST(PngTest, ThePixelsComeBackFromTheFile) {
    EXPECT_EQ(Crc32("IEND"), 0xAE426082u);
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    for (auto [width, height] : {std::pair{3, 2}, std::pair{300, 120}}) {
        std::vector<std::uint32_t> pixels;
        for (int i = 0; i < width * height; ++i)
            pixels.push_back(static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF);
        const std::string png = EncodePng(width, height, pixels);
        ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
        ASSERT_EQ(png.substr(12, 4), "IHDR");
        EXPECT_EQ(Big(png, 16), static_cast<std::uint32_t>(width));
        EXPECT_EQ(Big(png, 20), static_cast<std::uint32_t>(height));
        EXPECT_EQ(Big(png, 29), Crc32(png.substr(12, 17)));
        const std::uint32_t dataLength = Big(png, 33);
        ASSERT_EQ(png.substr(37, 4), "IDAT");
        EXPECT_EQ(Big(png, 41 + dataLength), Crc32(png.substr(37, 4 + dataLength)));
        const std::string raw = Inflated(png.substr(41, dataLength));
        ASSERT_EQ(raw.size(), static_cast<size_t>(height * (1 + 3 * width)));
        for (int y = 0; y < height; ++y) {
            ASSERT_EQ(raw[static_cast<size_t>(y * (1 + 3 * width))], '\0');
            for (int x = 0; x < width; ++x) {
                const size_t at = static_cast<size_t>(y * (1 + 3 * width) + 1 + 3 * x);
                const std::uint32_t pixel = static_cast<std::uint32_t>(static_cast<unsigned char>(raw[at])) << 16 |
                                            static_cast<unsigned char>(raw[at + 1]) << 8 |
                                            static_cast<unsigned char>(raw[at + 2]);
                ASSERT_EQ(pixel, pixels[static_cast<size_t>(y * width + x)]) << x << "," << y;
            }
        }
        EXPECT_EQ(png.substr(png.size() - 8), std::string("IEND\xAE\x42\x60\x82", 8));
    }
}

}  // namespace
