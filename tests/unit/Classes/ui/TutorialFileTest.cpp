// A tutorial's steps point at spots on the screen: a step whose numbers put its point off the screen
// (huge, negative where an edge is measured from, not a number) is still built as before, and one
// line names the file, the step and its numbers, so that a step nobody sees is not missing unsaid.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Scene.h"

#include "ui/TutorialScreen.h"

namespace {

class TutorialFileTest : public uitest::UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        // The popup's own look comes from the staged tree, behind the test's files.
        cocos2d::FileUtils::getInstance()->setSearchPaths({std::string(KESTROVA_RESOURCE_DIR) + "/res/"});
    }

    // Shows tutorial 1 and gives the number of steps it built.
    size_t show() {
        cocos2d::RefPtr<cocos2d::Scene> scene(cocos2d::Scene::create());
        cocos2d::RefPtr<TutorialScreen> popup(TutorialScreen::create());
        scene->addChild(popup.get());
        popup->showTutorial(1, {});
        return popup->getSteps().size();
    }
};

TEST_F(TutorialFileTest, AStepPointingOffTheScreenIsBuiltAndToldInOneLine) {
    struct Case {
        const char* attributes;
        bool off;
    };
    // The screen is 1280 x 810; "l", "r", "t" and "b" measure from an edge, anything else from the centre.
    const std::vector<Case> cases = {
        {R"(x="0" y="0" alignx="l" aligny="t")", false},
        {R"(x="1280" y="810" alignx="l" aligny="t")", false},
        {R"(x="-640" y="-405")", false},
        {R"(x="115" y="618" alignx="r" aligny="t")", false},
        {R"(x="-1" y="10" alignx="l" aligny="t")", true},
        {R"(x="10" y="-20" alignx="r" aligny="b")", true},
        {R"(x="641" y="0")", true},
        {R"(x="0" y="1e39")", true},
        {R"(x="nan" y="0")", true},
        {R"(x="99999999999" y="5" alignx="l")", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        write(TutorialScreen::tutorialPath(1),
              std::string("<Items><step dir=\"d\" textid=\"1\" ") + c.attributes + "/></Items>");
        captureLog();
        EXPECT_EQ(show(), 1u);
        EXPECT_EQ(logCount("Load tutorials/tutorial_1.xml list: step 1 points outside the screen (x \""),
                  c.off ? 1 : 0);
    }
}

TEST_F(TutorialFileTest, EveryStepOfTheGamesTutorialsIsOnTheScreen) {
    int checked = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(KESTROVA_RESOURCE_DIR) + "/res/tutorials")) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream file(entry.path(), std::ios::binary);
        write(TutorialScreen::tutorialPath(1),
              std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
        captureLog();
        EXPECT_GT(show(), 0u);
        EXPECT_EQ(logCount("points outside the screen"), 0);
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

}  // namespace
