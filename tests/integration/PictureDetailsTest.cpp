#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Driver.h"
#include "GalleryTestStage.h"
#include "engine/2d/Label.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/scene/Scene.h"
#include "engine/ui/Button.h"
#include "engine/ui/RichText.h"
#include "nodes/PictureDetails.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Node;

class PictureDetailsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gallerytest::useResources("picture-details"); }

    void SetUp() override {
        Profile& profile = gallerytest::freshPlayer("USA");
        profile.currentPicture = PictureKey{"USA", "HarborDawn"};
        gallerytest::loadThumbnails("USA");
        scene = gallerytest::openScene();
    }

    void TearDown() override {
        if (HasFailure()) {
            testing::Driver::get().saveScreenshot(testing::Driver::outputPath(
                std::string("PictureDetails_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
        Settings::destroyInstance();
    }

    PictureDetails* open(const std::string& name) {
        NodeFromJson description("ui/GalleryDynamic");
        auto* details = dynamic_cast<PictureDetails*>(description.createNode("PictureDetails"));
        if (details == nullptr) {
            return nullptr;
        }
        details->showPicture(name);
        container = PopupScreenBase::create();
        container->setPosition(visibleCenter());
        container->addChild(details);
        scene->addChild(container);
        testing::Driver::get().stepFrames(2);
        return details;
    }

    static cocos2d::ui::RichText* richIn(Node* group) {
        for (Node* child : group->getChildren()) {
            if (auto* rich = dynamic_cast<cocos2d::ui::RichText*>(child)) {
                return rich;
            }
        }
        return nullptr;
    }

    cocos2d::Scene* scene = nullptr;
    PopupScreenBase* container = nullptr;
};

TEST_F(PictureDetailsTest, APictureBeingRestoredShowsItsCardAndNoWallpaperButton) {
    gallerytest::picture("HarborDawn").state = 2;
    PictureDetails* details = open("HarborDawn");
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->getPicture(), "HarborDawn");
    Node* card = details->getChildByTag(2);
    ASSERT_NE(card, nullptr);
    auto* header = dynamic_cast<cocos2d::Label*>(card->getChildByName("header"));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->getString(), "Harbor at Dawn");
    EXPECT_TRUE(header->isShadowEnabled());
    // The template gave way to the card.
    EXPECT_EQ(card->getChildByName("description"), nullptr);
    cocos2d::ui::RichText* rich = richIn(card);
    ASSERT_NE(rich, nullptr);
    EXPECT_GE(rich->getLineCount(), 8);
    EXPECT_FALSE(details->getChildByTag(3)->isVisible());
    Node* place = details->getChildByTag(1)->getChildByName("picture");
    ASSERT_EQ(place->getChildrenCount(), 1);
    EXPECT_FLOAT_EQ(place->getChildren().at(0)->getScale(), 0.85f);
    auto* wallpaper = dynamic_cast<cocos2d::ui::Button*>(details->getChildByName("setWallpaper"));
    ASSERT_NE(wallpaper, nullptr);
    EXPECT_FALSE(wallpaper->isVisible());
    EXPECT_FALSE(wallpaper->isEnabled());
    testing::Driver::get().saveScreenshot(testing::Driver::outputPath("PictureDetails_card.png"));
}

TEST_F(PictureDetailsTest, TheFinishedLookTellsTheStoryAndOffersTheWallpaper) {
    struct Case {
        const char* name;
        int state;
        bool wallpaper;
    };
    // A level that never ended (its description missing, say) shows the story without the button.
    const Case cases[] = {{"finished", 3, true}, {"never ended", 0, false}};
    for (const Case& c : cases) {
        gallerytest::picture("HarborDawn").state = c.state;
        PictureDetails* details = open("HarborDawn");
        ASSERT_NE(details, nullptr);
        const float thumbnailY = details->getChildByTag(1)->getPositionY();
        details->showFinishedPicture();
        EXPECT_FLOAT_EQ(details->getChildByTag(1)->getPositionY(), thumbnailY + 50.0f) << c.name;
        EXPECT_EQ(details->getChildByTag(2), nullptr) << c.name;
        Node* story = details->getChildByTag(3);
        ASSERT_NE(story, nullptr);
        EXPECT_TRUE(story->isVisible()) << c.name;
        EXPECT_EQ(story->getChildByName("description"), nullptr) << c.name;
        cocos2d::ui::RichText* rich = richIn(story);
        ASSERT_NE(rich, nullptr) << c.name;
        auto* wallpaper = dynamic_cast<cocos2d::ui::Button*>(details->getChildByName("setWallpaper"));
        EXPECT_EQ(wallpaper != nullptr, c.wallpaper) << c.name;
        if (wallpaper != nullptr) {
            EXPECT_TRUE(wallpaper->isVisible());
            EXPECT_TRUE(wallpaper->isEnabled());
        }
        testing::Driver::get().stepFrames(1);
        testing::Driver::get().saveScreenshot(
            testing::Driver::outputPath(std::string("PictureDetails_story_") + (c.wallpaper ? "a" : "b") + ".png"));
        container->removeFromParent();
    }
}

TEST_F(PictureDetailsTest, TheCloseButtonClosesTheContainer) {
    PictureDetails* details = open("HarborDawn");
    ASSERT_NE(details, nullptr);
    cocos2d::RefPtr<PopupScreenBase> keep(container);
    Node* close = details->getChildByName("closeGroup")->getChildByName("CloseButton");
    const cocos2d::Size size = close->getContentSize();
    testing::Driver::get().tap(close->convertToWorldSpace(cocos2d::Vec2(size.width / 2, size.height / 2)));
    testing::Driver::get().stepFrames(3);
    EXPECT_TRUE(container->isClosing());
    EXPECT_EQ(container->getParent(), nullptr);
}

// A pictures folder of the player's desktop and a gsettings that records what it was asked.
class WallpaperExportTest : public PictureDetailsTest {
protected:
    void SetUp() override {
        PictureDetailsTest::SetUp();
        root = fs::path(testing::Driver::scratchPath("wallpaper"));
        fs::remove_all(root);
        fs::create_directories(root / "config");
        fs::create_directories(root / "Pictures");
        fs::create_directories(root / "bin");
        std::ofstream(root / "config" / "user-dirs.dirs")
            << "XDG_PICTURES_DIR=\"" << (root / "Pictures").string() << "\"\n";
        const fs::path fake = root / "bin" / "gsettings";
        std::ofstream(fake) << "#!/bin/sh\necho \"$@\" >> '" << (root / "gsettings.log").string() << "'\nexit 0\n";
        fs::permissions(fake, fs::perms::owner_all);
        savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        savedConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
        ::setenv("PATH", ((root / "bin").string() + ":" + savedPath).c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    }

    void TearDown() override {
        ::setenv("PATH", savedPath.c_str(), 1);
        if (savedConfig.empty()) {
            ::unsetenv("XDG_CONFIG_HOME");
        } else {
            ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
        }
        PictureDetailsTest::TearDown();
    }

    std::string gsettingsLog() const {
        std::ifstream in(root / "gsettings.log");
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path root;
    std::string savedPath;
    std::string savedConfig;
};

TEST_F(WallpaperExportTest, TheRenderedPictureIsWrittenCopiedAndSetAsTheWallpaper) {
    gallerytest::picture("HarborDawn").state = 3;
    PictureDetails* details = open("HarborDawn");
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(PictureDetails::wallpaperFileName("HarborDawn"), "Kestrova_HarborDawn.jpg");
    const fs::path written = fs::path(cocos2d::FileUtils::getInstance()->getWritablePath()) / "Kestrova_HarborDawn.jpg";
    fs::remove(written);

    ASSERT_TRUE(details->setAsWallpaper());
    ASSERT_TRUE(fs::exists(written));
    fs::copy_file(written, testing::Driver::outputPath("WallpaperExport_HarborDawn.jpg"),
                  fs::copy_options::overwrite_existing);
    const fs::path copy = root / "Pictures" / "Kestrova_HarborDawn.jpg";
    ASSERT_TRUE(fs::exists(copy));
    EXPECT_EQ(fs::file_size(copy), fs::file_size(written));
    cocos2d::RefPtr<cocos2d::Image> image(cocos2d::Image::create());
    ASSERT_TRUE(image->initWithImageFile(written.string()));
    EXPECT_EQ(image->getWidth(), 1280);
    EXPECT_EQ(image->getHeight(), 810);
    // The picture fills the middle: not the black of an empty render.
    const cocos2d::Color4B middle = image->getPixel(640, 405);
    EXPECT_GT(middle.r + middle.g + middle.b, 30) << int(middle.r) << "," << int(middle.g) << "," << int(middle.b);
    // Framed as in the level: gold just outside the middle of each edge of the centred picture,
    // where the wall (green) would show without the frame.
    cocos2d::RefPtr<cocos2d::Image> source(cocos2d::Image::create());
    ASSERT_TRUE(source->initWithImageFile(
        cocos2d::FileUtils::getInstance()->fullPathForFilename("Scenes/USA/HarborDawn/background.jpg")));
    const int halfW = source->getWidth() / 2;
    const int halfH = source->getHeight() / 2;
    const int points[][2] = {
        {640 - halfW - 8, 405}, {640 + halfW + 8, 405}, {640, 405 - halfH - 8}, {640, 405 + halfH + 8}};
    for (const auto& point : points) {
        const cocos2d::Color4B frame = image->getPixel(point[0], point[1]);
        EXPECT_GT(frame.r, frame.b + 50) << point[0] << "," << point[1] << ": " << int(frame.r) << ","
                                         << int(frame.g) << "," << int(frame.b);
        EXPECT_GT(frame.r, frame.g) << point[0] << "," << point[1];
    }
    EXPECT_NE(gsettingsLog().find("picture-uri"), std::string::npos);
    EXPECT_NE(gsettingsLog().find(copy.string()), std::string::npos);

    // Again: the same file, overwritten.
    ASSERT_TRUE(details->setAsWallpaper());
    EXPECT_TRUE(fs::exists(written));
}

TEST_F(WallpaperExportTest, ADesktopThatRefusesTheWallpaperIsToldToThePlayerInOneLine) {
    // No desktop here accepts a setting: every gsettings call fails.
    std::ofstream(root / "bin" / "gsettings", std::ios::trunc) << "#!/bin/sh\nexit 1\n";
    gallerytest::picture("HarborDawn").state = 3;
    PictureDetails* details = open("HarborDawn");
    ASSERT_NE(details, nullptr);
    ASSERT_TRUE(details->setAsWallpaper()) << "the picture is still saved";
    const fs::path copy = root / "Pictures" / "Kestrova_HarborDawn.jpg";
    EXPECT_TRUE(fs::exists(copy));
    auto* notice = dynamic_cast<cocos2d::Label*>(details->getChildByName("wallpaperNotice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_NE(notice->getString().find(copy.string()), std::string::npos) << notice->getString();
    EXPECT_EQ(notice->getString().find("{path}"), std::string::npos);
    testing::Driver::get().stepFrames(10);
    testing::Driver::get().saveScreenshot(testing::Driver::outputPath("PictureDetails_wallpaper_refused.png"));
    // Asking again shows one notice, not two; it goes after a few seconds.
    ASSERT_TRUE(details->setAsWallpaper());
    int notices = 0;
    for (Node* child : details->getChildren()) {
        notices += child->getName() == "wallpaperNotice" ? 1 : 0;
    }
    EXPECT_EQ(notices, 1);
    testing::Driver::get().stepFrames(7 * 60);
    EXPECT_EQ(details->getChildByName("wallpaperNotice"), nullptr);
}

TEST_F(WallpaperExportTest, AMissingPictureFileWritesAndSetsNothing) {
    std::vector<std::string>& log = testing::Driver::get().captureLog();
    PictureDetails* details = open("NoSuchPicture");
    ASSERT_NE(details, nullptr);
    EXPECT_FALSE(details->setAsWallpaper());
    testing::Driver::get().stopCapturingLog();
    bool logged = false;
    for (const std::string& line : log) {
        logged = logged || line == "picture path = Scenes/USA/NoSuchPicture/background.jpg";
    }
    EXPECT_TRUE(logged);
    EXPECT_FALSE(fs::exists(fs::path(cocos2d::FileUtils::getInstance()->getWritablePath()) /
                            "Kestrova_NoSuchPicture.jpg"));
    EXPECT_FALSE(fs::exists(root / "Pictures" / "Kestrova_NoSuchPicture.jpg"));
    EXPECT_TRUE(gsettingsLog().empty());
}

}  // namespace
