// Every tutorial arrow on the screen it is shown on: its tip lies inside the node it talks about,
// and its text stays clear of every other text on that screen. A picture of each step is left
// under the test output folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "BoardTestStage.h"
#include "Driver.h"
#include "NodeBoxes.h"
#include "GalleryTestStage.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"

#include "CountryProgress.h"
#include "DataPackReader.h"
#include "GameSound.h"
#include "Profile.h"
#include "ProgressQueries.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/GameTutorialsLayer.h"
#include "nodes/LevelNode.h"
#include "ui/ChatScreen.h"
#include "ui/Controls/ScrollViewSnap.h"
#include "ui/FactoryClasses.h"
#include "ui/GalleryScreen.h"
#include "ui/GameScreen.h"
#include "ui/MapScreen.h"
#include "ui/TopLayer.h"
#include "ui/TutorialScreen.h"

namespace {

using testing::screenBox;
using testing::shownBox;
using testing::overlaps;

using cocos2d::Node;
using cocos2d::Rect;
using cocos2d::Vec2;

testing::Driver& driver() {
    return testing::Driver::get();
}

std::string describe(const Rect& r) {
    std::ostringstream out;
    out << "(" << r.getMinX() << ", " << r.getMinY() << ") - (" << r.getMaxX() << ", " << r.getMaxY() << ")";
    return out.str();
}

Node* findNamed(Node* root, const std::string& name) {
    if (root == nullptr) {
        return nullptr;
    }
    if (root->getName() == name) {
        return root;
    }
    for (Node* child : root->getChildren()) {
        if (Node* found = findNamed(child, name)) {
            return found;
        }
    }
    return nullptr;
}

// What the player reads on the screen: every visible label with a text, and the curator's speech
// bubbles, whose text would be covered.
void collectTexts(Node* node, const Node* skip, std::vector<std::pair<std::string, Rect>>& out) {
    if (node == skip || !node->isVisible() || node->getDisplayedOpacity() == 0) {
        return;
    }
    if (auto* label = dynamic_cast<cocos2d::Label*>(node)) {
        if (!label->getString().empty()) {
            out.emplace_back("label '" + label->getString().substr(0, 40) + "'", screenBox(label));
        }
    } else if (node->getName() == "bubble") {
        out.emplace_back("speech bubble", screenBox(node));
    }
    for (Node* child : node->getChildren()) {
        collectTexts(child, skip, out);
    }
}

// One step of a tutorial and the node its arrow is about.
struct ArrowCase {
    int tutorial;
    int step;
    const char* target;
};

// Shows the tutorial on the screen, steps to the case's step, and checks the arrow and its text.
void checkArrow(Node* screen, TutorialScreen* tutorial, const ArrowCase& c,
                const std::function<Node*()>& target, const std::string& shotName) {
    SCOPED_TRACE("tutorial " + std::to_string(c.tutorial) + " step " + std::to_string(c.step + 1) + " -> " +
                 c.target);
    ASSERT_NE(tutorial, nullptr);
    while (tutorial->getCurrentStep() < c.step) {
        ASSERT_TRUE(tutorial->nextStep());
    }
    driver().stepFrames(45);
    driver().saveScreenshot(testing::Driver::outputPath(shotName + ".png"));

    ASSERT_LT(static_cast<size_t>(c.step), tutorial->getSteps().size());
    Node* step = tutorial->getSteps()[static_cast<size_t>(c.step)];
    Node* arrow = step->getChildByName("tut_arrow");
    ASSERT_NE(arrow, nullptr);
    ASSERT_TRUE(arrow->isVisible()) << "the step has no arrow";
    const Vec2 tip = arrow->convertToWorldSpace(Vec2(0, 0));

    Node* about = target();
    ASSERT_NE(about, nullptr) << "no node '" << c.target << "' on the screen";
    const Rect box = shownBox(about);
    EXPECT_TRUE(box.containsPoint(tip)) << "the arrow's tip (" << tip.x << ", " << tip.y << ") is outside "
                                        << c.target << " " << describe(box);

    auto* text = dynamic_cast<cocos2d::Label*>(step->getChildByName("text"));
    ASSERT_NE(text, nullptr);
    const Rect textBox = screenBox(text);
    const Rect visible(0, 0, 1280, 810);
    EXPECT_TRUE(visible.containsPoint(Vec2(textBox.getMinX(), textBox.getMinY())) &&
                visible.containsPoint(Vec2(textBox.getMaxX(), textBox.getMaxY())))
        << "the text " << describe(textBox) << " runs off the screen";
    std::vector<std::pair<std::string, Rect>> others;
    collectTexts(cocos2d::Director::getInstance()->getRunningScene(), tutorial, others);
    (void)screen;
    for (const auto& [what, other] : others) {
        EXPECT_FALSE(overlaps(textBox, other))
            << "the text " << describe(textBox) << " covers the " << what << " " << describe(other);
    }
}

TutorialScreen* showOn(Node* screen, int number) {
    TutorialScreen* tutorial = TutorialScreen::create();
    if (tutorial != nullptr) {
        tutorial->showTutorial(number, [] {});
        screen->addChild(tutorial);
        driver().stepFrames(2);
    }
    return tutorial;
}

// ---------------------------------------------------------------------------------------------

class MapTutorialArrowTest : public ::testing::Test {
protected:
    void SetUp() override {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        TextTable::getInstance().loadTexts("Scenes", "en", false);
        registerFactoryClasses();
        ::setenv("XDG_DATA_HOME", testing::Driver::scratchPath("xdg-arrows-map").c_str(), 1);
        UserData::getInstance() = UserData{};
        GameSound::destroyInstance();
        Settings& settings = Settings::getInstance();
        settings.createUser(u"Ann");
        Profile& ann = settings.getCurrentUser();
        DataPackReader::getInstance().load("Scenes", "en", ann);
        ann.storyLevel = 0;
        ann.shownTutorials.push_back(MapScreen::kMapTutorial);
        ann.currentPicture = PictureKey{"USA", "HarborDawn"};
        setCountryState("USA", static_cast<int>(CountryState::Opened));
    }

