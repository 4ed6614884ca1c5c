#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "about/Picture.h"
#include "about/PictureDialog.h"
#include "about/ShellOpen.h"
#include "about/VersionBox.h"
#include "about/VersionBoxIds.h"
#include "app/Form1.h"
#include "app/Form1Ids.h"
#include "help/Help.h"
#include "help/HelpWindow.h"
#include "tests/about/PictureBytes.h"
#include "tests/support/NoPrinters.h"
#include "tests/support/WindowTest.h"
#include "ui/App.h"
#include "ui/Controls.h"
#include "ui/Gdi.h"

using namespace testing_support;
namespace pb = picture_bytes;
using about::PictureKind;

namespace {

// Answers the picture dialogs with a queue of answers and notes their owners.
struct ChooserRecorder {
    about::PictureChooser Chooser() {
        return [this](HWND owner) -> std::optional<std::wstring> {
            owners.push_back(owner);
            if (answers.empty()) return std::nullopt;
            auto answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        };
    }
    std::vector<std::optional<std::wstring>> answers;  // nothing: cancelled
    std::vector<HWND> owners;
};

struct ShellRecorder {
    about::ShellOpener Opener() {
        return [this](const about::ShellRequest& r) {
            requests.push_back(r);
            if (onRequest) onRequest();
        };
    }
    std::vector<about::ShellRequest> requests;
    std::function<void()> onRequest;
};

class VersionBoxTest : public testing::Test {
protected:
    VersionBoxTest() { CreateDirectoryW(Program().c_str(), nullptr); }

    std::wstring Ini() const { return folder.File(L"Pelmora.ini"); }
    std::wstring Program() const { return folder.File(L"program") + L"\\"; }
    std::wstring Picture(const wchar_t* name, const std::string& bytes) const {
        std::wstring path = folder.File(name);
        WriteBytes(path, bytes);
        return path;
    }

    TVersionBox& Open() {
        box = std::make_unique<TVersionBox>(Ini(), shell.Opener(), chooser.Chooser(), Program());
        Pump();
        return *box;
    }

    RECT Bounds() const { return BoundsOf(box->Handle()); }

    // Where the box stands before the settings file moves it.
    void ExpectDesignBounds() const {
        RECT r = Bounds(), client;
        GetClientRect(box->Handle(), &client);
        EXPECT_EQ(r.left, 255);
        EXPECT_EQ(r.top, 116);
        EXPECT_EQ(client.right, 320);
        EXPECT_EQ(client.bottom, 378);
    }

    RECT Place(int id) const { return PlaceInParent(box->Control(id)); }

    void Click(int id) const {
        HWND control = box->Control(id);
        PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    }

    void TearDown() override {
        box.reset();
        Pump();
    }

    TempFolder folder;
    ErrorRecorder errors;
    ChooserRecorder chooser;
    ShellRecorder shell;
    std::unique_ptr<TVersionBox> box;
};

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

const wchar_t kForm2[] = L"[form2]\r\nheight=500\r\nwidth=400\r\ntop=30\r\nleft=40\r\n";

}  // namespace

TEST_F(VersionBoxTest, FirstStartWithoutPictureAndDialogCancelled) {
    WriteAnsiFile(Ini(), kForm2);
    const std::wstring before = ReadSettingsText(Ini());
    TVersionBox& b = Open();
    ASSERT_EQ(chooser.owners.size(), 1u);
    EXPECT_EQ(chooser.owners[0], b.Handle());
    EXPECT_TRUE(b.Picture().Empty());
    ExpectDesignBounds();  // "form2" is not read
    EXPECT_EQ(ReadSettingsText(Ini()), before);
    EXPECT_TRUE(errors.Messages().empty());
    EXPECT_FALSE(IsWindowVisible(b.Handle()));

    // The next start asks again.
    box.reset();
    Open();
    EXPECT_EQ(chooser.owners.size(), 2u);
}

