#include "nodes/LevelStatistic.h"

#include <new>

#include "engine/2d/Label.h"
#include "engine/2d/ParticleSystemQuad.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/BezierTo.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/RotateBy.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/base/Log.h"
#include "engine/base/StringUtils.h"
#include "engine/ui/RichElement.h"
#include "engine/ui/RichText.h"
#include "engine/ui/Widget.h"

#include "GameSound.h"
#include "PackPicture.h"
#include "PictureProgress.h"
#include "Profile.h"
#include "ProgressQueries.h"
#include "ScrollingNumberAction.h"
#include "Settings.h"
#include "TextTable.h"
#include "ui/PopupScreenBase.h"

using cocos2d::Node;
using cocos2d::Vec2;

namespace {

const cocos2d::Color3B kTitleColour(249, 243, 222);
const cocos2d::Color3B kAuthorColour(146, 47, 68);

// A radial burst of the stats' star particles at the centre of a node, fading in.
cocos2d::ParticleSystemQuad* starBurst(Node* on, float duration, float fadeSeconds) {
    cocos2d::ParticleSystemQuad* particles = cocos2d::ParticleSystemQuad::create("particles/stars_in_stats.plist");
    if (particles == nullptr) {
        return nullptr;
    }
    particles->setAutoRemoveOnFinish(true);
    particles->setEmitterMode(cocos2d::ParticleSystem::Mode::RADIUS);
    if (duration > 0.0f) {
        particles->setDuration(duration);
    }
    particles->setStartRadius(0.0f);
    particles->setEndRadius(93.0f);
    particles->setPosition(Vec2(on->getContentSize().width, on->getContentSize().height) * 0.5f);
    particles->setScale(0.5f);
    if (fadeSeconds > 0.0f) {
        particles->setOpacity(0);
        particles->runAction(cocos2d::FadeIn::create(fadeSeconds));
    }
    return particles;
}

cocos2d::Label* childLabel(Node* node, const std::string& name) {
    return node != nullptr ? dynamic_cast<cocos2d::Label*>(node->getChildByName(name)) : nullptr;
}

}  // namespace

LevelStatistic* LevelStatistic::create() {
    auto* panel = new (std::nothrow) LevelStatistic();
    if (panel != nullptr && panel->init()) {
        panel->autorelease();
        return panel;
    }
    delete panel;
    return nullptr;
}

LevelStatistic::~LevelStatistic() {
    cocos2d::log("=== %s ===\n", "LevelStatistic::~LevelStatistic");
}

void LevelStatistic::initWithJson(const rapidjson::Value& element) {
    FactoryNode::initWithJson(element);
    if (auto* ok = dynamic_cast<cocos2d::ui::Widget*>(getChildByName("ok_btn"))) {
        ok->addClickEventListener([this](cocos2d::Ref*) {
            if (auto* container = dynamic_cast<PopupScreenBase*>(getParent())) {
                container->close();
            }
        });
    }
    if (cocos2d::Label* caption = childLabel(this, "level_stat_caption")) {
        caption->setString(TextTable::getInstance().getText("ui", "level_stat_caption"));
    }
    setCascadeOpacityEnabled(true);
    setPosition(Vec2::ZERO);
}

std::string LevelStatistic::formatTime(float seconds) {
    const int32_t secs = static_cast<int32_t>(seconds) % 60;
    const int32_t minutes = static_cast<int32_t>(seconds / 60.0f);
    return cocos2d::StringUtils::format("%d:%s%d", minutes, secs < 10 ? "0" : "", secs);
}

