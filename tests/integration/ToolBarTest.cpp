#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BoardTestStage.h"
#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLView.h"
#include "engine/scene/Scene.h"
#include "engine/ui/Widget.h"
#include "gameBoard/CBaseState.h"
#include "nodes/RestoreToolSelector.h"
#include "ui/TopLayer.h"
#include "ui/FactoryClasses.h"
#include "ui/FactoryNodeRegistry.h"
#include "ui/NodeFromJson.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Node;
using cocos2d::Vec2;

class ToolBarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        boardtest::useResources();
        boardtest::useTemporaryDataHome("tool-bar");
        registerFactoryClasses();
    }

    void SetUp() override {
        boardtest::freshProfile(5, "USA", "HarborDawn").customCursor = false;
        scene = cocos2d::Scene::create();
        cocos2d::Director::getInstance()->replaceScene(scene);
        NodeFromJson description("ui/Game");
        hud = description.createNode("UI");
        ASSERT_NE(hud, nullptr);
        hud->setPosition(visibleCenter());
        scene->addChild(hud);
        bar = dynamic_cast<RestoreToolSelector*>(hud->getChildByName("RestoreTools"));
        ASSERT_NE(bar, nullptr);
        bar->setOnSelect([this](int tool) { selected.push_back(tool); });
        driver().stepFrames(1);
    }

    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("ToolBar_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                ".png"));
        }
        Settings::destroyInstance();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    // Clicks a button where the player sees it.
    void click(int tag) {
        cocos2d::ui::Widget* button = bar->getButton(tag);
        ASSERT_NE(button, nullptr) << tag;
        const cocos2d::Size size = button->getContentSize();
        driver().tap(button->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)));
        driver().stepFrames(2);
    }

    cocos2d::Scene* scene = nullptr;
    Node* hud = nullptr;
    RestoreToolSelector* bar = nullptr;
    std::vector<int> selected;
};

TEST_F(ToolBarTest, TheDescribedBarHasItsFiveButtonsWithCountersAndGlowsHidden) {
    ASSERT_EQ(bar->getButtonCount(), 5u);
    for (int tag = 1; tag <= 5; ++tag) {
        cocos2d::ui::Widget* button = bar->getButton(tag);
        ASSERT_NE(button, nullptr) << tag;
        EXPECT_EQ(bar->getCount(tag), 0);
        Node* objects = button->getChildByName("objects");
        ASSERT_NE(objects, nullptr);
        EXPECT_FALSE(objects->getChildByTag(1)->isVisible()) << "glow of " << tag;
        EXPECT_FALSE(objects->getChildByName("number")->isVisible());
        EXPECT_FALSE(objects->getChildByName("numberBack")->isVisible());
    }
}

TEST_F(ToolBarTest, ClicksSelectAndASecondClickDeselects) {
    click(3);
    EXPECT_EQ(bar->getCurrent(), 3);
    EXPECT_EQ(bar->getCursorName(), "cursor_tool_3");
    EXPECT_TRUE(bar->isCustomCursorOn());
    EXPECT_FALSE(bar->getButton(3)->isBright());
    click(4);
    EXPECT_EQ(bar->getCurrent(), 4);
    EXPECT_TRUE(bar->getButton(3)->isBright());
    EXPECT_FALSE(bar->getButton(4)->isBright());
    click(4);
    EXPECT_EQ(bar->getCurrent(), 0);
    EXPECT_EQ(bar->getCursorName(), "");
    EXPECT_FALSE(bar->isCustomCursorOn()) << "the player's own choice";
    EXPECT_TRUE(bar->getButton(4)->isBright());
    EXPECT_EQ(selected, (std::vector<int>{3, 4, 0}));
    // The board's request for the spray while the spray is selected deselects it.
    bar->selectTool(1);
    bar->selectTool(1);
    EXPECT_EQ(bar->getCurrent(), 0);
}

