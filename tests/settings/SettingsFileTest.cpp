#include <gtest/gtest.h>

#include "platform/Files.h"
#include "settings/SettingsFile.h"
#include "tests/support/WindowTest.h"
#include "ui/Error.h"

using settings::SettingsFile;
using testing_support::ReadSettingsText;
using testing_support::TempFolder;
using testing_support::WriteAnsiFile;
using testing_support::WriteBytes;

TEST(SettingsFile, ValuesReadByTheFileRules) {
    TempFolder folder;
    std::wstring path = folder.File(L"Pelmora.ini");
    WriteAnsiFile(path,
                  L"[form]\r\nheight=0x255\r\nwidth=abc\r\ntop=5000\r\nleft=-300\r\n"
                  L"[CheckBox1]\r\nChecked=2\r\n"
                  L"[config]\r\ntax=\r\n"
                  L"[Image]\r\nFileName=C:\\写真\\店.bmp\r\n");
    SettingsFile file(path);
    EXPECT_EQ(file.ReadInteger(L"form", L"height", 597), 597);
    EXPECT_EQ(file.ReadInteger(L"form", L"width", 606), 606);
    EXPECT_EQ(file.ReadInteger(L"form", L"top", 0), 5000);
    EXPECT_EQ(file.ReadInteger(L"FORM", L"LEFT", 0), -300);  // names match in any case
    EXPECT_TRUE(file.ReadBoolean(L"CheckBox1", L"Checked", false));
    EXPECT_EQ(file.ReadString(L"Config", L"Tax", L"5"), L"");  // present but empty
    EXPECT_EQ(file.ReadString(L"Config", L"Missing", L"5"), L"5");
    EXPECT_EQ(file.ReadString(L"Nothing", L"Tax", L"5"), L"5");
    EXPECT_EQ(file.ReadString(L"Image", L"FileName", L""), L"C:\\写真\\店.bmp");
    EXPECT_EQ(SettingsFile(folder.File(L"none.ini")).ReadInteger(L"form", L"height", 597), 597);
}

TEST(SettingsFile, LongValuesComeBackCutTo2047Characters) {
    TempFolder folder;
    std::wstring path = folder.File(L"long.ini");
    WriteAnsiFile(path, L"[Config]\r\nTax=" + std::wstring(5000, L'7') + L"\r\n");
    EXPECT_EQ(SettingsFile(path).ReadString(L"Config", L"Tax", L"5"), std::wstring(2047, L'7'));
}

TEST(SettingsFile, JunkAndHugeFilesStillGiveDefaults) {
    TempFolder folder;
    std::wstring path = folder.File(L"junk.ini");
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
    WriteBytes(path, junk);
    SettingsFile file(path);
    EXPECT_EQ(file.ReadInteger(L"form", L"height", 597), 597);
    EXPECT_TRUE(file.ReadBoolean(L"CheckBox1", L"Checked", true));

    std::string huge = "[Other]\r\n";
    while (huge.size() < 1024 * 1024) huge += "key" + std::to_string(huge.size()) + "=value\r\n";
    huge += "[form]\r\nwidth=640\r\n";
    WriteBytes(path, huge);
    EXPECT_EQ(file.ReadInteger(L"form", L"width", 606), 640);
}

TEST(SettingsFile, WritesKeepOtherKeysAndAppendNewSectionsInOrder) {
    TempFolder folder;
    std::wstring path = folder.File(L"Pelmora.ini");
    WriteAnsiFile(path, L"[Image]\r\nFileName=C:\\a.bmp\r\n[form]\r\nwidth=700\r\nmine=keep\r\n");
    SettingsFile file(path);
    file.WriteBoolean(L"CheckBox1", L"Checked", false);
    file.WriteInteger(L"form", L"top", -20);
    file.WriteInteger(L"form", L"width", 606);
    file.WriteString(L"Config", L"Tax", L"abc");
    std::wstring text = ReadSettingsText(path);
    EXPECT_EQ(text,
              L"[Image]\r\nFileName=C:\\a.bmp\r\n[form]\r\nwidth=606\r\nmine=keep\r\ntop=-20\r\n"
              L"[CheckBox1]\r\nChecked=0\r\n[Config]\r\nTax=abc\r\n");
    EXPECT_EQ(file.ReadString(L"Config", L"Tax", L"5"), L"abc");
}

