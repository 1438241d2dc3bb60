#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "LookContrast.h"
#include "NodeBoxes.h"
#include "ScreenTestSupport.h"
#include "Settings.h"
#include "UserData.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/scene/Scene.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Sprite.h"

#include "ui/CreditsScreen.h"
#include "ui/GalleryScreen.h"
#include "ui/NodeFromJson.h"

namespace {

using cocos2d::Director;
using cocos2d::Node;
using cocos2d::Vec2;

constexpr int kFramesPerSecond = 60;

// How a credit's letters stand out where the player reads them: the drawn frame against the same frame
// drawn without the credits' labels. The ink is every pixel the label changed that shows the label's
// colour; what lies right around the letters is every pixel two or three pixels from the ink and no
// nearer, whether the label drew it (an outline) or the backdrop did.
struct LetterSurround {
    std::vector<double> contrasts;  // the label's colour against each pixel around its letters
    double spread = 0.0;            // how far those pixels stray from their mean colour (CIELAB, 90th percentile)
    size_t ink = 0;
};

LetterSurround surroundOfLetters(const cocos2d::Image& drawn, const cocos2d::Image& bare,
                                 const cocos2d::Color3B& colour) {
    const int w = drawn.getWidth();
    const int h = drawn.getHeight();
    const unsigned char inkRgb[3] = {colour.r, colour.g, colour.b};
    const testing::Lab inkLab = testing::toLab(inkRgb);
    auto at = [w](const cocos2d::Image& image, int x, int y) { return image.getData() + 4 * (y * w + x); };
    if (bare.getWidth() != w || bare.getHeight() != h || drawn.getData() == nullptr || bare.getData() == nullptr) {
        ADD_FAILURE() << "the two grabs differ in size";
        return {};
    }
    std::vector<char> ink(static_cast<size_t>(w * h), 0);
    LetterSurround look;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = at(drawn, x, y);
            const unsigned char* q = at(bare, x, y);
            const int changed = std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]);
            if (changed > 40 && testing::deltaE(testing::toLab(p), inkLab) < 15.0) {
                ink[static_cast<size_t>(y * w + x)] = 1;
                ++look.ink;
            }
        }
    }
    // Distance to the nearest ink, up to 3 (Chebyshev); 0 on the ink itself.
    auto nearestInk = [&](int x, int y) {
        for (int d = 0; d <= 3; ++d) {
            for (int dy = -d; dy <= d; ++dy) {
                for (int dx = -d; dx <= d; ++dx) {
                    const int u = x + dx;
                    const int v = y + dy;
                    if ((std::abs(dx) == d || std::abs(dy) == d) && u >= 0 && v >= 0 && u < w && v < h &&
                        ink[static_cast<size_t>(v * w + u)]) {
                        return d;
                    }
                }
            }
        }
        return 4;
    };
    std::vector<testing::Lab> around;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int d = nearestInk(x, y);
            if (d == 2 || d == 3) {
                const unsigned char* p = at(drawn, x, y);
                look.contrasts.push_back(testing::contrastRatio(inkRgb, p));
                around.push_back(testing::toLab(p));
            }
        }
    }
    std::sort(look.contrasts.begin(), look.contrasts.end());
    if (!around.empty()) {
        testing::Lab mean;
        for (const testing::Lab& c : around) {
            mean.L += c.L / static_cast<double>(around.size());
            mean.a += c.a / static_cast<double>(around.size());
            mean.b += c.b / static_cast<double>(around.size());
        }
        std::vector<double> off;
        for (const testing::Lab& c : around) {
            off.push_back(testing::deltaE(c, mean));
        }
        std::sort(off.begin(), off.end());
        look.spread = off[off.size() * 9 / 10];
    }
    return look;
}

double percentile(const std::vector<double>& sorted, double share) {
    return sorted.empty() ? 0.0 : sorted[static_cast<size_t>(share * static_cast<double>(sorted.size() - 1))];
}


// Credit texts of our own: both slots on page 1, slot 1 only on page 2, nothing on page 3.
void writeShortCredits(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder / "texts");
    std::ofstream(folder / "texts" / "texts-en.xml")
        << "<texts><ui>"
           "<t id=\"CreditsText11\">First left</t>"
           "<t id=\"CreditsText21\">First right</t>"
           "<t id=\"CreditsText12\">Second left</t>"
           "<t id=\"btn_credits\">Credits</t>"
           "<t id=\"btn_menu\">Back</t>"
           "</ui></texts>";
}