TEST_F(ToolBarTest, TheSelectedToolsCursorIsTheOneOnScreen) {
    // The always-on-top layer draws the custom cursor, as the launch installs it.
    cocos2d::RefPtr<TopLayer> layer(TopLayer::create());
    ASSERT_NE(layer, nullptr);
    cocos2d::Director::getInstance()->setNotificationNode(layer.get());
    layer->onEnter();
    cocos2d::GLView* view = cocos2d::Director::getInstance()->getOpenGLView();
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.cursorName = "cursor_0";
    driver().stepFrames(1);

    struct Step {
        bool ownCustomCursor;
        int click;
        bool customShown;
        bool toolCursor;  // the tool's picture rather than the player's own
    };
    // Select the brush, deselect it, with the player's own cursor off and then on.
    for (const Step& s : {Step{false, 3, true, true}, Step{false, 3, false, false},
                          Step{true, 4, true, true}, Step{true, 4, true, false}}) {
        SCOPED_TRACE("click " + std::to_string(s.click) + (s.ownCustomCursor ? ", own cursor on" : ""));
        profile.customCursor = s.ownCustomCursor;
        click(s.click);
        EXPECT_EQ(layer->getCursorLayer()->isVisible(), s.customShown);
        EXPECT_EQ(view->isCursorVisible(), !s.customShown);
        if (s.customShown) {
            ASSERT_NE(layer->getCursorNode(), nullptr);
            // Tool cursors point with their lower-left corner, the player's own with the upper-left.
            EXPECT_EQ(layer->getCursorNode()->getAnchorPoint(), s.toolCursor ? Vec2(0, 0) : Vec2(0, 1));
        }
    }
    EXPECT_EQ(profile.cursorName, "cursor_0") << "the player's choice is not overwritten";

    layer->onExit();
    cocos2d::Director::getInstance()->setNotificationNode(nullptr);
    view->setCursorVisible(true);
}

TEST_F(ToolBarTest, ARestrictionLetsOnlyItsToolAndTheSprayThrough) {
    struct Case {
        int kind;
        int clickTag;
        int expected;
    };
    // Dirt allows the eraser (2); Blot the knife (4).
    for (const Case& c : {Case{1, 4, 0}, Case{1, 3, 0}, Case{1, 2, 2}, Case{1, 1, 1}, Case{2, 4, 4},
                          Case{2, 2, 0}, Case{-1, 5, 5}, Case{7, 5, 5}}) {
        bar->selectTool(bar->getCurrent());  // back to none
        ASSERT_EQ(bar->getCurrent(), 0);
        bar->setAllowedTool(c.kind);
        click(c.clickTag);
        EXPECT_EQ(bar->getCurrent(), c.expected) << "kind " << c.kind << ", click " << c.clickTag;
    }
    EXPECT_EQ(bar->getAllowed(), -1) << "a kind outside 0 to 4 allows any";
}

TEST_F(ToolBarTest, NoClickCountsWhileTheButtonsFlyIn) {
    bar->setHome(Vec2(-40, -300));
    const Vec2 place = bar->getButton(2)->getPosition();
    bar->showTools();
    EXPECT_TRUE(bar->isLocked());
    driver().stepFrames(10);
    bar->onButtonClicked(bar->getButton(2));
    EXPECT_EQ(bar->getCurrent(), 0);
    driver().stepFrames(45);
    EXPECT_FALSE(bar->isLocked());
    EXPECT_NEAR(bar->getButton(2)->getPositionX(), place.x, 0.5);
    EXPECT_NEAR(bar->getButton(2)->getPositionY(), place.y, 0.5);
    EXPECT_NEAR(bar->getButton(2)->getRotation(), 0.0f, 0.01);
    click(2);
    EXPECT_EQ(bar->getCurrent(), 2);

    bar->hideTools();
    driver().stepFrames(60);
    EXPECT_TRUE(bar->isLocked());
    EXPECT_NEAR(bar->getButton(2)->getPositionX(), -40, 0.5);
    EXPECT_NEAR(bar->getButton(2)->getPositionY(), -300, 0.5);
    EXPECT_EQ(bar->getButton(2)->getOpacity(), 0);
}

TEST_F(ToolBarTest, SelectingTheNudgedToolStopsItsJumps) {
    bar->highlightTool(3, 0.2f);
    EXPECT_EQ(bar->getHighlighted(), 3);
    const float x = bar->getButton(3)->getPositionX();
    driver().stepFrames(16);
    EXPECT_LT(bar->getButton(3)->getPositionX(), x - 5) << "jumping left";
    bar->selectTool(2);
    EXPECT_EQ(bar->getHighlighted(), 3) << "another tool does not stop it";
    EXPECT_NE(bar->getActionByTag(RestoreToolSelector::kHighlightTag), nullptr);
    bar->selectTool(3);
    EXPECT_EQ(bar->getHighlighted(), -1);
    EXPECT_EQ(bar->getActionByTag(RestoreToolSelector::kHighlightTag), nullptr);
}

