#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>

#include "receipt/Preview.h"
#include "receipt/Printing.h"
#include "tests/receipt/EmfText.h"
#include "tests/receipt/ReceiptText.h"
#include "tests/support/NoPrinters.h"
#include "tests/support/SettledSale.h"
#include "tests/support/WindowTest.h"
#include "ui/Controls.h"

using namespace receipt;
using receipt_test::ReceiptText;
using namespace testing_support;
using regi::TaxClass;

namespace {

regi::SaleRecord SaleOf(int items) {
    std::vector<regi::LineRecord> lines;
    for (int i = 0; i < items; ++i) {
        TaxClass c = i % 3 == 0 ? TaxClass::Reduced : i % 3 == 1 ? TaxClass::Standard : TaxClass::Exempt;
        lines.push_back({c, 100 + i, 1 + i % 2, (100 + i) * (1 + i % 2)});
    }
    return SettledSale(std::move(lines), 100000, 3, L"2026-12-08T21:07:56");
}

Settings Shop(int paper) {
    Settings s;
    s.shop = L"青葉商店";
    s.address = L"TEL 03-1234-5678";
    s.registrationNumber = L"T1234567890123";
    s.printer = L"Pelmora 試験用の存在しないプリンター";
    s.paperWidth = paper;
    return s;
}

// Runs checks from inside the preview's own message loop, in the order they were posted.
class Probe : public ui::Window {
public:
    Probe() {
        RegisterClassOnce(L"ReceiptPreviewProbe");
        Create(L"ReceiptPreviewProbe", L"", WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr);
    }
    void Post(std::function<void()> check) {
        checks_.push_back(std::move(check));
        PostMessageW(Handle(), WM_APP, checks_.size() - 1, 0);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            checks_.at(wParam)();
            return 0;
        }
        return Default(message, wParam, lParam);
    }

private:
    std::vector<std::function<void()>> checks_;
};

class PreviewTest : public testing::Test {
protected:
    TReceiptPreview& Open(int items = 4, int paper = 80) {
        settings = Shop(paper);
        lines = ReceiptLines(SaleOf(items), settings, false);
        preview = std::make_unique<TReceiptPreview>(lines, settings, NoPrinters());  // 印刷 finds no printer
        Pump();
        return *preview;
    }
    void Post(int id, UINT message, WPARAM wParam = 0) { PostMessageW(preview->Control(id), message, wParam, 0); }
    void TearDown() override {
        preview.reset();
        Pump();
    }

    ErrorRecorder errors;
    Probe probe;
    Settings settings;
    std::vector<Line> lines;
    std::unique_ptr<TReceiptPreview> preview;
};

