#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "settings/GreetingSound.h"
#include "tests/support/MainWindowTest.h"
#include "ui/Controls.h"

using namespace testing_support;
using settings::Greeting;

namespace {

common::DateTime At(int hour, int minute, int second = 0) { return {2004, 2, 18, hour, minute, second}; }

class GreetingTimersTest : public MainWindowTest {
protected:
    GreetingTimersTest() { now = At(9, 5, 7); }

    // What the system does at a tick of the timer.
    void Tick(int timer) {
        SendMessageW(form->Handle(), WM_TIMER, timer, 0);
        Pump();
    }

    void Click(int id) {
        SendMessageW(form->Control(id), BM_CLICK, 0, 0);
        Pump();
    }

    bool Muted() const { return SendMessageW(form->Control(form1::CheckBox1), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    std::wstring Panel(int index) const {
        HWND bar = form->Control(form1::StatusBar1);
        int length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, index, 0));
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(bar, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(length));
        return text;
    }

    // Runs the real message loop until done() holds or timeoutMs has passed.
    template <typename Done>
    bool RunUntil(Done done, UINT timeoutMs) {
        UINT_PTR deadline = SetTimer(nullptr, 0, timeoutMs, nullptr);
        MSG msg;
        bool result = done();
        while (!result && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == deadline) break;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            result = done();
        }
        KillTimer(nullptr, deadline);
        return result;
    }
};

}  // namespace

TEST_F(GreetingTimersTest, MuteOnKeepsTheTimerAndPlaysNothing) {
    TForm1& f = Open(Ticks::ByTest);
    ASSERT_TRUE(Muted()) << "first run: mute on";
    EXPECT_TRUE(f.Timer1Enabled());
    for (int i = 0; i < 3; ++i) Tick(form1::Timer1);
    EXPECT_TRUE(played.empty());
    EXPECT_TRUE(f.Timer1Enabled());
}

TEST_F(GreetingTimersTest, ClearingMuteGreetsOnceAtTheNextTick) {
    TForm1& f = Open(Ticks::ByTest);
    Tick(form1::Timer1);
    Click(form1::CheckBox1);
    ASSERT_FALSE(Muted());
    EXPECT_TRUE(played.empty()) << "the greeting waits for the tick";
    Tick(form1::Timer1);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].wave, settings::GreetingWave(Greeting::Asa));
    EXPECT_EQ(played[0].flags, static_cast<UINT>(SND_MEMORY | SND_ASYNC));
    EXPECT_FALSE(f.Timer1Enabled());

    // Checking and clearing mute again plays nothing for the rest of the run.
    Click(form1::CheckBox1);
    Tick(form1::Timer1);
    Click(form1::CheckBox1);
    ASSERT_FALSE(Muted());
    Tick(form1::Timer1);
    Tick(form1::Timer1);
    EXPECT_EQ(played.size(), 1u);
    EXPECT_FALSE(f.Timer1Enabled());
}

TEST_F(GreetingTimersTest, TheHourChoosesTheGreeting) {
    struct Case {
        WORD hour, minute;
        Greeting greeting;
    };
    const Case cases[] = {
        {3, 59, Greeting::Ban},  {4, 0, Greeting::Asa},    {11, 59, Greeting::Asa},
        {12, 0, Greeting::Hiru}, {18, 59, Greeting::Hiru}, {19, 0, Greeting::Ban},
    };
    // Mute off in the settings file: the first tick greets.
    WriteAnsiFile(Ini(), L"[CheckBox1]\r\nChecked=0\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hour << ":" << c.minute);
        played.clear();
        now = At(c.hour, c.minute);
        Open(Ticks::ByTest);
        ASSERT_FALSE(Muted());
        Tick(form1::Timer1);
        ASSERT_EQ(played.size(), 1u);
        EXPECT_EQ(played[0].wave, settings::GreetingWave(c.greeting));
        EXPECT_EQ(played[0].flags, static_cast<UINT>(SND_MEMORY | SND_ASYNC));
        form.reset();
        Pump();
    }
}

TEST_F(GreetingTimersTest, ButtonsPlayWhileMutedAndLeaveTheTimerAlone) {
    TForm1& f = Open(Ticks::ByTest);
    ASSERT_TRUE(Muted());
    now = At(22, 0);  // the hour does not matter to the buttons
    struct Case {
        int button;
        Greeting greeting;
    };
    const Case cases[] = {
        {form1::Button1, Greeting::Asa}, {form1::Button2, Greeting::Hiru}, {form1::Button3, Greeting::Ban}};
    for (const Case& c : cases) {
        played.clear();
        Click(c.button);
        ASSERT_EQ(played.size(), 1u) << "button " << c.button;
        EXPECT_EQ(played[0].wave, settings::GreetingWave(c.greeting));
        EXPECT_EQ(played[0].flags, static_cast<UINT>(SND_MEMORY)) << "the button waits for the end";
        EXPECT_TRUE(f.Timer1Enabled());
    }
    // After the greeting the buttons still play, and the timer stays off.
    Click(form1::CheckBox1);
    Tick(form1::Timer1);
    ASSERT_FALSE(f.Timer1Enabled());
    played.clear();
    Click(form1::Button2);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].wave, settings::GreetingWave(Greeting::Hiru));
    EXPECT_FALSE(f.Timer1Enabled());
}

TEST_F(GreetingTimersTest, ClockInTheFirstPanel) {
    Open(Ticks::ByTest);
    EXPECT_EQ(Panel(0), L"") << "empty until the first tick";
    Tick(form1::Timer2);
    EXPECT_EQ(Panel(0), L"  2004/02/18 ( 水曜日 )  09: 05: 07 ");
    EXPECT_EQ(Panel(1), L"");
    now = At(9, 5, 8);
    Tick(form1::Timer2);
    EXPECT_EQ(Panel(0), L"  2004/02/18 ( 水曜日 )  09: 05: 08 ");
}

TEST_F(GreetingTimersTest, TheRealTimersGreetAndTick) {
    WriteAnsiFile(folder.File(L"Pelmora.ini"), L"[CheckBox1]\r\nChecked=0\r\n");
    // The hour is set before the window is made: its real timers may come
    // due while it is still being shown on a busy machine.
    now = At(13, 0, 0);
    TForm1& f = Open();
    // Timer1 at half a second, Timer2 at one. The guard only ends a run whose
    // timers never come; a slow machine has a minute for a second's work.
    EXPECT_TRUE(RunUntil([&] { return !played.empty() && !Panel(0).empty(); }, 60000));
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].wave, settings::GreetingWave(Greeting::Hiru));
    EXPECT_FALSE(f.Timer1Enabled());
    EXPECT_EQ(Panel(0), L"  2004/02/18 ( 水曜日 )  13: 00: 00 ");
}

TEST_F(GreetingTimersTest, WithoutASoundDeviceTheButtonsReturn) {
    // The system's sndPlaySound, watched: each button reaches it once and
    // comes back although no device can play the sound.
    std::vector<BOOL> results;
    services.sound = [&](const void* wave, UINT flags) {
        BOOL result = sndPlaySoundW(static_cast<const wchar_t*>(wave), flags);
        results.push_back(result);
        return result != FALSE;
    };
    Open();
    for (int button : {form1::Button1, form1::Button2, form1::Button3}) Click(button);
    ASSERT_EQ(results.size(), 3u);
    for (BOOL result : results) EXPECT_FALSE(result) << "no sound device under the test display";
    EXPECT_EQ(ui::GetText(form->Handle()), L" Pelmora Version 2.0.0.0");
}
