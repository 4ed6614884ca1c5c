#include <gtest/gtest.h>

#include <string>

#include "receipt/PrinterState.h"

using namespace receipt;

namespace {

const std::wstring kStart = L"プリンター「Receipt」で印刷できません。\r\n";
const std::wstring kTakenBack = L"\r\nこの印刷は印刷キューから取り消しました。";
// Bits that tell of no trouble: printing, busy, toner low.
constexpr unsigned long kBusy = 0x400 | 0x200 | 0x20000;

bool Says(const std::wstring& message, const wchar_t* words) { return message.find(words) != std::wstring::npos; }

TEST(PrinterState, TheFirstTroubleThePrinterTellsIsSaidInAShopsWords) {
    struct Case {
        unsigned long status, attributes;
        const wchar_t* words;  // empty: no trouble
    };
    const Case cases[] = {
        {0, 0, L""},
        {kBusy, 0, L""},
        {kPrinterPaused, 0, L"「印刷の一時停止」を外して"},
        {0, kPrinterWorkOffline, L"「プリンターをオフラインで使用する」を外して"},
        {kPrinterOffline, 0, L"オフラインです。電源が入っているか"},
        {kPrinterPaperOut, 0, L"用紙がありません。ロール紙を入れて"},
        {kPrinterPaperJam, 0, L"詰まった用紙を取り除いて"},
        {kPrinterDoorOpen, 0, L"カバーを閉じて"},
        {kPrinterPaperProblem, 0, L"ロール紙の入れ方を確かめて"},
        {kPrinterError, 0, L"エラーで止まっています"},
        {kPrinterNotAvailable, 0, L"使えない状態です"},
        {kPrinterServerUnknown, 0, L"つないでいるパソコンにつながりません"},
        // The printer's error comes with the cause: the cause is said.
        {kPrinterError | kPrinterPaperOut | kBusy, 0, L"用紙がありません"},
        {kPrinterPaused | kPrinterOffline, kPrinterWorkOffline, L"オフラインです。"},
    };
    for (const Case& c : cases) {
        std::wstring trouble = PrinterTrouble({c.status, c.attributes});
        if (*c.words == 0)
            EXPECT_EQ(trouble, L"") << std::hex << c.status;
        else
            EXPECT_TRUE(Says(trouble, c.words)) << std::hex << c.status << " " << c.attributes;
    }
}

TEST(PrinterState, ARefusedJobNamesThePrinterAndWhatToCheckNotOnlyThatACallFailed) {
    struct Case {
        unsigned long status, error;
        const wchar_t* reason;  // the system's text for the error
        const wchar_t* says;
        bool reasonShown;
    };
    const Case cases[] = {
        {kPrinterPaperOut, 6, L"ハンドルが正しくありません。", L"用紙がありません", false},
        {0, 6, L"ハンドルが正しくありません。", L"印刷を受け付けていません。", false},
        {0, 112, L"ディスクに十分な空き領域がありません。", L"印刷を受け付けていません。", true},
        {kPrinterOffline, 112, L"ディスクに十分な空き領域がありません。", L"オフラインです", false},
    };
    for (const Case& c : cases) {
        std::wstring message = RefusedMessage(L"Receipt", {c.status, 0}, c.error, c.reason);
        EXPECT_EQ(message.rfind(kStart, 0), 0u) << c.error;
        EXPECT_TRUE(Says(message, c.says)) << c.error;
        EXPECT_EQ(Says(message, c.reason) && *c.reason, c.reasonShown) << c.error;
    }
}

TEST(PrinterState, AJobLeftInTheQueueIsTakenBackWhenItOrItsPrinterTellsItWillNotPrint) {
    struct Case {
        unsigned long job, printer;
        const wchar_t* words;  // empty: the job may print
    };
    const Case cases[] = {
        {0, 0, L""},
        {0x8 | 0x10, kBusy, L""},  // spooling, printing
        {kJobBlocked, 0, L"ドライバーはこの印刷を扱えません"},
        {kJobDeleted, 0, L"印刷を受け付けていません"},
        {kJobPaperOut, 0, L"用紙がありません"},
        {kJobError, 0, L"エラーで止まっています"},
        {0, kPrinterPaused, L"「印刷の一時停止」を外して"},
        {kJobPaperOut, kPrinterPaused, L"用紙がありません"},  // the job's own status first
    };
    for (const Case& c : cases) {
        std::wstring message = StuckJobMessage(L"Receipt", c.job, {c.printer, 0});
        if (*c.words == 0) {
            EXPECT_EQ(message, L"") << std::hex << c.job;
            continue;
        }
        EXPECT_EQ(message.rfind(kStart, 0), 0u) << std::hex << c.job;
        EXPECT_TRUE(Says(message, c.words)) << std::hex << c.job;
        EXPECT_EQ(message.substr(message.size() - kTakenBack.size()), kTakenBack) << std::hex << c.job;
    }
}

}  // namespace
