#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/Files.h"
#include "receipt/Receipt.h"
#include "register/KeyTable.h"
#include "settings/Departments.h"
#include "settings/ShopSettings.h"
#include "settings/ShopSettingsIds.h"
#include "settings/SettingsPage.h"
#include "tests/support/MainWindowTest.h"
#include "ui/Controls.h"
#include "ui/Gdi.h"

using namespace testing_support;
using Answer = MessageBoxAnswerer::Answer;

namespace {

const wchar_t kQuestion[] = L"終了すると売上が消えま\rす別途メモしてください｡\r宜しいでしょうか?";

class Form1Test : public MainWindowTest {
protected:
    RECT Bounds() const { return BoundsOf(form->Handle()); }

    bool Closed() const { return !IsWindow(form->Handle()); }
};

// The captions of a tab control's tabs, in their order.
std::vector<std::wstring> TabCaptions(HWND tabs) {
    std::vector<std::wstring> captions;
    for (int i = 0; i < SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0); ++i) {
        wchar_t text[32] = L"";
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 32;
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        captions.push_back(text);
    }
    return captions;
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

}  // namespace

TEST_F(Form1Test, FirstStartWithoutSettingsFile) {
    TForm1& f = Open();
    RECT r = Bounds();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 606);
    EXPECT_EQ(r.bottom - r.top, 597);
    EXPECT_TRUE(f.SettingsPage().Muted());
    EXPECT_EQ(ui::GetText(f.Control(form1::Edit2)), L"10");
    EXPECT_EQ(ui::GetText(f.Control(form1::Edit3)), L"8");
    EXPECT_FALSE(f.SettingsPage().EnterReduced());
    EXPECT_EQ(ui::GetText(f.Handle()), L" Pelmora Version 2.0.0.0");
    EXPECT_FALSE(FileExists(Ini())) << "starting writes nothing";
}

TEST_F(Form1Test, SettingsAreAppliedAndTheWindowKeptOnScreen) {
    WriteAnsiFile(Ini(),
                  L"[CheckBox1]\r\nChecked=0x0\r\n[form]\r\nheight=0x255\r\nwidth=700\r\ntop=5000\r\nleft=-300\r\n"
                  L"[Config]\r\nTax=abc\r\n");
    TForm1& f = Open();
    RECT r = Bounds();
    EXPECT_EQ(r.top, ScreenHeight() - 50);
    EXPECT_EQ(r.left, -300);
    EXPECT_EQ(r.right - r.left, 700);
    EXPECT_EQ(r.bottom - r.top, 597);
    EXPECT_FALSE(f.SettingsPage().Muted());
    EXPECT_EQ(ui::GetText(f.Control(form1::Edit2)), L"abc");
}

TEST_F(Form1Test, LeftBeyondTheScreenIsPulledBackAndEmptyTaxStaysEmpty) {
    WriteAnsiFile(Ini(), L"[form]\r\nleft=99999\r\ntop=-40\r\n[Config]\r\nTax=\r\n[CheckBox1]\r\nChecked=abc\r\n");
    TForm1& f = Open();
    RECT r = Bounds();
    EXPECT_EQ(r.left, ScreenWidth() - 50);
    EXPECT_EQ(r.top, -40);
    EXPECT_EQ(ui::GetText(f.Control(form1::Edit2)), L"");
    EXPECT_TRUE(f.SettingsPage().Muted());
}

TEST_F(Form1Test, FrameWidgetsStandWhereTheyBelong) {
    TForm1& f = Open();
    LONG style = GetWindowLongW(f.Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_NE(SendMessageW(f.Handle(), WM_GETICON, ICON_BIG, 0) + GetClassLongPtrW(f.Handle(), GCLP_HICON), 0);

    RECT client;
    GetClientRect(f.Handle(), &client);
    RECT bar = Place(form1::ToolBar1);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.bottom - bar.top, 29);
    EXPECT_EQ(bar.right - bar.left, client.right);

    RECT pages = Place(form1::PageControl1);
    EXPECT_EQ(pages.left, 0);
    EXPECT_EQ(pages.top, 32);
    EXPECT_EQ(pages.right - pages.left, 593);
    EXPECT_EQ(pages.bottom - pages.top, 481);

    RECT status = Place(form1::StatusBar1);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.bottom - status.top, 26);
    HWND statusBar = f.Control(form1::StatusBar1);
    ASSERT_EQ(SendMessageW(statusBar, SB_GETPARTS, 0, 0), 2);
    int edges[2];
    SendMessageW(statusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[0], 222);
    EXPECT_EQ(edges[1] - edges[0], 240);

    // Resizing keeps the bars along the edges.
    SetWindowPos(f.Handle(), nullptr, 0, 0, 700, 650, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(f.Handle(), &client);
    status = Place(form1::StatusBar1);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(Place(form1::ToolBar1).right, client.right);
}

TEST_F(Form1Test, ToolBarHasThreePictureButtonsWithTips) {
    TForm1& f = Open();
    HWND bar = f.Control(form1::ToolBar1);
    struct Expected {
        int id;
        int left;
        const wchar_t* tip;
    };
    const Expected buttons[] = {
        {form1::SpeedButton1, 8, L"終了"},
        {form1::SpeedButton2, 39, L"ヘルプを表示します。"},
        {form1::SpeedButton3, 70, L"バージョン情報を表示します。"},
    };
    for (const Expected& b : buttons) {
        // Where the button stands inside the tool bar's frame.
        RECT r{};
        ASSERT_TRUE(SendMessageW(bar, TB_GETRECT, b.id, reinterpret_cast<LPARAM>(&r)));
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
        RECT frame;
        GetWindowRect(bar, &frame);
        OffsetRect(&r, -frame.left, -frame.top);
        EXPECT_EQ(r.left, b.left);
        EXPECT_EQ(r.top, 2);
        EXPECT_EQ(r.right - r.left, 23);
        EXPECT_EQ(r.bottom - r.top, 22);
        wchar_t tip[64] = L"";
        SendMessageW(bar, TB_GETBUTTONTEXTW, b.id, reinterpret_cast<LPARAM>(tip));
        EXPECT_STREQ(tip, b.tip);
    }
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0));
    EXPECT_EQ(ImageList_GetImageCount(images), 3);

    // The pictures go with the window: a list left behind could be destroyed now.
    form.reset();
    Pump();
    EXPECT_FALSE(ImageList_Destroy(images));
}