// The program makes the box before its main window only when the box will ask
// for a picture: the prediction must match what the creation step then does.
TEST_F(VersionBoxTest, TellsBeforehandWhetherItWillAskForAPicture) {
    const std::wstring stored = Picture(L"stored.bmp", pb::Bitmap(4, 4, 24));
    const std::wstring folderPath = folder.File(L"a-folder.bmp");
    CreateDirectoryW(folderPath.c_str(), nullptr);
    struct Case {
        const char* name;
        const std::wstring* storedPath;  // null: no "Image" key
        bool defaultPicture;             // About.bmp beside the program
        bool asks;
    };
    const std::wstring gone = folder.File(L"gone.bmp");
    const Case cases[] = {
        {"nothing stored, no default", nullptr, false, true}, {"nothing stored, default there", nullptr, true, false},
        {"stored picture there", &stored, false, false},      {"stored picture gone, default there", &gone, true, true},
        {"stored path is a folder", &folderPath, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        box.reset();
        chooser.owners.clear();
        DeleteFileW(Ini().c_str());
        DeleteFileW((Program() + L"About.bmp").c_str());
        if (c.storedPath) WriteAnsiFile(Ini(), L"[Image]\r\nFileName=" + *c.storedPath + L"\r\n");
        if (c.defaultPicture) WriteBytes(Program() + L"About.bmp", pb::Bitmap(4, 4, 24));

        EXPECT_EQ(TVersionBox::AsksForPicture(Ini(), Program()), c.asks);
        Open();
        EXPECT_EQ(chooser.owners.size(), c.asks ? 1u : 0u);
    }
}

TEST_F(VersionBoxTest, DefaultPictureBesideTheProgramNeedsNoDialog) {
    WriteBytes(Program() + L"About.bmp", pb::Bitmap(286, 345, 24));
    TVersionBox& b = Open();
    EXPECT_TRUE(chooser.owners.empty());
    EXPECT_EQ(b.Picture().Kind(), PictureKind::Bitmap);
    EXPECT_EQ(b.Picture().Size().cx, 286);
    // No "form2" yet: its defaults.
    RECT r = Bounds();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 328);
    EXPECT_EQ(r.bottom - r.top, 412);
    EXPECT_FALSE(FileExists(Ini())) << "starting writes nothing";
}

TEST_F(VersionBoxTest, StoredPictureAndBoundsAreTaken) {
    std::wstring picture = Picture(L"sea.wmf", pb::Metafile(true));
    WriteAnsiFile(Ini(), L"[Image]\r\nFileName=" + picture + L"\r\n" + kForm2);
    TVersionBox& b = Open();
    EXPECT_TRUE(chooser.owners.empty());
    EXPECT_EQ(b.Picture().Kind(), PictureKind::Metafile);
    RECT r = Bounds();
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 500);
}

TEST_F(VersionBoxTest, BoundsBeyondTheScreenArePulledBack) {
    std::wstring picture = Picture(L"p.bmp", pb::Bitmap(4, 4, 24));
    struct Case {
        const wchar_t* form2;
        int left, top;
    };
    const Case cases[] = {
        {L"left=99999\r\ntop=10\r\n", ScreenWidth() - 50, 10},
        {L"left=20\r\ntop=5000\r\n", 20, ScreenHeight() - 50},
        {L"left=-300\r\ntop=-40\r\n", -300, -40},
    };
    for (const Case& c : cases) {
        WriteAnsiFile(Ini(), L"[Image]\r\nFileName=" + picture + L"\r\n[form2]\r\n" + c.form2);
        Open();
        RECT r = Bounds();
        EXPECT_EQ(r.left, c.left);
        EXPECT_EQ(r.top, c.top);
    }
}

