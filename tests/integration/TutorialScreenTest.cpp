#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Sprite.h"

#include "Profile.h"
#include "Settings.h"
#include "UserData.h"
#include "ui/TutorialScreen.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;
using cocos2d::RefPtr;
using cocos2d::Vec2;

constexpr int kTwoSeconds = 120;

// Tutorial files of our own, in a folder searched before the staged tree.
class TutorialScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        overrides = testing::Driver::scratchPath("tutorial-overrides");
        fs::remove_all(overrides);
        fs::create_directories(fs::path(overrides) / "tutorials");
        write(901,
              "<Items>\n"
              "  <step x=\"100\" y=\"50\" alignx=\"l\" aligny=\"b\" dir=\"u\" textid=\"1\"/>\n"
              "  <step x=\"100\" y=\"50\" alignx=\"r\" aligny=\"t\" dir=\"ld\" textid=\"2\" nofader=\"1\"/>\n"
              "  <step x=\"-30\" y=\"40\" dir=\"c\" textid=\"3\"/>\n"
              "</Items>\n");
        write(902,
              "<Items><a dir=\"l\" textid=\"1\" transparentClick=\"\"/><b dir=\"r\" textid=\"2\"/></Items>");
        write(903, "<Items><step x='1' y='2' alignx='L' aligny='d'/></Items>");
        write(910, "<Items><step x=\"1\" y=\"2\"></Items>");
        write(911, "");
        write(912, "<Steps><step x=\"1\"/></Steps>");
        write(913, std::string("\xEF\xBB\xBF<Items><step x=\"1\"", 18));
    }

    static void write(int number, const std::string& text) {
        std::ofstream(fs::path(overrides) / "tutorials" / ("tutorial_" + std::to_string(number) + ".xml"),
                      std::ios::binary)
            << text;
    }

    void SetUp() override {
        screentest::useStagedResources(overrides);
        screentest::loadEnglishTexts();
        UserData::getInstance() = UserData{};
        Settings::getInstance().createUser(u"Ann");
        white.open();
    }

    // A tutorial shown the way the map shows one: created, shown, then added to the screen at (0, 0)
    // of a layer standing at the centre.
    TutorialScreen* show(int number) {
        holder = cocos2d::Node::create();
        holder->setPosition(640, 405);
        white.scene->addChild(holder);
        TutorialScreen* tutorial = TutorialScreen::create();
        tutorial->showTutorial(number, [this] { ++closed; });
        holder->addChild(tutorial);
        driver().stepFrames(1);
        return tutorial;
    }

    testing::Driver& driver() { return testing::Driver::get(); }
    std::vector<int32_t>& shown() { return Settings::getInstance().getCurrentUser().shownTutorials; }

    static std::string overrides;
    screentest::WhiteScene white;
    cocos2d::Node* holder = nullptr;
    int closed = 0;
};

std::string TutorialScreenTest::overrides;

TEST_F(TutorialScreenTest, StepsShowInOrderOneTapAtATimeAndTheTutorialIsRecorded) {
    const std::vector<std::string>& log = driver().captureLog();
    TutorialScreen* tutorial = show(901);
    EXPECT_EQ(tutorial->getTutorialId(), 901);
    EXPECT_EQ(shown(), std::vector<int32_t>{901});
    ASSERT_EQ(tutorial->getSteps().size(), 3u);
    EXPECT_EQ(tutorial->getCurrentStep(), 0);

    // A tap in the first two seconds is swallowed and does nothing.
    driver().tap(Vec2(640, 405));
    driver().stepFrames(1);
    EXPECT_EQ(tutorial->getCurrentStep(), 0);
    EXPECT_EQ(white.touches, 0);

    for (int step = 1; step <= 2; ++step) {
        driver().stepFrames(kTwoSeconds);
        EXPECT_TRUE(tutorial->isStepReady());
        driver().tap(Vec2(640, 405));
        driver().stepFrames(1);
        EXPECT_EQ(tutorial->getCurrentStep(), step);
        EXPECT_FALSE(tutorial->isStepReady());
        // The dim sprite follows the step: the second step says "nofader".
        EXPECT_EQ(tutorial->getDimBackground()->isVisible(), step != 1) << step;
    }
    driver().stepFrames(30);
    EXPECT_EQ(tutorial->getSteps()[0]->getOpacity(), 0);
    EXPECT_EQ(tutorial->getSteps()[2]->getOpacity(), 255);

    driver().stepFrames(kTwoSeconds);
    driver().tap(Vec2(640, 405));
    driver().stepFrames(3);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(holder->getChildrenCount(), 0);
    EXPECT_TRUE(screentest::hasLine(log, "=== TutorialScreen::~TutorialScreen ==="));
    driver().stopCapturingLog();
    EXPECT_EQ(white.touches, 0);
    driver().tap(Vec2(640, 405));
    driver().stepFrames(1);
    EXPECT_EQ(white.touches, 1);
}

