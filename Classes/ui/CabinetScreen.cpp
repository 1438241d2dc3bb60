#include "ui/CabinetScreen.h"

#include <new>
#include <string>

#include "EvidenceBook.h"
#include "GameSound.h"
#include "Profile.h"
#include "Settings.h"
#include "StringHelpers.h"
#include "TextTable.h"
#include "engine/2d/Label.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/RotateBy.h"
#include "engine/actions/RotateTo.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/actions/TintTo.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/Touch.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"
#include "engine/ui/Widget.h"
#include "ui/GalleryScreen.h"
#include "ui/IntroScene.h"
#include "ui/NodeFromJson.h"

using cocos2d::Node;
using cocos2d::Vec2;

namespace {

constexpr int kEvidenceTag = 2;
constexpr int kHolderTag = 6;
constexpr int kTouchAreaTag = 7;
constexpr int kCardTag = 1;
constexpr int kOpenPlaceZ = 100;
constexpr int kLookLift = 30;
constexpr float kPinnedScale = 0.35f;
const Vec2 kPinnedPosition(-6.0f, 6.0f);
constexpr float kOpenSeconds = 0.25f;
constexpr float kMessageFade = 0.125f;
constexpr float kLookFade = 0.5f;
constexpr float kLookScale = 1.5f;
constexpr float kCageSeconds = 0.6f;
constexpr float kCageScale = 3.0f;
constexpr float kCageShift = 200.0f;
constexpr float kGalleryFadeSeconds = 1.0f;
constexpr float kOutroFadeSeconds = 0.3f;

Node* childNamed(Node* parent, const std::string& name) {
    return parent != nullptr ? parent->getChildByName(name) : nullptr;
}

// A node's position carried from its parent's space into another node's space.
Vec2 positionIn(Node* node, Node* space) {
    const Vec2 world = node->getParent() != nullptr ? node->getParent()->convertToWorldSpace(node->getPosition())
                                                    : node->getPosition();
    return space->convertToNodeSpace(world);
}

}  // namespace

CabinetScreen::CabinetScreen() = default;

CabinetScreen* CabinetScreen::create() {
    auto* screen = new (std::nothrow) CabinetScreen();
    if (screen != nullptr && screen->init()) {
        screen->autorelease();
        return screen;
    }
    delete screen;
    return nullptr;
}

CabinetScreen::~CabinetScreen() {
    cocos2d::log("=== %s ===\n", "CabinetScreen::~CabinetScreen");
}

bool CabinetScreen::init() {
    if (!ScreenBase::init()) {
        return false;
    }
    auto* listener = cocos2d::EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        return onTouchBegan(touch, event);
    };
    listener->onTouchMoved = [this](cocos2d::Touch* touch, cocos2d::Event* event) { onTouchMoved(touch, event); };
    listener->onTouchEnded = [this](cocos2d::Touch* touch, cocos2d::Event* event) { onTouchEnded(touch, event); };
    listener->onTouchCancelled = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        onTouchEnded(touch, event);
    };
    cocos2d::Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener,
                                                                                                  this);
    setKeyboardEnabled(true);

    _openIndex = -1;
    _loader = std::make_unique<NodeFromJson>("ui/Cabinet");
    if (Node* background = _loader->createNode("background")) {
        addChild(background);
    }
    _ui = _loader->createNode("UI");
    if (_ui == nullptr) {
        cocos2d::log("CabinetScreen: ui/Cabinet has no UI");
        return true;
    }
    addChild(_ui);

    if (auto* menu = dynamic_cast<cocos2d::ui::Widget*>(_ui->getChildByName("Menu"))) {
        menu->addTouchEventListener([this](cocos2d::Ref* sender, cocos2d::ui::Widget::TouchEventType type) {
            onMenuButton(sender, static_cast<int>(type));
        });
    }
    GameSound::getInstance().preloadEffect("btnDown");

    buildEvidences();
    setupLooks();

    if (Node* messagePlace = _ui->getChildByName("message_place")) {
        messagePlace->setVisible(false);
    }
    if (Node* cage = _ui->getChildByName("cage")) {
        cage->setVisible(Settings::getInstance().getCurrentUser().cageUnlocked);
    }
    return true;
}

