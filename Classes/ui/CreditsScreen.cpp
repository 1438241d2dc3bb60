#include "ui/CreditsScreen.h"

#include <cstdio>
#include <new>

#include "Settings.h"
#include "StringHelpers.h"
#include "TextTable.h"
#include "engine/2d/Label.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/MoveBy.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/scene/TransitionFade.h"
#include "ui/GalleryScreen.h"
#include "ui/NodeFromJson.h"

using cocos2d::Vec2;

namespace {

constexpr int kDecorationTag = 1;
constexpr unsigned kGlLinear = 0x2601;
constexpr unsigned kGlRepeat = 0x2901;
constexpr float kMapDrift = 50.0f / 5.0f;
constexpr float kCloudDrift = 50.0f * 0.5f;
constexpr float kGalleryFadeSeconds = 1.0f;
// The credits stand alone on the drifting map and clouds for half of each page once their decoration
// has slid away: a halo in the parchment's colour keeps every letter on a backing of its own.
const cocos2d::Color4B kLetterHalo(247, 238, 218, 255);
constexpr int kLetterHaloWidth = 3;

// The map's own look: pinned by its top-left corner to the visible area's, widened to twice the
// centre's distance from the left edge, and wrapping so its texture rectangle can drift for ever.
void placeDriftingLayer(cocos2d::Sprite* layer, const Vec2& c) {
    layer->setAnchorPoint(Vec2(0.0f, 1.0f));
    layer->setPosition(-c.x, c.y);
    const float width = layer->getContentSize().width;
    if (width > 0.0f) {
        layer->setScale(2.0f * c.x / width);
    }
    if (cocos2d::Texture2D* texture = layer->getTexture()) {
        texture->setTexParameters({kGlLinear, kGlLinear, kGlRepeat, kGlRepeat});
    }
}

void driftTextureRect(cocos2d::Sprite* layer, float dx) {
    if (layer == nullptr) {
        return;
    }
    cocos2d::Rect rect = layer->getTextureRect();
    rect.origin.x += dx;
    layer->setTextureRect(rect);
}

}  // namespace

CreditsScreen* CreditsScreen::create() {
    auto* screen = new (std::nothrow) CreditsScreen();
    if (screen != nullptr && screen->init()) {
        screen->autorelease();
        return screen;
    }
    delete screen;
    return nullptr;
}

CreditsScreen::~CreditsScreen() {
    cocos2d::log("=== %s ===\n", "CreditsScreen::~CreditsScreen");
}

bool CreditsScreen::init() {
    if (!ScreenBase::init()) {
        return false;
    }
    buildUi();
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kFirstPageDelay),
                                        cocos2d::CallFunc::create([this] { showPage(); }), nullptr));
    scheduleUpdate();

    auto* listener = cocos2d::EventListenerTouchAllAtOnce::create();
    listener->onTouchesBegan = [this](const std::vector<cocos2d::Touch*>&, cocos2d::Event*) { leave(); };
    listener->onTouchesMoved = [](const std::vector<cocos2d::Touch*>&, cocos2d::Event*) {};
    listener->onTouchesEnded = [](const std::vector<cocos2d::Touch*>&, cocos2d::Event*) {};
    listener->onTouchesCancelled = [](const std::vector<cocos2d::Touch*>&, cocos2d::Event*) {};
    cocos2d::Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener,
                                                                                                  this);
    return true;
}