TEST_F(TutorialScreenTest, StepsStandWhereTheirAlignmentsSayAndArrowsTurnByTheirDirection) {
    TutorialScreen* tutorial = show(901);
    const std::vector<cocos2d::Node*>& steps = tutorial->getSteps();
    ASSERT_EQ(steps.size(), 3u);
    // "l"/"b": from the left and bottom edges; "r"/"t": from the right and top, inwards; none: centre.
    EXPECT_EQ(steps[0]->getPosition(), Vec2(100 - 640, 50 - 405));
    EXPECT_EQ(steps[1]->getPosition(), Vec2(640 - 100, 405 - 50));
    EXPECT_EQ(steps[2]->getPosition(), Vec2(-30, 40));
    EXPECT_EQ(steps[0]->getTag(), TutorialScreen::kDimmedStepTag);
    EXPECT_EQ(steps[1]->getTag(), TutorialScreen::kUndimmedStepTag);

    cocos2d::Node* upArrow = steps[0]->getChildByName("tut_arrow");
    EXPECT_FLOAT_EQ(upArrow->getRotation(), 135.0f);
    EXPECT_EQ(upArrow->getAnchorPoint(), Vec2(0, 0));
    EXPECT_EQ(upArrow->getPosition(), Vec2(0, 0));
    EXPECT_EQ(upArrow->getNumberOfRunningActions(), 1);
    auto* upText = dynamic_cast<cocos2d::Label*>(steps[0]->getChildByName("text"));
    ASSERT_NE(upText, nullptr);
    // Tutorial 901 has no texts: the key shows, lower-cased.
    EXPECT_EQ(upText->getString(), "tutorials.tutorial-901_1");
    EXPECT_EQ(upText->getHorizontalAlignment(), cocos2d::TextHAlignment::LEFT);
    EXPECT_LT(upText->getPositionY(), -160.0f);
    EXPECT_FLOAT_EQ(upText->getPositionX(), 0.0f);

    cocos2d::Node* diagonal = steps[1]->getChildByName("tut_arrow");
    EXPECT_FLOAT_EQ(diagonal->getRotation(), 0.0f);
    auto* diagonalText = dynamic_cast<cocos2d::Label*>(steps[1]->getChildByName("text"));
    EXPECT_EQ(diagonalText->getHorizontalAlignment(), cocos2d::TextHAlignment::RIGHT);
    EXPECT_GT(diagonalText->getPositionX(), 90.0f);
    EXPECT_GT(diagonalText->getPositionY(), 90.0f);

    // "c": no arrow, the text where the description puts it.
    EXPECT_FALSE(steps[2]->getChildByName("tut_arrow")->isVisible());
    EXPECT_FALSE(steps[2]->getChildByName("tut_back")->isVisible());
}

TEST_F(TutorialScreenTest, EveryDirectionTurnsTheArrowAsTheTableSays) {
    struct Case {
        const char* dir;
        float rotation;
    };
    const Case cases[] = {{"l", 45},   {"u", 135},  {"r", 225},  {"d", 315}, {"x", 315},
                          {"ld", 0},   {"dl", 0},   {"lu", 90},  {"ul", 90}, {"ru", 180},
                          {"ur", 180}, {"rd", 270}, {"dr", 270}, {"", 270},  {"lr", 270}};
    std::string items = "<Items>";
    for (const Case& c : cases) {
        items += std::string("<s dir=\"") + c.dir + "\" textid=\"1\"/>";
    }
    write(920, items + "</Items>");
    cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    TutorialScreen* tutorial = show(920);
    ASSERT_EQ(tutorial->getSteps().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_FLOAT_EQ(tutorial->getSteps()[i]->getChildByName("tut_arrow")->getRotation(),
                        cases[i].rotation)
            << '"' << cases[i].dir << '"';
    }
}

