#include "nodes/CountryListItemNode.h"

#include <new>

#include "engine/2d/Label.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"

#include "ProgressQueries.h"
#include "TextTable.h"

CountryListItemNode* CountryListItemNode::create() {
    auto* node = new (std::nothrow) CountryListItemNode();
    if (node != nullptr && node->init()) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

CountryListItemNode::~CountryListItemNode() = default;

void CountryListItemNode::setName(const std::string& name) {
    cocos2d::Node::setName(name);
    _locked = isCountryLocked(name);
    _unlockOrder = getCountryUnlockOrder(name);
}

void CountryListItemNode::initWithJson(const rapidjson::Value& element) {
    FactoryNode::initWithJson(element);
    if (cocos2d::Node* icon = getChildByName(getName() + "_icon")) {
        setContentSize(cocos2d::Size(icon->getContentSize().width, 600.0f));
    }
    if (auto* caption = dynamic_cast<cocos2d::Label*>(getChildByName("caption"))) {
        caption->setString(TextTable::getInstance().getText("Country", getName()));
    }
    if (_locked) {
        addLockedLook();
    }
    if (!element.IsObject()) {
        return;
    }
    const auto w = element.FindMember("w");
    const auto h = element.FindMember("h");
    if (w != element.MemberEnd() && h != element.MemberEnd() && w->value.IsInt() && h->value.IsInt()) {
        _lockSize = cocos2d::Size(static_cast<float>(w->value.GetInt()), static_cast<float>(h->value.GetInt()));
    }
}

void CountryListItemNode::addLockedLook() {
    cocos2d::Node* icon = getChildByName(getName() + "_icon");
    if (cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("map_lock.png") != nullptr) {
        if (cocos2d::Sprite* badge = cocos2d::Sprite::createWithSpriteFrameName("map_lock.png")) {
            badge->setName(kLockBadgeName);
            badge->setVisible(false);
            if (icon != nullptr) {
                badge->setPosition(icon->getPosition());
            }
            addChild(badge, 5);
        }
    }
    if (auto* caption = dynamic_cast<cocos2d::Label*>(getChildByName("caption"))) {
        cocos2d::Label* name = cocos2d::Label::createWithTTF(caption->getTTFConfig(), caption->getString());
        if (name != nullptr) {
            name->setName(kLockCaptionName);
            name->setDimensions(caption->getContentSize().width, caption->getContentSize().height);
            name->setAlignment(cocos2d::TextHAlignment::CENTER, cocos2d::TextVAlignment::CENTER);
            name->setTextColor(cocos2d::Color4B(150, 170, 172, 255));
            name->setVisible(false);
            addChild(name, 5);
        }
    }
}

void CountryListItemNode::onEnter() {
    FactoryNode::onEnter();
    if (!_locked) {
        return;
    }
    // The list has moved the caption onto the ribbon by now; the locked name takes its place.
    cocos2d::Node* caption = getChildByName("caption");
    if (cocos2d::Node* name = getChildByName(kLockCaptionName)) {
        if (caption != nullptr) {
            name->setPosition(caption->getPosition());
        }
        name->setVisible(true);
    }
    if (cocos2d::Node* badge = getChildByName(kLockBadgeName)) {
        badge->setVisible(true);
    }
}