void LevelStatistic::show(const std::string& pictureName, int32_t reward) {
    _pictureName = pictureName;
    Profile& profile = Settings::getInstance().getCurrentUser();
    static const PictureProgress kNoRecord;
    const auto found = profile.world.pictures.find(pictureName);
    const PictureProgress& record = found != profile.world.pictures.end() ? found->second : kNoRecord;
    PackPicture packPicture;
    if (const PackPicture* pack = findPackPicture(profile.currentPicture)) {
        packPicture = *pack;
    }

    const TextTable& texts = TextTable::getInstance();
    if (cocos2d::Label* header = childLabel(this, "header")) {
        header->setString(texts.getText("Picture", pictureName));
    }

    if (Node* badge = getChildByName("reward")) {
        badge->setCascadeOpacityEnabled(true);
        const Vec2 home = badge->getPosition();
        badge->runAction(cocos2d::Sequence::create(
            cocos2d::DelayTime::create(kBadgeAfter),
            cocos2d::EaseBackOut::create(cocos2d::Spawn::create(cocos2d::MoveTo::create(0.25f, home),
                                                                cocos2d::ScaleTo::create(0.25f, 1.0f), nullptr)),
            nullptr));
        badge->setScale(0.5f);
        if (Node* place = getChildByName("reward_place")) {
            badge->setPosition(place->getPosition());
        }
        if (cocos2d::Label* label = childLabel(badge, "lbl")) {
            label->setString("$0");
            if (reward > 0) {
                label->runAction(cocos2d::Sequence::create(
                    cocos2d::DelayTime::create(kFlyAfter),
                    ScrollingNumberAction::create(0, reward, kCountSeconds, "$"), nullptr));
            }
            const Vec2 target = badge->getPosition();
            animateCounter(getChildByName("drops"), record.dropsUsed, target);
            animateCounter(getChildByName("items"), record.restoredCount, target);
            animateCounter(getChildByName("defects"), record.mistakes, target);
            animateCounter(getChildByName("flies"), record.flies, target);
            animateCounter(getChildByName("time"), 0, target);
        }
    }

    if (cocos2d::Label* time = childLabel(getChildByName("time"), "lbl")) {
        time->setString(formatTime(record.time));
    }

    if (auto* placeholder = dynamic_cast<cocos2d::Label*>(getChildByName("fun_facts"))) {
        const cocos2d::TTFConfig config = placeholder->getTTFConfig();
        const cocos2d::Color3B factColour = placeholder->getColor();
        const float width = placeholder->getDimensions().width;
        const float size = config.fontSize;

        auto makeLabel = [&](const std::string& text, float fontSize) {
            return cocos2d::Label::createWithTTF(text, config.fontFilePath, fontSize, cocos2d::Size(width, 0.0f));
        };
        cocos2d::Label* title = makeLabel(texts.getText("Picture", pictureName), size * 1.5f);
        cocos2d::Label* author =
            makeLabel(texts.getText("Authors", packPicture.authorId) + ", " + packPicture.year, size);
        cocos2d::Label* fact = makeLabel(texts.getText("FunFacts", pictureName), size);
        if (title != nullptr && author != nullptr && fact != nullptr) {
            title->setColor(kTitleColour);
            title->enableShadow(cocos2d::Color4B(0, 0, 0, 190), cocos2d::Size(2.0f, -2.0f), 0);
            author->setColor(kAuthorColour);
            fact->setColor(factColour);

            auto* rich = cocos2d::ui::RichText::create();
            rich->setPosition(placeholder->getPosition());
            rich->ignoreContentAdaptWithSize(false);
            rich->setContentSize(placeholder->getContentSize());
            rich->setCascadeOpacityEnabled(true);
            auto* newLine = cocos2d::ui::RichElementText::createNewLine(3, config.fontFilePath, size);
            rich->pushBackElement(cocos2d::ui::RichElementCustomNode::create(1, kTitleColour, 255, title));
            rich->pushBackElement(newLine);
            rich->pushBackElement(newLine);
            rich->pushBackElement(cocos2d::ui::RichElementCustomNode::create(2, kAuthorColour, 255, author));
            rich->pushBackElement(newLine);
            rich->pushBackElement(newLine);
            rich->pushBackElement(cocos2d::ui::RichElementCustomNode::create(3, factColour, 255, fact));
            placeholder->removeFromParent();
            addChild(rich);
        } else {
            cocos2d::log("fun facts: font '%s' not loaded", config.fontFilePath.c_str());
        }
    }

    if (Node* stars = getChildByName("statStars")) {
        stars->setCascadeOpacityEnabled(true);
        stars->enumerateChildren("//StatStar", [](Node* slot) {
            slot->setCascadeOpacityEnabled(true);
            if (Node* lit = slot->getChildByTag(1)) {
                lit->setVisible(false);
            }
            return false;
        });
    }

    Settings::getInstance().addEvidence(packPicture.evidence);
    removeChildByName("ArrowUp");
    removeChildByName("ArrowDown");
}

