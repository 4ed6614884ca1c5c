#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "tests/support/MainWindowTest.h"
#include "ui/Controls.h"

using namespace testing_support;
using Answer = MessageBoxAnswerer::Answer;

namespace {

const wchar_t kQuestion[] = L"終了すると売上が消えま\rす別途メモしてください｡\r宜しいでしょうか?";

class Form1Test : public MainWindowTest {
protected:
    RECT Bounds() const { return BoundsOf(form->Handle()); }

    bool Closed() const { return !IsWindow(form->Handle()); }
};

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
    EXPECT_EQ(ui::GetText(f.Control(form1::Edit2)), L"5");
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
    struct Expected { int id; int left; const wchar_t* tip; };
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
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(caption(bar, 0), L"ファイル(&F)");
    EXPECT_EQ(caption(bar, 1), L"ヘルプ(&H)");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 1);
    EXPECT_EQ(caption(file, 0), L"終了(&X)");
    EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(form1::Exit1));
    HMENU help = GetSubMenu(bar, 1);
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
    const wchar_t* captions[] = {L"Regi", L"Kinsyu", L"設定"};
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
        wchar_t text[32] = L"";
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 32;
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, captions[i]);
    }
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
    struct Expected { int id; int parent; const wchar_t* text; int x, y, w, h; };
    const Expected widgets[] = {
        {form1::GroupBox1, form1::TabSheet3, L"消費税率は", 16, 16, 177, 81},
        {form1::Edit2, form1::GroupBox1, L"5", 16, 32, 25, 23},
        {form1::GroupBox2, form1::TabSheet3, L"音声は、イカの３つです。", 16, 112, 177, 153},
        {form1::Button1, form1::GroupBox2, L"おはようございます", 16, 24, 137, 25},
        {form1::Button2, form1::GroupBox2, L"こんにちは", 16, 56, 137, 25},
        {form1::Button3, form1::GroupBox2, L"こんばんは", 16, 88, 137, 25},
        {form1::CheckBox1, form1::GroupBox2, L"ミュート", 16, 120, 73, 17},
        {form1::GroupBox3, form1::TabSheet3, L"バージョン情報", 16, 280, 177, 65},
        {form1::Button4, form1::GroupBox3, L"画像", 16, 24, 137, 25},
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
}

TEST_F(Form1Test, SettingsPageTabOrder) {
    TForm1& f = Open();
    ShowPage(2);
    SetFocus(f.Control(form1::Edit2));
    const int order[] = {form1::Button1, form1::Button2, form1::Button3, form1::CheckBox1, form1::Button4};
    for (int id : order) {
        PostMessageW(f.Handle(), WM_NEXTDLGCTL, 0, 0);
        Pump();
        EXPECT_EQ(GetFocus(), f.Control(id)) << id;
    }
}

TEST_F(Form1Test, ClosingWritesTheSettingsInTheirOrder) {
    TForm1& f = Open();
    SetWindowPos(f.Handle(), nullptr, 12, 34, 640, 560, SWP_NOZORDER);
    SendMessageW(f.Control(form1::CheckBox1), BM_SETCHECK, BST_UNCHECKED, 0);
    SetWindowTextW(f.Control(form1::Edit2), L"8");
    MessageBoxAnswerer answer(Answer::Yes);
    f.Exit1Click();
    EXPECT_TRUE(Closed());
    EXPECT_EQ(ReadAnsiFile(Ini()),
              L"[CheckBox1]\r\nChecked=0\r\n[form]\r\ntop=34\r\nleft=12\r\nheight=560\r\nwidth=640\r\n"
              L"[Config]\r\nTax=8\r\n");
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
    struct Way { const char* name; std::function<void()> close; };
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
    EXPECT_NE(ReadAnsiFile(Ini()).find(L"Tax=10"), std::wstring::npos);
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
    std::wstring text = ReadAnsiFile(Ini());
    EXPECT_NE(text.find(L"top=50\r\nleft=40\r\n"), std::wstring::npos) << testing::PrintToString(text);
}
