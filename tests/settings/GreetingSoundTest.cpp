#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "settings/GreetingSound.h"
#include "settings/LocalClock.h"
#include "ui/App.h"

using settings::Greeting;

namespace {

const Greeting kGreetings[] = {Greeting::Asa, Greeting::Hiru, Greeting::Ban};

uint32_t Read32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
unsigned Read16(const unsigned char* p) { return p[0] | p[1] << 8; }

// Checks one greeting's bytes against the layout the program's sounds have and
// returns its samples; a failure says which field is wrong.
std::vector<int16_t> CheckLayout(const void* bytes, DWORD size) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    std::vector<int16_t> samples;
    EXPECT_GE(size, 60u);
    if (size < 60) return samples;
    EXPECT_EQ(std::memcmp(p, "RIFF", 4), 0);
    EXPECT_EQ(Read32(p + 4), size - 8) << "RIFF size is the rest of the file";
    EXPECT_EQ(std::memcmp(p + 8, "WAVE", 4), 0);
    EXPECT_EQ(std::memcmp(p + 12, "fmt ", 4), 0);
    EXPECT_EQ(Read32(p + 16), 20u) << "fmt chunk size";
    EXPECT_EQ(Read16(p + 20), 1u) << "PCM";
    EXPECT_EQ(Read16(p + 22), 1u) << "mono";
    EXPECT_EQ(Read32(p + 24), 8000u) << "sample rate";
    EXPECT_EQ(Read32(p + 28), 16000u) << "bytes per second";
    EXPECT_EQ(Read16(p + 32), 2u) << "block alignment";
    EXPECT_EQ(Read16(p + 34), 16u) << "bits per sample";
    EXPECT_EQ(Read16(p + 36), 0u) << "extra-format size";
    EXPECT_EQ(std::memcmp(p + 40, "fact", 4), 0);
    EXPECT_EQ(Read32(p + 44), 4u) << "fact chunk size";
    uint32_t count = Read32(p + 48);
    EXPECT_EQ(std::memcmp(p + 52, "data", 4), 0);
    EXPECT_EQ(Read32(p + 56), 2 * count) << "data size is twice the sample count";
    EXPECT_EQ(size, 60 + 2 * count) << "nothing after the samples";
    if (size != 60 + 2 * count) return samples;
    for (uint32_t i = 0; i < count; ++i) samples.push_back(static_cast<int16_t>(Read16(p + 60 + 2 * i)));
    return samples;
}

// The built program, found from this test's place in the build folder.
std::wstring ProgramPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.erase(path.find_last_of(L"\\/") + 1);
    for (const char* c = PELMORA_FROM_TEST; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

class ProgramImage {
public:
    ProgramImage()
        : module_(LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ProgramImage() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE Module() const { return module_; }

private:
    HMODULE module_;
};

struct Recorded {
    const void* wave;
    UINT flags;
};

struct PlayerRecorder {
    settings::SoundPlayer Player() {
        return [this](const void* wave, UINT flags) {
            plays.push_back({wave, flags});
            return false;  // as on a computer without a sound device
        };
    }
    std::vector<Recorded> plays;
};

const common::DateTime kFeb18{2004, 2, 18, 9, 5, 7};

// Changes one of the user's regional settings and puts it back afterwards.
class UserLocaleSetting {
public:
    UserLocaleSetting(LCTYPE type, const wchar_t* value) : type_(type) {
        wchar_t old[80] = L"";
        GetLocaleInfoW(LOCALE_USER_DEFAULT, type, old, 80);
        old_ = old;
        changed_ = SetLocaleInfoW(LOCALE_USER_DEFAULT, type, value) != FALSE;
    }
    ~UserLocaleSetting() { SetLocaleInfoW(LOCALE_USER_DEFAULT, type_, old_.c_str()); }
    bool Changed() const { return changed_; }

private:
    LCTYPE type_;
    std::wstring old_;
    bool changed_;
};

}  // namespace

TEST(GreetingSound, TheProgramCarriesTheThreeSoundsInTheirLayout) {
    ProgramImage program;
    ASSERT_NE(program.Module(), nullptr) << "cannot open the built program";
    for (Greeting g : kGreetings) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(settings::GreetingResourceName(g))));
        // Raw data, Japanese, found by the upper-case name and by the name the program uses.
        HRSRC japanese = FindResourceExW(program.Module(), RT_RCDATA, settings::GreetingResourceName(g),
                                         MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
        ASSERT_NE(japanese, nullptr);
        HRSRC found = FindResourceW(program.Module(), settings::GreetingResourceName(g), RT_RCDATA);
        ASSERT_EQ(found, japanese);
        std::wstring upper = settings::GreetingResourceName(g);
        for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
        EXPECT_EQ(FindResourceW(program.Module(), upper.c_str(), RT_RCDATA), japanese);

        DWORD size = SizeofResource(program.Module(), found);
        const void* bytes = LockResource(LoadResource(program.Module(), found));
        ASSERT_NE(bytes, nullptr);
        std::vector<int16_t> samples = CheckLayout(bytes, size);
        ASSERT_FALSE(samples.empty());

        // About a second of speech, audible and not clipped.
        double seconds = samples.size() / 8000.0;
        EXPECT_GE(seconds, 0.7);
        EXPECT_LE(seconds, 1.6);
        int peak = 0;
        int fullScale = 0;
        for (int16_t s : samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
            if (s == 32767 || s == -32768) ++fullScale;
        }
        EXPECT_GE(peak, 32767 / 4) << "nearly silent";
        EXPECT_EQ(fullScale, 0) << "clipped";

        // The program plays the same bytes from its own image.
        ASSERT_EQ(settings::GreetingWaveSize(g), size);
        EXPECT_EQ(std::memcmp(settings::GreetingWave(g), bytes, size), 0);
    }
}

