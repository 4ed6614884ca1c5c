#include <gtest/gtest.h>

#include <string>

#include "settings/Greeting.h"

using settings::Greeting;

TEST(Greeting, HourBandsCoverTheWholeDay) {
    struct Band {
        int first, last;
        Greeting greeting;
    };
    const Band bands[] = {
        {0, 3, Greeting::Ban},  // night counts as evening
        {4, 11, Greeting::Asa},
        {12, 18, Greeting::Hiru},
        {19, 23, Greeting::Ban},
    };
    int hours = 0;
    for (const Band& band : bands)
        for (int hour = band.first; hour <= band.last; ++hour, ++hours)
            EXPECT_EQ(settings::GreetingForHour(hour), band.greeting) << "hour " << hour;
    EXPECT_EQ(hours, 24);
}

TEST(Greeting, ResourceNames) {
    EXPECT_EQ(std::wstring(settings::GreetingResourceName(Greeting::Asa)), L"VoxaAsa");
    EXPECT_EQ(std::wstring(settings::GreetingResourceName(Greeting::Hiru)), L"VoxaHiru");
    EXPECT_EQ(std::wstring(settings::GreetingResourceName(Greeting::Ban)), L"VoxaBan");
}