    void TearDown() override {
        cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        Settings::destroyInstance();
    }
};

TEST_F(MapTutorialArrowTest, TheMapTutorialPointsAtTheUnitedStatesMedallion) {
    const ArrowCase c{MapScreen::kMapTutorial, 1, "USA_icon"};
    cocos2d::Scene* scene = cocos2d::Scene::create();
    MapScreen* map = MapScreen::create();
    ASSERT_NE(map, nullptr);
    scene->addChild(map);
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(1.0f, scene));
    driver().stepFrames(70);
    checkArrow(
        map, showOn(map, c.tutorial), c, [map] { return findNamed(map, "USA_icon"); },
        "TutorialArrows_map_10_2");
}

// ---------------------------------------------------------------------------------------------

class GalleryTutorialArrowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gallerytest::useResources("arrows-gallery"); }

    void SetUp() override {
        Profile& profile = gallerytest::freshPlayer("USA");
        profile.storyLevel = 0;
        DataPackReader::getInstance().load("Scenes", "en", profile);
        profile.shownTutorials = {11, 12, 13, 14, 15, 16};
        unlockCountry("USA");
        setCountryState("USA", static_cast<int32_t>(CountryState::Opened));
        profile.currentPicture = PictureKey{"USA", "HarborDawn"};
    }

    void TearDown() override {
        gallerytest::openScene();
        driver().stepFrames(1);
        Settings::destroyInstance();
    }

    GalleryScreen* open() {
        cocos2d::Scene* scene = cocos2d::Scene::create();
        GalleryScreen* gallery = GalleryScreen::create();
        if (gallery == nullptr) {
            return nullptr;
        }
        scene->addChild(gallery);
        cocos2d::Director::getInstance()->replaceScene(scene);
        driver().stepFrames(90);
        return gallery;
    }
};