bool CabinetScreen::isFound(const std::string& id) {
    const EvidenceBook& book = Settings::getInstance().getCurrentUser().evidence;
    const auto it = book.entries.find(id);
    return it != book.entries.end() && it->second.state != 0;
}

void CabinetScreen::buildEvidences() {
    Node* places = _ui->getChildByName("evinence_places");
    Node* pictures = _ui->getChildByName("Evidences");
    if (places == nullptr) {
        return;
    }
    const cocos2d::Vector<Node*> children = places->getChildren();
    for (Node* place : children) {
        Node* pin = place->getChildByName("pin");
        if (pin != nullptr) {
            pin->setLocalZOrder(2);
        }
        place->setAnchorPoint(Vec2(0.5f, 0.5f));
        const std::string id = removePrefix(place->getName(), "eplace_", "");

        if (Node* evidence = childNamed(pictures, "evidence_" + id)) {
            evidence->retain();
            evidence->removeFromParentAndCleanup(false);
            evidence->setTag(kEvidenceTag);
            place->addChild(evidence, 1);
            evidence->release();
            evidence->setPosition(kPinnedPosition);
            evidence->setScale(kPinnedScale);

            if (Node* container = _loader->createNode("message_container")) {
                container->setCascadeOpacityEnabled(true);
                container->setOpacity(0);
                if (auto* label = dynamic_cast<cocos2d::Label*>(container->getChildByName("message_label"))) {
                    label->setString(TextTable::getInstance().getText("Cabinet", "evidence_" + id + "_message"));
                }
                place->addChild(container);
            }
        }
        if (!isFound(id) && pin != nullptr) {
            pin->removeFromParent();
        }
    }
}

void CabinetScreen::setupLooks() {
    Node* looks = _ui->getChildByName("TobbinLook");
    Node* places = _ui->getChildByName("evinence_places");
    EvidenceBook& book = Settings::getInstance().getCurrentUser().evidence;
    if (looks != nullptr) {
        const cocos2d::Vector<Node*> children = looks->getChildren();
        int k = 0;
        for (Node* look : children) {
            look->setLocalZOrder(k++);
            const std::string id = removePrefix(look->getName(), "look_", "");
            Node* evidence = childNamed(childNamed(places, "eplace_" + id), "evidence_" + id);
            const auto entry = book.entries.find(id);
            if (entry == book.entries.end() || entry->second.state == 0) {
                look->removeFromParentAndCleanup(true);
                if (evidence != nullptr) {
                    evidence->removeFromParentAndCleanup(true);
                }
                continue;
            }
            // A look whose evidence picture the description lacks is still shown, but there is
            // nothing to touch for it.
            if (evidence != nullptr) {
                _looks.push_back(look);
                _evidences.push_back(evidence);
            }
            if (entry->second.state == static_cast<int32_t>(EvidenceState::New)) {
                entry->second.state = static_cast<int32_t>(EvidenceState::Seen);
                look->setOpacity(0);
                _newLooks.push_back(look);
            }
        }
    }
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kLooksDelay),
                                        cocos2d::CallFunc::create([this] { animateNewLooks(); }), nullptr));
}

