#include <gtest/gtest.h>

#include <csignal>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/platform/Application.h"
#include "engine/scene/Scene.h"

namespace {

using cocos2d::Director;

class RecordingApp : public cocos2d::Application {
public:
    bool applicationDidFinishLaunching() override { return true; }
    void applicationDidEnterBackground() override { ++backgroundCalls; }
    void onCloseRequest() override { ++closeRequests; }
    int backgroundCalls = 0;
    int closeRequests = 0;
};

// Its own binary: the signal ends the director. A logout or Ctrl+C must save (the background hook)
// and end, never wait on a close confirmation nobody sees.
TEST(TerminationSignalTest, SigtermRunsTheBackgroundHookOnceAndEndsTheLoop) {
    auto& driver = testing::Driver::get();
    RecordingApp app;
    ASSERT_TRUE(driver.launch(app));
    Director::getInstance()->runWithScene(cocos2d::Scene::create());
    driver.stepFrames(1);
    ASSERT_EQ(std::raise(SIGTERM), 0);
    driver.stepFrames(2);
    EXPECT_EQ(app.backgroundCalls, 1);
    EXPECT_EQ(app.closeRequests, 0);
    EXPECT_TRUE(Director::getInstance()->hasEnded());
}

}  // namespace
