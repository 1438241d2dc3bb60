// The real UI descriptions of the staged resource tree built on a real GL view: every one of them
// builds, and the confirmation window looks right and tints its buttons under the real pointer
// long after its loader is gone.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/ui/Button.h"

#include "Settings.h"
#include "TextTable.h"
#include "ui/JsonDocumentCache.h"
#include "ui/NodeFromJson.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Node;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Vec2;

Color4B meanColour(const Rect& windowPixels) {
    RefPtr<cocos2d::Image> image = testing::Driver::get().readPixels(windowPixels);
    if (!image) {
        return Color4B(0, 0, 0, 0);
    }
    long sum[3] = {0, 0, 0};
    const int n = image->getWidth() * image->getHeight();
    for (int y = 0; y < image->getHeight(); ++y) {
        for (int x = 0; x < image->getWidth(); ++x) {
            const Color4B c = image->getPixel(x, y);
            sum[0] += c.r;
            sum[1] += c.g;
            sum[2] += c.b;
        }
    }
    return Color4B(static_cast<GLubyte>(sum[0] / n), static_cast<GLubyte>(sum[1] / n),
                   static_cast<GLubyte>(sum[2] / n), 255);
}

class NodeFromJsonScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        files->setSearchPaths({"src", "res"});
        Settings::destroyInstance();
        TextTable::destroyInstance();
        TextTable::getInstance().loadTexts("texts", "en", true);
        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(Color4B(30, 30, 30, 255), 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
        driver().stopCapturingLog();
    }
    static testing::Driver& driver() { return testing::Driver::get(); }

    cocos2d::Scene* scene = nullptr;
};

TEST_F(NodeFromJsonScreenTest, EveryStagedDescriptionParsesAndBuilds) {
    std::vector<std::string> folders;
    const fs::path res = fs::path(KESTROVA_RESOURCE_DIR) / "res";
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(res)) {
        if (entry.path().filename() == "ccnode.json" &&
            entry.path().string().find("/Scenes/") == std::string::npos) {
            folders.push_back(fs::relative(entry.path().parent_path(), res).string());
        }
    }
    ASSERT_FALSE(folders.empty());
    std::vector<std::string>& log = driver().captureLog();
    for (const std::string& folder : folders) {
        SCOPED_TRACE(folder);
        log.clear();
        NodeFromJson loader(folder);
        RefPtr<Node> root(loader.createNode(""));
        ASSERT_TRUE(root);
        // No count of children: a description may be a table of templates only, or made of class
        // elements that wait for their classes; what must hold is that nothing it names fails.
        for (const std::string& line : log) {
            // Class elements wait for their classes; anything else the description names must load.
            if (line.rfind("Can't create ", 0) != 0 && line != "loadTexts") {
                ADD_FAILURE() << line;
            }
        }
        for (const std::string& texture : NodeFromJson::collectTextures(folder)) {
            const std::string sheetImage = texture.substr(0, texture.find('/', folder.size() + 1));
            EXPECT_TRUE(cocos2d::FileUtils::getInstance()->isFileExist(texture) ||
                        cocos2d::FileUtils::getInstance()->isFileExist(sheetImage + "_atlas.png"))
                << texture;
        }
    }
}

TEST_F(NodeFromJsonScreenTest, TheConfirmationWindowShowsItsTextsAndTintsItsButtonsUnderThePointer) {
    {
        NodeFromJson loader("ui/Confirmation");
        Node* window = loader.createNode("ConfirmationWindow");
        ASSERT_NE(window, nullptr);
        // Where the always-on-top layer puts it.
        window->setPosition(1280 / 2.0f - 160, 810 / 2.0f + 120);
        scene->addChild(window);
    }
    driver().stepFrames(2);
    Node* window = scene->getChildByName("ConfirmationWindow");
    ASSERT_NE(window, nullptr);
    auto* yes = dynamic_cast<cocos2d::ui::Button*>(window->getChildByName("Yes"));
    auto* no = dynamic_cast<cocos2d::ui::Button*>(window->getChildByName("No"));
    ASSERT_TRUE(yes && no);
    EXPECT_EQ(yes->getTitleText(), TextTable::getInstance().getText("ConfirmationWindow", "btn_yes"));
    driver().saveScreenshot(testing::Driver::outputPath("confirmation_window.png"));

    const Vec2 yesWorld = yes->convertToWorldSpaceAR(Vec2::ZERO);
    const Vec2 noWorld = no->convertToWorldSpaceAR(Vec2::ZERO);
    auto patch = [](const Vec2& world) { return Rect(world.x - 30, 810 - world.y - 8, 60, 16); };
    const Color4B before = meanColour(patch(yesWorld));
    EXPECT_NE(before.r, 30) << "the button is drawn over the background";

    driver().mouseMove(yesWorld);
    driver().stepFrames(1);
    EXPECT_EQ(yes->getColor(), cocos2d::Color3B(220, 220, 220));
    EXPECT_EQ(no->getColor(), cocos2d::Color3B::WHITE);
    const Color4B hovered = meanColour(patch(yesWorld));
    EXPECT_LT(hovered.r + hovered.g + hovered.b, before.r + before.g + before.b) << "tinted on screen";

    driver().mouseMove(noWorld);
    driver().stepFrames(1);
    EXPECT_EQ(yes->getColor(), cocos2d::Color3B::WHITE);
    EXPECT_EQ(no->getColor(), cocos2d::Color3B(220, 220, 220));
    scene->removeAllChildren();
}

}  // namespace