void CabinetScreen::animateNewLooks() {
    if (_newLooks.empty()) {
        if (_cageDue) {
            playCageAnimation();
        }
        return;
    }
    Node* look = _newLooks.back();
    _newLooks.pop_back();
    look->setScale(kLookScale);
    const int z = look->getLocalZOrder();
    look->setLocalZOrder(z + kLookLift);

    auto wobble = [look] {
        look->runAction(cocos2d::ScaleTo::create(kLookFade, 1.0f));
        const float step = kLookFade / 7.0f;
        look->runAction(cocos2d::Sequence::create(
            cocos2d::RotateTo::create(step, -15.0f), cocos2d::RotateTo::create(step, 15.0f),
            cocos2d::RotateTo::create(step, -10.0f), cocos2d::RotateTo::create(step, 10.0f),
            cocos2d::RotateTo::create(step, -5.0f), cocos2d::RotateTo::create(step, 5.0f),
            cocos2d::RotateTo::create(step, 0.0f), nullptr));
    };
    look->runAction(cocos2d::Sequence::create(cocos2d::FadeIn::create(kLookFade), cocos2d::CallFunc::create(wobble),
                                              cocos2d::DelayTime::create(kLookFade),
                                              cocos2d::CallFunc::create([this, look, z] {
                                                  look->setLocalZOrder(z);
                                                  animateNewLooks();
                                              }),
                                              nullptr));
}

void CabinetScreen::showCage() {
    _cageDue = true;
    if (Node* cage = childNamed(_ui, "cage")) {
        cage->setVisible(false);
    }
}

void CabinetScreen::playCageAnimation() {
    Node* cage = childNamed(_ui, "cage");
    if (cage == nullptr) {
        startEnding();
        return;
    }
    cage->setVisible(true);
    cage->setOpacity(0);
    cage->setScale(kCageScale);
    const Vec2 p = cage->getPosition();
    cage->setPositionX(p.x + kCageShift);
    cage->runAction(cocos2d::Sequence::create(
        cocos2d::EaseIn::create(cocos2d::Spawn::create(cocos2d::FadeIn::create(kCageSeconds),
                                                       cocos2d::ScaleTo::create(kCageSeconds, 1.0f),
                                                       cocos2d::MoveTo::create(kCageSeconds, p), nullptr),
                                1.0f),
        cocos2d::CallFunc::create([] { GameSound::getInstance().playEffect("cage", false); }),
        cocos2d::DelayTime::create(kEndingDelay), cocos2d::CallFunc::create([this] { startEnding(); }), nullptr));
}

void CabinetScreen::startEnding() {
    if (_left) {
        return;
    }
    _left = true;
    // From here on the ending counts as played: the gallery no longer leads into it. The developer's
    // cage key opens the cage without the flag; that rehearsal must not use up the real ending.
    Profile& profile = Settings::getInstance().getCurrentUser();
    if (profile.cageUnlocked) {
        profile.markEndingPlayed();
    }
    IntroScene* outro = IntroScene::create();
    if (outro == nullptr) {
        return;
    }
    outro->startOutro();
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(kOutroFadeSeconds, outro));
}

bool CabinetScreen::onTouchBegan(cocos2d::Touch*, cocos2d::Event*) {
    return true;
}

void CabinetScreen::onTouchEnded(cocos2d::Touch* touch, cocos2d::Event*) {
    if (_openIndex >= 0) {
        closeEvidence();
    } else if (touch != nullptr) {
        openEvidence(touch->getLocation());
    }
}

