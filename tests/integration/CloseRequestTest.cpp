#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/platform/Application.h"
#include "engine/scene/Scene.h"

namespace {

using cocos2d::Director;

class QuietApp : public cocos2d::Application {
public:
    bool applicationDidFinishLaunching() override { return true; }
    void onCloseRequest() override { ++closeRequests; }
    int closeRequests = 0;
};

// Its own binary: the close ends the director and takes the view with it.
TEST(CloseRequestTest, ACloseTheHookDoesNotDiscardEndsTheLoopAtTheEndOfTheFrame) {
    auto& driver = testing::Driver::get();
    QuietApp app;
    ASSERT_TRUE(driver.launch(app));
    Director::getInstance()->runWithScene(cocos2d::Scene::create());
    driver.stepFrames(1);
    driver.closeRequest();
    driver.stepFrames(1);
    EXPECT_EQ(app.closeRequests, 1);
    EXPECT_TRUE(Director::getInstance()->hasEnded());
    EXPECT_EQ(Director::getInstance()->getRunningScene(), nullptr);
    EXPECT_EQ(Director::getInstance()->getOpenGLView(), nullptr);
}

}  // namespace
