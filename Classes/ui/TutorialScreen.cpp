#include "ui/TutorialScreen.h"

#include <cmath>
#include <cstdlib>
#include <new>

#include "engine/2d/Label.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/base/StringUtils.h"
#include "engine/base/Types.h"
#include "engine/math/Size.h"
#include "engine/math/Vec2.h"
#include "engine/scene/Node.h"
#include "engine/scene/Sprite.h"

#include "Constants.h"
#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "XmlDocument.h"
#include "ui/NodeFromJson.h"

namespace {

using XmlNode = rapidxml::xml_node<char>;

constexpr const char* kTutorialsFolder = "ui/Tutorials";
constexpr float kPulseSeconds = 0.6f;
constexpr float kPulseScale = 0.97f;
const cocos2d::Color4B kTextOutline(43, 29, 18, 255);
constexpr int kTextOutlineSize = 3;

bool hasAttribute(const XmlNode* element, const char* name) {
    return element->first_attribute(name) != nullptr;
}

// How a step's arrow turns and where its text goes, by the step's direction.
struct ArrowLayout {
    float rotation;
    cocos2d::Vec2 text;
    // Left, right, or -1 for the description's own alignment.
    int alignment;
};

constexpr int kKeepAlignment = -1;

ArrowLayout layoutFor(const std::string& dir, float tw, float th) {
    const float s = kTutorialArrowRect.origin.x;
    const float d = kTutorialArrowRect.size.width;
    const int left = static_cast<int>(cocos2d::TextHAlignment::LEFT);
    const int right = static_cast<int>(cocos2d::TextHAlignment::RIGHT);
    if (dir == "l") {
        return {45.0f, cocos2d::Vec2(0.0f, 0.0f), kKeepAlignment};
    }
    if (dir == "u") {
        return {135.0f, cocos2d::Vec2(0.0f, -s - th / 2.0f), left};
    }
    if (dir == "r") {
        return {225.0f, cocos2d::Vec2(-s - tw / 2.0f, 0.0f), kKeepAlignment};
    }
    if (dir.size() == 1) {
        return {315.0f, cocos2d::Vec2(0.0f, s + th / 2.0f), right};
    }
    if (dir == "ld" || dir == "dl") {
        return {0.0f, cocos2d::Vec2(d + tw / 2.0f, d + th / 2.0f), right};
    }
    if (dir == "lu" || dir == "ul") {
        return {90.0f, cocos2d::Vec2(d + tw / 2.0f, -d - th / 2.0f), left};
    }
    if (dir == "ru" || dir == "ur") {
        return {180.0f, cocos2d::Vec2(-d - tw / 2.0f, -d - th / 2.0f), left};
    }
    return {270.0f, cocos2d::Vec2(-d - tw / 2.0f, d + th / 2.0f), right};
}

}  // namespace

TutorialScreen* TutorialScreen::create() {
    auto* tutorial = new (std::nothrow) TutorialScreen();
    if (tutorial != nullptr && tutorial->init()) {
        tutorial->autorelease();
        return tutorial;
    }
    delete tutorial;
    return nullptr;
}

TutorialScreen::~TutorialScreen() {
    cocos2d::log("=== %s ===\n", "TutorialScreen::~TutorialScreen");
}

std::string TutorialScreen::tutorialPath(int number) {
    return "tutorials/tutorial_" + std::to_string(number) + ".xml";
}

void TutorialScreen::showTutorial(int number, const std::function<void()>& closeCallback) {
    setPosition(0.0f, 0.0f);
    _tutorialId = number;
    _currentStep = -1;
    _stepReady = false;
    _blockTouches = true;
    _manualAdvance = false;
    _closeCallback = closeCallback;

    NodeFromJson loader(kTutorialsFolder);

    const std::string path = tutorialPath(number);
    const std::string text = readXmlFileText(path);
    XmlDocument document;
    const XmlNode* items = nullptr;
    if (!document.parse(text)) {
        cocos2d::log("Load %s list: %s", path.c_str(), document.error().c_str());
    } else {
        items = document.root("Items");
        if (items == nullptr) {
            cocos2d::log("Load %s list: %s", path.c_str(),
                         text.empty() ? "the file is missing or empty" : "no root element \"Items\"");
        }
    }

    const cocos2d::Size visible = cocos2d::Director::getInstance()->getVisibleSize();
    int stepNumber = 0;
    for (const XmlNode* element : childElements(items)) {
        ++stepNumber;
        const std::string alignX = attributeText(element, "alignx");
        const std::string alignY = attributeText(element, "aligny");
        const std::string textX = attributeText(element, "x");
        const std::string textY = attributeText(element, "y");
        float x = static_cast<float>(std::atof(textX.c_str()));
        float y = static_cast<float>(std::atof(textY.c_str()));
        if (alignX == "l") {
            x = x - visible.width / 2.0f;
        } else if (alignX == "r") {
            x = visible.width / 2.0f - x;
        }
        if (alignY == "b" || alignY == "d") {
            y = y - visible.height / 2.0f;
        } else if (alignY == "t" || alignY == "u") {
            y = visible.height / 2.0f - y;
        }
        // A point off the screen leaves the step unseen: it is built all the same, with a line saying why.
        if (!(std::fabs(x) <= visible.width / 2.0f && std::fabs(y) <= visible.height / 2.0f)) {
            cocos2d::log("Load %s list: step %d points outside the screen (x \"%s\", y \"%s\")", path.c_str(),
                         stepNumber, textX.c_str(), textY.c_str());
        }
        if (hasAttribute(element, "transparentClick")) {
            _blockTouches = false;
            _closeSound = false;
        }
        buildStep(loader, x, y, attributeText(element, "dir"), attributeText(element, "textid"),
                  !hasAttribute(element, "nofader"));
    }

    // Recorded whether or not the file could be read: the caller's next save point stores it.
    Settings::getInstance().getCurrentUser().shownTutorials.push_back(number);

    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kStepReadySeconds),
                                        cocos2d::CallFunc::create([this] { _stepReady = true; }), nullptr));
    nextStep();
    _stepReady = false;
    setCascadeOpacityEnabled(true);
}