void CreditsScreen::buildUi() {
    const cocos2d::Size visible = cocos2d::Director::getInstance()->getVisibleSize();
    const Vec2 c = visibleCenter();
    NodeFromJson loader("ui/Map");

    cocos2d::Node* backgrounds = loader.createNode("Backgrounds");
    if (backgrounds != nullptr) {
        backgrounds->setPosition(0.0f, 0.0f);
        addChild(backgrounds);
        _backgroundMap = dynamic_cast<cocos2d::Sprite*>(backgrounds->getChildByName("BackgroundMap"));
        _clouds = dynamic_cast<cocos2d::Sprite*>(backgrounds->getChildByName("Clouds"));
        for (cocos2d::Sprite* layer : {_backgroundMap, _clouds}) {
            if (layer != nullptr) {
                placeDriftingLayer(layer, c);
            }
        }
        if (cocos2d::Node* light = backgrounds->getChildByName("TopBackgroundLight")) {
            light->setPosition(0.0f, 0.0f);
        }
        _faderPlace = backgrounds->getChildByName("faderPlace");
        if (_faderPlace != nullptr) {
            if (cocos2d::Sprite* tint = cocos2d::Sprite::create()) {
                tint->setTextureRect(cocos2d::Rect(0.0f, 0.0f, visible.width, visible.height));
                tint->setColor(cocos2d::Color3B(224, 247, 255));
                tint->setOpacity(128);
                _faderPlace->addChild(tint);
            }
            _faderPlace->setOpacity(0);
            _faderPlace->setCascadeOpacityEnabled(true);
            _faderPlace->setPosition(0.0f, 0.0f);
        }
    }

    addSignposts(loader, visible);

    cocos2d::Node* credits = loader.createNode("Credits");
    if (credits == nullptr) {
        return;
    }
    addChild(credits, 0, kCreditsTag);
    for (int tag = 1; tag <= 2; ++tag) {
        cocos2d::Node* panel = credits->getChildByTag(tag);
        if (panel == nullptr) {
            continue;
        }
        panel->setCascadeOpacityEnabled(true);
        panel->setVisible(false);
        cocos2d::Node* decoration = panel->getChildByTag(kDecorationTag);
        auto* label = dynamic_cast<cocos2d::Label*>(panel->getChildByName("lbl"));
        CreditsPanelPositions record;
        if (decoration != nullptr) {
            record.decorationPosition = decoration->getPosition();
        }
        if (label != nullptr) {
            record.labelPosition = label->getPosition();
            cocos2d::log("label heigth = %f", label->getLineHeight());
            label->enableOutline(kLetterHalo, kLetterHaloWidth);
        }
        const Vec2 across(visible.width, 0.0f);
        if (tag == 1) {
            record.shown = panel->getPosition() + Vec2(116.0f, 0.0f);
            record.start = record.shown + across;
            record.end = record.shown - across;
        } else {
            if (decoration != nullptr) {
                decoration->setScaleX(-1.0f);
            }
            record.shown = panel->getPosition() + Vec2(90.0f, 0.0f);
            record.start = record.shown - across;
            record.end = record.shown + across;
            if (label != nullptr) {
                label->setLineHeight(0.9f * label->getLineHeight());
            }
        }
        panel->setPosition(record.shown);
        _panelPositions.push_back(record);
        _holders.push_back(panel);
    }
}

void CreditsScreen::addSignposts(NodeFromJson& loader, const cocos2d::Size& visible) {
    // The pages come and go with pauses between them; a title over the map and a way back stay the
    // whole time, so the screen never looks as if it had stopped. Any touch leaves, the button too.
    loader.loadSheet("Map");
    cocos2d::SpriteFrameCache* frames = cocos2d::SpriteFrameCache::getInstance();
    const std::string font = Settings::getInstance().getFontPath("ArialBold");
    TextTable& texts = TextTable::getInstance();
    struct Signpost {
        const char* frame;
        const char* text;
        Vec2 position;
        float fontSize;
        const char* name;
    };
    const Signpost signposts[] = {
        {"map_ribbon.png", "btn_credits", Vec2(0.0f, visible.height / 2.0f - 70.0f), 34.0f, "credits_title"},
        {"map_btn_back.png", "btn_menu", Vec2(visible.width / 2.0f - 140.0f, -visible.height / 2.0f + 60.0f), 28.0f,
         "credits_back"},
    };
    for (const Signpost& post : signposts) {
        if (frames->getSpriteFrameByName(post.frame) == nullptr) {
            cocos2d::log("CreditsScreen: no frame %s for %s", post.frame, post.name);
            continue;
        }
        cocos2d::Sprite* plate = cocos2d::Sprite::createWithSpriteFrameName(post.frame);
        if (plate == nullptr) {
            continue;
        }
        plate->setName(post.name);
        plate->setPosition(post.position);
        const cocos2d::Size size = plate->getContentSize();
        if (cocos2d::Label* label = cocos2d::Label::createWithTTF(texts.getText("ui", post.text), font, post.fontSize,
                                                                 size, cocos2d::TextHAlignment::CENTER,
                                                                 cocos2d::TextVAlignment::CENTER)) {
            label->setTextColor(cocos2d::Color4B(255, 247, 226, 255));
            label->enableShadow(cocos2d::Color4B(0, 0, 0, 160));
            label->setPosition(size.width / 2.0f, size.height / 2.0f);
            plate->addChild(label);
        }
        addChild(plate, 5);
    }
}

