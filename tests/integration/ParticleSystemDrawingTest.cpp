#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/2d/ParticleSystemQuad.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"

namespace {

using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Image;
using cocos2d::ParticleSystem;
using cocos2d::ParticleSystemQuad;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Vec2;

// Pixels of the last frame in a design rectangle (window 1280 x 810: design points are pixels)
// that are not the black background.
int litPixels(const Rect& design) {
    RefPtr<Image> image = testing::Driver::get().readPixels(
        Rect(design.getMinX(), 810.0f - design.getMaxY(), design.size.width, design.size.height));
    int lit = 0;
    for (int y = 0; image && y < image->getHeight(); ++y) {
        for (int x = 0; x < image->getWidth(); ++x) {
            const Color4B c = image->getPixel(x, y);
            lit += (c.r > 30 || c.g > 30 || c.b > 30) ? 1 : 0;
        }
    }
    return lit;
}

std::string writeDot() {
    std::vector<unsigned char> rgba(16 * 16 * 4, 0);
    for (int i = 0; i < 16 * 16; ++i) {
        rgba[i * 4 + 0] = 255;
        rgba[i * 4 + 3] = 255;
    }
    Image image;
    EXPECT_TRUE(image.initWithRawData(rgba.data(), rgba.size(), 16, 16, false));
    const std::string path = testing::Driver::scratchPath("particles/red_dot.png");
    EXPECT_TRUE(image.saveToFile(path));
    return path;
}

std::string writeParticleFile(const std::string& name, const std::string& entries) {
    const std::string path = testing::Driver::scratchPath("particles/" + name);
    std::ofstream(path) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                           "  <key>texture</key><string>red_dot.png</string>\n"
                        << entries << "</dict>\n</plist>\n";
    return path;
}

class ParticleSystemDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(Color4B(0, 0, 0, 255), 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        std::filesystem::create_directories(testing::Driver::scratchPath("particles"));
        writeDot();
        driver().stepFrames(1);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
    }
    static testing::Driver& driver() { return testing::Driver::get(); }
    cocos2d::Scene* scene = nullptr;
};

TEST_F(ParticleSystemDrawingTest, ASystemFromAFileEmitsThenRemovesItself) {
    const std::string file = writeParticleFile("burst.plist", R"(
  <key>maxParticles</key><integer>40</integer>
  <key>emissionRate</key><real>120</real>
  <key>duration</key><real>0.3</real>
  <key>life</key><real>0.4</real>
  <key>angleVar</key><real>180</real>
  <key>speed</key><real>80</real>
  <key>startSize</key><real>12</real>
  <key>startColor</key><string>{1,1,1,1}</string>
  <key>endColor</key><string>{1,1,1,0.5}</string>
)");
    RefPtr<ParticleSystemQuad> system = ParticleSystemQuad::create(file);
    ASSERT_TRUE(system);
    system->setAutoRemoveOnFinish(true);
    system->setPosition(640, 405);
    scene->addChild(system);
    const Rect around(540, 305, 200, 200);
    driver().stepFrames(10);
    EXPECT_GT(litPixels(around), 200);
    EXPECT_EQ(litPixels(Rect(100, 100, 200, 200)), 0) << "nothing far from the emitter";
    // All particles drawn in one call.
    EXPECT_LE(Director::getInstance()->getRenderer()->getLastFrameStats().drawCalls, 2u);
    driver().stepFrames(50);  // 0.3 s of emission plus 0.4 s of life are over
    EXPECT_EQ(system->getParent(), nullptr);
    EXPECT_EQ(litPixels(around), 0);
}

TEST_F(ParticleSystemDrawingTest, OpacityOfTheSystemAndItsParentsFadesTheParticles) {
    const std::string file = writeParticleFile("steady.plist", R"(
  <key>emissionRate</key><real>60</real>
  <key>life</key><real>5</real>
  <key>speed</key><real>0</real>
  <key>posVar</key><string>{20,20}</string>
  <key>startSize</key><real>16</real>
  <key>endColor</key><string>{1,1,1,1}</string>
)");
    auto* holder = cocos2d::Node::create();
    holder->setCascadeOpacityEnabled(true);
    scene->addChild(holder);
    ParticleSystemQuad* system = ParticleSystemQuad::create(file);
    ASSERT_NE(system, nullptr);
    system->setPosition(640, 405);
    system->setOpacity(0);
    holder->addChild(system);
    driver().stepFrames(20);
    const Rect around(600, 365, 80, 80);
    EXPECT_EQ(litPixels(around), 0) << "opacity 0";
    system->setOpacity(255);
    driver().stepFrames(1);
    EXPECT_GT(litPixels(around), 100);
    holder->setOpacity(0);
    driver().stepFrames(1);
    EXPECT_EQ(litPixels(around), 0) << "a parent with cascading opacity 0";
}

TEST_F(ParticleSystemDrawingTest, AFreeSystemLeavesATrailAndAGroupedOneDoesNot) {
    const std::string file = writeParticleFile("trail.plist", R"(
  <key>maxParticles</key><integer>200</integer>
  <key>emissionRate</key><real>60</real>
  <key>life</key><real>10</real>
  <key>speed</key><real>0</real>
  <key>startSize</key><real>10</real>
  <key>endColor</key><string>{1,1,1,1}</string>
)");
    for (ParticleSystem::PositionType type :
         {ParticleSystem::PositionType::FREE, ParticleSystem::PositionType::GROUPED}) {
        SCOPED_TRACE(static_cast<int>(type));
        scene->removeChildByName("emitter");
        ParticleSystemQuad* system = ParticleSystemQuad::create(file);
        ASSERT_NE(system, nullptr);
        system->setName("emitter");
        system->setPositionType(type);
        system->setPosition(300, 405);
        scene->addChild(system);
        for (int i = 0; i < 60; ++i) {
            system->setPosition(300.0f + i * 10.0f, 405);
            driver().stepFrames(1);
        }
        const int start = litPixels(Rect(290, 395, 40, 20));
        const int end = litPixels(Rect(870, 395, 40, 20));
        EXPECT_GT(end, 50) << "particles at the emitter";
        if (type == ParticleSystem::PositionType::FREE) {
            EXPECT_GT(start, 50) << "the trail stays where it was emitted";
        } else {
            EXPECT_EQ(start, 0) << "grouped particles move with the emitter";
        }
    }
}

TEST_F(ParticleSystemDrawingTest, TheResourceTreesStarBurstRunsInRadiusModeAndFinishes) {
    const std::string file = std::string(KESTROVA_RESOURCE_DIR) + "/res/particles/stars_in_stats.plist";
    if (!cocos2d::FileUtils::getInstance()->isFileExist(file)) {
        GTEST_SKIP() << "the resource tree is not staged in this build";
    }
    // As the level's reward does it: radius mode, a duration, radii 0 to 93, scale 0.5, faded in.
    RefPtr<ParticleSystemQuad> stars = ParticleSystemQuad::create(file);
    ASSERT_TRUE(stars);
    stars->setAutoRemoveOnFinish(true);
    stars->setEmitterMode(ParticleSystem::Mode::RADIUS);
    stars->setDuration(0.5f);
    stars->setStartRadius(0);
    stars->setEndRadius(93);
    stars->setScale(0.5f);
    stars->setPosition(640, 405);
    scene->addChild(stars);
    driver().stepFrames(20);
    EXPECT_GT(litPixels(Rect(590, 355, 100, 100)), 50);
    EXPECT_EQ(litPixels(Rect(100, 100, 100, 100)), 0);
    driver().stepFrames(120);
    EXPECT_EQ(stars->getParent(), nullptr);
}

}  // namespace
