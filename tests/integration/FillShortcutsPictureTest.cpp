#include <gtest/gtest.h>

#include <string>

#include "Driver.h"
#include "ScreenStage.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/GL.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/Renderer.h"

#include "ui/GalleryScreen.h"
#include "ui/GameScreen.h"
#include "ui/MapScreen.h"

// The renderer leaves out fill that shows nothing (draws at opacity 0, blending where it changes no
// pixel). The player must not see one byte of
// difference: each screen of the real game is drawn twice in one held moment, with the shortcuts off
// and on, over a window stained a different colour each time, and the two whole read-backs are compared.
namespace {

using cocos2d::Director;
using cocos2d::RefPtr;

struct TwoPictures {
    RefPtr<cocos2d::Image> off;
    RefPtr<cocos2d::Image> on;
    cocos2d::Renderer::FrameStats onStats;
    cocos2d::Renderer::FrameStats offStats;
};

// Draws a held moment twice, with the shortcuts off and on, and compares the two read-backs whole.
class PictureComparison {
protected:
    static testing::Driver& driver() { return testing::Driver::get(); }

    // A different colour over the whole window before each frame: a pixel the frame leaves as it was
    // shows up in the comparison.
    static void stain(float r, float g, float b) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDisable(GL_SCISSOR_TEST);
        const cocos2d::Size frame = driver().view()->getFrameSize();
        glViewport(0, 0, static_cast<GLsizei>(frame.width), static_cast<GLsizei>(frame.height));
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // The same moment drawn both ways: the director is paused, so nothing moves between the frames.
    static TwoPictures drawBothWays() {
        cocos2d::Renderer* renderer = Director::getInstance()->getRenderer();
        const cocos2d::Size frame = driver().view()->getFrameSize();
        const cocos2d::Rect window(0, 0, frame.width, frame.height);
        TwoPictures pictures;
        Director::getInstance()->pause();
        renderer->setFillShortcutsEnabled(false);
        stain(0.9f, 0.1f, 0.8f);
        driver().stepFrames(1);
        pictures.off = driver().readPixels(window);
        pictures.offStats = renderer->getLastFrameStats();
        renderer->setFillShortcutsEnabled(true);
        stain(0.1f, 0.9f, 0.3f);
        driver().stepFrames(1);
        pictures.on = driver().readPixels(window);
        pictures.onStats = renderer->getLastFrameStats();
        Director::getInstance()->resume();
        return pictures;
    }

    static void expectSamePicture(const std::string& screen, const TwoPictures& pictures) {
        ASSERT_TRUE(pictures.off && pictures.on);
        const int width = pictures.off->getWidth();
        ASSERT_EQ(pictures.off->getDataLen(), pictures.on->getDataLen());
        const unsigned char* a = pictures.off->getData();
        const unsigned char* b = pictures.on->getData();
        size_t differing = 0;
        size_t first = 0;
        for (size_t i = 0; i < pictures.off->getDataLen(); ++i) {
            if (a[i] != b[i] && differing++ == 0) {
                first = i;
            }
        }
        if (differing > 0) {
            pictures.off->saveToFile(testing::Driver::outputPath("FillShortcuts_" + screen + "_off.png"));
            pictures.on->saveToFile(testing::Driver::outputPath("FillShortcuts_" + screen + "_on.png"));
        }
        const size_t pixel = first / 4;
        EXPECT_EQ(differing, 0u) << screen << ": first difference at pixel (" << pixel % width << ", "
                                 << pixel / width << ") channel " << first % 4;
        // Off, every draw is queued and blended.
        EXPECT_EQ(pictures.offStats.unseen, 0u);
        EXPECT_EQ(pictures.offStats.unblended, 0u);
    }
};

class FillShortcutsPictureTest : public ::testing::Test, protected PictureComparison {
protected:
    void SetUp() override {
        ASSERT_TRUE(stage.launch(KESTROVA_RESOURCE_DIR, testing::Driver::scratchPath("xdg-fill")));
    }

    void TearDown() override {
        Director::getInstance()->getRenderer()->setFillShortcutsEnabled(true);
        Director::getInstance()->resume();
        stage.close();
    }

    testing::ScreenStage stage;
};

TEST_F(FillShortcutsPictureTest, TheSplashIsTheSameWhileItsSecondImageWaitsAndWhileItFadesIn) {
    // The first image is shown at once; the second waits at opacity 0 for 2.5 s.
    driver().stepFrames(10);
    TwoPictures waiting = drawBothWays();
    expectSamePicture("splash", waiting);
    EXPECT_GE(waiting.onStats.unseen, 1u) << "the second image at opacity 0 is not drawn";
    EXPECT_GE(waiting.onStats.unblended, 1u) << "the first image is opaque";
    driver().stepFrames(150);  // into the cross-fade: both images translucent
    expectSamePicture("splash_fading", drawBothWays());
}

TEST_F(FillShortcutsPictureTest, TheMapIsTheSame) {
    ASSERT_NE(stage.showMap(), nullptr);
    TwoPictures pictures = drawBothWays();
    expectSamePicture("map", pictures);
    EXPECT_GE(pictures.onStats.unseen, 1u) << "the tint at opacity 0";
    EXPECT_GE(pictures.onStats.unblended, 1u) << "the world map is opaque";
}

TEST_F(FillShortcutsPictureTest, TheGalleryIsTheSame) {
    ASSERT_NE(stage.showGallery(), nullptr);
    TwoPictures pictures = drawBothWays();
    expectSamePicture("gallery", pictures);
    EXPECT_GE(pictures.onStats.unblended, 1u) << "the background is opaque";
}

TEST_F(FillShortcutsPictureTest, TheLevelWithAStrokeInProgressIsTheSame) {
    GameScreen* level = stage.showLevelWithStroke();
    ASSERT_NE(level, nullptr);
    for (int i = 0; i < 20; ++i) {
        stage.moveStroke();
        driver().stepFrames(1);
    }
    TwoPictures pictures = drawBothWays();
    expectSamePicture("level", pictures);
    EXPECT_GE(pictures.onStats.unblended, 1u) << "the backdrop and the picture are opaque";
}

}  // namespace