TEST_F(Form1Test, MainMenuHasEveryItemWithItsAccessKey) {
    TForm1& f = Open();
    HMENU bar = GetMenu(f.Handle());
    auto caption = [](HMENU menu, UINT position) {
        wchar_t text[64] = L"";
        GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
        return std::wstring(text);
    };
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(caption(bar, 0), L"ファイル(&F)");
    EXPECT_EQ(caption(bar, 1), L"レジ(&R)");
    EXPECT_EQ(caption(bar, 2), L"ヘルプ(&H)");
    HMENU regi = GetSubMenu(bar, 1);
    std::vector<std::wstring> regiItems;
    for (int i = 0; i < GetMenuItemCount(regi); ++i) regiItems.push_back(caption(regi, static_cast<UINT>(i)));
    for (const wchar_t* item :
         {L"軽減税率の行(&R)\tF2", L"直前の行を取消(&V)\tF3", L"入力のクリア(&C)\tF4", L"取引中止(&A)\tF8"})
        EXPECT_NE(std::find(regiItems.begin(), regiItems.end(), item), regiItems.end())
            << testing::PrintToString(std::wstring(item));
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 8);
    EXPECT_EQ(caption(file, 0), L"点検(&T)...");
    EXPECT_EQ(caption(file, 1), L"精算(&Z)...");
    EXPECT_EQ(caption(file, 2), L"売上の記録を見る(&H)...");
    EXPECT_EQ(GetMenuItemID(file, 2), static_cast<UINT>(form1::SalesHistory));
    EXPECT_EQ(caption(file, 3), L"会計ソフト用に保存(&B)...");
    EXPECT_EQ(GetMenuItemID(file, 3), static_cast<UINT>(form1::SaveBooks1));
    EXPECT_EQ(caption(file, 5), L"店の設定(&S)...");
    EXPECT_EQ(GetMenuItemID(file, 5), static_cast<UINT>(form1::ShopSettings1));
    EXPECT_EQ(caption(file, 7), L"終了(&X)");
    EXPECT_EQ(GetMenuItemID(file, 7), static_cast<UINT>(form1::Exit1));
    // Without the journal there is nothing to close the day with, nor any sale to look back on or save.
    SendMessageW(f.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    EXPECT_TRUE(GetMenuState(file, form1::TakeX, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(file, form1::TakeZ, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(file, form1::SalesHistory, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(file, form1::SaveBooks1, MF_BYCOMMAND) & MF_GRAYED);
    HMENU help = GetSubMenu(bar, 2);
    const std::pair<int, const wchar_t*> items[] = {
        {form1::Contents1, L"目次(&C)"},
        {form1::SearchforHelpOn1, L"トピックの検索(&S)..."},
        {form1::HowtoUseHelp1, L"ヘルプの使い方(&H)"},
        {form1::About1, L"バージョン情報(&A)..."},
    };
    ASSERT_EQ(GetMenuItemCount(help), 4);
    for (UINT i = 0; i < 4; ++i) {
        EXPECT_EQ(caption(help, i), items[i].second);
        EXPECT_EQ(GetMenuItemID(help, i), static_cast<UINT>(items[i].first));
    }
}

TEST_F(Form1Test, PagesCarryTheirCaptionsAndTheFirstIsShown) {
    TForm1& f = Open();
    HWND tabs = f.Control(form1::PageControl1);
    EXPECT_EQ(TabCaptions(tabs), (std::vector<std::wstring>{L"Regi", L"Kinsyu", L"設定"}));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(f.Control(form1::TabSheet1)));
    EXPECT_FALSE(IsWindowVisible(f.Control(form1::TabSheet3)));
}

TEST_F(Form1Test, SwitchingPagesShowsOnePageAndRegiTakesTheFocus) {
    TForm1& f = Open();
    ShowPage(2);
    EXPECT_TRUE(IsWindowVisible(f.Control(form1::Edit2)));
    EXPECT_FALSE(IsWindowVisible(f.Control(form1::TabSheet1)));
    SetWindowTextW(f.Control(form1::Edit2), L"8");
    ShowPage(1);
    EXPECT_TRUE(IsWindowVisible(f.Control(form1::TabSheet2)));
    EXPECT_FALSE(IsWindowVisible(f.Control(form1::Edit2)));
    ShowPage(0);
    EXPECT_TRUE(IsWindowVisible(f.Control(form1::TabSheet1)));
    EXPECT_EQ(GetFocus(), f.Control(form1::SaNumEdit1)) << "the register re-arms its entry field";
    EXPECT_EQ(ui::GetText(f.Control(form1::Edit2)), L"8") << "pages keep what was typed";
}

TEST_F(Form1Test, SettingsPageWidgetsStandInTheirGroups) {
    TForm1& f = Open();
    ShowPage(2);  // the paper line is asked of the printer when the page is shown
    struct Expected {
        int id;
        int parent;
        const wchar_t* text;
        int x, y, w, h;
    };
    const Expected widgets[] = {
        {form1::GroupBox1, form1::TabSheet3, L"消費税率は", 16, 16, 177, 81},
        {form1::Edit2, form1::GroupBox1, L"10", 16, 32, 25, 23},
        {form1::GroupBox2, form1::TabSheet3, L"音声は、イカの３つです。", 16, 112, 177, 153},
        {form1::Button1, form1::GroupBox2, L"おはようございます", 16, 24, 137, 25},
        {form1::Button2, form1::GroupBox2, L"こんにちは", 16, 56, 137, 25},
        {form1::Button3, form1::GroupBox2, L"こんばんは", 16, 88, 137, 25},
        {form1::CheckBox1, form1::GroupBox2, L"ミュート", 16, 120, 73, 17},
        {form1::GroupBox3, form1::TabSheet3, L"バージョン情報", 16, 280, 177, 65},
        {form1::Button4, form1::GroupBox3, L"画像", 16, 24, 137, 25},
        {form1::GroupBox4, form1::TabSheet3, L"軽減税率は", 208, 16, 264, 97},
        {form1::Edit3, form1::GroupBox4, L"8", 16, 32, 25, 23},
        {form1::CheckBox2, form1::GroupBox4, L"ENTER で軽減税率の行を作る", 16, 66, 240, 17},
        {form1::GroupBox5, form1::TabSheet3, L"売上の記録", 208, 128, 264, 113},
        {form1::CheckBox3, form1::GroupBox5, L"売上を記録する", 16, 24, 200, 17},
        {form1::Edit4, form1::GroupBox5, L"0", 96, 48, 100, 23},
        {form1::Button5, form1::GroupBox5, L"記録のフォルダを開く", 16, 78, 180, 25},
        {form1::GroupBox9, form1::TabSheet3, L"店の設定", 208, 252, 264, 93},
        {form1::Button10, form1::GroupBox9, L"店の設定...", 16, 58, 180, 25},
    };
    for (const Expected& w : widgets) {
        HWND control = f.Control(w.id);
        ASSERT_NE(control, nullptr) << w.id;
        EXPECT_EQ(GetParent(control), f.Control(w.parent)) << w.id;
        EXPECT_EQ(ui::GetText(control), w.text);
        EXPECT_EQ(FrameOf(control), (Frame{w.x, w.y, w.w, w.h})) << w.id;
    }
    RECT label = Place(form1::Label12);
    EXPECT_EQ(label.left, 48);
    EXPECT_EQ(label.top, 40);
    EXPECT_EQ(ui::GetText(f.Control(form1::Label12)), L"％で計算します。");
    EXPECT_EQ(Place(form1::Label22).left, 48);
    EXPECT_EQ(ui::GetText(f.Control(form1::Label22)), L"％で計算します。");

    // The page font is 15 pixels high.
    auto font = reinterpret_cast<HFONT>(SendMessageW(f.Control(form1::Button1), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    EXPECT_EQ(std::abs(lf.lfHeight), 15);
    EXPECT_STREQ(lf.lfFaceName, L"ＭＳ Ｐゴシック");

    // The tax box has its own background colour.
    HWND edit = f.Control(form1::Edit2);
    HDC dc = GetDC(edit);
    SendMessageW(f.Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(GetBkColor(dc), RGB(240, 199, 252));
    ReleaseDC(edit, dc);
    edit = f.Control(form1::Edit3);
    dc = GetDC(edit);
    SendMessageW(f.Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(GetBkColor(dc), RGB(240, 199, 252));
    ReleaseDC(edit, dc);
}

TEST_F(Form1Test, BothRateBoxesShowTwoDigitsWhole) {
    TForm1& f = Open();
    ShowPage(2);
    for (int id : {form1::Edit2, form1::Edit3}) {
        HWND box = f.Control(id);
        for (const wchar_t* rate : {L"10", L"88"}) {
            SetWindowTextW(box, rate);
            SetFocus(box);
            SendMessageW(box, EM_SETSEL, 2, 2);  // the caret after the last digit
            Pump();
            RECT area{};
            SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
            SIZE text{};
            {
                ui::WindowDC dc(box);
                ui::SelectGuard font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
                GetTextExtentPoint32W(dc, rate, 2, &text);
            }
            EXPECT_LE(text.cx, area.right - area.left) << id << " " << testing::PrintToString(std::wstring(rate));
            LRESULT first = SendMessageW(box, EM_POSFROMCHAR, 0, 0);
            EXPECT_EQ(static_cast<short>(LOWORD(first)), area.left) << id << ": not scrolled to show the caret";
        }
    }
}

TEST_F(Form1Test, SettingsPageTabOrder) {
    TForm1& f = Open();
    ShowPage(2);
    SetFocus(f.Control(form1::Edit2));
    const int order[] = {form1::Button1, form1::Button2, form1::Button3,   form1::CheckBox1,
                         form1::Button4, form1::Edit3,   form1::CheckBox2, form1::CheckBox3,
                         form1::Edit4,   form1::Button5, form1::Button10};
    for (int id : order) {
        PostMessageW(f.Handle(), WM_NEXTDLGCTL, 0, 0);
        Pump();
        EXPECT_EQ(GetFocus(), f.Control(id)) << id;
    }
}

TEST_F(Form1Test, ClosingWritesTheSettingsInTheirOrder) {
    TForm1& f = Open();
    SetWindowPos(f.Handle(), nullptr, 12, 34, 640, 560, SWP_NOZORDER);
    SendMessageW(f.Control(form1::CheckBox1), BM_CLICK, 0, 0);  // off
    SetWindowTextW(f.Control(form1::Edit2), L"8");
    SetWindowTextW(f.Control(form1::Edit3), L"abc");
    SendMessageW(f.Control(form1::CheckBox2), BM_CLICK, 0, 0);  // on
    MessageBoxAnswerer answer(Answer::Yes);
    f.Exit1Click();
    EXPECT_TRUE(Closed());
    EXPECT_EQ(ReadSettingsText(Ini()),
              L"[CheckBox1]\r\nChecked=0\r\n[form]\r\ntop=34\r\nleft=12\r\nheight=560\r\nwidth=640\r\n"
              L"[Config]\r\nTax=8\r\nReducedTax=abc\r\nEnterReduced=1\r\n[Journal]\r\nEnabled=0\r\nFloat=0\r\n"
              L"[Receipt]\r\nShop=\r\nAddress=\r\nRegNo=\r\nPrint=0\r\nPrinter=\r\nWidth=80\r\n");
    // And they come back at the next start, as they were.
    Open();
    EXPECT_EQ(ui::GetText(form->Control(form1::Edit2)), L"8");
    EXPECT_EQ(ui::GetText(form->Control(form1::Edit3)), L"abc");
    EXPECT_TRUE(form->SettingsPage().EnterReduced());
}

TEST_F(Form1Test, TheExitQuestionAsksWithItsExactTexts) {
    TForm1& f = Open();
    MessageBoxAnswerer answer(Answer::No);
    f.Exit1Click();
    ASSERT_EQ(answer.Boxes().size(), 1u);
    const auto& box = answer.Boxes()[0];
    EXPECT_EQ(box.caption, L"確認");
    EXPECT_EQ(box.text, kQuestion);
    EXPECT_EQ(box.yes, L"はい(&Y)");
    EXPECT_EQ(box.no, L"いいえ(&N)");
    EXPECT_TRUE(box.questionIcon);
    int width = box.bounds.right - box.bounds.left, height = box.bounds.bottom - box.bounds.top;
    EXPECT_NEAR(box.bounds.left, (ScreenWidth() - width) / 2, 1);
    EXPECT_NEAR(box.bounds.top, (ScreenHeight() - height) / 2, 1);
}

TEST_F(Form1Test, EveryWayOfClosingAsksAndNoOrEscapeKeepsEverything) {
    TForm1& f = Open();
    SetWindowTextW(f.Control(form1::Edit2), L"8");
    struct Way {
        const char* name;
        std::function<void()> close;
    };
    const Way ways[] = {
        {"menu", [&] { SendMessageW(f.Handle(), WM_COMMAND, form1::Exit1, 0); }},
        {"tool bar", [&] { SendMessageW(f.Handle(), WM_COMMAND, form1::SpeedButton1, 0); }},
        {"close box", [&] { SendMessageW(f.Handle(), WM_CLOSE, 0, 0); }},
        {"system menu", [&] { SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Alt+F4", [&] { SendMessageW(f.Handle(), WM_SYSKEYDOWN, VK_F4, 0x20000001); }},
    };
    for (Answer no : {Answer::No, Answer::Escape}) {
        for (const Way& way : ways) {
            MessageBoxAnswerer answer(no);
            way.close();
            Pump();
            EXPECT_EQ(answer.Boxes().size(), 1u) << way.name;
            EXPECT_FALSE(Closed()) << way.name;
        }
    }
    EXPECT_EQ(ui::GetText(f.Control(form1::Edit2)), L"8");
    EXPECT_FALSE(FileExists(Ini()));

    MessageBoxAnswerer answer(Answer::Enter);  // Enter takes the default, yes
    SendMessageW(f.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(FileExists(Ini()));
}

TEST_F(Form1Test, TheToolBarButtonAndTheCloseBoxCloseOnYes) {
    {
        TForm1& f = Open();
        MessageBoxAnswerer answer(Answer::Yes);
        SendMessageW(f.Handle(), WM_COMMAND, form1::SpeedButton1, 0);
        EXPECT_TRUE(Closed());
    }
    DeleteFileW(Ini().c_str());
    {
        TForm1& f = Open();
        MessageBoxAnswerer answer(Answer::Yes);
        SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(Closed());
        EXPECT_TRUE(FileExists(Ini()));
    }
}

TEST_F(Form1Test, EndOfTheWindowsSessionKeepsTheSettingsWithoutAsking) {
    TForm1& f = Open();
    SetWindowTextW(f.Control(form1::Edit2), L"10");
    MessageBoxAnswerer answer(Answer::No);
    EXPECT_TRUE(SendMessageW(f.Handle(), WM_QUERYENDSESSION, 0, 0));
    SendMessageW(f.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(answer.Boxes().empty());
    EXPECT_NE(ReadSettingsText(Ini()).find(L"Tax=10"), std::wstring::npos);
}

TEST_F(Form1Test, AFailedWriteAtCloseIsShownAndTheProgramStillCloses) {
    CreateDirectoryW(Ini().c_str(), nullptr);
    TForm1& f = Open();
    ErrorRecorder errors;
    MessageBoxAnswerer answer(Answer::Yes);
    f.Exit1Click();
    EXPECT_TRUE(Closed());
    ASSERT_EQ(errors.Messages().size(), 1u) << "the writes after the failed one are skipped";
    EXPECT_EQ(errors.Messages()[0], Ini() + L" に書き込めません");
}

TEST_F(Form1Test, AMinimizedWindowSavesWhereItWillBeRestored) {
    TForm1& f = Open();
    SetWindowPos(f.Handle(), nullptr, 40, 50, 606, 597, SWP_NOZORDER);
    ShowWindow(f.Handle(), SW_MINIMIZE);
    Pump();
    MessageBoxAnswerer answer(Answer::Yes);
    f.Exit1Click();
    std::wstring text = ReadSettingsText(Ini());
    EXPECT_NE(text.find(L"top=50\r\nleft=40\r\n"), std::wstring::npos) << testing::PrintToString(text);
}

TEST_F(Form1Test, TheToolBarsTipsAreAnsweredWhenTheToolTipAsks) {
    TForm1& f = Open();
    HWND bar = f.Control(form1::ToolBar1);
    HWND tips = reinterpret_cast<HWND>(SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    const std::pair<int, const wchar_t*> buttons[] = {
        {form1::SpeedButton1, L"終了"},
        {form1::SpeedButton2, L"ヘルプを表示します。"},
        {form1::SpeedButton3, L"バージョン情報を表示します。"},
    };
    for (const auto& [id, tip] : buttons) {
        // What the tool tip asks of the tool bar's parent before it shows.
        NMTTDISPINFOW info{};
        info.hdr = {tips, static_cast<UINT_PTR>(id), static_cast<UINT>(TTN_GETDISPINFOW)};
        SendMessageW(f.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        ASSERT_NE(info.lpszText, nullptr) << id;
        EXPECT_STREQ(info.lpszText, tip);
        wchar_t text[80] = L"";
        NMTBGETINFOTIPW infoTip{};
        infoTip.hdr = {bar, form1::ToolBar1, static_cast<UINT>(TBN_GETINFOTIPW)};
        infoTip.pszText = text;
        infoTip.cchTextMax = 80;
        infoTip.iItem = id;
        SendMessageW(f.Handle(), WM_NOTIFY, form1::ToolBar1, reinterpret_cast<LPARAM>(&infoTip));
        EXPECT_STREQ(text, tip);
        // The tool tip itself, asked for the tool's text, gets the same.
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = bar;
        tool.uId = static_cast<UINT_PTR>(id);
        wchar_t shown[80] = L"";
        tool.lpszText = shown;
        SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(shown, tip) << id;
    }
}

TEST_F(Form1Test, AWindowWhollyOffTheWorkAreaStartsAtItsDefaultPlace) {
    struct Case {
        const wchar_t* form;
        RECT expected;
    };
    const Case cases[] = {
        {L"height=0\r\nwidth=-50\r\ntop=-300\r\nleft=-300", {0, 0, 606, 597}},
        {L"height=100\r\nwidth=100\r\ntop=-300\r\nleft=10", {0, 0, 606, 597}},
        {L"height=100\r\nwidth=100\r\ntop=10\r\nleft=-150", {0, 0, 606, 597}},
        // One pixel row on the work area is enough to be found: kept as it is.
        {L"height=100\r\nwidth=200\r\ntop=-99\r\nleft=-150", {-150, -99, 50, 1}},
    };
    for (const Case& c : cases) {
        WriteAnsiFile(Ini(), std::wstring(L"[form]\r\n") + c.form + L"\r\n");
        Open();
        RECT r = Bounds();
        EXPECT_EQ(r.left, c.expected.left) << c.form;
        EXPECT_EQ(r.top, c.expected.top) << c.form;
        EXPECT_EQ(r.right, c.expected.right) << c.form;
        EXPECT_EQ(r.bottom, c.expected.bottom) << c.form;
        form.reset();
        Pump();
    }
}

TEST_F(Form1Test, TheRegistrationNumberIsCheckedWhenItsFieldIsLeft) {
    ErrorRecorder errors;
    TForm1& f = Open();
    InShopSettings([&](HWND sheet) {
        HWND page = ShopPage(sheet, 0);
        HWND field = GetDlgItem(page, IDC_REGISTRATION_NUMBER);
        auto leave = [&](const wchar_t* text) {
            SetWindowTextW(field, text);
            SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_REGISTRATION_NUMBER, EN_KILLFOCUS),
                         reinterpret_cast<LPARAM>(field));
        };
        const std::pair<const wchar_t*, bool> cases[] = {
            {L"T1234567890123", true},  {L"", true},
            {L"T123456789012", false},  {L"1234567890123", false},
            {L"t1234567890123", false}, {L"T12345678901234", false},
            {L"T123456789012a", false},
        };
        for (const auto& [text, good] : cases) {
            size_t before = errors.Messages().size();
            leave(text);
            EXPECT_EQ(errors.Messages().size(), before + (good ? 0 : 1)) << testing::PrintToString(std::wstring(text));
            EXPECT_EQ(ui::GetText(field), text) << "the text stays for correction";
        }
        ASSERT_FALSE(errors.Messages().empty());
        EXPECT_EQ(errors.Messages().back(), receipt::kBadRegistrationNumber);
        // OK with a number that does not read keeps the window open on it.
        leave(L"T98");
        size_t before = errors.Messages().size();
        PSHNOTIFY leaving{{page, 0, static_cast<UINT>(PSN_KILLACTIVE)}, 0};
        SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&leaving));
        EXPECT_TRUE(GetWindowLongPtrW(page, DWLP_MSGRESULT)) << "the page is not left";
        EXPECT_EQ(errors.Messages().size(), before + 1);
        leave(L"T9876543210987");
    });
    EXPECT_EQ(f.SettingsPage().Receipt().registrationNumber, L"T9876543210987");
    MessageBoxAnswerer yes(Answer::Yes);
    f.Exit1Click();
    EXPECT_NE(ReadSettingsText(Ini()).find(L"RegNo=T9876543210987\r\n"), std::wstring::npos);
}

TEST_F(Form1Test, RateChangesThatDoNotReadAreSaidOnceAtStartAndKept) {
    WriteAnsiFile(Ini(), L"[RateChanges]\r\nChanges=2027/13/01 10 1;2099/04/01 10 1\r\n");
    now = {2026, 12, 9, 0, 0, 0};
    ErrorRecorder errors;
    TForm1& f = Open();
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_EQ(errors.Messages()[0], regi::UnreadableChangesMessage({L"2027/13/01 10 1"}));
    InShopSettings([&](HWND sheet) {
        EXPECT_EQ(SendDlgItemMessageW(ShopPage(sheet, 2), IDC_RATE_CHANGES, LB_GETCOUNT, 0, 0), 1);
    });
    MessageBoxAnswerer yes(Answer::Yes);
    f.Exit1Click();
    EXPECT_NE(ReadSettingsText(Ini()).find(L"[RateChanges]\r\nChanges=2099/04/01 10 1;2027/13/01 10 1\r\n"),
              std::wstring::npos);
}

TEST_F(Form1Test, TheShopSettingsWindowHoldsTheShopsSettingsOnItsPages) {
    WriteAnsiFile(Ini(), L"[Receipt]\r\nShop=青葉\r\nWidth=58\r\n[Tenders]\r\nEnabled=1\r\n");
    TForm1& f = Open();
    bool seen = false;
    InShopSettings(
        [&](HWND sheet) {
            seen = true;
            EXPECT_EQ(ui::GetText(sheet), L"店の設定");
            EXPECT_EQ(GetWindow(sheet, GW_OWNER), f.Handle());
            EXPECT_FALSE(IsWindowEnabled(f.Handle())) << "modal";
            HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
            EXPECT_EQ(TabCaptions(tabs), (std::vector<std::wstring>{L"レシートとプリンター", L"現金以外の支払い",
                                                                    L"税率の変更", L"キー", L"部門", L"値引", L"商品"}));
            struct Widget {
                int page, id;
                const wchar_t* text;
            };
            const Widget widgets[] = {
                {0, IDC_SHOP_NAME, L"青葉"},
                {0, IDC_SHOP_ADDRESS, L""},
                {0, IDC_REGISTRATION_NUMBER, L""},
                {0, IDC_PRINT_MODE, L"しない"},
                {0, IDC_PAPER_WIDTH, L"58 mm"},
                {0, IDC_PRINTER, L""},
                {0, IDC_CHOOSE_PRINTER, L"選ぶ(&C)..."},
                {0, IDC_PAPER_NOTE, L"プリンターが見つかりません"},
                {0, IDC_DRAWER, L"しない"},
                {0, IDC_CUT_PAPER, L"レシートごとに用紙をカット(&U)"},
                {1, IDC_TENDERS_ON, L"現金以外の支払いを受け付ける(&O)"},
                {1, IDC_TENDER_NAME1, L"クレジット"},
                {1, IDC_TENDER_NAME1 + 3, L""},
                {2, IDC_ADD_CHANGE, L"追加(&A)"},
                {2, IDC_REMOVE_CHANGE, L"削除(&M)"},
                {2, IDC_RATES_LINE, L"いまの税率 10% / 軽減 8%"},
                {3, IDC_KEY_CHORD, L""},
                {3, IDC_GIVE_KEY, L"割り当て(&S)"},
                {3, IDC_TAKE_KEY_AWAY, L"解除(&D)"},
            };
            for (const Widget& w : widgets) {
                HWND control = GetDlgItem(ShopPage(sheet, w.page), w.id);
                ASSERT_NE(control, nullptr) << w.id;
                EXPECT_EQ(ui::GetText(control), w.text) << w.id;  // that they fit: TextsFitTest
            }
            EXPECT_EQ(IsDlgButtonChecked(ShopPage(sheet, 1), IDC_TENDERS_ON), BST_CHECKED);
            // The receipt page's fields in their tab order.
            HWND page = ShopPage(sheet, 0);
            SetFocus(GetDlgItem(page, IDC_SHOP_NAME));
            for (int id : {IDC_SHOP_ADDRESS, IDC_REGISTRATION_NUMBER, IDC_PRINT_MODE, IDC_PAPER_WIDTH, IDC_PRINTER,
                           IDC_CHOOSE_PRINTER, IDC_DRAWER, IDC_CUT_PAPER}) {
                SendMessageW(sheet, WM_NEXTDLGCTL, 0, 0);
                EXPECT_EQ(GetFocus(), GetDlgItem(page, id)) << id;
            }
        },
        VK_ESCAPE);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(IsWindowEnabled(f.Handle()));
}

TEST_F(Form1Test, ATenderNamedInTheShopSettingsIsKeptOnOkAndEscapeLeavesAllAsItWas) {
    TForm1& f = Open();
    auto typeName = [&](HWND sheet, const std::wstring& name) {
        HWND page = ShopPage(sheet, 1);
        SendMessageW(GetDlgItem(page, IDC_TENDERS_ON), BM_CLICK, 0, 0);
        HWND field = GetDlgItem(page, IDC_TENDER_NAME1 + 3);
        SetFocus(field);
        for (wchar_t c : name) SendKey(0, c);
        EXPECT_EQ(ui::GetText(field), name);
    };
    // Escape, from the menu item: nothing changes, nothing is written.
    InShopSettings([&](HWND sheet) { typeName(sheet, L"PayPay"); }, VK_ESCAPE);
    EXPECT_FALSE(f.SettingsPage().Values().tendersOn);
    EXPECT_EQ(f.SettingsPage().Values().tenderNames[3], L"");
    EXPECT_FALSE(FileExists(Ini()));
    // Enter, from the settings page's button: taken and in the file at once.
    ShowPage(2);
    InShopSettings([&](HWND sheet) { typeName(sheet, L"PayPay"); }, VK_RETURN,
                   [&] { SendMessageW(f.Control(form1::Button10), BM_CLICK, 0, 0); });
    EXPECT_TRUE(f.SettingsPage().Values().tendersOn);
    EXPECT_EQ(f.SettingsPage().Values().tenderNames[3], L"PayPay");
    std::wstring text = ReadSettingsText(Ini());
    EXPECT_NE(
        text.find(
            L"[Tenders]\r\nEnabled=1\r\nName1=クレジット\r\nName2=電子マネー\r\nName3=QRコード\r\nName4=PayPay\r\n"),
        std::wstring::npos)
        << testing::PrintToString(text);
}

TEST_F(Form1Test, AChordGivenOnTheKeysPageIsKeptAndWorksOnTheRegisterAtOnce) {
    WriteAnsiFile(Ini(), L"[Keys]\r\nChords=Settle = ctrl+f1\r\n");
    ErrorRecorder errors;
    TForm1& f = Open();
    const std::vector<regi::KeyCommand>& rows = regi::KeyCommands();
    const int voidRow = static_cast<int>(regi::FindCommand("Void") - rows.data());
    const int settleRow = static_cast<int>(regi::FindCommand("Settle") - rows.data());
    auto cell = [](HWND list, int row, int column) {
        wchar_t text[64] = L"";
        ListView_GetItemText(list, row, column, text, 64);
        return std::wstring(text);
    };
    // Looked at and left with OK: the chords stay as the file has them.
    InShopSettings([&](HWND sheet) {
        HWND list = GetDlgItem(ShopPage(sheet, 3), IDC_KEY_COMMANDS);
        ASSERT_EQ(ListView_GetItemCount(list), static_cast<int>(rows.size()));
        EXPECT_EQ(cell(list, settleRow, 0), L"預り金（現金）と釣銭");
        EXPECT_EQ(cell(list, settleRow, 1), L"Num /");
        EXPECT_EQ(cell(list, settleRow, 2), L"Ctrl+F1");
    });
    EXPECT_EQ(f.SettingsPage().Values().keyChords, L"Settle = ctrl+f1");
    // A chord for 取消, chosen and typed by keyboard.
    InShopSettings([&](HWND sheet) {
        HWND page = ShopPage(sheet, 3);
        HWND list = GetDlgItem(page, IDC_KEY_COMMANDS);
        SetFocus(list);
        for (int i = 0; i < voidRow; ++i) SendKey(VK_DOWN);
        EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), voidRow);
        HWND box = GetDlgItem(page, IDC_KEY_CHORD);
        SetFocus(box);
        TypeKeys(L"Ctrl+F1");
        SetFocus(GetDlgItem(page, IDC_GIVE_KEY));
        SendKey(VK_SPACE, L' ');
        ASSERT_EQ(errors.Messages().size(), 1u);
        EXPECT_EQ(errors.Messages()[0], L"「Ctrl+F1」は「預り金（現金）と釣銭」に使われています。");
        EXPECT_EQ(GetFocus(), box) << "the text stays for correction";
        // OK with it keeps the page open on it.
        PSHNOTIFY leaving{{page, 0, static_cast<UINT>(PSN_KILLACTIVE)}, 0};
        SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&leaving));
        EXPECT_TRUE(GetWindowLongPtrW(page, DWLP_MSGRESULT)) << "the page is not left";
        EXPECT_EQ(errors.Messages().size(), 2u);
        EXPECT_EQ(cell(list, voidRow, 2), L"");
        SendMessageW(box, EM_SETSEL, 0, -1);
        TypeKeys(L"alt+v");  // given by OK
    });
    EXPECT_EQ(errors.Messages().size(), 2u);
    EXPECT_EQ(f.SettingsPage().Values().keyChords, L"Void=Alt+V;Settle=Ctrl+F1");
    EXPECT_EQ(f.RegisterPage().Keys().Find(regi::KeyChord{'V', false, false, true}),
              (regi::RegisterCommand{regi::PageAction::Sale, regi::Command::Void}))
        << "the register has it at once";
    EXPECT_NE(ReadSettingsText(Ini()).find(L"[Keys]\r\nChords=Void=Alt+V;Settle=Ctrl+F1\r\n"), std::wstring::npos);
    // Taken away with Delete, then Escape: everything as it was.
    InShopSettings(
        [&](HWND sheet) {
            HWND list = GetDlgItem(ShopPage(sheet, 3), IDC_KEY_COMMANDS);
            ListView_SetItemState(list, voidRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            SetFocus(list);
            SendKey(VK_DELETE);
            EXPECT_EQ(cell(list, voidRow, 2), L"");
        },
        VK_ESCAPE);
    EXPECT_EQ(f.SettingsPage().Values().keyChords, L"Void=Alt+V;Settle=Ctrl+F1");
    EXPECT_TRUE(f.RegisterPage().Keys().Find(regi::KeyChord{'V', false, false, true}));
}

TEST_F(Form1Test, ASettingIsKeptWhenItChangesNotOnlyAtTheClose) {
    TForm1& f = Open();
    ShowPage(2);
    SendMessageW(f.Control(form1::CheckBox2), BM_CLICK, 0, 0);
    EXPECT_NE(ReadSettingsText(Ini()).find(L"EnterReduced=1\r\n"), std::wstring::npos) << "a switch, when clicked";
    HWND rate = f.Control(form1::Edit3);
    SetFocus(rate);
    SetWindowTextW(rate, L"0");
    EXPECT_EQ(ReadSettingsText(Ini()).find(L"ReducedTax=0\r\n"), std::wstring::npos) << "not while it is typed";
    SetFocus(f.Control(form1::Edit4));
    Pump();
    EXPECT_NE(ReadSettingsText(Ini()).find(L"ReducedTax=0\r\n"), std::wstring::npos) << "a field, when left";
    InShopSettings([&](HWND sheet) {
        SetWindowTextW(GetDlgItem(ShopPage(sheet, 0), IDC_SHOP_NAME), L"青葉");
        SendDlgItemMessageW(ShopPage(sheet, 0), IDC_DRAWER, CB_SETCURSEL, 4, 0);
    });
    std::wstring text = ReadSettingsText(Ini());
    EXPECT_NE(text.find(L"Shop=青葉\r\n"), std::wstring::npos) << testing::PrintToString(text);
    EXPECT_NE(text.find(L"[Drawer]\r\nOpen=4\r\n"), std::wstring::npos) << testing::PrintToString(text);
    EXPECT_FALSE(FileExists(Ini() + L".tmp"));
    // What the program died with, had it died now, is what the next start reads.
    form.reset();
    Pump();
    TForm1& again = Open();
    EXPECT_TRUE(again.SettingsPage().EnterReduced());
    EXPECT_EQ(again.SettingsPage().ReducedTaxText(), L"0");
    EXPECT_EQ(again.SettingsPage().Receipt().shop, L"青葉");
    EXPECT_EQ(again.SettingsPage().Receipt().drawer, receipt::DrawerMode::Star);
}

TEST_F(Form1Test, AFileWrittenBeforeIsWrittenBackByteForByteWhenNothingChanged) {
    const std::string before =
        "[CheckBox1]\r\nChecked=1\r\n[form]\r\ntop=0\r\nleft=0\r\nheight=597\r\nwidth=606\r\n[Config]\r\nTax=10\r\n"
        "ReducedTax=8\r\nEnterReduced=0\r\n[Journal]\r\nEnabled=0\r\nFloat=0\r\n[Receipt]\r\nShop=\r\nAddress=\r\n"
        "RegNo=\r\nPrint=0\r\nPrinter=\r\nWidth=80\r\n[Image]\r\nFileName=C:\\a.bmp\r\n";
    WriteBytes(Ini(), before);
    TForm1& f = Open();
    InShopSettings([](HWND) {});  // OK with nothing changed
    ShowPage(2);
    SetFocus(f.Control(form1::Edit2));
    SetFocus(f.Control(form1::Edit3));
    Pump();
    EXPECT_EQ(platform::ReadFileBytes(Ini()), before);
    MessageBoxAnswerer yes(Answer::Yes);
    f.Exit1Click();
    EXPECT_EQ(platform::ReadFileBytes(Ini()), before);
}

TEST_F(Form1Test, ARateBoxThatDoesNotReadIsSaidWhenItIsLeftAndKeptAsTyped) {
    ErrorRecorder errors;
    TForm1& f = Open();
    ShowPage(2);
    struct Case {
        int box;
        const wchar_t* text;
        const wchar_t* message;  // nullptr: none
    };
    // What reads as a rate is the core's table (ReadRate); here each box says so by its name.
    const Case cases[] = {
        {form1::Edit2, L"1O", L"消費税率は「1O」は読めません。0 から 99 までの整数を入力してください。"},
        {form1::Edit3, L"-3", L"軽減税率は「-3」は読めません。0 から 99 までの整数を入力してください。"},
        {form1::Edit2, L"\uFF18", nullptr},
    };
    for (const Case& c : cases) {
        size_t before = errors.Messages().size();
        HWND box = f.Control(c.box);
        SetFocus(box);
        SetWindowTextW(box, c.text);
        SetFocus(f.Control(form1::Edit4));  // the operator leaves the box
        Pump();
        std::vector<std::wstring> said(errors.Messages().begin() + before, errors.Messages().end());
        EXPECT_EQ(said, c.message ? std::vector<std::wstring>{c.message} : std::vector<std::wstring>{})
            << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(ui::GetText(box), c.text) << "the text stays for correction";
    }
    EXPECT_NE(ReadSettingsText(Ini()).find(L"Tax=\uFF18\r\n"), std::wstring::npos) << "kept as typed";
}

TEST_F(Form1Test, ASettingThatCannotBeKeptIsSaidAndTheProgramGoesOn) {
    CreateDirectoryW(Ini().c_str(), nullptr);
    ErrorRecorder errors;
    TForm1& f = Open();
    ShowPage(2);
    SendMessageW(f.Control(form1::CheckBox1), BM_CLICK, 0, 0);
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_EQ(errors.Messages()[0], Ini() + L" に書き込めません");
    EXPECT_FALSE(f.SettingsPage().Muted()) << "the change holds while the program runs";
    SendMessageW(f.Control(form1::CheckBox1), BM_CLICK, 0, 0);
    EXPECT_EQ(errors.Messages().size(), 1u) << "back as the file was: nothing to write";
}

namespace {

// An access key pressed on the sheet, as its message loop hands it over.
void AccessKey(HWND sheet, wchar_t key) {
    MSG msg{GetFocus(), WM_SYSCHAR, key, static_cast<LPARAM>(1 << 29), 0, {}};
    SendMessageW(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg));
    Pump();
}
// Characters typed one by one into the focused field.
void TypeChars(const std::wstring& text) {
    for (wchar_t c : text) SendKey(0, c);
}

std::wstring ListCell(HWND list, int row, int column) {
    wchar_t text[64] = L"";
    ListView_GetItemText(list, row, column, text, 64);
    return text;
}

}  // namespace

// The 部門 and 値引 pages worked from the keyboard, then what they set at work
// on the register: a department by its number and by its own key, a preset.
TEST_F(Form1Test, ADepartmentAndAPresetSetOnTheirPagesWorkOnTheRegisterAtOnce) {
    ErrorRecorder errors;
    TForm1& f = Open();
    InShopSettings([&](HWND sheet) {
        HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        HWND page = ShopPage(sheet, 4);
        SetFocus(tabs);  // as a page chosen from the keyboard leaves it
        HWND list = GetDlgItem(page, IDC_DEPARTMENTS);
        // The longest name a department may have fits its column.
        const std::wstring longest(regi::kMaxDepartmentName, L'\u30E0');
        EXPECT_LE(ListView_GetStringWidth(list, longest.c_str()) + 12, ListView_GetColumnWidth(list, 1));
        AccessKey(sheet, L'u');
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_DEPARTMENT_NUMBER));
        TypeKeys(L"12");
        AccessKey(sheet, L'n');
        TypeChars(L"パン");
        AccessKey(sheet, L'c');
        SendKey(VK_DOWN);  // 軽減税率
        AccessKey(sheet, L'k');
        TypeKeys(L"Ctrl+F5");
        AccessKey(sheet, L'a');
        ASSERT_EQ(errors.Messages().size(), 1u);
        EXPECT_EQ(errors.Messages()[0], L"「Ctrl+F5」は「決めておいた値引 1（直前の行から）」に使われています。");
        EXPECT_EQ(ListView_GetItemCount(list), 0) << "refused: nothing added";
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_DEPARTMENT_CHORD)) << "selected for correction";
        TypeKeys(L"Ctrl+F9");
        AccessKey(sheet, L'a');
        ASSERT_EQ(ListView_GetItemCount(list), 1);
        EXPECT_EQ(ListCell(list, 0, 0), L"12");
        EXPECT_EQ(ListCell(list, 0, 1), L"パン");
        EXPECT_EQ(ListCell(list, 0, 2), L"軽減税率");
        EXPECT_EQ(ListCell(list, 0, 3), L"Ctrl+F9");
        // A number outside 1 to 99 is said in the core's words.
        SendMessageW(GetDlgItem(page, IDC_DEPARTMENT_NUMBER), EM_SETSEL, 0, -1);
        TypeKeys(L"100");
        AccessKey(sheet, L'a');
        ASSERT_EQ(errors.Messages().size(), 2u);
        EXPECT_EQ(errors.Messages()[1], regi::DepartmentProblem({100, L"パン"}));
        SetWindowTextW(GetDlgItem(page, IDC_DEPARTMENT_NUMBER), L"12");

        page = ShopPage(sheet, 5);
        SetFocus(tabs);
        AccessKey(sheet, L'1');
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_PRESET_KIND1));
        EXPECT_EQ(ui::GetText(GetDlgItem(page, IDC_PRESET_KIND1)), L"割引 (%)");
        PressTab(GetFocus(), false);
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_PRESET_VALUE1));
        TypeKeys(L"20");
    });
    const settings::Settings& values = f.SettingsPage().Values();
    EXPECT_EQ(values.departmentLines, L"12=パン,reduced,Ctrl+F9");
    EXPECT_EQ(values.presets[0], L"20%");
    std::wstring text = ReadSettingsText(Ini());
    EXPECT_NE(text.find(L"[Departments]\r\n12=パン,reduced,Ctrl+F9\r\n"), std::wstring::npos) << "kept at once";
    EXPECT_NE(text.find(L"[Discounts]\r\nPreset1=20%\r\n"), std::wstring::npos);
    EXPECT_EQ(errors.Messages().size(), 2u);

    // On the register: 12, Shift+Enter, 500, Enter; then the preset's key.
    const regi::TSale& sale = f.RegisterPage().Sale();
    SetFocus(f.RegisterPage().SaNumEdit1().Handle());
    auto keypad = [](const std::wstring& digits) {
        for (wchar_t c : digits) SendKey(VK_NUMPAD0 + (c - L'0'), c);
    };
    keypad(L"12");
    SendChord(VK_SHIFT, VK_RETURN, L'\r');
    EXPECT_EQ(sale.ArmedDepartment(), 12);
    keypad(L"500");
    SendKey(VK_RETURN, L'\r');
    ASSERT_EQ(sale.LineCount(), 1);
    EXPECT_EQ(sale.Lines()[0].department, 12);
    EXPECT_EQ(sale.Lines()[0].taxClass, regi::TaxClass::Reduced);
    SendChord(VK_CONTROL, VK_F5);
    ASSERT_TRUE(sale.Lines()[0].discount);
    EXPECT_EQ(sale.Lines()[0].discount->amount, 100);
    EXPECT_EQ(sale.Totals().reducedAmount, 400);
    // The department's own key after a price.
    keypad(L"300");
    SendChord(VK_CONTROL, VK_F9);
    ASSERT_EQ(sale.LineCount(), 2);
    EXPECT_EQ(sale.Lines()[1].department, 12);
    EXPECT_EQ(sale.Totals().Total(), 700);
    EXPECT_EQ(errors.Messages().size(), 2u);
}

