#include <gtest/gtest.h>

#include <windows.h>

#include "about/Picture.h"
#include "about/PictureDialog.h"
#include "tests/about/PictureBytes.h"
#include "tests/support/WindowTest.h"
#include "ui/Controls.h"
#include "ui/Error.h"
#include "ui/Gdi.h"

using namespace testing_support;
namespace pb = picture_bytes;

namespace {

// Draws a picture into a fresh white 24-bit bitmap and reads pixels back.
class Canvas {
public:
    Canvas(int width, int height) : dc_(nullptr), width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        old_ = SelectObject(dc_, bitmap_.get());
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() { SelectObject(dc_, old_); }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    RECT All() const { return RECT{0, 0, width_, height_}; }

private:
    ui::MemoryDC dc_;
    ui::Bitmap bitmap_;
    HGDIOBJ old_;
    int width_, height_;
};

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);

std::wstring ErrorOf(const std::wstring& path) {
    try {
        about::Picture::Load(path);
    } catch (const ui::Error& e) {
        return e.Message();
    }
    return L"(no error)";
}

}  // namespace

TEST(Picture, EveryKindLoadsAndDrawsStretched) {
    TempFolder folder;
    struct Case {
        const wchar_t* name;
        std::string bytes;
        about::PictureKind kind;
        SIZE size;
        COLORREF left, right;  // at a quarter and three quarters across the middle
    };
    const Case cases[] = {
        {L"p24.bmp", pb::Bitmap(8, 4, 24), about::PictureKind::Bitmap, {8, 4}, kRed, kBlue},
        {L"p32.BMP", pb::Bitmap(8, 4, 32), about::PictureKind::Bitmap, {8, 4}, kRed, kBlue},
        {L"p8.bmp", pb::Bitmap(8, 4, 8), about::PictureKind::Bitmap, {8, 4}, kRed, kBlue},
        {L"p4.bmp", pb::Bitmap(8, 4, 4), about::PictureKind::Bitmap, {8, 4}, kRed, kBlue},
        {L"p1.bmp", pb::Bitmap(8, 4, 1), about::PictureKind::Bitmap, {8, 4}, kRed, kBlack},
        {L"topdown.bmp", pb::Bitmap(8, -4, 24), about::PictureKind::Bitmap, {8, 4}, kRed, kBlue},
        {L"red.ico", pb::Icon(32), about::PictureKind::Icon, {32, 32}, kRed, kRed},
        {L"blue.wmf", pb::Metafile(true), about::PictureKind::Metafile, {0, 0}, kBlue, kBlue},
        {L"blue.emf", pb::EnhancedMetafile(), about::PictureKind::EnhancedMetafile, {0, 0}, kWhite, kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
        std::wstring path = folder.File(c.name);
        WriteBytes(path, c.bytes);
        about::Picture picture = about::Picture::Load(path);
        ASSERT_FALSE(picture.Empty());
        EXPECT_EQ(picture.Kind(), c.kind);
        if (c.size.cx) {
            EXPECT_EQ(picture.Size().cx, c.size.cx);
            EXPECT_EQ(picture.Size().cy, c.size.cy);
        } else {
            EXPECT_GT(picture.Size().cx, 0);
            EXPECT_GT(picture.Size().cy, 0);
        }
        Canvas canvas(200, 100);
        picture.Draw(canvas.Dc(), canvas.All());
        EXPECT_EQ(canvas.At(50, 50), c.left);
        EXPECT_EQ(canvas.At(150, 50), c.right);
    }
}

TEST(Picture, PlaceableMetafileKeepsItsSizeInPixels) {
    TempFolder folder;
    WriteBytes(folder.File(L"m.wmf"), pb::Metafile(true));
    about::Picture picture = about::Picture::Load(folder.File(L"m.wmf"));
    int dpi = GetDeviceCaps(ui::WindowDC(nullptr), LOGPIXELSX);
    EXPECT_EQ(picture.Size().cx, MulDiv(100, dpi, 96));
    EXPECT_EQ(picture.Size().cy, MulDiv(50, GetDeviceCaps(ui::WindowDC(nullptr), LOGPIXELSY), 96));
}

TEST(Picture, MetafileMadeByTheSystemLoads) {
    TempFolder folder;
    std::wstring path = folder.File(L"system.emf");
    HDC recorder = CreateEnhMetaFileW(nullptr, path.c_str(), nullptr, nullptr);
    ASSERT_TRUE(recorder);
    ui::Brush green(CreateSolidBrush(RGB(0, 128, 0)));
    RECT all{0, 0, 100, 100};
    FillRect(recorder, &all, green.get());
    DeleteEnhMetaFile(CloseEnhMetaFile(recorder));

    about::Picture picture = about::Picture::Load(path);
    EXPECT_EQ(picture.Kind(), about::PictureKind::EnhancedMetafile);
    Canvas canvas(60, 60);
    picture.Draw(canvas.Dc(), canvas.All());
    EXPECT_EQ(canvas.At(30, 30), RGB(0, 128, 0));
}

TEST(Picture, UnknownExtensionIsNamedInTheError) {
    TempFolder folder;
    struct Case {
        const wchar_t* name;
        const wchar_t* extension;
    };
    const Case cases[] = {{L"photo.png", L"png"}, {L"PHOTO.JPG", L"JPG"}, {L"noextension", L""}};
    for (const Case& c : cases) {
        std::wstring path = folder.File(c.name);
        WriteBytes(path, pb::Bitmap(4, 4, 24));  // the content does not matter: the name decides
        EXPECT_EQ(ErrorOf(path), ui::FormatMessageText(L"拡張子 .%s の画像形式は処理できません", c.extension));
    }
}

TEST(Picture, DamagedOrMissingFilesGiveAnErrorNamingTheFile) {
    TempFolder folder;
    std::string truncated = pb::Bitmap(40, 40, 24);
    truncated.resize(truncated.size() / 2);
    struct Case {
        const wchar_t* name;
        std::string bytes;
    };
    const Case cases[] = {
        {L"truncated.bmp", truncated},
        {L"text.bmp", "This is not a picture at all.\r\n"},
        {L"empty.bmp", ""},
        {L"empty.ico", ""},
        {L"text.ico", "hello"},
        {L"text.emf", std::string(200, 'x')},
        {L"text.wmf", std::string(200, '\0')},
    };
    for (const Case& c : cases) {
        std::wstring path = folder.File(c.name);
        WriteBytes(path, c.bytes);
        EXPECT_EQ(ErrorOf(path), ui::FormatMessageText(L"画像ファイル %s を読み込めません", path));
    }
    std::wstring missing = folder.File(L"missing.bmp");
    EXPECT_EQ(ErrorOf(missing), ui::FormatMessageText(L"画像ファイル %s を読み込めません", missing));
}

TEST(PictureDialog, OpensWithTheFilterListAndNoStartingPlace) {
    const wchar_t* expected[] = {
        L"すべてのファイル (*.bmp;*.ico;*.emf;*.wmf)",
        L"*.bmp;*.ico;*.emf;*.wmf",
        L"ビットマップ (*.bmp)",
        L"*.bmp",
        L"アイコン (*.ico)",
        L"*.ico",
        L"エンハンス メタファイル (*.emf)",
        L"*.emf",
        L"メタファイル (*.wmf)",
        L"*.wmf",
    };
    wchar_t file[MAX_PATH] = L"left over";
    HWND owner = GetDesktopWindow();
    OPENFILENAMEW settings = about::PictureDialogSettings(owner, file, MAX_PATH);
    const wchar_t* entry = settings.lpstrFilter;
    for (const wchar_t* text : expected) {
        ASSERT_TRUE(*entry);
        EXPECT_STREQ(entry, text);
        entry += wcslen(entry) + 1;
    }
    EXPECT_EQ(*entry, L'\0') << "the list ends after the five kinds";
    EXPECT_EQ(settings.nFilterIndex, 1u);
    EXPECT_EQ(settings.lpstrInitialDir, nullptr);
    EXPECT_EQ(settings.lpstrFile, file);
    EXPECT_EQ(file[0], L'\0');
    EXPECT_EQ(settings.hwndOwner, owner);
    EXPECT_TRUE(settings.Flags & OFN_FILEMUSTEXIST);
}

TEST(PictureDialog, TheChooserAnswersInsteadOfTheSystemDialog) {
    std::vector<HWND> owners;
    about::OpenPictureDialog dialog([&](HWND owner) -> std::optional<std::wstring> {
        owners.push_back(owner);
        return owners.size() == 1 ? std::optional<std::wstring>(L"C:\\a.bmp") : std::nullopt;
    });
    HWND owner = GetDesktopWindow();
    EXPECT_EQ(dialog.Execute(owner), std::optional<std::wstring>(L"C:\\a.bmp"));
    EXPECT_EQ(dialog.Execute(nullptr), std::nullopt);
    EXPECT_EQ(owners, (std::vector<HWND>{owner, nullptr}));
}

namespace {

// What the system's dialog showed when it came up; it is then cancelled.
struct DialogSeen {
    bool opened = false;
    RECT preview{}, openButton{}, dialog{};
    std::wstring previewCaption;
};
DialogSeen* seen = nullptr;

WNDPROC ownerProcedure = nullptr;

// The dialog's owner hears WM_ENTERIDLE once the dialog is up and waiting.
LRESULT CALLBACK CancelWhenIdle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && seen && !seen->opened) {
        HWND dialog = reinterpret_cast<HWND>(lParam);
        HWND preview = ui::FindControl(dialog, about::PreviewBox);
        HWND open = GetDlgItem(dialog, IDOK);
        seen->opened = true;
        GetWindowRect(dialog, &seen->dialog);
        if (preview && open) {
            GetWindowRect(preview, &seen->preview);
            GetWindowRect(open, &seen->openButton);
            seen->previewCaption = ui::GetText(ui::FindControl(dialog, about::PreviewCaption));
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    return CallWindowProcW(ownerProcedure, window, message, wParam, lParam);
}

}  // namespace

TEST(PictureDialog, SystemDialogCarriesThePreviewBesideItsControls) {
    DialogSeen result;
    seen = &result;
    // An owner near the bottom-right corner, as the about box may stand.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, work.right - 60, work.bottom - 60, 10,
                                 10, nullptr, nullptr, nullptr, nullptr);
    ownerProcedure =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CancelWhenIdle)));
    std::optional<std::wstring> chosen = about::RunPictureDialog(owner);
    DestroyWindow(owner);
    seen = nullptr;
    EXPECT_FALSE(chosen) << "cancelled";
    ASSERT_TRUE(result.opened);
    EXPECT_EQ(result.previewCaption, L"プレビュー");
    EXPECT_GT(result.preview.left, result.openButton.right) << "right of the system's controls";
    EXPECT_LT(result.preview.top, result.openButton.top) << "beside them, not below";
    EXPECT_GT(result.preview.right - result.preview.left, 100);
    EXPECT_GE(result.dialog.left, work.left);
    EXPECT_GE(result.dialog.top, work.top);
    EXPECT_LE(result.dialog.right, work.right) << "wholly on screen";
    EXPECT_LE(result.dialog.bottom, work.bottom);
}