TEST_F(PreviewTest, OpensWithItsButtonsAndClosesWithEachWayOut) {
    TReceiptPreview& p = Open();
    EXPECT_EQ(ui::GetText(p.Handle()), L"レシート");
    EXPECT_FALSE(IsWindowVisible(p.Handle())) << "made hidden";
    const struct {
        int id;
        const wchar_t* caption;
    } buttons[] = {{PrintButton, L"印刷(&P)"}, {CopyButton, L"コピー(&C)"}, {CloseButton, L"閉じる"}};
    for (const auto& b : buttons) {
        ASSERT_NE(p.Control(b.id), nullptr) << b.id;
        EXPECT_EQ(ui::GetText(p.Control(b.id)), b.caption);
    }
    ASSERT_NE(p.Control(PaperView), nullptr);

    TestForm owner(200, 100);
    owner.Show();
    struct WayOut {
        const char* name;
        std::function<void()> post;
    };
    const WayOut ways[] = {
        {"閉じる", [&] { Post(CloseButton, BM_CLICK); }},
        {"Escape", [&] { Post(PrintButton, WM_KEYDOWN, VK_ESCAPE); }},
        {"close box", [&] { PostMessageW(p.Handle(), WM_CLOSE, 0, 0); }},
        {"Enter on 閉じる",
         [&] {
             probe.Post([&] { SetFocus(p.Control(CloseButton)); });
             Post(CloseButton, WM_KEYDOWN, VK_RETURN);
         }},
    };
    for (const WayOut& way : ways) {
        bool checked = false;
        probe.Post([&] {
            checked = true;
            EXPECT_TRUE(p.Modal());
            EXPECT_TRUE(IsWindowVisible(p.Handle())) << way.name;
            EXPECT_FALSE(IsWindowEnabled(owner.Handle())) << way.name << ": the owner waits";
            EXPECT_EQ(GetFocus(), p.Control(PrintButton)) << "印刷 has the focus at first";
        });
        way.post();
        EXPECT_EQ(p.ShowModal(owner.Handle()), IDCANCEL) << way.name;
        EXPECT_TRUE(checked);
        EXPECT_FALSE(p.Modal());
        EXPECT_FALSE(IsWindowVisible(p.Handle())) << way.name;
        EXPECT_TRUE(IsWindowEnabled(owner.Handle())) << way.name << ": the owner is enabled again";
    }
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(PreviewTest, CopyPutsThePlainTextOnTheClipboard) {
    for (int paper : {80, 58}) {
        TReceiptPreview& p = Open(5, paper);
        const std::wstring expected = ReceiptText(SaleOf(5), settings, false);
        struct Way {
            const char* name;
            std::function<void()> post;
        };
        const Way ways[] = {
            {"コピー", [&] { Post(CopyButton, BM_CLICK); }},
            {"Alt+C", [&] { Post(PrintButton, WM_SYSKEYDOWN, 'C'); }},
        };
        for (const Way& way : ways) {
            ASSERT_TRUE(PutClipboardText(L"something else"));
            way.post();
            probe.Post([&] { EXPECT_EQ(ClipboardText(), expected) << way.name << " " << paper; });
            Post(CloseButton, BM_CLICK);
            EXPECT_EQ(p.ShowModal(nullptr), IDCANCEL) << "copying does not close the window";
            EXPECT_EQ(ClipboardText(), expected) << way.name;
        }
    }
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(PreviewTest, PrintWithoutThePrinterShowsTheMessageAndStaysOpen) {
    TReceiptPreview& p = Open();
    struct Way {
        const char* name;
        std::function<void()> post;
    };
    const Way ways[] = {
        {"印刷", [&] { Post(PrintButton, BM_CLICK); }},
        {"Alt+P", [&] { Post(CopyButton, WM_SYSKEYDOWN, 'P'); }},
        {"Enter", [&] { Post(PrintButton, WM_KEYDOWN, VK_RETURN); }},
    };
    size_t shown = 0;
    for (const Way& way : ways) {
        way.post();
        probe.Post([&] {
            ASSERT_EQ(errors.Messages().size(), shown + 1) << way.name;
            EXPECT_EQ(errors.Messages().back(), kNoPrinter);
            EXPECT_TRUE(IsWindowVisible(p.Handle())) << "the window stays for another try";
        });
        Post(CloseButton, BM_CLICK);
        EXPECT_EQ(p.ShowModal(nullptr), IDCANCEL) << way.name << ": nothing was printed";
        ++shown;
    }
}

TEST_F(PreviewTest, DrawsTheReceiptAsItPrintsAndScrollsWhenTaller) {
    // 100 lines, half of them with a quantity: far taller than the screen.
    TReceiptPreview& p = Open(100, 58);
    HWND paper = p.Control(PaperView);
    RECT client;
    GetClientRect(paper, &client);
    ASSERT_GT(p.ContentHeight(), client.bottom);
    const std::vector<Row> rows = Arrange(lines, 32);
    // 16/3 pixels a mm: 58 mm of paper with 48 mm of print, 8 pixels a cell.
    const int paperPixels = (58 * 16 + 1) / 3, stripLeft = 16 + (paperPixels - 32 * 8) / 2, pitch = 20;
    EXPECT_GE(client.right, paperPixels + 2 * 16);

    // What the view draws: the rows in sight, in the receipt's face, on the grid.
    auto drawn = [&] {
        emf_text::Recorder recorder;
        SendMessageW(paper, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(recorder.Dc()), PRF_CLIENT);
        return recorder.Finish();
    };
    emf_text::Records top = drawn();
    ASSERT_FALSE(top.texts.empty());
    EXPECT_EQ(top.texts[0].text, rows[0][0].text);
    EXPECT_EQ(top.texts[0].at.x, stripLeft + 8 * rows[0][0].column);
    EXPECT_EQ(top.texts[0].at.y, 16 + 16 + (pitch - 16) / 2);
    EXPECT_EQ(top.fonts.at(0).lfHeight, -16);
    EXPECT_STREQ(top.fonts.at(0).lfFaceName, L"ＭＳ ゴシック");

    struct Step {
        const char* name;
        std::function<void()> post;
        std::function<int(int)> position;  // from the one before
    };
    const int last = p.ContentHeight() - client.bottom;
    const Step steps[] = {
        {"line down", [&] { PostMessageW(paper, WM_VSCROLL, SB_LINEDOWN, 0); }, [&](int) { return pitch; }},
        {"Page Down", [&] { Post(PrintButton, WM_KEYDOWN, VK_NEXT); },
         [&](int at) { return at + client.bottom - pitch; }},
        {"wheel down", [&] { PostMessageW(p.Control(CopyButton), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0); },
         [&](int at) { return at + 3 * pitch; }},
        {"Up", [&] { Post(PrintButton, WM_KEYDOWN, VK_UP); }, [&](int at) { return at - pitch; }},
        {"End", [&] { Post(PrintButton, WM_KEYDOWN, VK_END); }, [&](int) { return last; }},
        {"line down at the end", [&] { PostMessageW(paper, WM_VSCROLL, SB_LINEDOWN, 0); }, [&](int) { return last; }},
        {"Home", [&] { Post(PrintButton, WM_KEYDOWN, VK_HOME); }, [&](int) { return 0; }},
    };
    int at = 0;
    for (const Step& step : steps) {
        step.post();
        int expected = step.position(at);
        probe.Post([&, expected] {
            EXPECT_EQ(p.ScrollPosition(), expected) << step.name;
            EXPECT_EQ(GetScrollPos(paper, SB_VERT), expected) << step.name;
        });
        at = expected;
    }
    Post(CloseButton, BM_CLICK);
    p.ShowModal(nullptr);

    // Scrolled to the end, the last row is drawn in sight.
    PostMessageW(paper, WM_VSCROLL, SB_BOTTOM, 0);
    Pump();
    emf_text::Records bottom = drawn();
    ASSERT_FALSE(bottom.texts.empty());
    EXPECT_EQ(bottom.texts.back().text, rows.back()[0].text);
    EXPECT_LE(bottom.texts.back().at.y + pitch, client.bottom);
    EXPECT_TRUE(errors.Messages().empty());
}

}  // namespace