void CreditsScreen::showPage() {
    cocos2d::log("\n next text");
    bool anyShown = false;
    for (int slot = 0; slot < 2; ++slot) {
        // Both panels are filled (or hidden) before the verdict: one missing text only hides its own.
        anyShown = showText(slot) || anyShown;
    }
    if (!anyShown) {
        leave();
    }
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(_moveTime * 1.1f + _showTime),
                                        cocos2d::CallFunc::create([this] { showPage(); }), nullptr));
    _page += 1;
}

bool CreditsScreen::showText(int slot) {
    char key[32];
    std::snprintf(key, sizeof key, "CreditsText%d%d", slot + 1, _page);
    const std::string text = TextTable::getInstance().getText("ui", key);
    const bool present = text.find(toLowerCase(key)) == std::string::npos;
    if (slot < 0 || static_cast<size_t>(slot) >= _holders.size()) {
        return present;
    }
    cocos2d::Node* panel = _holders[slot];
    const CreditsPanelPositions& r = _panelPositions[slot];
    panel->setVisible(present);
    if (!present) {
        return false;
    }
    const float m = _moveTime;
    const float s = _showTime;
    const Vec2 d = r.end - r.shown;

    panel->setPosition(r.start);
    panel->stopAllActions();
    panel->runAction(cocos2d::EaseIn::create(cocos2d::MoveTo::create(m, r.shown), 1.0f));

    if (auto* label = dynamic_cast<cocos2d::Label*>(panel->getChildByName("lbl"))) {
        label->setString(text);
        label->setPosition(r.labelPosition);
        label->stopAllActions();
        label->runAction(cocos2d::Sequence::create(
            cocos2d::DelayTime::create(m), cocos2d::MoveBy::create(s * 0.5f, d / 25.0f),
            cocos2d::EaseIn::create(cocos2d::MoveTo::create(m * 0.5f, d), 5.0f), nullptr));
    }
    if (cocos2d::Node* decoration = panel->getChildByTag(kDecorationTag)) {
        decoration->setPosition(r.decorationPosition);
        decoration->stopAllActions();
        decoration->runAction(cocos2d::Sequence::create(
            cocos2d::DelayTime::create(m), cocos2d::EaseOut::create(cocos2d::MoveBy::create(m, d), 1.0f),
            nullptr));
    }
    return true;
}

void CreditsScreen::update(float dt) {
    driftTextureRect(_backgroundMap, dt * kMapDrift);
    driftTextureRect(_clouds, dt * kCloudDrift);
}

void CreditsScreen::leave() {
    // A second touch or the page timer may ask again before the scene has changed; a second pop
    // would take the level's scene away as well.
    if (_left) {
        return;
    }
    _left = true;
    if (Settings::getInstance().getReturnScreen() == "game") {
        cocos2d::Director::getInstance()->popScene();
        return;
    }
    cocos2d::Scene* scene = cocos2d::Scene::create();
    GalleryScreen* gallery = GalleryScreen::create();
    if (scene == nullptr || gallery == nullptr) {
        return;
    }
    scene->addChild(gallery);
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(kGalleryFadeSeconds, scene));
}