// A table edited by hand: the lines that do not read are said at start in one
// message, not used, and stay in the file as they were.
TEST_F(Form1Test, DepartmentLinesThatDoNotReadAreSaidAtStartAndKeptAsTheyWere) {
    const std::wstring before =
        L"[CheckBox1]\r\nChecked=1\r\n[form]\r\ntop=0\r\nleft=0\r\nheight=597\r\nwidth=606\r\n[Config]\r\nTax=10\r\n"
        L"ReducedTax=8\r\nEnterReduced=0\r\n[Journal]\r\nEnabled=0\r\nFloat=0\r\n[Receipt]\r\nShop=\r\nAddress=\r\n"
        L"RegNo=\r\nPrint=0\r\nPrinter=\r\nWidth=80\r\n"
        L"[Departments]\r\n12=パン,reduced\r\n0=なし,standard\r\n12=肉,standard\r\n13=米\r\n";
    WriteAnsiFile(Ini(), before);
    const std::string bytes = platform::ReadFileBytes(Ini()).value_or("");
    ErrorRecorder errors;
    TForm1& f = Open();
    ASSERT_EQ(errors.Messages().size(), 1u);
    settings::DepartmentTable table =
        settings::ReadDepartmentTable(L"12=パン,reduced\n0=なし,standard\n12=肉,standard\n13=米");
    EXPECT_EQ(errors.Messages()[0], settings::UnusedDepartmentsMessage(table));
    EXPECT_EQ(table.unused.size(), 3u);
    InShopSettings([&](HWND sheet) {
        HWND list = GetDlgItem(ShopPage(sheet, 4), IDC_DEPARTMENTS);
        ASSERT_EQ(ListView_GetItemCount(list), 1);
        EXPECT_EQ(ListCell(list, 0, 1), L"パン");
    });
    EXPECT_EQ(platform::ReadFileBytes(Ini()), bytes) << "OK with nothing changed";
    MessageBoxAnswerer yes(Answer::Yes);
    f.Exit1Click();
    EXPECT_EQ(platform::ReadFileBytes(Ini()), bytes) << "closed";
}
