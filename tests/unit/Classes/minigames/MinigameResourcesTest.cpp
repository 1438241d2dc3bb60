#include <gtest/gtest.h>

#include <string>

#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrameCache.h"

#include "minigames/MinigameResources.h"
#include "../../engine/HeadlessEngine.h"
#include "../SaveTestSupport.h"

namespace {

class MinigameResourcesTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        cocos2d::SpriteFrameCache::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        cocos2d::FileUtils::getInstance()->setSearchPaths({"src", "res"});
    }
    void TearDown() override {
        cocos2d::SpriteFrameCache::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
        HeadlessEngine::TearDown();
    }
};

TEST_F(MinigameResourcesTest, ReleasingDropsTheGamesFramesAndImagesAndLogsTheCacheOnce) {
    cocos2d::SpriteFrameCache* frames = cocos2d::SpriteFrameCache::getInstance();
    cocos2d::TextureCache* textures = director()->getTextureCache();
    const std::string folder = "Minigames/ColorMatch";
    frames->addSpriteFramesWithFile(folder + "/Pipes_atlas.xml", folder + "/Pipes_atlas.png");
    ASSERT_NE(textures->addImage(folder + "/background.jpg"), nullptr);
    ASSERT_NE(textures->addImage("Minigames/TwoMatch/painting.png"), nullptr);
    const std::string keep = "Minigames/DropsPuzzle/background.jpg";
    ASSERT_NE(textures->addImage(keep), nullptr);
    ASSERT_NE(frames->getSpriteFrameByName("pipe_3.png"), nullptr);

    savetest::LogCapture log;
    releaseMinigameResources(MinigameResources{folder,
                                               {"Minigames/CM_appear"},
                                               {"/Pipes_atlas.xml"},
                                               {"/Pipes_atlas.png", "/background.jpg", "/not_there.png"},
                                               {"Minigames/TwoMatch/painting.png"}});
    EXPECT_EQ(frames->getSpriteFrameByName("pipe_3.png"), nullptr);
    EXPECT_EQ(textures->getTextureForKey(
                  cocos2d::FileUtils::getInstance()->fullPathForFilename(folder + "/background.jpg")),
              nullptr);
    EXPECT_EQ(textures->getTextureForKey(
                  cocos2d::FileUtils::getInstance()->fullPathForFilename("Minigames/TwoMatch/painting.png")),
              nullptr);
    EXPECT_NE(textures->getTextureForKey(cocos2d::FileUtils::getInstance()->fullPathForFilename(keep)),
              nullptr);
    int afterClear = 0;
    for (const std::string& line : log.lines) {
        afterClear += line.rfind("after clear\n", 0) == 0 ? 1 : 0;
        if (line.rfind("after clear\n", 0) == 0) {
            EXPECT_NE(line.find("DropsPuzzle/background.jpg"), std::string::npos) << line;
            EXPECT_EQ(line.find("ColorMatch/background.jpg"), std::string::npos) << line;
        }
    }
    EXPECT_EQ(afterClear, 1);
}

}  // namespace
