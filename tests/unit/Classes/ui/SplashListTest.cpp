// The splash list's times: a time an image could mean is taken; any other is refused with one line
// naming the file, the image and the value, and the image then stays as long as one without a time.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "engine/base/RefPtr.h"

#include "ui/SplashScreen.h"

namespace {

class SplashListTest : public uitest::UiFixture {};

TEST_F(SplashListTest, ATimeOutOfRangeIsRefusedWithOneLineAndReadAsMissing) {
    struct Case {
        const char* time;
        float seconds;
        bool refused;
    };
    const std::vector<Case> cases = {
        {"2.5", 2.5f, false}, {"0", 0.0f, false},   {"60", 60.0f, false}, {"60.5", 0.0f, true},
        {"-1", 0.0f, true},   {"1e39", 0.0f, true}, {"inf", 0.0f, true},  {"nan", 0.0f, true},
    };
    std::string list = "<Document>";
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string file = "image" + std::to_string(i) + ".png";
        writeImage("splash/" + file, 8, 8, cocos2d::Color4B(10, 20, 30, 255));
        list += "<img filename=\"" + file + "\" timeToShow=\"" + cases[i].time + "\"/>";
    }
    write(SplashScreen::kSplashListPath, list + "</Document>");
    captureLog();
    cocos2d::RefPtr<SplashScreen> screen(SplashScreen::create());
    ASSERT_TRUE(screen);
    ASSERT_EQ(screen->getEntries().size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.time);
        EXPECT_FLOAT_EQ(screen->getEntries()[i].timeToShow, c.seconds);
        const std::string line = "splash/splashdata.xml: image \"image" + std::to_string(i) +
                                 ".png\": timeToShow=\"" + c.time + "\" is out of range (0 to 60); not used";
        EXPECT_EQ(logCount(line), c.refused ? 1 : 0);
    }
    EXPECT_EQ(logCount("out of range"), 5);
}

}  // namespace
