#include "receipt/PrinterState.h"

#include <cstddef>

#include "common/MessageText.h"

namespace receipt {

const wchar_t kRefused[] = L"プリンター「%s」で印刷できません。\r\n";

namespace {

const wchar_t kOffline[] =
    L"プリンターがオフラインです。電源が入っているか、ケーブルがつながっているかを確かめてください。";
const wchar_t kPaperOut[] = L"用紙がありません。ロール紙を入れてください。";
const wchar_t kStopped[] =
    L"プリンターがエラーで止まっています。プリンターのランプや表示を確かめ、直らないときは電源を入れ直してください。";
// Where the spooler tells nothing of the cause.
const wchar_t kNotTaken[] =
    L"プリンターが印刷を受け付けていません。プリンターの電源、ケーブル、用紙と、Windows の「プリンターとスキャナー」で"
    L"このプリンターの印刷キュー（一時停止、オフライン、止まったままの印刷）を確かめてください。";
const wchar_t kSystemSays[] = L"\r\n（Windows の説明: %s）";
const wchar_t kTakenOut[] = L"\r\nこの印刷は印刷キューから取り消しました。";

// ERROR_INVALID_HANDLE: all the call says is that it failed (Wine's answer for
// a queue that refuses jobs), so its system text is left out.
constexpr unsigned long kInvalidHandle = 6;

// A row matches when any of its bits is set; the first that matches says the cause.
struct Trouble {
    unsigned long status, attributes;
    const wchar_t* words;
};

const Trouble kPrinterTroubles[] = {
    {kPrinterNotAvailable | kPrinterPendingDeletion, 0,
     L"このプリンターは Windows で使えない状態です（取り外されたか、削除の途中です）。"
     L"「店の設定」の「レシートとプリンター」で、使えるプリンターを選んでください。"},
    {kPrinterServerUnknown, 0,
     L"このプリンターをつないでいるパソコンにつながりません。そのパソコンの電源とネットワークを確かめてください。"},
    {kPrinterOffline, 0, kOffline},
    {0, kPrinterWorkOffline,
     L"このプリンターは Windows で「オフラインで使用する」になっています。"
     L"Windows の「プリンターとスキャナー」でこのプリンターの印刷キューを開き、"
     L"「プリンター」メニューの「プリンターをオフラインで使用する」を外してください。"},
    {kPrinterPaused, 0,
     L"Windows でこのプリンターの印刷が一時停止になっています。"
     L"Windows の「プリンターとスキャナー」でこのプリンターの印刷キューを開き、"
     L"「プリンター」メニューの「印刷の一時停止」を外してください。"},
    {kPrinterPaperOut, 0, kPaperOut},
    {kPrinterPaperJam, 0, L"用紙が詰まっています。プリンターのカバーを開けて、詰まった用紙を取り除いてください。"},
    {kPrinterDoorOpen, 0, L"プリンターのカバーが開いています。カバーを閉じてください。"},
    {kPrinterPaperProblem, 0, L"用紙がうまく送られません。ロール紙の入れ方を確かめてください。"},
    {kPrinterError | kPrinterUserIntervention, 0, kStopped},
};

const Trouble kJobTroubles[] = {
    {kJobBlocked, 0,
     L"このプリンターのドライバーはこの印刷を扱えません。「店の設定」の「レシートとプリンター」で、"
     L"プリンターのメーカーのドライバーを入れたプリンターを選んでください。"},
    {kJobDeleted | kJobDeleting, 0, kNotTaken},
    {kJobOffline, 0, kOffline},
    {kJobPaperOut, 0, kPaperOut},
    {kJobError | kJobUserIntervention, 0, kStopped},
};

template <std::size_t N>
std::wstring FirstOf(const Trouble (&table)[N], unsigned long status, unsigned long attributes) {
    for (const Trouble& trouble : table)
        if ((status & trouble.status) != 0 || (attributes & trouble.attributes) != 0) return trouble.words;
    return L"";
}

}  // namespace

std::wstring PrinterTrouble(const PrinterState& state) {
    return FirstOf(kPrinterTroubles, state.status, state.attributes);
}

std::wstring RefusedMessage(const std::wstring& printer, const PrinterState& state, unsigned long error,
                            const std::wstring& systemReason) {
    std::wstring message = common::FormatMessageText(kRefused, printer);
    if (std::wstring trouble = PrinterTrouble(state); !trouble.empty()) return message + trouble;
    message += kNotTaken;
    if (error != 0 && error != kInvalidHandle && !systemReason.empty())
        message += common::FormatMessageText(kSystemSays, systemReason);
    return message;
}

std::wstring StuckJobMessage(const std::wstring& printer, unsigned long jobStatus, const PrinterState& state) {
    std::wstring trouble = FirstOf(kJobTroubles, jobStatus, 0);
    if (trouble.empty()) trouble = PrinterTrouble(state);
    if (trouble.empty()) return L"";
    return common::FormatMessageText(kRefused, printer) + trouble + kTakenOut;
}

}  // namespace receipt