void CabinetScreen::openEvidence(const Vec2& location) {
    _openIndex = -1;
    for (size_t i = 0; i < _evidences.size(); ++i) {
        Node* area = _evidences[i]->getChildByTag(kHolderTag);
        area = area != nullptr ? area->getChildByTag(kTouchAreaTag) : nullptr;
        if (area != nullptr && area->getParent() != nullptr &&
            area->getBoundingBox().containsPoint(area->getParent()->convertToNodeSpace(location))) {
            _openIndex = static_cast<int32_t>(i);
            break;
        }
    }
    if (_openIndex < 0) {
        return;
    }
    Node* evidence = _evidences[_openIndex];
    Node* place = evidence->getParent();
    Node* look = _looks[_openIndex];

    auto* pulse = cocos2d::RepeatForever::create(cocos2d::Sequence::create(
        cocos2d::TintTo::create(0.25f, 200, 200, 200), cocos2d::DelayTime::create(0.0625f),
        cocos2d::TintTo::create(0.25f, 255, 255, 255), cocos2d::DelayTime::create(0.0625f), nullptr));
    pulse->setTag(kPulseTag);
    look->runAction(pulse);

    evidence->stopAllActions();
    Node* messagePlace = childNamed(_ui, "message_place");
    Node* photoMark = childNamed(messagePlace, "foto_place");
    const Vec2 target = photoMark != nullptr ? positionIn(photoMark, place) : evidence->getPosition();
    float r = place->getRotation();
    if (r > 180.0f) {
        r -= 360.0f;
    }
    evidence->runAction(cocos2d::Spawn::create(
        cocos2d::EaseBackOut::create(cocos2d::MoveTo::create(kOpenSeconds, target)),
        cocos2d::EaseBackOut::create(cocos2d::ScaleTo::create(kOpenSeconds, 1.0f)),
        cocos2d::RotateBy::create(kOpenSeconds, 3.0f - r), nullptr));

    place->setLocalZOrder(kOpenPlaceZ);
    if (Node* card = place->getChildByTag(kCardTag)) {
        card->setVisible(false);
    }
    Node* messageMark = childNamed(messagePlace, "message_container");
    if (Node* message = place->getChildByName("message_container")) {
        if (messageMark != nullptr) {
            message->setPosition(positionIn(messageMark, place));
        }
        message->setRotation(-place->getRotation());
        message->stopAllActions();
        message->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kOpenSeconds),
                                                     cocos2d::FadeIn::create(kMessageFade), nullptr));
    }
    GameSound::getInstance().playEffect("evidence_click", false);
}

void CabinetScreen::closeEvidence() {
    if (_openIndex < 0 || static_cast<size_t>(_openIndex) >= _evidences.size()) {
        return;
    }
    Node* evidence = _evidences[_openIndex];
    Node* place = evidence->getParent();
    Node* look = _looks[_openIndex];
    look->stopActionByTag(kPulseTag);
    look->setColor(cocos2d::Color3B(255, 255, 255));

    evidence->stopAllActions();
    evidence->runAction(cocos2d::Sequence::create(
        cocos2d::Spawn::create(cocos2d::EaseBackOut::create(cocos2d::MoveTo::create(kOpenSeconds, kPinnedPosition)),
                               cocos2d::EaseOut::create(cocos2d::ScaleTo::create(kOpenSeconds, kPinnedScale), 1.0f),
                               cocos2d::RotateTo::create(kOpenSeconds, 0.0f), nullptr),
        cocos2d::CallFunc::create([place] {
            if (Node* card = place->getChildByTag(kCardTag)) {
                card->setVisible(true);
            }
        }),
        nullptr));

    place->setLocalZOrder(0);
    _openIndex = -1;
    if (Node* message = place->getChildByName("message_container")) {
        message->stopAllActions();
        message->runAction(cocos2d::FadeOut::create(kMessageFade));
    }
    GameSound::getInstance().playEffect("evidence_click", false);
}

void CabinetScreen::onMenuButton(cocos2d::Ref*, int eventType) {
    if (eventType == static_cast<int>(cocos2d::ui::Widget::TouchEventType::ENDED) && !_cageDue) {
        goBack();
    }
}

void CabinetScreen::onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) {
    Layer::onKeyReleased(keyCode, event);
    // Backspace, like the Menu button, does not cut the ending short.
    if (keyCode == cocos2d::EventKeyboard::KeyCode::KEY_BACKSPACE && !_cageDue) {
        goBack();
    }
}

void CabinetScreen::goBack() {
    if (_left) {
        return;
    }
    _left = true;
    GameSound::getInstance().playEffect("btnDown", false);
    cocos2d::Scene* scene = cocos2d::Scene::create();
    GalleryScreen* gallery = GalleryScreen::create();
    if (scene == nullptr || gallery == nullptr) {
        return;
    }
    scene->addChild(gallery);
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(kGalleryFadeSeconds, scene));
}