TEST_F(VersionBoxTest, ChosenPictureIsStoredThenLoaded) {
    std::wstring picture = Picture(L"chosen.ico", pb::Icon(32));
    chooser.answers.push_back(picture);
    TVersionBox& b = Open();
    EXPECT_EQ(b.Picture().Kind(), PictureKind::Icon);
    EXPECT_EQ(ReadSettingsText(Ini()), L"[Image]\r\nFileName=" + picture + L"\r\n");
    EXPECT_EQ(Bounds().left, 0) << "the \"form2\" defaults are applied";
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(VersionBoxTest, PictureThatCannotBeLoadedIsReportedAndTheBoxStaysAtItsDesign) {
    struct Case {
        const wchar_t* name;
        std::string bytes;
        bool chosen;  // through the dialog, else stored
        const wchar_t* pattern;
        bool extensionInMessage;
    };
    const Case cases[] = {
        {L"broken.bmp", "BM not really", true, L"画像ファイル %s を読み込めません", false},
        {L"empty.emf", "", false, L"画像ファイル %s を読み込めません", false},
        {L"photo.png", "\x89PNG", false, L"拡張子 .%s の画像形式は処理できません", true},
        {L"photo.gif", "GIF89a", true, L"拡張子 .%s の画像形式は処理できません", true},
    };
    for (const Case& c : cases) {
        std::wstring path = Picture(c.name, c.bytes);
        DeleteFileW(Ini().c_str());
        if (c.chosen) {
            WriteAnsiFile(Ini(), kForm2);
            chooser.answers.push_back(path);
        } else {
            WriteAnsiFile(Ini(), std::wstring(L"[Image]\r\nFileName=") + path + L"\r\n" + kForm2);
        }
        size_t shown = errors.Messages().size();
        TVersionBox& b = Open();
        ASSERT_EQ(errors.Messages().size(), shown + 1);
        std::wstring extension = about::ExtensionOf(path);
        EXPECT_EQ(errors.Messages().back(), ui::FormatMessageText(c.pattern, c.extensionInMessage ? extension : path));
        EXPECT_TRUE(b.Picture().Empty());
        ExpectDesignBounds();
        // The failing path stays stored, so the next start reports it again.
        EXPECT_NE(ReadSettingsText(Ini()).find(L"FileName=" + path), std::wstring::npos);
    }
}

TEST_F(VersionBoxTest, WidgetsStandWhereTheyBelong) {
    WriteBytes(Program() + L"About.bmp", pb::Bitmap(286, 345, 24));
    TVersionBox& b = Open();
    EXPECT_EQ(ui::GetText(b.Handle()), L" バージョン情報");
    LONG style = GetWindowLongW(b.Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongW(b.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    using namespace versionbox;
    struct Expected {
        int id;
        int x, y, width, height;  // width 0: sized to the caption
        int fontHeight;           // 0: no font of its own
        bool bold, underlined;
    };
    const Expected widgets[] = {
        {Bevel1, 6, 6, 307, 363, 0, false, false},     {Image1, 16, 14, 286, 345, 0, false, false},
        {Image2, 25, 24, 32, 32, 0, false, false},     {Label1, 62, 22, 0, 0, 21, true, false},
        {Label4, 62, 46, 0, 0, 13, false, false},      {Label9, 24, 240, 0, 0, 12, false, false},
        {Label8, 24, 256, 0, 0, 12, false, false},     {Label7, 24, 272, 0, 0, 12, false, true},
        {Label10, 24, 289, 0, 0, 12, false, false},    {Label2, 24, 305, 0, 0, 13, false, true},
        {Label5, 24, 321, 0, 0, 13, false, true},      {Label3, 24, 337, 0, 0, 13, false, false},
        {Button1, 258, 332, 40, 16, 11, false, false},
    };
    for (const Expected& w : widgets) {
        SCOPED_TRACE(w.id);
        HWND control = b.Control(w.id);
        ASSERT_TRUE(control);
        RECT r = Place(w.id);
        EXPECT_EQ(r.left, w.x);
        EXPECT_EQ(r.top, w.y);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        if (w.width) {
            EXPECT_EQ(r.right - r.left, w.width);
            EXPECT_EQ(r.bottom - r.top, w.height);
        } else {
            SIZE size = ui::TextSize(font, ui::GetText(control));
            EXPECT_EQ(r.right - r.left, size.cx);
            EXPECT_GT(size.cx, 0);
        }
        if (w.fontHeight) {
            LOGFONTW logFont{};
            ASSERT_TRUE(GetObjectW(font, sizeof logFont, &logFont));
            EXPECT_EQ(logFont.lfHeight, -w.fontHeight);
            EXPECT_EQ(logFont.lfWeight >= FW_BOLD, w.bold);
            EXPECT_EQ(logFont.lfUnderline != 0, w.underlined);
        }
    }
    EXPECT_EQ(ui::GetText(b.Control(Label1)), L"Pelmora");
    EXPECT_EQ(ui::GetText(b.Control(Label4)), L"Version 2.0.0.0");
    EXPECT_EQ(ui::GetText(b.Control(Button1)), L"OK");
    EXPECT_EQ(ui::GetText(b.Control(Label9)).rfind(L"Voice: ", 0), 0u);
    EXPECT_EQ(ui::GetText(b.Control(Label8)).rfind(L"Designer: ", 0), 0u);
    EXPECT_EQ(ui::GetText(b.Control(Label10)).rfind(L"Producer: ", 0), 0u);
    EXPECT_EQ(ui::GetText(b.Control(Label5)), TVersionBox::kHomePage);
    // Only the button takes the focus.
    EXPECT_EQ(GetNextDlgTabItem(b.Handle(), nullptr, FALSE), b.Control(Button1));
}

TEST_F(VersionBoxTest, LabelsAreAquaOverThePicture) {
    // Left half red, right half blue, stretched over Image1.
    WriteBytes(Program() + L"About.bmp", pb::Bitmap(286, 345, 24));
    TVersionBox& b = Open();
    for (int id : {versionbox::Label1, versionbox::Label5, versionbox::Image1}) {
        SCOPED_TRACE(id);
        HWND control = b.Control(id);
        RECT r;
        GetClientRect(control, &r);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        ui::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        ui::MemoryDC dc(nullptr);
        ui::SelectGuard select(dc, bitmap.get());
        DRAWITEMSTRUCT item{ODT_STATIC, static_cast<UINT>(id), 0, ODA_DRAWENTIRE, 0, control, dc, r, 0};
        SendMessageW(b.Handle(), WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&item));

        int aqua = 0, red = 0, blue = 0, other = 0;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) {
                COLORREF c = GetPixel(dc, x, y);
                if (c == RGB(0, 255, 255))
                    ++aqua;
                else if (c == RGB(255, 0, 0))
                    ++red;
                else if (c == RGB(0, 0, 255))
                    ++blue;
                else
                    ++other;
            }
        if (id == versionbox::Image1) {
            EXPECT_EQ(aqua, 0);
            EXPECT_EQ(GetPixel(dc, 10, 100), RGB(255, 0, 0));
            EXPECT_EQ(GetPixel(dc, r.right - 10, 100), RGB(0, 0, 255));
        } else {
            EXPECT_GT(aqua, 0) << "the text";
            EXPECT_GT(red, aqua) << "the picture shows through around the text";
        }
    }
}

TEST_F(VersionBoxTest, LinksHandTheRightRequestToTheShell) {
    HWND application = CreateWindowExW(0, L"STATIC", L"app", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HWND previousMain = ui::App().MainWindow();
    ui::App().SetMainWindow(application);
    TVersionBox& b = Open();

    struct Expected {
        int id;
        const wchar_t* operation;
        std::wstring prefix;
        HWND owner;
        std::optional<std::wstring> parameters, folder;
    };
    using versionbox::Label2;
    using versionbox::Label5;
    using versionbox::Label7;
    const Expected links[] = {
        {Label7, L"open", L"mailto:", application, std::nullopt, std::nullopt},
        {Label2, L"open", L"mailto:", application, std::nullopt, std::nullopt},
        {Label5, L"OPEN", L"", b.Handle(), std::wstring(), std::wstring()},
    };
    for (const Expected& link : links) {
        SCOPED_TRACE(link.id);
        shell.requests.clear();
        Click(link.id);
        Pump();
        ASSERT_EQ(shell.requests.size(), 1u);
        const about::ShellRequest& r = shell.requests[0];
        EXPECT_EQ(r.operation, link.operation);
        EXPECT_EQ(r.target, link.prefix + ui::GetText(b.Control(link.id)));
        EXPECT_EQ(r.owner, link.owner);
        EXPECT_EQ(r.parameters, link.parameters);
        EXPECT_EQ(r.folder, link.folder);
        EXPECT_EQ(r.show, SW_SHOW);
    }
    EXPECT_NE(ui::GetText(b.Control(Label7)).find(L"@example.com"), std::wstring::npos);

    // Plain labels open nothing.
    shell.requests.clear();
    Click(versionbox::Label3);
    Click(versionbox::Label1);
    Pump();
    EXPECT_TRUE(shell.requests.empty());

    ui::App().SetMainWindow(previousMain);
    DestroyWindow(application);
}

TEST_F(VersionBoxTest, LinksShowTheHandCursor) {
    TVersionBox& b = Open();
    HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    struct Case {
        int id;
        bool link;
    };
    const Case cases[] = {{versionbox::Label7, true},
                          {versionbox::Label2, true},
                          {versionbox::Label5, true},
                          {versionbox::Button1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        HWND control = b.Control(c.id);
        SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor() == hand, c.link);
    }
}

TEST_F(VersionBoxTest, ClosingWritesForm2InOrderAndReturnsTheResult) {
    std::wstring picture = Picture(L"p.bmp", pb::Bitmap(4, 4, 24));
    WriteAnsiFile(Ini(), L"[Image]\r\nFileName=" + picture + L"\r\n");
    TVersionBox& b = Open();
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                 nullptr);

    struct Case {
        const char* how;
        std::function<void()> close;
        int result;
        RECT bounds;
    };
    const Case cases[] = {
        {"OK", [&] { PostMessageW(b.Control(versionbox::Button1), BM_CLICK, 0, 0); }, IDOK, {10, 20, 340, 430}},
        {"Enter",
         [&] { PostMessageW(b.Control(versionbox::Button1), WM_KEYDOWN, VK_RETURN, 0); },
         IDOK,
         {-5, 7, 328, 412}},
        {"close box", [&] { PostMessageW(b.Handle(), WM_CLOSE, 0, 0); }, IDCANCEL, {300, 200, 500, 600}},
        {"Escape",
         [&] { PostMessageW(b.Control(versionbox::Button1), WM_KEYDOWN, VK_ESCAPE, 0); },
         IDCANCEL,
         {1, 2, 330, 414}},
    };
    // The shell notes what the box looks like while it is open.
    bool shownMeanwhile = false, ownerEnabledMeanwhile = true;
    shell.onRequest = [&] {
        shownMeanwhile = IsWindowVisible(b.Handle());
        ownerEnabledMeanwhile = IsWindowEnabled(owner);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        const RECT& want = c.bounds;
        SetWindowPos(b.Handle(), nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Click(versionbox::Label5);
        c.close();
        EXPECT_EQ(b.ShowModal(owner), c.result);
        EXPECT_TRUE(shownMeanwhile);
        EXPECT_FALSE(ownerEnabledMeanwhile);
        EXPECT_FALSE(IsWindowVisible(b.Handle()));
        EXPECT_TRUE(IsWindowEnabled(owner));
        RECT r;
        GetWindowRect(b.Handle(), &r);
        std::wstring expected = L"[form2]\r\nheight=" + std::to_wstring(r.bottom - r.top) + L"\r\nwidth=" +
                                std::to_wstring(r.right - r.left) + L"\r\ntop=" + std::to_wstring(r.top) +
                                L"\r\nleft=" + std::to_wstring(r.left) + L"\r\n";
        EXPECT_EQ(ReadSettingsText(Ini()), L"[Image]\r\nFileName=" + picture + L"\r\n" + expected);
        EXPECT_EQ(r.left, want.left);
        EXPECT_EQ(r.bottom - r.top, want.bottom - want.top);
    }
    DestroyWindow(owner);
}

TEST_F(VersionBoxTest, CloseThatCannotWriteIsReportedAndStillCloses) {
    CreateDirectoryW(Ini().c_str(), nullptr);  // a folder where the file should be
    TVersionBox& b = Open();
    PostMessageW(b.Control(versionbox::Button1), BM_CLICK, 0, 0);
    EXPECT_EQ(b.ShowModal(nullptr), IDOK);
    ASSERT_FALSE(errors.Messages().empty());
    EXPECT_EQ(errors.Messages().back(), ui::FormatMessageText(L"%s に書き込めません", Ini()));
    EXPECT_FALSE(IsWindowVisible(b.Handle()));
}

TEST_F(VersionBoxTest, F1OnTheButtonShowsTheAboutTopic) {
    help::SetHelpFile(L"Pelmora.hlp");
    TVersionBox& b = Open();
    PostMessageW(b.Control(versionbox::Button1), WM_KEYDOWN, VK_F1, 0);
    PostMessageW(b.Control(versionbox::Button1), BM_CLICK, 0, 0);
    b.ShowModal(nullptr);
    help::HelpWindow* window = help::HelpWindow::Existing();
    ASSERT_TRUE(window);
    ASSERT_GE(window->CurrentTopic(), 0);
    EXPECT_EQ(window->Topics()[window->CurrentTopic()].context, TVersionBox::kHelpContext);
    EXPECT_EQ(TVersionBox::kHelpContext, 2);
    help::ShowHelp(nullptr, L"Pelmora.hlp", HELP_QUIT, 0);
    Pump();
}

// The main window's side: the menu, the tool bar and the settings page's "画像".
class Form1AboutTest : public VersionBoxTest {
protected:
    void Start() {
        const Services services{[] { return common::DateTime{2026, 12, 9, 10, 0, 0}; },
                                NoPrinters(),
                                [](const void*, UINT) { return false; },
                                [] {},
                                shell.Opener(),
                                chooser.Chooser()};
        form = std::make_unique<TForm1>(Ini(), services);
        ui::App().SetMainWindow(form->Handle());
        Open();
        form->SetVersionBox(box.get());
        ShowWindow(form->Handle(), SW_SHOW);
        Pump();
    }
    void TearDown() override {
        VersionBoxTest::TearDown();
        form.reset();
        ui::App().SetMainWindow(nullptr);
        Pump();
    }
    std::unique_ptr<TForm1> form;
};

TEST_F(Form1AboutTest, MenuAndToolBarShowTheBoxModally) {
    WriteBytes(Program() + L"About.bmp", pb::Bitmap(4, 4, 24));
    Start();
    for (int command : {form1::About1, form1::SpeedButton3}) {
        SCOPED_TRACE(command);
        DeleteFileW(Ini().c_str());
        PostMessageW(form->Handle(), WM_COMMAND, command, 0);
        PostMessageW(box->Control(versionbox::Button1), BM_CLICK, 0, 0);
        Pump();
        EXPECT_FALSE(box->Modal());
        EXPECT_FALSE(IsWindowVisible(box->Handle()));
        EXPECT_TRUE(IsWindowEnabled(form->Handle()));
        EXPECT_NE(ReadSettingsText(Ini()).find(L"[form2]"), std::wstring::npos) << "the box was shown and closed";
    }
}

TEST_F(Form1AboutTest, Button4StoresAndLoadsThePictureAtOnce) {
    WriteBytes(Program() + L"About.bmp", pb::Bitmap(4, 4, 24));
    Start();
    ASSERT_EQ(box->Picture().Kind(), PictureKind::Bitmap);
    std::wstring emf = Picture(L"new.emf", pb::EnhancedMetafile());
    chooser.answers.push_back(emf);
    SendMessageW(form->Control(form1::Button4), BM_CLICK, 0, 0);
    Pump();
    ASSERT_EQ(chooser.owners.size(), 1u);
    EXPECT_EQ(chooser.owners[0], form->Handle());
    EXPECT_EQ(ReadSettingsText(Ini()), L"[Image]\r\nFileName=" + emf + L"\r\n");
    EXPECT_EQ(box->Picture().Kind(), PictureKind::EnhancedMetafile);
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(Form1AboutTest, Button4CancelledChangesNothing) {
    std::wstring icon = Picture(L"old.ico", pb::Icon(16));
    WriteAnsiFile(Ini(), L"[Image]\r\nFileName=" + icon + L"\r\n[form2]\r\nleft=3\r\n");
    Start();
    const std::wstring before = ReadSettingsText(Ini());
    SendMessageW(form->Control(form1::Button4), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(chooser.owners.size(), 1u);
    EXPECT_EQ(ReadSettingsText(Ini()), before);
    EXPECT_EQ(box->Picture().Kind(), PictureKind::Icon);
    EXPECT_EQ(box->Picture().Size().cx, 16);
}

TEST_F(Form1AboutTest, Button4WithABadPictureStoresItAndKeepsTheOldOne) {
    WriteBytes(Program() + L"About.bmp", pb::Bitmap(4, 4, 24));
    Start();
    std::wstring broken = Picture(L"broken.wmf", "not a metafile");
    chooser.answers.push_back(broken);
    SendMessageW(form->Control(form1::Button4), BM_CLICK, 0, 0);
    Pump();
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_EQ(errors.Messages()[0], ui::FormatMessageText(L"画像ファイル %s を読み込めません", broken));
    EXPECT_EQ(ReadSettingsText(Ini()), L"[Image]\r\nFileName=" + broken + L"\r\n");
    EXPECT_EQ(box->Picture().Kind(), PictureKind::Bitmap);
}