void LevelStatistic::animateCounter(Node* line, int32_t value, const Vec2& target) {
    if (line == nullptr) {
        return;
    }
    line->setCascadeOpacityEnabled(true);
    cocos2d::ccBezierConfig path;
    path.endPosition = target;
    path.controlPoint_1 = line->getPosition() + Vec2(-100.0f, -100.0f);
    path.controlPoint_2 = target + Vec2(100.0f, -100.0f);
    line->runAction(cocos2d::Sequence::create(
        cocos2d::DelayTime::create(kFlyAfter),
        cocos2d::EaseIn::create(cocos2d::Spawn::create(cocos2d::BezierTo::create(0.5f, path),
                                                       cocos2d::ScaleTo::create(0.5f, 0.0f), nullptr),
                                1.0f),
        nullptr));
    cocos2d::Label* label = childLabel(line, "lbl");
    if (label == nullptr) {
        return;
    }
    label->setString("0");
    if (value > 0) {
        label->runAction(cocos2d::Sequence::create(
            ScrollingNumberAction::create(0, value, kCountSeconds, ""), cocos2d::CallFunc::create([line] {
                if (cocos2d::ParticleSystemQuad* particles = starBurst(line, 0.75f, 0.25f)) {
                    line->addChild(particles, 0);
                }
            }),
            nullptr));
    }
}

void LevelStatistic::moveStars() {
    cocos2d::log("LevelStatistic::moveStars");
    Node* stars = getChildByName("statStars");
    if (stars == nullptr) {
        return;
    }
    float delay = kFirstStarDelay;
    bool moved = false;
    for (int i = 1; i <= 3; ++i) {
        Node* star = getChildByTag(i);
        Node* slot = stars->getChildByTag(i);
        if (star == nullptr || slot == nullptr) {
            continue;
        }
        moved = true;
        const Vec2 end = stars->getPosition() + slot->getPosition();
        cocos2d::ccBezierConfig path;
        path.endPosition = end;
        path.controlPoint_1 = star->getPosition() + Vec2(-300.0f, 100.0f);
        path.controlPoint_2 = star->getPosition() + Vec2(300.0f, -700.0f);
        star->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(delay),
                                                  cocos2d::BezierTo::create(0.5f, path),
                                                  cocos2d::CallFunc::create([this, star, slot] { landStar(star, slot); }),
                                                  nullptr));
        star->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(delay),
                                                  cocos2d::RotateBy::create(0.5f, 360.0f), nullptr));
        delay += kStarStagger;
        if (cocos2d::ParticleSystemQuad* trail =
                cocos2d::ParticleSystemQuad::create("particles/item_collected.plist")) {
            trail->setAutoRemoveOnFinish(true);
            trail->setDuration(1.0f);
            trail->setPosition(Vec2::ZERO);
            star->addChild(trail);
        }
        const Vec2 home = getPosition();
        runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(delay + 0.5f),
                                            cocos2d::MoveTo::create(0.03f, home + Vec2(2.0f, -3.0f)),
                                            cocos2d::MoveTo::create(0.06f, home), nullptr));
    }
    if (moved) {
        GameSound::getInstance().playEffect("stat_stars_fly", false);
    }
}

void LevelStatistic::landStar(Node* star, Node* slot) {
    Node* lit = slot->getChildByTag(1);
    if (lit != nullptr) {
        lit->setVisible(true);
        if (cocos2d::ParticleSystemQuad* particles = starBurst(lit, 0.0f, 0.0f)) {
            lit->addChild(particles, 0);
        }
    }
    star->setVisible(false);
}
