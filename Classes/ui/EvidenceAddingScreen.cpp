#include "ui/EvidenceAddingScreen.h"

#include <new>

#include "Settings.h"
#include "TextTable.h"
#include "engine/2d/Label.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/BezierTo.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/base/Log.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "ui/NodeFromJson.h"
#include "ui/TutorialScreen.h"

EvidenceAddingScreen* EvidenceAddingScreen::create() {
    auto* popup = new (std::nothrow) EvidenceAddingScreen();
    if (popup != nullptr && popup->init()) {
        popup->autorelease();
        return popup;
    }
    delete popup;
    return nullptr;
}

EvidenceAddingScreen::~EvidenceAddingScreen() {
    cocos2d::log("=== %s ===\n", "EvidenceAddingScreen::~EvidenceAddingScreen");
}

bool EvidenceAddingScreen::init() {
    if (!PopupScreenBase::init()) {
        return false;
    }
    _canClose = false;
    _loader = std::make_unique<NodeFromJson>("ui/Cabinet");
    _messagePlace = _loader->createNode("message_place");
    if (_messagePlace == nullptr) {
        cocos2d::log("EvidenceAddingScreen: no message_place in ui/Cabinet");
        return false;
    }
    _messagePlace->setPosition(cocos2d::Vec2::ZERO);
    addChild(_messagePlace);
    return true;
}

void EvidenceAddingScreen::show(const std::string& name, const cocos2d::Vec2& target) {
    _target = target;
    setPosition(cocos2d::Vec2::ZERO);

    auto* listener = cocos2d::EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = [](cocos2d::Touch*, cocos2d::Event* event) {
        event->stopPropagation();
        return true;
    };
    listener->onTouchEnded = [this](cocos2d::Touch* touch, cocos2d::Event* event) { onTouchEnded(touch, event); };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);

    Settings::getInstance().getCurrentUser().newestEvidence.clear();

    const std::string element = "evidence_" + name;
    cocos2d::Node* holder = _messagePlace->getChildByTag(kHolderTag);
    _evidence = _loader->createNode(element);
    if (_evidence == nullptr || holder == nullptr) {
        // An item the cabinet does not know: nothing to fly, but the popup still closes on a tap.
        cocos2d::log("EvidenceAddingScreen: no '%s' to show", element.c_str());
        _evidence = nullptr;
    } else {
        _evidence->setScale(0.0f);
        _evidence->setPosition(cocos2d::Vec2::ZERO);
        holder->addChild(_evidence, 0);
        _evidence->runAction(cocos2d::EaseBackOut::create(cocos2d::ScaleTo::create(0.5f, 1.0f)));
    }

    _canClose = false;
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kClosableAfterSeconds),
                                        cocos2d::CallFunc::create([this] { _canClose = true; }), nullptr));

    if (cocos2d::Node* container = _messagePlace->getChildByName("message_container")) {
        container->setOpacity(0);
        container->setCascadeOpacityEnabled(true);
        container->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(0.5f),
                                                       cocos2d::FadeIn::create(0.25f), nullptr));
        if (auto* label = dynamic_cast<cocos2d::Label*>(container->getChildByName("message_label"))) {
            label->setString(TextTable::getInstance().getText("Cabinet", element + "_message"));
        }
    }
    showEvidenceTutorial(13);
}

void EvidenceAddingScreen::onTouchEnded(cocos2d::Touch*, cocos2d::Event*) {
    if (!_canClose) {
        return;
    }
    _canClose = false;
    _target = cocos2d::Vec2(_target.x, _target.y - kTargetDrop);

    if (_evidence != nullptr) {
        // The item moves inside its holder: the target is brought from the message place's space.
        const cocos2d::Vec2 to =
            _evidence->getParent()->convertToNodeSpace(_messagePlace->convertToWorldSpace(_target));
        cocos2d::ccBezierConfig path;
        path.endPosition = to;
        path.controlPoint_1 = _evidence->getPosition() + cocos2d::Vec2(0.0f, -200.0f);
        path.controlPoint_2 = to + cocos2d::Vec2(0.0f, -200.0f);
        _evidence->runAction(
            cocos2d::Spawn::create(cocos2d::EaseBackOut::create(cocos2d::BezierTo::create(kFlightSeconds, path)),
                                   cocos2d::ScaleTo::create(kFlightSeconds, 0.1f), nullptr));
        _evidence->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(0.5f),
                                                       cocos2d::FadeOut::create(0.5f), nullptr));
    }
    if (cocos2d::Node* container = _messagePlace->getChildByName("message_container")) {
        container->runAction(cocos2d::FadeOut::create(0.5f));
    }
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kFlightSeconds),
                                        cocos2d::CallFunc::create([this] {
                                            if (_onEvidenceClosed) {
                                                std::function<void()> callback = _onEvidenceClosed;
                                                callback();
                                            }
                                            close();
                                        }),
                                        nullptr));
}

void EvidenceAddingScreen::showEvidenceTutorial(int number) {
    if (Settings::getInstance().isTutorialShown(number)) {
        return;
    }
    if (TutorialScreen* tutorial = TutorialScreen::create()) {
        tutorial->showTutorial(number, [] {});
        addChild(tutorial);
    }
    Settings::getInstance().save();
}