// The credits pushed over a level scene, as the level's options open them, or opened alone.
class CreditsScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path overrides = testing::Driver::scratchPath("credits-texts");
        writeShortCredits(overrides);
        screentest::useStagedResources(overrides.string() + "/");
        TextTable::getInstance().loadTexts("texts", "en", true);
        UserData::getInstance() = UserData{};
        Settings::getInstance().createUser(u"Ann");
        Settings::getInstance().setReturnScreen("game");
        root.open();
    }

    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("CreditsScreen_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
        Director::getInstance()->popToRootScene();
        driver().stepFrames(1);
        Settings::destroyInstance();
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    // A level scene, then the credits over it; the pushes apply at the next safe point.
    void pushLevelAndCredits() {
        level = cocos2d::Scene::create();
        Director::getInstance()->pushScene(level);
        driver().stepFrames(1);
        cocos2d::Scene* scene = cocos2d::Scene::create();
        credits = CreditsScreen::create();
        ASSERT_NE(credits, nullptr);
        scene->addChild(credits);
        Director::getInstance()->pushScene(scene);
        driver().stepFrames(1);
    }

    void seconds(float s) { driver().stepFrames(static_cast<int>(s * kFramesPerSecond + 0.5f)); }

    cocos2d::Label* label(int slot) const {
        return dynamic_cast<cocos2d::Label*>(credits->getHolders().at(slot)->getChildByName("lbl"));
    }

    screentest::WhiteScene root;
    cocos2d::Scene* level = nullptr;
    CreditsScreen* credits = nullptr;
};

TEST_F(CreditsScreenTest, PanelsRestBesideTheirDescribedPlacesAndWaitAcrossTheScreen) {
    pushLevelAndCredits();
    ASSERT_EQ(credits->getHolders().size(), 2u);
    ASSERT_EQ(credits->getPanelPositions().size(), 2u);
    Node* described = NodeFromJson("ui/Map").createNode("Credits");
    ASSERT_NE(described, nullptr);
    const float w = Director::getInstance()->getVisibleSize().width;
    const Vec2 offsets[] = {Vec2(116, 0), Vec2(90, 0)};
    for (int slot = 0; slot < 2; ++slot) {
        Node* panel = credits->getHolders()[slot];
        const CreditsPanelPositions& r = credits->getPanelPositions()[slot];
        const Vec2 place = described->getChildByTag(slot + 1)->getPosition();
        EXPECT_EQ(panel->getTag(), slot + 1);
        EXPECT_FALSE(panel->isVisible());
        EXPECT_EQ(r.shown, place + offsets[slot]);
        const float side = slot == 0 ? 1.0f : -1.0f;
        EXPECT_EQ(r.start, r.shown + Vec2(side * w, 0));
        EXPECT_EQ(r.end, r.shown - Vec2(side * w, 0));
        EXPECT_EQ(r.labelPosition, described->getChildByTag(slot + 1)->getChildByName("lbl")->getPosition());
    }
    // The left panel's decoration is mirrored and its lines sit a little closer.
    EXPECT_FLOAT_EQ(credits->getHolders()[0]->getChildByTag(1)->getScaleX(), 1.0f);
    EXPECT_FLOAT_EQ(credits->getHolders()[1]->getChildByTag(1)->getScaleX(), -1.0f);
    auto* plain = dynamic_cast<cocos2d::Label*>(described->getChildByTag(2)->getChildByName("lbl"));
    EXPECT_NEAR(label(1)->getLineHeight(), 0.9f * plain->getLineHeight(), 1e-3f);
    EXPECT_NEAR(label(0)->getLineHeight(), plain->getLineHeight(), 1e-3f);
}