TEST_F(ToolBarTest, OnlyTaggedButtonsAreTakenAndDecorationsMoveUnderThem) {
    const fs::path root = boardtest::privateFolder("tool-bar-ui");
    fs::create_directories(root / "ui" / "ProbeBar");
    std::ofstream(root / "ui" / "ProbeBar" / "ccnode.json") << R"({"nodes": [
      {"name": "bar", "x": 100, "y": 100, "w": 120, "h": 300, "class": "RestoreToolSelector", "nodes": [
        {"name": "backdrop", "x": 0, "y": 0, "w": 120, "h": 300},
        {"name": "plain", "x": 0, "y": 0, "w": 10, "h": 10, "tag": 7},
        {"name": "one", "x": 10, "y": 10, "w": 100, "h": 100, "button": 1, "tag": 1, "nodes": []},
        {"name": "three", "x": 10, "y": 120, "w": 100, "h": 100, "button": 1, "tag": 3, "nodes": []},
        {"name": "deco", "x": 30, "y": 140, "w": 20, "h": 20, "tag": 13},
        {"name": "far", "x": 10, "y": 230, "w": 50, "h": 50, "button": 1, "tag": 12, "nodes": []}
      ]}]})";
    cocos2d::FileUtils::getInstance()->addSearchPath(root.string(), true);
    NodeFromJson description("ui/ProbeBar");
    Node* built = description.createNode("bar");
    auto* probe = dynamic_cast<RestoreToolSelector*>(built);
    ASSERT_NE(probe, nullptr);
    scene->addChild(probe);
    EXPECT_EQ(probe->getButtonCount(), 2u);
    EXPECT_NE(probe->getButton(1), nullptr);
    EXPECT_NE(probe->getButton(3), nullptr);
    EXPECT_EQ(probe->getButton(7), nullptr) << "not a button";
    Node* deco = probe->getButton(3)->getChildByName("deco");
    ASSERT_NE(deco, nullptr) << "moved under its button";
    EXPECT_EQ(deco->getLocalZOrder(), -1);
    EXPECT_EQ(probe->getChildByName("deco"), nullptr);
    // Still where it was on the screen: 40 x 160 from the bar's top-left, in the bar's space.
    const Vec2 world = deco->getParent()->convertToWorldSpace(deco->getPosition());
    const Vec2 expected = probe->convertToWorldSpace(
        NodeFromJson::positionIn(cocos2d::Rect(30, 140, 20, 20), cocos2d::Rect(100, 100, 120, 300)));
    EXPECT_NEAR(world.x, expected.x, 0.01);
    EXPECT_NEAR(world.y, expected.y, 0.01);
    boardtest::useResources();
}

TEST_F(ToolBarTest, TheBoardAndTheBarSelectForEachOther) {
    // As the level screen binds them: the bar's selection gives the board its tool, the board's
    // request after a restored item selects the spray on the bar.
    cocos2d::RefPtr<Node> keep(hud);
    hud->removeFromParent();
    boardtest::Stage stage;
    stage.scene->addChild(hud);
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    bar->setOnSelect([&](int tool) { stage.board->selectTool(tool); });
    stage.board->setOnToolChange([this](int tool, bool) { bar->selectTool(tool); });
    click(1);
    ASSERT_EQ(stage.board->getState()->getToolId(), ToolState::Sray);
    HiddenObject* item = stage.item("rowboat");
    ASSERT_NE(item, nullptr);
    stage.driver().tap(stage.maskPoint(item));
    stage.wait(0.3f);
    ASSERT_EQ(item->getState(), HiddenObjectState::Revealed);
    const int tools[] = {0, 2, 4, 3, 5};
    click(tools[static_cast<int>(item->getKind())]);
    EXPECT_EQ(static_cast<int>(stage.board->getState()->getToolId()),
              tools[static_cast<int>(item->getKind())]);
    for (int pass = 0; pass < 4 && item->getState() == HiddenObjectState::Revealed; ++pass) {
        stage.rub(item, pass % 2 == 0 ? 8.0f : 5.0f);
    }
    ASSERT_EQ(item->getState(), HiddenObjectState::Restored);
    EXPECT_EQ(bar->getCurrent(), 1) << "the spray again";
    EXPECT_EQ(stage.board->getState()->getToolId(), ToolState::Sray);
    // Deselecting leaves the board waiting.
    click(1);
    EXPECT_EQ(bar->getCurrent(), 0);
    EXPECT_EQ(stage.board->getState()->getToolId(), ToolState::Wait);
}

}  // namespace
