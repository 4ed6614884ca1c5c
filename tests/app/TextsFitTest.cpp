// Every text the program shows fits its control, measured in the control's own
// font under the faces installed here: the stand-in for ＭＳ Ｐゴシック is wider
// than the shop's face, so what fits here fits there. The walk finds the
// controls itself, so that a text a later feature adds is measured too.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "about/VersionBox.h"
#include "about/VersionBoxIds.h"
#include "common/Utf8.h"
#include "help/Help.h"
#include "help/HelpWindow.h"
#include "sale/Department.h"
#include "tests/support/MainWindowTest.h"
#include "ui/Controls.h"
#include "ui/Gdi.h"

using namespace testing_support;

namespace {

// The widgets of the register's first design, with their texts: their places,
// sizes and fonts are fixed, so how they take the stand-in face is not this
// test's to judge (the amounts draw themselves smaller when they must). The
// instruction labels and the total's caption are measured: the program writes
// its own lines into them.
const std::set<int> kFirstDesignWidgets = {
    form1::Label13,   form1::Label16,   form1::Label17,   form1::Label18, form1::Label10, form1::Label1,
    form1::Label2,    form1::Label3,    form1::Label4,    form1::Label5,  form1::Label7,  form1::Label8,
    form1::Label9,    form1::Label11,   form1::Label20,   form1::Label21, form1::Edit2,   form1::Label12,
    form1::GroupBox1, form1::GroupBox2, form1::GroupBox3, form1::Button1, form1::Button2, form1::Button3,
    form1::Button4,   form1::CheckBox1};
const std::set<int> kFirstDesignAboutBox = {versionbox::Label1, versionbox::Label4, versionbox::Button1};

// The lines of a text, without their line ends.
std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    for (size_t start = 0, end; start <= text.size(); start = end + 1) {
        end = std::min(text.find(L'\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        if (!lines.back().empty() && lines.back().back() == L'\r') lines.back().pop_back();
    }
    return lines;
}

// What the visible controls under root cut of their texts: each as the
// control, the text and the room it needs against the room it has. Controls
// with an ID in skipped are left alone.
std::vector<std::string> CutTexts(HWND root, const std::set<int>& skipped = {}) {
    struct Walk {
        const std::set<int>& skipped;
        std::vector<std::string> cut;

        void Fit(HWND control, const std::wstring& text, long needed, long room, const char* what = "wide") {
            if (needed <= room) return;
            wchar_t name[32] = L"";
            GetClassNameW(control, name, 32);
            cut.push_back(common::ToUtf8(name) + " " + std::to_string(GetDlgCtrlID(control)) + " \"" +
                          common::ToUtf8(text) + "\" " + std::to_string(needed) + " " + what + " in " +
                          std::to_string(room));
        }

        void Visit(HWND control) {
            if (!IsWindowVisible(control) || skipped.count(GetDlgCtrlID(control))) return;
            wchar_t className[32] = L"";
            GetClassNameW(control, className, 32);
            auto is = [&](const wchar_t* name) { return lstrcmpiW(className, name) == 0; };
            const std::wstring text = ui::GetText(control);
            const LONG style = GetWindowLongW(control, GWL_STYLE);
            auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
            RECT client;
            GetClientRect(control, &client);
            const LONG kind = style & SS_TYPEMASK;
            if (is(WC_STATICW) && !text.empty() &&
                (kind <= SS_RIGHT || kind == SS_SIMPLE || kind == SS_LEFTNOWORDWRAP || kind == SS_OWNERDRAW)) {
                // Each line the program wrote stands on one line: a label
                // that wraps breaks where the words do not.
                const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
                for (const std::wstring& line : Lines(text))
                    Fit(control, line, ui::TextSize(font, line, prefix).cx, client.right);
                ui::MemoryDC dc(nullptr);
                ui::SelectGuard selectFont(dc, font);
                RECT wrapped{0, 0, client.right, 0};
                DrawTextW(dc, text.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK | prefix);
                Fit(control, text, wrapped.bottom, client.bottom, "high");
            } else if (is(WC_BUTTONW) && !text.empty()) {
                // The button's own measure takes in its check box and margins.
                SIZE ideal{};
                SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
                const SIZE size = ui::TextSize(font, text);
                Fit(control, text, std::max(ideal.cx, size.cx), client.right);
                Fit(control, text, size.cy, client.bottom, "high");
            } else if (is(WC_EDITW) && !(style & ES_MULTILINE)) {
                RECT format{};
                SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
                Fit(control, text, ui::TextSize(font, text, DT_NOPREFIX).cx, format.right - format.left);
            } else if (is(WC_EDITW)) {
                // A box of many lines scrolls down, never sideways: it wraps none of them.
                const auto shown = static_cast<int>(SendMessageW(control, EM_GETLINECOUNT, 0, 0));
                for (int line = 1; line < shown; ++line) {
                    const auto start = static_cast<size_t>(SendMessageW(control, EM_LINEINDEX, line, 0));
                    if (start == 0 || start > text.size() || text[start - 1] == L'\n') continue;
                    const size_t from = text.rfind(L'\n', start - 1);
                    const size_t begin = from == std::wstring::npos ? 0 : from + 1;
                    Fit(control, Lines(text.substr(begin)).front(), 2, 1, "lines");
                }
            } else if (is(WC_COMBOBOXW)) {
                COMBOBOXINFO info{};
                info.cbSize = sizeof info;
                GetComboBoxInfo(control, &info);
                for (int i = 0; i < SendMessageW(control, CB_GETCOUNT, 0, 0); ++i) {
                    std::wstring item(static_cast<size_t>(SendMessageW(control, CB_GETLBTEXTLEN, i, 0)), L'\0');
                    SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
                    Fit(control, item, ui::TextSize(font, item, DT_NOPREFIX).cx, info.rcItem.right - info.rcItem.left);
                }
            } else if (is(WC_LISTBOXW)) {
                for (int i = 0; i < SendMessageW(control, LB_GETCOUNT, 0, 0); ++i) {
                    std::wstring item(static_cast<size_t>(SendMessageW(control, LB_GETTEXTLEN, i, 0)), L'\0');
                    SendMessageW(control, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
                    Fit(control, item, ui::TextSize(font, item, DT_NOPREFIX).cx, client.right);
                }
            } else if (is(WC_LISTVIEWW)) {
                // A cell needs the margins the list's own column sizing gives it.
                HWND header = ListView_GetHeader(control);
                for (int column = 0; column < Header_GetItemCount(header); ++column) {
                    for (int row = -1; row < ListView_GetItemCount(control); ++row) {
                        wchar_t cell[128] = L"";
                        HDITEMW item{};
                        item.mask = HDI_TEXT;
                        item.pszText = cell;
                        item.cchTextMax = 128;
                        if (row < 0)
                            Header_GetItem(header, column, &item);
                        else
                            ListView_GetItemText(control, row, column, cell, 128);
                        Fit(control, cell, ListView_GetStringWidth(control, cell) + 12,
                            ListView_GetColumnWidth(control, column));
                    }
                }
            } else if (is(L"PelmoraPanel") && !text.empty()) {
                // A group's caption stands 9 pixels in on its frame (ui::GroupBox): as much room after it.
                Fit(control, text, 9 + ui::TextSize(font, text, DT_NOPREFIX).cx + 9, client.right);
            }
        }
        static BOOL CALLBACK Each(HWND control, LPARAM walk) {
            reinterpret_cast<Walk*>(walk)->Visit(control);
            return TRUE;
        }
    } walk{skipped, {}};
    EnumChildWindows(root, Walk::Each, reinterpret_cast<LPARAM>(&walk));
    return walk.cut;
}

class TextsFitTest : public MainWindowTest {
protected:
    void TearDown() override {
        help::ShowHelp(nullptr, L"x", HELP_QUIT, 0);
        MainWindowTest::TearDown();
        versionBox.reset();
    }
    void Key(UINT key, wchar_t ch = 0) { SendKey(key, ch); }
    void Type(const std::wstring& digits) {
        for (wchar_t c : digits) Key(VK_NUMPAD0 + (c - L'0'), c);
    }
    static void ExpectFit(HWND window, const std::string& where, const std::set<int>& skipped = {}) {
        for (const std::string& cut : CutTexts(window, skipped)) ADD_FAILURE() << where << ": " << cut;
    }
    // Measures the window of class name as it shows from open, then closes it.
    static void ExpectFitIn(const wchar_t* name, const std::function<void()>& open, const std::set<int>& skipped = {}) {
        bool shown = false;
        ActivationWatcher watcher(name, [&](HWND window) {
            shown = true;
            ExpectFit(window, common::ToUtf8(name), skipped);
            PostMessageW(window, WM_CLOSE, 0, 0);
        });
        open();
        Pump();
        EXPECT_TRUE(shown) << common::ToUtf8(name);
    }
    std::unique_ptr<TVersionBox> versionBox;
};

}  // namespace

TEST_F(TextsFitTest, EveryTextThePagesAndWindowsShowFitsItsControl) {
    // Four tenders, the journal, a rate change to come, the longest chord and
    // a department with the longest name: every text that can show.
    WriteAnsiFile(Ini(),
                  L"[Journal]\r\nEnabled=1\r\nFloat=10000\r\n[Tenders]\r\nEnabled=1\r\nName4=ポイント\r\n"
                  L"[RateChanges]\r\nChanges=2026/12/10 10 1\r\n[Keys]\r\nChords=Settle=Ctrl+Shift+Alt+F24\r\n"
                  L"[Departments]\r\n99=" + std::wstring(regi::kMaxDepartmentName, L'\u30E0') +
                      L",reduced,Ctrl+Shift+Alt+F23\r\n");
    WriteBytes(folder.File(L"Pelmora-products.csv"), "code,name,price,department\r\n4912345678904,tea,150,99\r\n");
    TForm1& f = Open();
    f.ReadProductFile();
    f.Products().Wait();
    SetForegroundWindow(f.Handle());
    versionBox = std::make_unique<TVersionBox>(Ini(), services.shell, services.choosePicture);
    f.SetVersionBox(versionBox.get());
    Pump();

    // The register through a sale paid by all four tenders and cash.
    ExpectFit(f.Handle(), "before the first line", kFirstDesignWidgets);
    Type(L"5500");
    Key(VK_RETURN, L'\r');
    ExpectFit(f.Handle(), "a sale open", kFirstDesignWidgets);
    for (UINT tender : {VK_F6, VK_F7, VK_F9, VK_F11}) {
        Type(L"1000");
        Key(tender);
    }
    ExpectFit(f.Handle(), "paid in part by four tenders", kFirstDesignWidgets);
    Type(L"1500");
    Key(VK_DIVIDE, L'/');
    ExpectFit(f.Handle(), "settled", kFirstDesignWidgets);

    ExpectFitIn(L"TReceiptPreview", [&] { Key(VK_F5); });
    ExpectFitIn(L"TMoneyWindow", [&] { SendMessageW(f.Handle(), WM_COMMAND, form1::MoneyIn, 0); });
    ExpectFitIn(L"TReportWindow", [&] { SendMessageW(f.Handle(), WM_COMMAND, form1::TakeX, 0); });
    ExpectFitIn(
        L"TVersionBox", [&] { f.About1Click(); }, kFirstDesignAboutBox);
    ShowPage(1);
    ExpectFit(f.Handle(), "cash count", kFirstDesignWidgets);
    ShowPage(2);
    ExpectFit(f.Handle(), "settings", kFirstDesignWidgets);
    InShopSettings(
        [&](HWND sheet) {
            HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
            const int pages = TabCtrl_GetItemCount(tabs);
            EXPECT_GE(pages, 7);
            for (int page = 0; page < pages; ++page) {
                ShopPage(sheet, page);
                ExpectFit(sheet, "shop settings page " + std::to_string(page));
            }
        },
        VK_ESCAPE);
    // Every topic of the help, in the window as it first opens.
    f.Contents1Click();
    Pump();
    ASSERT_NE(help::HelpWindow::Existing(), nullptr);
    help::HelpWindow& help = *help::HelpWindow::Existing();
    for (int topic = 0; topic < static_cast<int>(help.Topics().size()); ++topic) {
        help.ShowTopic(topic);
        ExpectFit(help.Handle(), "help topic " + common::ToUtf8(help.Topics()[static_cast<size_t>(topic)].name));
    }
}