TEST_F(TutorialScreenTest, ABrokenEmptyOrMissingFileIsLoggedAndClosesAtOnceLeavingNothing) {
    struct Case {
        int number;
        const char* why;
    };
    const Case cases[] = {
        {910, "malformed"}, {911, "empty"}, {912, "no Items root"}, {913, "truncated"}, {999, "missing"}};
    cocos2d::EventDispatcher* dispatcher = Director::getInstance()->getEventDispatcher();
    for (const Case& c : cases) {
        closed = 0;
        shown().clear();
        const size_t listeners = dispatcher->getListenerCount();
        const std::vector<std::string>& log = driver().captureLog();
        // Closed at once, inside showTutorial: the popup is freed as soon as it has run a frame.
        holder = cocos2d::Node::create();
        holder->setPosition(640, 405);
        white.scene->addChild(holder);
        TutorialScreen* tutorial = TutorialScreen::create();
        tutorial->showTutorial(c.number, [this] { ++closed; });
        EXPECT_TRUE(tutorial->getSteps().empty()) << c.why;
        EXPECT_TRUE(tutorial->isClosing()) << c.why;
        EXPECT_EQ(closed, 1) << c.why;
        holder->addChild(tutorial);
        EXPECT_EQ(shown(), std::vector<int32_t>{c.number}) << c.why;
        const std::string start = "Load tutorials/tutorial_" + std::to_string(c.number) + ".xml list: ";
        EXPECT_EQ(screentest::countLinesStartingWith(log, start), 1) << c.why;
        driver().stepFrames(3);
        EXPECT_EQ(holder->getChildrenCount(), 0) << c.why;
        EXPECT_EQ(dispatcher->getListenerCount(), listeners) << c.why;
        EXPECT_TRUE(screentest::hasLine(log, "=== TutorialScreen::~TutorialScreen ===")) << c.why;
        driver().stopCapturingLog();
        holder->removeFromParent();
    }
}

TEST_F(TutorialScreenTest, APassThroughTutorialLetsTapsThroughAndEachTapSchedulesOneAdvance) {
    TutorialScreen* tutorial = show(902);
    EXPECT_FALSE(tutorial->isBlockingTouches());
    EXPECT_FALSE(tutorial->hasCloseSound());
    // Two taps before the step is ready: both reach the scene, and two steps pass once 2 s are up.
    driver().tap(Vec2(640, 405));
    driver().stepFrames(1);
    driver().tap(Vec2(640, 405));
    driver().stepFrames(1);
    EXPECT_EQ(white.touches, 2);
    EXPECT_EQ(tutorial->getCurrentStep(), 0);
    driver().stepFrames(kTwoSeconds + 2);
    EXPECT_EQ(closed, 1);
}

TEST_F(TutorialScreenTest, UnderManualAdvanceTapsPassAndOnlyTheOwnerMovesOn) {
    TutorialScreen* tutorial = show(901);
    tutorial->setManualAdvance(true);
    driver().stepFrames(kTwoSeconds);
    driver().tap(Vec2(640, 405));
    driver().stepFrames(kTwoSeconds);
    EXPECT_EQ(white.touches, 1);
    EXPECT_EQ(tutorial->getCurrentStep(), 0);
    EXPECT_TRUE(tutorial->nextStep());
    EXPECT_TRUE(tutorial->nextStep());
    EXPECT_FALSE(tutorial->nextStep());
    EXPECT_EQ(closed, 1);
    // Asked again after the end: the close callback does not run twice.
    EXPECT_FALSE(tutorial->nextStep());
    EXPECT_EQ(closed, 1);
}

TEST_F(TutorialScreenTest, OnlyExactOneLetterAlignmentsCount) {
    TutorialScreen* tutorial = show(903);
    ASSERT_EQ(tutorial->getSteps().size(), 1u);
    // "L" is not "l": x stays from the centre; "d" is the bottom edge.
    EXPECT_EQ(tutorial->getSteps()[0]->getPosition(), Vec2(1, 2 - 405));
    // No text id: no text and no backing.
    EXPECT_FALSE(tutorial->getSteps()[0]->getChildByName("text")->isVisible());
}

TEST_F(TutorialScreenTest, EveryTutorialOfTheGameHasSteps) {
    const std::string folder = std::string(KESTROVA_RESOURCE_DIR) + "/res/tutorials";
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const int number = std::stoi(name.substr(std::string("tutorial_").size()));
        const std::vector<std::string>& log = driver().captureLog();
        TutorialScreen* tutorial = show(number);
        EXPECT_FALSE(tutorial->getSteps().empty()) << name;
        // Every step's text is in the text table: none shows its key instead.
        for (cocos2d::Node* step : tutorial->getSteps()) {
            auto* text = dynamic_cast<cocos2d::Label*>(step->getChildByName("text"));
            ASSERT_NE(text, nullptr) << name;
            if (text->isVisible()) {
                EXPECT_NE(text->getString().rfind("tutorials.", 0), 0u) << name << ": " << text->getString();
            }
        }
        EXPECT_EQ(screentest::countLinesStartingWith(log, "Load "), 0) << name;
        driver().stopCapturingLog();
        holder->removeFromParent();
        ++files;
    }
    EXPECT_GT(files, 0);
}

}  // namespace