TEST(GreetingSound, TheThreeSoundsDiffer) {
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j) {
            DWORD a = settings::GreetingWaveSize(kGreetings[i]), b = settings::GreetingWaveSize(kGreetings[j]);
            EXPECT_FALSE(a == b && std::memcmp(settings::GreetingWave(kGreetings[i]),
                                               settings::GreetingWave(kGreetings[j]), a) == 0);
        }
}

TEST(GreetingSound, PlaysTheResourceBytesWithTheFlagsGiven) {
    PlayerRecorder recorder;
    settings::PlayGreeting(recorder.Player(), Greeting::Hiru, SND_MEMORY | SND_ASYNC);
    settings::PlayGreeting(recorder.Player(), Greeting::Ban, SND_MEMORY);
    settings::PlayGreeting(recorder.Player(), Greeting::Asa, SND_MEMORY);
    ASSERT_EQ(recorder.plays.size(), 3u);
    HRSRC hiru = FindResourceW(ui::App().Instance(), L"VOXAHIRU", RT_RCDATA);
    ASSERT_NE(hiru, nullptr);
    // The bytes of the loaded image itself: they outlive an asynchronous playback.
    EXPECT_EQ(recorder.plays[0].wave, LockResource(LoadResource(ui::App().Instance(), hiru)));
    EXPECT_EQ(recorder.plays[0].flags, 0x0005u);
    EXPECT_EQ(recorder.plays[1].wave, settings::GreetingWave(Greeting::Ban));
    EXPECT_EQ(recorder.plays[1].flags, 0x0004u);
    EXPECT_EQ(recorder.plays[2].wave, settings::GreetingWave(Greeting::Asa));
    EXPECT_EQ(recorder.plays[2].flags, 0x0004u);
}

TEST(LocalClock, JapaneseSettings) {
    ASSERT_EQ(PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())), LANG_JAPANESE) << "tests run with ja_JP";
    EXPECT_EQ(settings::LocalClockText(kFeb18), L"  2004/02/18 ( 水曜日 )  09: 05: 07 ");
}

TEST(LocalClock, WeekdayNamesInTheUsersLanguage) {
    ASSERT_EQ(PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())), LANG_JAPANESE);
    const wchar_t* names[] = {L"日曜日", L"月曜日", L"火曜日", L"水曜日", L"木曜日", L"金曜日", L"土曜日"};
    for (int day = 15; day <= 21; ++day) {
        std::wstring text = settings::LocalClockText({2004, 2, day, 12, 0, 0});
        EXPECT_NE(text.find(std::wstring(L" ( ") + names[day - 15] + L" ) "), std::wstring::npos) << "day " << day;
    }
}

TEST(LocalClock, AChangedDateSeparatorShows) {
    {
        UserLocaleSetting date(LOCALE_SDATE, L"-");
        ASSERT_TRUE(date.Changed());
        EXPECT_EQ(settings::LocalClockText(kFeb18), L"  2004-02-18 ( 水曜日 )  09: 05: 07 ");
    }
    EXPECT_EQ(settings::LocalClockText(kFeb18), L"  2004/02/18 ( 水曜日 )  09: 05: 07 ") << "setting put back";
}

TEST(LocalClock, AChangedTimeSeparatorShows) {
    UserLocaleSetting time(LOCALE_STIME, L".");
    ASSERT_TRUE(time.Changed());
    EXPECT_EQ(settings::LocalClockText(kFeb18), L"  2004/02/18 ( 水曜日 )  09. 05. 07 ");
}
