// The details popup of every picture in the shipped packs: the title fits its box on at most two
// lines and stays clear of the close button. A picture of each popup is left under the test output
// folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "DataPackReader.h"
#include "PackCountry.h"
#include "PackInfo.h"
#include "PackPicture.h"
#include "PictureKey.h"
#include "Driver.h"
#include "NodeBoxes.h"
#include "GalleryTestStage.h"
#include "Profile.h"
#include "Settings.h"
#include "engine/2d/Label.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"
#include "engine/base/Director.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "nodes/PictureDetails.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"

namespace {

using testing::screenBox;
using testing::overlaps;

using cocos2d::Node;
using cocos2d::Rect;
using cocos2d::Vec2;

TEST(PictureDetailsLayoutTest, EveryTitleFitsItsBoxClearOfTheCloseButton) {
    gallerytest::useResources("details-layout");
    Profile& profile = gallerytest::freshPlayer("USA");
    DataPackReader::getInstance().load("Scenes", "en", profile);
    std::vector<PictureKey> pictures;
    for (const PackInfo& pack : profile.packs) {
        for (const PackCountry& country : pack.countries) {
            for (const PackPicture& picture : country.pictures) {
                pictures.push_back(PictureKey{country.path, picture.path});
            }
        }
    }
    ASSERT_FALSE(pictures.empty());
    cocos2d::Scene* scene = gallerytest::openScene();

    for (const PictureKey& key : pictures) {
        SCOPED_TRACE(key.country + "/" + key.picture);
        gallerytest::loadThumbnails(key.country);
        profile.currentPicture = key;
        NodeFromJson description("ui/GalleryDynamic");
        auto* details = dynamic_cast<PictureDetails*>(description.createNode("PictureDetails"));
        ASSERT_NE(details, nullptr);
        details->showPicture(key.picture);
        PopupScreenBase* container = PopupScreenBase::create();
        container->setPosition(visibleCenter());
        container->addChild(details);
        scene->addChild(container);
        testing::Driver::get().stepFrames(3);
        testing::Driver::get().saveScreenshot(
            testing::Driver::outputPath("PictureDetails_" + key.country + "_" + key.picture + ".png"));

        Node* card = details->getChildByTag(2);
        ASSERT_NE(card, nullptr);
        auto* header = dynamic_cast<cocos2d::Label*>(card->getChildByName("header"));
        ASSERT_NE(header, nullptr);
        Node* closeGroup = details->getChildByName("closeGroup");
        Node* close = closeGroup != nullptr ? closeGroup->getChildByName("CloseButton") : nullptr;
        ASSERT_NE(close, nullptr);
        EXPECT_LE(header->getStringNumLines(), 2) << "'" << header->getString() << "' does not fit its box";
        EXPECT_FALSE(overlaps(screenBox(header), screenBox(close)))
            << "'" << header->getString() << "' runs under the close button";
        container->removeFromParent();
    }
    cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
    testing::Driver::get().stepFrames(2);
    Settings::destroyInstance();
}

}  // namespace
