// The accounting programs' files: their encodings, and what is refused rather
// than written wrong.
#include <gtest/gtest.h>

#include <windows.h>

#include "journal/BooksFile.h"
#include "journal/BooksWindow.h"
#include "platform/Files.h"
#include "ui/Controls.h"
#include "tests/support/WindowTest.h"
#include "ui/Error.h"

using namespace journal;
using namespace testing_support;

TEST(BooksFile, EachProgramGetsItsEncodingAndACharacterShiftJisLacksWritesNothing) {
    const std::wstring rows = L"2000,,,2026/12/08,現金\r\n";
    EXPECT_EQ(BooksBytes(Program::Yayoi, rows), "2000,,,2026/12/08,\x8C\xBB\x8B\xE0\r\n");
    EXPECT_EQ(BooksBytes(Program::MoneyForward, rows), BooksBytes(Program::Yayoi, rows));
    EXPECT_EQ(BooksBytes(Program::Freee, rows), "2000,,,2026/12/08,\xE7\x8F\xBE\xE9\x87\x91\r\n");
    EXPECT_THROW(BooksBytes(Program::Yayoi, L"売掛金,ＰａｙＰａｙ\u2764\r\n"), ui::Error);
    EXPECT_NO_THROW(BooksBytes(Program::Freee, L"売掛金,ＰａｙＰａｙ\u2764\r\n"));

    TempFolder folder;
    BooksTarget target{folder.File(L"z.csv"), Program::Yayoi};
    WriteBooksFile(target, rows);
    EXPECT_EQ(platform::ReadFileBytes(target.path), BooksBytes(Program::Yayoi, rows));
    // A folder where the file should go: said with its path.
    target.path = folder.File(L"taken");
    CreateDirectoryW(target.path.c_str(), nullptr);
    try {
        WriteBooksFile(target, rows);
        FAIL() << "written into a folder";
    } catch (const ui::Error& e) {
        EXPECT_EQ(e.Message().substr(0, 14 + target.path.size()), L"ファイルに書き込めません\r\n" + target.path);
    }
}

TEST(BooksWindow, TheNumbersAreReadAsTypedAndOneThatDoesNotReadStays) {
    TestForm owner(200, 100);
    owner.Show();
    struct Case {
        const wchar_t* from;
        const wchar_t* to;
        std::optional<std::pair<std::int64_t, std::int64_t>> range;
    };
    const Case cases[] = {
        {L"3", L"5", std::pair<std::int64_t, std::int64_t>(3, 5)},
        {L"５", L"２", std::pair<std::int64_t, std::int64_t>(2, 5)},  // full-width, either order
        {L"0", L"5", std::nullopt},
        {L"x", L"5", std::nullopt},
    };
    for (const Case& c : cases) {
        ErrorRecorder errors;
        TBooksWindow window(7);
        EXPECT_EQ(ui::GetText(window.Control(TBooksWindow::FromEdit)), L"7") << "the last Z at first";
        SetWindowTextW(window.Control(TBooksWindow::FromEdit), c.from);
        SetWindowTextW(window.Control(TBooksWindow::ToEdit), c.to);
        PostMessageW(window.Control(TBooksWindow::FromEdit), WM_KEYDOWN, VK_RETURN, 0);
        if (!c.range) PostMessageW(window.Control(TBooksWindow::FromEdit), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_EQ(window.ShowModal(owner.Handle()), c.range ? IDOK : IDCANCEL);
        EXPECT_EQ(window.Range(), c.range);
        EXPECT_EQ(errors.Messages().size(), c.range ? 0u : 1u);
    }
}
