#include <gtest/gtest.h>

#include <string>

#include "Profile.h"
#include "ui/LoadingScreen.h"

namespace {

TEST(LoadingScreenDestination, TheStoryLevelAndTheNameChooseTheNextScreen) {
    using Destination = LoadingScreen::Destination;
    struct Case {
        int32_t storyLevel;
        std::u16string name;
        Destination expected;
    };
    const Case cases[] = {
        {0, u"Ann", Destination::Map},
        {0, u"", Destination::Map},
        {12, u"", Destination::Map},
        {-1, u"Ann", Destination::Intro},
        {-1, u"", Destination::NewPlayer},
        {-5, u"Bo", Destination::Intro},
        {-2147483647 - 1, u"", Destination::NewPlayer},
    };
    for (const Case& c : cases) {
        Profile profile;
        profile.storyLevel = c.storyLevel;
        profile.name = c.name;
        EXPECT_EQ(LoadingScreen::chooseDestination(profile), c.expected) << c.storyLevel;
    }
    EXPECT_STREQ(LoadingScreen::destinationName(Destination::Map), "map");
    EXPECT_STREQ(LoadingScreen::destinationName(Destination::Intro), "intro");
}

}  // namespace
