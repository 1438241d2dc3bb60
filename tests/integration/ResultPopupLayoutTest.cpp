// The level result popup as the player watches it: the reward badge waits in plain sight while the
// statistics count, and once they have flown into it, it stands where they were. Pictures of both
// moments are left under the test output folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "BoardTestStage.h"
#include "Driver.h"
#include "NodeBoxes.h"
#include "PictureProgress.h"
#include "ScreenTestSupport.h"
#include "Settings.h"
#include "engine/base/Director.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "nodes/LevelStatistic.h"
#include "ui/FactoryClasses.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"

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

TEST(ResultPopupLayoutTest, TheBadgeWaitsInPlainSightAndThenTakesTheStatisticsPlace) {
    boardtest::useResources();
    boardtest::useTemporaryDataHome("result-popup");
    registerFactoryClasses();
    screentest::loadEnglishTexts();
    Profile& profile = boardtest::freshProfile(5, "USA", "HarborDawn");
    Settings::getInstance().initNewProfile(profile);
    profile.storyLevel = 5;
    profile.currentPicture = PictureKey{"USA", "HarborDawn"};
    PictureProgress& record = profile.world.pictures["HarborDawn"];
    record.path = "HarborDawn";
    record.dropsUsed = 14;
    record.restoredCount = 6;
    record.flies = 2;
    record.time = 75.5f;

    cocos2d::Scene* scene = cocos2d::Scene::create();
    Node* screen = Node::create();
    screen->setPosition(visibleCenter());
    scene->addChild(screen);
    PopupScreenBase* container = PopupScreenBase::create();
    ASSERT_NE(container, nullptr);
    screen->addChild(container);
    NodeFromJson description("ui/LevelStatistic");
    auto* panel = dynamic_cast<LevelStatistic*>(description.createNode("LevelStatistic"));
    ASSERT_NE(panel, nullptr);
    container->addChild(panel);
    cocos2d::Director::getInstance()->replaceScene(scene);
    driver().stepFrames(1);

    Rect lines;
    bool first = true;
    for (const char* name : {"drops", "items", "defects", "flies", "time"}) {
        Node* line = panel->getChildByName(name);
        ASSERT_NE(line, nullptr) << name;
        lines = first ? shownBox(line) : lines.unionWithRect(shownBox(line));
        first = false;
    }
    Node* stars = panel->getChildByName("statStars");
    Node* badge = panel->getChildByName("reward");
    ASSERT_TRUE(stars != nullptr && badge != nullptr);
    const Rect starSlots = shownBox(stars);

    panel->show("HarborDawn", 120);
    panel->moveStars();
    driver().stepFrames(60);
    driver().saveScreenshot(testing::Driver::outputPath("ResultPopup_waiting.png"));
    const Rect waiting = shownBox(badge);
    EXPECT_FALSE(overlaps(waiting, starSlots)) << "the waiting badge hides behind the star slots";
    EXPECT_FALSE(overlaps(waiting, lines)) << "the waiting badge covers the statistics it waits for";

    // The lines fly at 3.0 s and the badge springs to its place at 3.2 s.
    driver().stepFrames(3 * 60);
    driver().saveScreenshot(testing::Driver::outputPath("ResultPopup_counted.png"));
    const Rect placed = shownBox(badge);
    const Vec2 centre(placed.getMidX(), placed.getMidY());
    EXPECT_TRUE(lines.containsPoint(centre))
        << "the badge (" << centre.x << ", " << centre.y << ") leaves the statistics' place empty";

    cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
    driver().stepFrames(2);
    Settings::destroyInstance();
}

}  // namespace