TEST_F(GalleryTutorialArrowTest, EveryGalleryTutorialPointsAtWhatItTalksAbout) {
    // The frame on the centre is the first picture, the one to its right the next, still locked.
    auto frame = [](GalleryScreen* g, size_t index) -> Node* {
        const std::vector<Node*> items = g->getPictureList()->getItems();
        return index < items.size() ? items[index] : nullptr;
    };
    const ArrowCase cases[] = {
        {11, 0, "first picture"}, {11, 1, "progres"},       {12, 0, "second picture"},
        {13, 0, "Cabinet"},       {14, 0, "first picture"}, {15, 0, "Statistics"},
        {16, 0, "Map"},
    };
    for (const ArrowCase& c : cases) {
        GalleryScreen* gallery = open();
        ASSERT_NE(gallery, nullptr);
        if (c.tutorial == 15 || c.tutorial == 16) {
            // The museum's hint and a museum result bring the curator's message up with the tutorial.
            Node* place = gallery->getUiRoot()->getChildByName("chat_place");
            ASSERT_NE(place, nullptr);
            ChatScreen* chat = ChatScreen::create();
            ASSERT_NE(chat, nullptr);
            chat->showMessage("tutorials.tutorial-15_1", false);
            place->addChild(chat);
        }
        const std::string target = c.target;
        auto find = [gallery, target, frame]() -> Node* {
            if (target == "first picture") {
                return frame(gallery, 0);
            }
            if (target == "second picture") {
                return frame(gallery, 1);
            }
            return findNamed(gallery->getUiRoot(), target);
        };
        checkArrow(gallery, showOn(gallery, c.tutorial), c, find,
                   "TutorialArrows_gallery_" + std::to_string(c.tutorial) + "_" + std::to_string(c.step + 1));
    }
}

// ---------------------------------------------------------------------------------------------

class LevelTutorialArrowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        boardtest::useResources();
        boardtest::useTemporaryDataHome("arrows-level");
        registerFactoryClasses();
    }

    void SetUp() override {
        std::srand(11);
        screentest::loadEnglishTexts();
        top = TopLayer::create();
        ASSERT_NE(top, nullptr);
        cocos2d::Director::getInstance()->setNotificationNode(top);
        top->onEnter();
    }

    void TearDown() override {
        cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        top->onExit();
        cocos2d::Director::getInstance()->setNotificationNode(nullptr);
        Settings::destroyInstance();
        GameSound::destroyInstance();
    }

    GameScreen* open(int storyLevel, const std::string& country, const std::string& picture) {
        Profile& profile = boardtest::freshProfile(storyLevel, country, picture);
        Settings::getInstance().initNewProfile(profile);
        profile.storyLevel = storyLevel;
        profile.currentPicture = PictureKey{country, picture};
        profile.customCursor = false;
        cocos2d::Scene* scene = cocos2d::Scene::create();
        GameScreen* screen = GameScreen::create();
        if (screen == nullptr) {
            return nullptr;
        }
        scene->addChild(screen);
        cocos2d::Director::getInstance()->replaceScene(scene);
        driver().stepFrames(100);
        return screen;
    }

    TopLayer* top = nullptr;
};

TEST_F(LevelTutorialArrowTest, EveryLevelTutorialPointsAtItsToolButtonOrItem) {
    const ArrowCase cases[] = {
        {1, 0, "spray"}, {1, 1, "kestrova"}, {2, 0, "knife"},  {3, 0, "brush"},       {4, 0, "eraser"},
        {6, 0, "spray"}, {7, 0, "HintBtn"},  {9, 0, "needle"}, {41, 0, "paletteBtn"},
    };
    for (const ArrowCase& c : cases) {
        GameScreen* screen = open(-1, "demo", "");
        ASSERT_NE(screen, nullptr);
        GameTutorialsLayer* layer = screen->getTutorials();
        ASSERT_NE(layer, nullptr);
        // The intro opens its first tutorial by itself; the others are shown where the level would.
        TutorialScreen* tutorial = layer->getOpenTutorial();
        if (c.tutorial != 1) {
            layer->onLevelFinished();
            driver().stepFrames(2);
            tutorial = showOn(layer, c.tutorial);
        }
        if (c.tutorial == 41) {
            // The finish tutorial comes with the curator's praise in the score panel.
            Node* place = screen->getHudRoot()->getChildByTag(1)->getChildByName("chat_place");
            ASSERT_NE(place, nullptr);
            ChatScreen* chat = ChatScreen::create();
            ASSERT_NE(chat, nullptr);
            chat->showMessage("tutorials.tutorial-40_1", false);
            chat->removeDimBackground();
            place->addChild(chat);
        }
        const std::string target = c.target;
        auto find = [screen, target]() -> Node* {
            if (Node* item = findNamed(screen->getBoard()->getNodeLevel(), target)) {
                return item;
            }
            return findNamed(screen->getHudRoot(), target);
        };
        checkArrow(screen, tutorial, c, find,
                   "TutorialArrows_level_" + std::to_string(c.tutorial) + "_" + std::to_string(c.step + 1));
    }
}

}  // namespace
