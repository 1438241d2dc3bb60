#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/base/Log.h"
#include "engine/platform/Application.h"

namespace {

class NoLaunchApp : public cocos2d::Application {
public:
    bool applicationDidFinishLaunching() override { return false; }
};

TEST(ApplicationTest, LanguageCodeComesFromTheLocaleVariablesInPrecedence) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "de_DE.UTF-8", "de"},
        {nullptr, "fr_FR", "de_DE.UTF-8", "fr"},
        {"uk_UA.UTF-8", "fr_FR", "de_DE", "uk"},
        {"", "", "es", "es"},
        {nullptr, nullptr, "C", "en"},
        {nullptr, nullptr, "C.UTF-8", "en"},
        {nullptr, nullptr, "POSIX", "en"},
        {nullptr, nullptr, "", "en"},
        {nullptr, nullptr, nullptr, "en"},
        {nullptr, nullptr, "NL_nl", "nl"},
        {nullptr, nullptr, "x", "en"},
    };
    NoLaunchApp app;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lang ? c.lang : "(unset)"));
        auto set = [](const char* name, const char* value) {
            if (value) {
                setenv(name, value, 1);
            } else {
                unsetenv(name);
            }
        };
        set("LC_ALL", c.lcAll);
        set("LC_MESSAGES", c.lcMessages);
        set("LANG", c.lang);
        EXPECT_STREQ(app.getCurrentLanguageCode(), c.expected);
    }
    EXPECT_EQ(cocos2d::Application::getInstance(), &app);
}

}  // namespace

namespace {

TEST(ApplicationTest, AFailedLaunchReturnsNonZeroAfterOneClearLine) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::vector<std::string> lines;
    cocos2d::setLogSink([&](cocos2d::LogLevel, const std::string& line) { lines.push_back(line); });
    NoLaunchApp app;
    const int rc = app.run();
    cocos2d::setLogSink({});
    unsetenv("SDL_VIDEODRIVER");
    EXPECT_NE(rc, 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("launch failed"), std::string::npos);
}

}  // namespace
