// The flask of the level's HUD on a real GL view: the whole "UI" element of the staged "ui/Game" built
// into a screen node centred on the visible area, as the level screen holds it, with the level
// screen's per-frame call of the flask's update. What is drawn is read back from the frame buffer.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "Driver.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/math/Rect.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"

#include "GameSound.h"
#include "TextTable.h"
#include "gameBoard/FlaskLiquid.h"
#include "ui/FactoryClasses.h"
#include "ui/NodeFromJson.h"

namespace {

using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Node;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Vec2;

const Color4B kBackdrop(40, 40, 48, 255);

struct Mean {
    float r = 0.0f, g = 0.0f, b = 0.0f;
    float distance(const Mean& o) const {
        return std::fabs(r - o.r) + std::fabs(g - o.g) + std::fabs(b - o.b);
    }
};

class FlaskLiquidTest : public ::testing::Test {
protected:
    void SetUp() override {
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        files->setSearchPaths({"src", "res"});
        TextTable::getInstance().loadTexts("texts", "en", true);
        registerFactoryClasses();

        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(kBackdrop, 1280, 810), -10);
        Node* screen = Node::create();
        screen->setPosition(visibleCenter());
        scene->addChild(screen);
        NodeFromJson loader("ui/Game");
        Node* hud = loader.createNode("UI");
        ASSERT_NE(hud, nullptr);
        screen->addChild(hud);
        flask = dynamic_cast<FlaskLiquid*>(hud->getChildByName("dropsProgres"));
        ASSERT_NE(flask, nullptr);
        // The level screen feeds the flask its time while the level runs.
        screen->schedule(
            [this](float dt) {
                if (running) {
                    flask->update(dt);
                }
            },
            "level");
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(2);
    }

    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
        driver().stopCapturingLog();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }
    static void seconds(float s) { driver().stepFrames(static_cast<int>(std::lround(s * 60.0f))); }

    // The filler's box on the window, in pixels from the top-left corner.
    Rect fillerOnWindow() const {
        cocos2d::ProgressTimer* filler = flask->getFiller();
        const Rect box = filler->getBoundingBox();
        const Vec2 low = flask->convertToWorldSpace(box.origin);
        const Vec2 high = flask->convertToWorldSpace(Vec2(box.getMaxX(), box.getMaxY()));
        return Rect(low.x, 810.0f - high.y, high.x - low.x, high.y - low.y);
    }

    // The mean colour of a band of the filler's middle, from `from` to `to` of its height (0 at the
    // bottom).
    Mean band(float from, float to) const {
        const Rect filler = fillerOnWindow();
        const Rect rect(filler.origin.x + filler.size.width * 0.3f,
                        filler.origin.y + filler.size.height * (1.0f - to), filler.size.width * 0.4f,
                        filler.size.height * (to - from));
        RefPtr<cocos2d::Image> image = driver().readPixels(rect);
        Mean mean;
        if (!image) {
            ADD_FAILURE() << "no pixels";
            return mean;
        }
        const int n = image->getWidth() * image->getHeight();
        for (int y = 0; y < image->getHeight(); ++y) {
            for (int x = 0; x < image->getWidth(); ++x) {
                const Color4B c = image->getPixel(x, y);
                mean.r += c.r;
                mean.g += c.g;
                mean.b += c.b;
            }
        }
        mean.r /= n;
        mean.g /= n;
        mean.b /= n;
        return mean;
    }

    cocos2d::Scene* scene = nullptr;
    FlaskLiquid* flask = nullptr;
    bool running = true;
};

TEST_F(FlaskLiquidTest, TheLevelRisesOnStartDrainsAndRunsDryOnce) {
    int reports = 0;
    flask->setOnEmpty([this, &reports] {
        // As the level screen does: the first report ends the level and the clock stops.
        ++reports;
        running = false;
    });
    flask->setup(12, 12, 60.0f);
    const Mean emptyTop = band(0.8f, 0.95f);
    flask->start();
    seconds(0.4f);
    const Mean risingTop = band(0.8f, 0.95f);
    const Mean risingBottom = band(0.05f, 0.2f);
    seconds(0.6f);
    const Mean fullTop = band(0.8f, 0.95f);
    const Mean fullBottom = band(0.05f, 0.2f);
    driver().saveScreenshot(testing::Driver::outputPath("FlaskLiquid_full.png"));
    EXPECT_GT(fullTop.distance(emptyTop), 30.0f) << "the liquid fills the top of a full flask";
    EXPECT_LT(risingTop.distance(emptyTop), 10.0f) << "halfway up the rise the top is still bare";
    EXPECT_LT(risingBottom.distance(fullBottom), 10.0f);

    // Half the drops gone: the liquid stands at half height, its surface riding on it.
    flask->addDrops(-6.0f);
    seconds(0.5f);
    driver().saveScreenshot(testing::Driver::outputPath("FlaskLiquid_half.png"));
    EXPECT_LT(band(0.8f, 0.95f).distance(emptyTop), 10.0f);
    EXPECT_LT(band(0.05f, 0.35f).distance(fullBottom), 10.0f);
    ASSERT_NE(flask->getSurface(), nullptr);
    const float surfaceOnWindow = 810.0f - flask->convertToWorldSpace(flask->getSurface()->getPosition()).y;
    const Rect filler = fillerOnWindow();
    EXPECT_NEAR(surfaceOnWindow, filler.origin.y + filler.size.height * 0.5f, filler.size.height * 0.02f);

    // Run dry: one report, then the filler runs down in 0.9 s.
    for (int i = 0; i < 6; ++i) {
        flask->useDrop();
    }
    EXPECT_EQ(reports, 1);
    seconds(1.0f);
    driver().saveScreenshot(testing::Driver::outputPath("FlaskLiquid_empty.png"));
    EXPECT_LT(band(0.05f, 0.2f).distance(emptyTop), 12.0f) << "nothing left at the bottom either";
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(flask->getSurface()->getChildrenCount(), 0) << "the bubbles have gone with the liquid";
}

TEST_F(FlaskLiquidTest, TheClockRunsTheFlaskDownInItsTime) {
    int reports = 0;
    flask->setOnEmpty([this, &reports] {
        ++reports;
        running = false;
    });
    // A full flask that drains in 6 s.
    flask->setup(4, 4, 6.0f);
    flask->start();
    seconds(0.8f);
    const Mean fullBottom = band(0.05f, 0.2f);
    seconds(3.0f + 1.0f / 60.0f);
    EXPECT_NEAR(flask->getPercent(), 50.0f, 1.0f);
    EXPECT_LT(band(0.05f, 0.35f).distance(fullBottom), 10.0f);
    EXPECT_GT(band(0.7f, 0.9f).distance(fullBottom), 30.0f);
    EXPECT_EQ(flask->getSoundId(), GameSound::getInvalidAudioId()) << "no warning yet";
    seconds(2.5f);
    EXPECT_NE(flask->getSoundId(), GameSound::getInvalidAudioId()) << "below 10 % the warning loops";
    EXPECT_EQ(reports, 0);
    seconds(0.6f);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(flask->getSoundId(), GameSound::getInvalidAudioId());
}

}  // namespace