TEST_F(CreditsScreenTest, PagesFlyInEverySevenSecondsAndTheFirstPageWithoutTextsLeaves) {
    pushLevelAndCredits();
    Director* director = Director::getInstance();
    const ssize_t withCredits = director->getSceneCount();
    seconds(0.9f);
    EXPECT_FALSE(credits->getHolders()[0]->isVisible());
    EXPECT_EQ(credits->getPage(), 1);

    // Page 1 at 1.0 s: both panels fly in from their waiting places and rest 2 s later.
    seconds(0.2f);
    EXPECT_EQ(credits->getPage(), 2);
    for (int slot = 0; slot < 2; ++slot) {
        EXPECT_TRUE(credits->getHolders()[slot]->isVisible()) << slot;
    }
    EXPECT_EQ(label(0)->getString(), "First left");
    EXPECT_EQ(label(1)->getString(), "First right");
    seconds(2.0f);
    for (int slot = 0; slot < 2; ++slot) {
        const CreditsPanelPositions& r = credits->getPanelPositions()[slot];
        EXPECT_LT(credits->getHolders()[slot]->getPosition().distance(r.shown), 1.0f) << slot;
        // The decoration slides off once the panel has arrived.
        Node* decoration = credits->getHolders()[slot]->getChildByTag(1);
        EXPECT_GT(decoration->getPosition().distance(r.decorationPosition), 1.0f) << slot;
    }
    driver().saveScreenshot(testing::Driver::outputPath("CreditsScreen_page1.png"));

    // Page 2 at 8.2 s: the left text only.
    seconds(5.2f);
    EXPECT_EQ(credits->getPage(), 3);
    EXPECT_TRUE(credits->getHolders()[0]->isVisible());
    EXPECT_FALSE(credits->getHolders()[1]->isVisible());
    EXPECT_EQ(label(0)->getString(), "Second left");
    const CreditsPanelPositions& left = credits->getPanelPositions()[0];
    EXPECT_LT(credits->getHolders()[0]->getPosition().distance(left.start), 100.0f);

    // Page 3 at 15.4 s has no text: back into the level.
    seconds(6.9f);
    EXPECT_EQ(director->getSceneCount(), withCredits);
    seconds(0.3f);
    EXPECT_EQ(director->getSceneCount(), withCredits - 1);
    EXPECT_EQ(director->getRunningScene(), level);
}

TEST_F(CreditsScreenTest, ATitleAndAWayBackStayOnTheMapWhilePagesComeAndGo) {
    pushLevelAndCredits();
    struct Signpost {
        const char* name;
        const char* text;
    };
    const Signpost signposts[] = {{"credits_title", "Credits"}, {"credits_back", "Back"}};
    // Before the first page, while it rests, and in the pause after its texts have flown off.
    for (const float wait : {0.5f, 2.5f, 4.5f}) {
        seconds(wait);
        SCOPED_TRACE(credits->getPage());
        for (const Signpost& post : signposts) {
            SCOPED_TRACE(post.name);
            Node* plate = credits->getChildByName(post.name);
            ASSERT_NE(plate, nullptr);
            EXPECT_TRUE(plate->isVisible());
            ASSERT_FALSE(plate->getChildren().empty());
            auto* text = dynamic_cast<cocos2d::Label*>(plate->getChildren().at(0));
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(text->getString(), post.text);
            const cocos2d::Rect box = plate->getBoundingBox();
            const Vec2 low = credits->convertToWorldSpace(box.origin);
            const Vec2 high = credits->convertToWorldSpace(Vec2(box.getMaxX(), box.getMaxY()));
            EXPECT_GE(low.x, 0.0f);
            EXPECT_GE(low.y, 0.0f);
            EXPECT_LE(high.x, 1280.0f);
            EXPECT_LE(high.y, 810.0f);
        }
    }
    EXPECT_EQ(credits->getPage(), 2) << "still the pause before the second page";
    driver().saveScreenshot(testing::Driver::outputPath("CreditsScreen_pause.png"));
}

TEST_F(CreditsScreenTest, ATouchInTheFirstSecondLeavesOnceBackIntoTheLevel) {
    pushLevelAndCredits();
    Director* director = Director::getInstance();
    const ssize_t withCredits = director->getSceneCount();
    // Within the first second, before any panel has shown.
    seconds(0.5f);
    EXPECT_FALSE(credits->getHolders()[0]->isVisible());
    credits->leave();
    driver().tap(Vec2(640, 405));
    driver().tap(Vec2(300, 300));
    driver().stepFrames(2);
    EXPECT_EQ(director->getSceneCount(), withCredits - 1);
    EXPECT_EQ(director->getRunningScene(), level);
    EXPECT_EQ(root.touches, 0);
}