void TutorialScreen::buildStep(NodeFromJson& loader, float x, float y, const std::string& dir,
                               const std::string& textId, bool dimmed) {
    cocos2d::Node* step = loader.createNode("item");
    if (step == nullptr) {
        return;
    }
    addChild(step);

    cocos2d::Node* arrow = step->getChildByName("tut_arrow");
    if (arrow != nullptr) {
        arrow->setAnchorPoint(cocos2d::Vec2(0.0f, 0.0f));
        arrow->setPosition(0.0f, 0.0f);
    }
    auto* label = dynamic_cast<cocos2d::Label*>(step->getChildByName("text"));
    float tw = 0.0f;
    float th = 0.0f;
    if (label != nullptr) {
        const std::string key = cocos2d::StringUtils::format("tutorial-%d_%s", _tutorialId, textId.c_str());
        label->setString(TextTable::getInstance().getText("Tutorials", key));
        // The text often lies over a light part of a painting: a dark rim keeps it readable there.
        label->enableOutline(kTextOutline, kTextOutlineSize);
        tw = label->getContentSize().width;
        th = label->getContentSize().height;
        const cocos2d::Vec2 origin = cocos2d::Director::getInstance()->getVisibleOrigin();
        const cocos2d::Size box = label->getDimensions();
        label->setDimensions(box.width - origin.x / 2.0f, box.height - origin.y / 2.0f);
    }
    cocos2d::Node* back = step->getChildByName("tut_back");
    if (back != nullptr) {
        back->setVisible(false);
    }

    if (dir == "c") {
        if (arrow != nullptr) {
            arrow->setVisible(false);
        }
    } else {
        if (arrow != nullptr) {
            arrow->runAction(cocos2d::RepeatForever::create(
                cocos2d::Sequence::create(cocos2d::ScaleTo::create(kPulseSeconds, kPulseScale),
                                          cocos2d::ScaleTo::create(kPulseSeconds, 1.0f), nullptr)));
        }
        const ArrowLayout layout = layoutFor(dir, tw, th);
        if (arrow != nullptr) {
            arrow->setRotation(layout.rotation);
        }
        if (label != nullptr) {
            label->setPosition(layout.text);
            if (layout.alignment != kKeepAlignment) {
                label->setAlignment(static_cast<cocos2d::TextHAlignment>(layout.alignment),
                                    label->getVerticalAlignment());
            }
        }
    }

    step->setPosition(x, y);
    _steps.push_back(step);
    step->setCascadeOpacityEnabled(true);
    step->setOpacity(0);
    step->setTag(dimmed ? kDimmedStepTag : kUndimmedStepTag);

    if (textId.empty()) {
        if (label != nullptr) {
            label->setVisible(false);
        }
        if (back != nullptr) {
            back->setVisible(false);
        }
    }
}

bool TutorialScreen::nextStep() {
    _stepReady = false;
    if (_finished) {
        return false;
    }
    if (_currentStep >= 0 && _currentStep < static_cast<int>(_steps.size())) {
        _steps[static_cast<size_t>(_currentStep)]->runAction(cocos2d::FadeOut::create(kStepFadeSeconds));
    }
    ++_currentStep;
    if (_currentStep >= static_cast<int>(_steps.size())) {
        // Past the last step: the popup closes once, whoever asks again.
        _finished = true;
        _manualAdvance = true;
        cocos2d::RefPtr<TutorialScreen> keep(this);
        close();
        if (_closeCallback) {
            std::function<void()> callback = _closeCallback;
            callback();
        }
        return false;
    }
    cocos2d::Node* step = _steps[static_cast<size_t>(_currentStep)];
    if (_dimBackground != nullptr) {
        _dimBackground->setVisible(step->getTag() == kDimmedStepTag);
    }
    step->runAction(cocos2d::FadeIn::create(kStepFadeSeconds));
    step->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kStepReadySeconds),
                                              cocos2d::CallFunc::create([this] { _stepReady = true; }),
                                              nullptr));
    return true;
}

bool TutorialScreen::onTouchBegan(cocos2d::Touch*, cocos2d::Event*) {
    if (_manualAdvance) {
        return false;
    }
    if (_blockTouches) {
        return true;
    }
    // Let through: every tap schedules one advance, at once on a ready step, else when it would be.
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(_stepReady ? 0.0f : kStepReadySeconds),
                                        cocos2d::CallFunc::create([this] {
                                            if (!_manualAdvance) {
                                                nextStep();
                                            }
                                        }),
                                        nullptr));
    return false;
}

void TutorialScreen::onTouchEnded(cocos2d::Touch*, cocos2d::Event*) {
    if (_stepReady && !_manualAdvance) {
        nextStep();
    }
}

void TutorialScreen::onKeyReleased(cocos2d::EventKeyboard::KeyCode, cocos2d::Event*) {}