TEST(SettingsFile, AWriteThatFailsRaisesTheWriteError) {
    TempFolder folder;
    std::wstring path = folder.File(L"Pelmora.ini");
    CreateDirectoryW(path.c_str(), nullptr);  // a folder where the file should be
    SettingsFile file(path);
    try {
        file.WriteString(L"Config", L"Tax", L"5");
        FAIL() << "the write was not refused";
    } catch (const ui::Error& e) {
        EXPECT_EQ(e.Message(), path + L" に書き込めません");
    }
}

TEST(SettingsFile, TextsBeyondTheAnsiCodePageSurviveAWriteAndARead) {
    const std::wstring values[] = {
        L"C:\\café\\pic.ico",     L"C:\\사진\\가게.bmp", L"C:\\图片\\商店.bmp",
        L"C:\\\U0001F600\\a.bmp", L"C:\\写真\\店.bmp",
    };
    TempFolder folder;
    // A new file, and an ANSI file of an earlier run whose lines must all stay.
    std::wstring fresh = folder.File(L"new.ini"), old = folder.File(L"old.ini");
    WriteAnsiFile(old, L"[CheckBox1]\r\nChecked=0\r\n[Config]\r\nTax=８\r\nmine=店\r\n");
    for (const std::wstring& path : {fresh, old}) {
        SettingsFile file(path);
        for (const std::wstring& value : values) {
            file.WriteString(L"Image", L"FileName", value);
            EXPECT_EQ(SettingsFile(path).ReadString(L"Image", L"FileName", L""), value);
        }
    }
    EXPECT_EQ(
        ReadSettingsText(old),
        L"[CheckBox1]\r\nChecked=0\r\n[Config]\r\nTax=８\r\nmine=店\r\n[Image]\r\nFileName=" + values[4] + L"\r\n");
    SettingsFile file(old);
    EXPECT_FALSE(file.ReadBoolean(L"CheckBox1", L"Checked", true));
    EXPECT_EQ(file.ReadString(L"Config", L"Tax", L""), L"８");
    EXPECT_FALSE(testing_support::FileExists(old + L".tmp")) << "no file left beside it";
}

TEST(SettingsFile, AnAnsiFileStaysAnsiWhileItsTextsFit) {
    TempFolder folder;
    std::wstring path = folder.File(L"Pelmora.ini");
    WriteAnsiFile(path, L"[Config]\r\nTax=5\r\n");
    SettingsFile(path).WriteString(L"Image", L"FileName", L"C:\\写真\\店.bmp");
    std::wstring text = ReadSettingsText(path);
    EXPECT_EQ(text, L"[Config]\r\nTax=5\r\n[Image]\r\nFileName=C:\\写真\\店.bmp\r\n");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char first = 0;
    DWORD read = 0;
    ReadFile(file, &first, 1, &read, nullptr);
    CloseHandle(file);
    EXPECT_EQ(first, '[') << "still the ANSI file a Shift-JIS reader expects";
}