TEST_F(CreditsScreenTest, TheMapAndCloudsDriftAtTheirOwnSpeeds) {
    pushLevelAndCredits();
    cocos2d::Sprite* map = credits->getBackgroundMap();
    cocos2d::Sprite* clouds = credits->getClouds();
    ASSERT_NE(map, nullptr);
    ASSERT_NE(clouds, nullptr);
    const float mapX = map->getTextureRect().origin.x;
    const float cloudsX = clouds->getTextureRect().origin.x;
    seconds(1.0f);
    EXPECT_NEAR(map->getTextureRect().origin.x - mapX, 10.0f, 0.2f);
    EXPECT_NEAR(clouds->getTextureRect().origin.x - cloudsX, 25.0f, 0.5f);
    EXPECT_EQ(map->getAnchorPoint(), Vec2(0, 1));
    EXPECT_EQ(map->getTexture()->getTexParameters().wrapS, 0x2901u);
}

TEST_F(CreditsScreenTest, OutsideTheLevelLeavingFadesToTheGalleryInPlaceOfTheCredits) {
    // The gallery saves when it goes: into this process's own folder.
    ::setenv("XDG_DATA_HOME", testing::Driver::scratchPath("xdg-credits").c_str(), 1);
    Settings::getInstance().setReturnScreen("gallery");
    pushLevelAndCredits();
    Director* director = Director::getInstance();
    const ssize_t withCredits = director->getSceneCount();
    driver().tap(Vec2(640, 405));
    driver().tap(Vec2(300, 300));
    driver().stepFrames(2);
    EXPECT_TRUE(credits->hasLeft());
    seconds(1.2f);
    cocos2d::Scene* running = director->getRunningScene();
    ASSERT_NE(running, nullptr);
    ASSERT_EQ(running->getChildrenCount(), 1);
    EXPECT_NE(dynamic_cast<GalleryScreen*>(running->getChildren().front()), nullptr);
    // Replaced, not pushed: the scene below is still the one under the credits.
    EXPECT_EQ(director->getSceneCount(), withCredits);
}

TEST_F(CreditsScreenTest, OnceTheirDecorationsHaveLeftTheCreditsStillReadOnABackingOfTheirOwn) {
    pushLevelAndCredits();
    // Page 1 comes at 1.0 s; its decorations have slid off by 5.0 s, and the texts drift on until 5.5 s.
    Director* director = Director::getInstance();
    float now = 0.0f;
    for (const float at : {5.05f, 5.25f, 5.45f}) {
        seconds(at - now);
        now = at;
        // The same moment drawn twice, with and without the texts.
        director->pause();
        driver().stepFrames(1);
        std::vector<cocos2d::Rect> boxes;
        std::vector<cocos2d::RefPtr<cocos2d::Image>> drawn;
        for (int slot = 0; slot < 2; ++slot) {
            const cocos2d::Rect box = testing::screenBox(label(slot));
            boxes.emplace_back(box.getMinX(), 810.0f - box.getMaxY(), box.size.width, box.size.height);
            drawn.push_back(driver().readPixels(boxes.back()));
            label(slot)->setVisible(false);
        }
        driver().stepFrames(1);
        for (int slot = 0; slot < 2; ++slot) {
            label(slot)->setVisible(true);
        }
        for (int slot = 0; slot < 2; ++slot) {
            SCOPED_TRACE(std::string("slot ") + std::to_string(slot + 1) + " at " + std::to_string(at) + " s");
            const cocos2d::RefPtr<cocos2d::Image> bare = driver().readPixels(boxes[slot]);
            const LetterSurround look = surroundOfLetters(*drawn[slot], *bare, label(slot)->getDisplayedColor());
            ASSERT_GT(look.ink, 100u) << "the text is on the screen";
            // Right around the letters the colour is the text's own, whether sea, land or a cloud drifts
            // behind them, and the letters stand off from it as far as the accessibility guidelines ask
            // of their best-read text (7:1), fit for lines that move over a moving picture.
            EXPECT_LE(look.spread, 8.0) << "the letters sit on whatever passes behind them";
            EXPECT_GE(percentile(look.contrasts, 0.1), 7.0) << "the letters stand off too little from what lies around them";
        }
        if (at == 5.25f) {
            driver().saveScreenshot(testing::Driver::outputPath("CreditsScreen_bare.png"));
        }
        director->resume();
    }
}

}  // namespace
