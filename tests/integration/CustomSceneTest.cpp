#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "Driver.h"
#include "FrameWaits.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/TextureCache.h"

#include "ui/CustomScene.h"
#include "ui/SceneLoadingDelegate.h"

namespace {

using cocos2d::Director;
using cocos2d::RefPtr;

std::string solidPng(const std::string& name, int size) {
    std::vector<unsigned char> rgba(static_cast<size_t>(size) * size * 4, 180);
    cocos2d::Image image;
    EXPECT_TRUE(image.initWithRawData(rgba.data(), rgba.size(), size, size, false));
    const std::string path = testing::Driver::scratchPath(name);
    EXPECT_TRUE(image.saveToFile(path));
    return path;
}

// A scene that counts its finish hook, as the slideshow scene builds its content there.
class CountingScene : public CustomScene {
public:
    static CountingScene* create() {
        auto* scene = new (std::nothrow) CountingScene();
        if (scene != nullptr && scene->init()) {
            scene->autorelease();
            return scene;
        }
        delete scene;
        return nullptr;
    }
    void onPreloadFinished() override {
        ++finished;
        progressAtFinish = reported ? *reported : std::vector<float>{};
        CustomScene::onPreloadFinished();
    }
    int finished = 0;
    const std::vector<float>* reported = nullptr;
    std::vector<float> progressAtFinish;
};

class RecordingDelegate : public SceneLoadingDelegate {
public:
    void onLoadingProgress(float progress) override { progress_.push_back(progress); }
    std::vector<float> progress_;
};

class CustomSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        Director::getInstance()->getTextureCache()->removeAllTextures();
        scene = CountingScene::create();
        scene->reported = &delegate.progress_;
    }

    // The decoder runs on its own thread: frames until every request has come back, and two more.
    void stepUntilIdle() { testing::settleFrames(2); }

    RefPtr<CountingScene> scene;
    RecordingDelegate delegate;
};

TEST_F(CustomSceneTest, ThreeTexturesReportAThirdEachThenFinishOnce) {
    for (const char* name : {"preload_a.png", "preload_b.png", "preload_c.png"}) {
        scene->getTextures().push_back(solidPng(name, 8));
    }
    const std::vector<std::string>& log = testing::Driver::get().captureLog();
    EXPECT_EQ(scene->preloadTextures(&delegate), scene.get());
    EXPECT_TRUE(scene->isLoading());
    // The loads run in the background: nothing is reported inside the call.
    EXPECT_TRUE(delegate.progress_.empty());
    EXPECT_EQ(scene->finished, 0);
    stepUntilIdle();

    ASSERT_EQ(delegate.progress_.size(), 3u);
    EXPECT_FLOAT_EQ(delegate.progress_[0], 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(delegate.progress_[1], 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(delegate.progress_[2], 1.0f);
    EXPECT_EQ(scene->finished, 1);
    EXPECT_EQ(scene->progressAtFinish.size(), 3u);
    EXPECT_FALSE(scene->isLoading());
    for (const std::string& path : scene->getTextures()) {
        EXPECT_NE(Director::getInstance()->getTextureCache()->getTextureForKey(path), nullptr) << path;
    }
    // One request at a time, each logged before it goes out and when it is back.
    std::vector<std::string> mine;
    for (const std::string& line : log) {
        if (line.rfind("... load '", 0) == 0 || line.rfind("+ loaded '", 0) == 0) {
            mine.push_back(line.substr(0, 10));
        }
    }
    testing::Driver::get().stopCapturingLog();
    EXPECT_EQ(mine, (std::vector<std::string>{"... load '", "+ loaded '", "... load '", "+ loaded '",
                                              "... load '", "+ loaded '"}));
}

TEST_F(CustomSceneTest, AnEmptyListOrNoDelegateFinishesAtOnce) {
    scene->preloadTextures(&delegate);
    EXPECT_EQ(scene->finished, 1);
    EXPECT_TRUE(delegate.progress_.empty());

    RefPtr<CountingScene> other = CountingScene::create();
    other->getTextures().push_back(solidPng("preload_unused.png", 8));
    other->preloadTextures(nullptr);
    EXPECT_EQ(other->finished, 1);
    EXPECT_FALSE(other->isLoading());
    EXPECT_EQ(Director::getInstance()->getTextureCache()->pendingAsyncLoads(), 0u);
    stepUntilIdle();
    EXPECT_EQ(other->finished, 1);
}

TEST_F(CustomSceneTest, AnImageThatFailsToLoadStillCountsSoTheListEnds) {
    scene->getTextures().push_back(solidPng("preload_ok.png", 8));
    scene->getTextures().push_back(testing::Driver::scratchPath("preload_missing.png"));
    scene->getTextures().push_back("Sheet/frame_name");
    scene->preloadTextures(&delegate);
    stepUntilIdle();
    ASSERT_EQ(delegate.progress_.size(), 3u);
    EXPECT_FLOAT_EQ(delegate.progress_.back(), 1.0f);
    EXPECT_EQ(scene->finished, 1);
}

TEST_F(CustomSceneTest, AScenePutAsideWhileLoadingHearsNoMore) {
    scene->getTextures().push_back(solidPng("preload_left_a.png", 8));
    scene->getTextures().push_back(solidPng("preload_left_b.png", 8));
    scene->preloadTextures(&delegate);
    scene->cleanup();
    // The only outside reference goes: the outstanding request keeps the scene until it completes.
    CountingScene* raw = scene.get();
    raw->retain();
    scene = nullptr;
    EXPECT_GE(raw->getReferenceCount(), 2u);
    raw->release();
    stepUntilIdle();
    EXPECT_TRUE(delegate.progress_.empty());
}

}  // namespace