TEST(SettingsPlace, AProgramFolderThatCannotBeWrittenHandsTheShopsFilesOnOnce) {
    TempFolder program, local;
    std::wstring beside = program.File(L"Pelmora.ini");
    WriteBytes(beside, "[Journal]\r\nEnabled=1\r\nFloat=10000\r\n");
    WriteBytes(program.File(L"Pelmora-journal.csv"), "seq,time\r\n");
    std::wstring exe = program.File(L"Pelmora.exe");
    std::wstring own = local.Path() + L"\\Pelmora";
    const std::vector<std::wstring> journal = {L"Pelmora-journal.csv", L"Pelmora-open.csv"};

    EXPECT_EQ(settings::ChooseSettingsPlace(exe, own, journal).path, beside) << "a folder it can write";
    {
        // Held by someone who lets others read only: the program cannot write there.
        HANDLE held = CreateFileW(beside.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        settings::SettingsPlace first = settings::ChooseSettingsPlace(exe, own, journal);
        settings::SettingsPlace again = settings::ChooseSettingsPlace(exe, own, journal);
        CloseHandle(held);
        EXPECT_EQ(first.path, own + L"\\Pelmora.ini");
        EXPECT_EQ(first.notice, settings::CopiedNotice(program.Path(), own, true));
        EXPECT_EQ(again.path, first.path);
        EXPECT_EQ(again.notice, L"") << "said once";
    }
    SettingsFile moved(own + L"\\Pelmora.ini");
    EXPECT_TRUE(moved.ReadBoolean(L"Journal", L"Enabled", false)) << "the journal stays on";
    EXPECT_EQ(moved.ReadString(L"Journal", L"Float", L"0"), L"10000");
    EXPECT_TRUE(testing_support::FileExists(own + L"\\Pelmora-journal.csv"));
    EXPECT_FALSE(testing_support::FileExists(own + L"\\Pelmora-open.csv")) << "only what was there";
    EXPECT_TRUE(testing_support::FileExists(beside)) << "copied, never moved";
    for (const wchar_t* name : {L"Pelmora.ini", L"Pelmora-journal.csv"}) DeleteFileW((own + L"\\" + name).c_str());
    RemoveDirectoryW(own.c_str());
}

TEST(SettingsFile, ANewFileWhoseMarkCannotBeWrittenIsReportedAndNotLeftWithoutIt) {
    TempFolder folder;
    std::wstring path = folder.File(L"Pelmora.ini");
    CreateDirectoryW((path + L".tmp").c_str(), nullptr);  // the new file cannot be made whole
    try {
        SettingsFile(path).WriteString(L"Config", L"Tax", L"5");
        FAIL() << "the write was not refused";
    } catch (const ui::Error& e) {
        EXPECT_EQ(e.Message(), path + L" に書き込めません");
    }
    EXPECT_FALSE(testing_support::FileExists(path)) << "no file the profile functions would take for ANSI";
}

// The table (and Keep, which writes it into a copy and puts the copy in place)
// writes the bytes the keys written one by one gave.
TEST(SettingsFile, TheSettingsTableWritesTheBytesOfTheKeysWrittenOneByOne) {
    settings::Settings s;
    s.muted = false;
    s.window = {34, 12, 560, 640};
    s.taxText = L"8";
    s.enterReduced = true;
    s.floatText = L"30,000";
    s.receipt.shop = L"café 青葉";
    s.receipt.registrationNumber = L"T1234567890123";
    s.receipt.printMode = receipt::PrintMode::EverySale;
    s.receipt.paperWidth = 58;
    const char* starts[] = {nullptr, "[Config]\r\nTax=5\r\nmine=1\r\n[Image]\r\nFileName=a.bmp\r\n"};
    for (const char* start : starts) {
        TempFolder folder;
        std::wstring byHand = folder.File(L"hand.ini"), byTable = folder.File(L"table.ini"),
                     kept = folder.File(L"Pelmora.ini");
        if (start)
            for (const std::wstring& file : {byHand, byTable, kept}) WriteBytes(file, start);
        // Each key as the main window wrote it before the table.
        SettingsFile hand(byHand);
        hand.WriteBoolean(L"CheckBox1", L"Checked", s.muted);
        hand.WriteInteger(L"form", L"top", s.window.top);
        hand.WriteInteger(L"form", L"left", s.window.left);
        hand.WriteInteger(L"form", L"height", s.window.height);
        hand.WriteInteger(L"form", L"width", s.window.width);
        hand.WriteString(L"Config", L"Tax", s.taxText);
        hand.WriteString(L"Config", L"ReducedTax", s.reducedTaxText);
        hand.WriteBoolean(L"Config", L"EnterReduced", s.enterReduced);
        hand.WriteBoolean(L"Journal", L"Enabled", s.journalOn);
        hand.WriteString(L"Journal", L"Float", s.floatText);
        hand.WriteString(L"Receipt", L"Shop", s.receipt.shop);
        hand.WriteString(L"Receipt", L"Address", s.receipt.address);
        hand.WriteString(L"Receipt", L"RegNo", s.receipt.registrationNumber);
        hand.WriteInteger(L"Receipt", L"Print", static_cast<int>(s.receipt.printMode));
        hand.WriteString(L"Receipt", L"Printer", s.receipt.printer);
        hand.WriteInteger(L"Receipt", L"Width", s.receipt.paperWidth);
        settings::WriteSettings(SettingsFile(byTable), s);
        std::optional<std::string> expected = platform::ReadFileBytes(byHand),
                                   written = platform::ReadFileBytes(byTable);
        ASSERT_TRUE(expected && written);
        EXPECT_EQ(*written, *expected) << (start ? "an ANSI file of an earlier run" : "a new file");
        for (int time = 1; time <= 2; ++time) {  // the second time changes nothing
            SettingsFile(kept).Keep(s);
            EXPECT_EQ(platform::ReadFileBytes(kept), expected) << "kept, time " << time;
        }
        EXPECT_FALSE(testing_support::FileExists(kept + L".tmp"));
    }
}

TEST(SettingsFile, AKeepThatFailsIsTheWriteErrorAndLeavesTheFileAsItWas) {
    TempFolder folder;
    std::wstring path = folder.File(L"Pelmora.ini");
    const std::string before = "[Config]\r\nTax=5\r\n";
    WriteBytes(path, before);
    CreateDirectoryW((path + L".tmp").c_str(), nullptr);  // a folder where the copy should go
    settings::Settings s;
    s.taxText = L"8";
    try {
        SettingsFile(path).Keep(s);
        FAIL() << "the write was not refused";
    } catch (const ui::Error& e) {
        EXPECT_EQ(e.Message(), path + L" に書き込めません");
    }
    EXPECT_EQ(platform::ReadFileBytes(path), before);
}

// The departments' section is read and written whole: every line as the file
// has it, a key named twice included, however long the section.
TEST(SettingsFile, ASectionIsReadAndWrittenWholeWithEveryLine) {
    TempFolder folder;
    std::wstring path = folder.File(L"Pelmora.ini");
    WriteAnsiFile(
        path, L"[Departments]\r\n12=パン,reduced\r\n12=肉,standard\r\nExempt=印紙\r\n[Empty]\r\n[Other]\r\na=1\r\n");
    SettingsFile file(path);
    EXPECT_EQ(file.ReadSection(L"Departments"), L"12=パン,reduced\n12=肉,standard\nExempt=印紙");
    EXPECT_EQ(file.ReadSection(L"Empty"), L"");
    EXPECT_EQ(file.ReadSection(L"Missing"), std::nullopt);
    file.WriteSection(L"Departments", L"13=米,reduced\n12=パン,reduced\n12=肉,standard");
    EXPECT_EQ(ReadSettingsText(path),
              L"[Departments]\r\n13=米,reduced\r\n12=パン,reduced\r\n12=肉,standard\r\n[Empty]\r\n[Other]\r\na=1\r\n");
    std::wstring many;
    for (int number = 1; number <= 99; ++number)
        many += (number > 1 ? L"\n" : L"") + std::to_wstring(number) + L"=" + std::wstring(16, L'\u30E0') + L",reduced";
    file.WriteSection(L"Departments", many);
    EXPECT_EQ(SettingsFile(path).ReadSection(L"Departments"), many);
}

// The accounting programs' names are the shop's own lines: read, never written.
TEST(SettingsFile, TheBooksSectionIsReadAndLeftAsTheShopWroteIt) {
    TempFolder folder;
    std::wstring path = folder.File(L"Pelmora.ini");
    const std::wstring books = L"[Books]\r\nCash=現金預金\r\nYayoiStandard=課税売上内{rate}%\r\n";
    WriteAnsiFile(path, L"[Config]\r\nTax=10\r\n" + books);
    settings::Settings s = settings::ReadSettings(SettingsFile(path));
    EXPECT_EQ(s.bookLines, L"Cash=現金預金\nYayoiStandard=課税売上内{rate}%");
    s.taxText = L"8";
    SettingsFile(path).Keep(s);
    std::wstring text = ReadSettingsText(path);
    EXPECT_NE(text.find(books), std::wstring::npos) << "the section as it was";
    EXPECT_NE(text.find(L"Tax=8"), std::wstring::npos);
}
