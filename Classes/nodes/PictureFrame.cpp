#include "nodes/PictureFrame.h"

#include <new>

#include "GameSound.h"
#include "ProgressQueries.h"
#include "Settings.h"
#include "engine/2d/Label.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Log.h"
#include "engine/base/StringUtils.h"
#include "engine/scene/Sprite.h"
#include "ui/NodeFromJson.h"

namespace {

constexpr int kFinishedMarkTag = 9;
constexpr int kFirstStarTag = 1;

struct CountryStyle {
    const char* country;
    int style;
};

constexpr CountryStyle kCountryFrameStyles[] = {
    {"USA", 1},   {"UnitedKingdom", 2}, {"France", 3}, {"Netherlands", 1},
    {"Ukraine", 2}, {"Spain", 3},       {"Austria", 1},
};

}  // namespace

PictureFrame* PictureFrame::create() {
    auto* frame = new (std::nothrow) PictureFrame();
    if (frame != nullptr && frame->init()) {
        frame->autorelease();
        return frame;
    }
    delete frame;
    return nullptr;
}

PictureFrame::~PictureFrame() = default;

int PictureFrame::frameStyleOf(const std::string& country) {
    for (const CountryStyle& entry : kCountryFrameStyles) {
        if (country == entry.country) {
            return entry.style;
        }
    }
    return 0;
}

void PictureFrame::initWithJson(const rapidjson::Value& element) {
    FactoryNode::initWithJson(element);
    // The list spaces its frames and hit-tests taps by the frame's size: the element's own.
    setContentSize(NodeFromJson::readFrame(element).size);
    const int style = frameStyleOf(Settings::getInstance().getCurrentUser().currentPicture.country);
    if (cocos2d::Node* frame = getChildByName("frame")) {
        for (cocos2d::Node* picture : frame->getChildren()) {
            if (picture->getTag() == style) {
                frame->setContentSize(picture->getContentSize());
            } else {
                picture->setVisible(false);
            }
        }
        frame->setCascadeOpacityEnabled(true);
    }
    if (cocos2d::Node* type = getChildByName("Leveltype")) {
        type->setCascadeOpacityEnabled(true);
    }
    enumerateChildren("//Star", [](cocos2d::Node* star) {
        star->setCascadeOpacityEnabled(true);
        return false;
    });
    if (cocos2d::Node* mark = getChildByTag(kFinishedMarkTag)) {
        mark->setVisible(false);
    }
    GameSound::getInstance().preloadEffect("unlock_picture");
}

bool PictureFrame::setPicture(const PictureKey& key) {
    _pictureKey = key;
    return updateState(key.picture);
}

bool PictureFrame::updateState(const std::string& picturePath) {
    setName(picturePath);
    Profile& profile = Settings::getInstance().getCurrentUser();
    PictureProgress& record = profile.world.pictures[picturePath];

    if (cocos2d::Node* place = getChildByName("iconPlace")) {
        place->setCascadeOpacityEnabled(true);
        // A thumbnail missing from the country's sheet leaves the frame empty; the rest still shows.
        if (cocos2d::Sprite* thumbnail = cocos2d::Sprite::createWithSpriteFrameName(picturePath + ".png")) {
            place->addChild(thumbnail);
        }
    }

    if (cocos2d::Node* lock = getChildByName("levelclosed")) {
        _locked = isPictureLocked(picturePath);
        const bool newlyUnlocked = picturePath == profile.world.lastUnlockedPicture;
        if (_locked) {
            removeChildByName("price", true);
        } else if (!newlyUnlocked) {
            removeChild(lock, true);
        }
        if (cocos2d::Node* price = getChildByName("price")) {
            if (auto* label = dynamic_cast<cocos2d::Label*>(price->getChildByName("priceLabel"))) {
                label->setString(cocos2d::StringUtils::format("$%d", record.earnedTotal));
            }
        }
    }

    bool earned = false;
    if (record.firstStars >= 1) {
        record.firstStars = 0;
        earned = true;
    }
    updateStars(record.bestStars);
    if (record.lastGain >= 1) {
        record.lastGain = 0;
        earned = true;
    }
    if (record.finished) {
        if (cocos2d::Node* mark = getChildByTag(kFinishedMarkTag)) {
            mark->setVisible(true);
        }
    }
    return earned;
}

void PictureFrame::updateStars(int best) {
    for (cocos2d::Node* child : getChildren()) {
        if (child->getName() != "Star") {
            continue;
        }
        if (cocos2d::Node* lit = child->getChildByName("levelstare")) {
            lit->setVisible(child->getTag() <= best);
        }
    }
}

void PictureFrame::playUnlockAnimation() {
    Settings::getInstance().getCurrentUser().world.lastUnlockedPicture.clear();
    cocos2d::Node* lock = getChildByName("levelclosed");
    // Without a lock (or with one already opening) there is nothing to open.
    if (lock == nullptr || lock->getNumberOfRunningActions() > 0) {
        return;
    }
    lock->setAnchorPoint(cocos2d::Vec2(0.5f, 1.0f));
    lock->setPositionY(lock->getPositionY() + lock->getContentSize().height * 0.5f);
    lock->runAction(cocos2d::FadeOut::create(0.9f));
    lock->runAction(cocos2d::Sequence::create(cocos2d::ScaleTo::create(1.0f, 1.0f, 0.1f),
                                              cocos2d::CallFunc::create([lock] {
                                                  lock->removeFromParentAndCleanup(true);
                                              }),
                                              nullptr));
    GameSound::getInstance().playEffect("unlock_picture", false);
}

cocos2d::Vec2 PictureFrame::getStarWorldPosition() const {
    cocos2d::Node* star = getChildByTag(kFirstStarTag);
    if (star == nullptr || star->getName() != "Star") {
        return cocos2d::Vec2::ZERO;
    }
    return convertToWorldSpace(star->getPosition());
}
