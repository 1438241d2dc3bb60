#include "nodes/OptionsScreen.h"

#include <algorithm>
#include <new>
#include <string>

#include "GameSound.h"
#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "engine/2d/Label.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/ScaleTo.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"
#include "engine/ui/Widget.h"
#include "nodes/ChooseUserScreen.h"
#include "ui/CreditsScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"

using cocos2d::ui::CheckBox;
using cocos2d::ui::Widget;

namespace {

constexpr float kAppearScale = 0.4f;
constexpr float kAppearSeconds = 0.15f;
constexpr float kCheckBoxZoom = -0.1f;
constexpr float kCreditsFadeSeconds = 0.5f;
constexpr float kInGameShift = 84.0f;

cocos2d::ProgressTimer* fillerOf(cocos2d::Node* group) {
    cocos2d::Node* slider = group != nullptr ? group->getChildByName("slider") : nullptr;
    return slider != nullptr ? dynamic_cast<cocos2d::ProgressTimer*>(slider->getChildByName("sond_volume_filler"))
                             : nullptr;
}

Widget* widgetOf(cocos2d::Node* parent, const std::string& name) {
    return parent != nullptr ? dynamic_cast<Widget*>(parent->getChildByName(name)) : nullptr;
}

void onClick(cocos2d::Node* parent, const std::string& name, const std::function<void()>& action) {
    if (Widget* button = widgetOf(parent, name)) {
        button->addClickEventListener([action](cocos2d::Ref*) { action(); });
    }
}

}  // namespace

OptionsScreen::OptionsScreen() : _volumeStep(0.1f) {}

OptionsScreen* OptionsScreen::create() {
    auto* panel = new (std::nothrow) OptionsScreen();
    if (panel != nullptr && panel->init()) {
        panel->autorelease();
        return panel;
    }
    delete panel;
    return nullptr;
}

OptionsScreen::~OptionsScreen() {
    cocos2d::log("=== %s ===\n", "OptionsScreen::~OptionsScreen");
}

void OptionsScreen::initWithJson(const rapidjson::Value& element) {
    FactoryNode::initWithJson(element);
    setPosition(0.0f, 0.0f);

    onClick(this, "CloseButton", [this] {
        if (auto* container = dynamic_cast<PopupScreenBase*>(getParent())) {
            container->close();
        }
    });

    cocos2d::Node* music = getChildByName("music");
    _musicFiller = fillerOf(music);
    onClick(music, "plusMusicBtn", [this] { onMusicPlus(); });
    onClick(music, "minusMusicBtn", [this] { onMusicMinus(); });

    cocos2d::Node* sound = getChildByName("sound");
    _soundFiller = fillerOf(sound);
    onClick(sound, "plusBtn", [this] { onSoundPlus(); });
    onClick(sound, "minusSoundBtn", [this] { onSoundMinus(); });

    struct Box {
        const char* group;
        const char* box;
        const char* textId;
        CheckBox** member;
        void (OptionsScreen::*handler)(cocos2d::Ref*, CheckBox::EventType);
    };
    const Box boxes[] = {
        {"full_sceen", "check_box_fullscreen", "fullscreen_label", &_fullscreenCheckBox,
         &OptionsScreen::onFullscreenChanged},
        {"custom_cursor", "check_box_customcursor", "customcursor_label", &_customCursorCheckBox,
         &OptionsScreen::onCustomCursorChanged},
    };
    for (const Box& b : boxes) {
        cocos2d::Node* group = getChildByName(b.group);
        if (group == nullptr) {
            continue;
        }
        if (auto* box = dynamic_cast<CheckBox*>(group->getChildByName(b.box))) {
            *b.member = box;
            auto handler = b.handler;
            box->addEventListener(
                [this, handler](cocos2d::Ref* sender, CheckBox::EventType type) { (this->*handler)(sender, type); });
            box->setZoomScale(kCheckBoxZoom);
        }
        if (auto* label = dynamic_cast<cocos2d::Label*>(group->getChildByName("label"))) {
            label->setString(TextTable::getInstance().getText("ui", b.textId));
        }
    }

    onClick(this, "profiles", [this] { showChooseUser(); });
    onClick(this, "credits", [this] { openCredits(); });
    onClick(this, "exit", [this] { onExitButton(); });

    refresh();
    playAppear();
}

void OptionsScreen::refresh() {
    const Profile& profile = Settings::getInstance().getCurrentUser();
    if (_musicFiller != nullptr) {
        _musicFiller->setPercentage(profile.musicVolume * 100.0f);
    }
    if (_soundFiller != nullptr) {
        _soundFiller->setPercentage(profile.soundVolume * 100.0f);
    }
    if (_customCursorCheckBox != nullptr) {
        _customCursorCheckBox->setSelected(profile.customCursor);
    }
    if (_fullscreenCheckBox != nullptr) {
        _fullscreenCheckBox->setSelected(profile.fullscreen);
    }
}

void OptionsScreen::playAppear() {
    setScale(kAppearScale);
    runAction(cocos2d::EaseBackOut::create(cocos2d::ScaleTo::create(kAppearSeconds, 1.0f)));
}

float OptionsScreen::stepped(float volume, float direction) const {
    return std::clamp(volume + direction * _volumeStep, 0.0f, 1.0f);
}

void OptionsScreen::onMusicPlus() {
    const float v = stepped(Settings::getInstance().getCurrentUser().musicVolume, 1.0f);
    if (_musicFiller != nullptr) {
        _musicFiller->setPercentage(v * 100.0f);
    }
    Settings::getInstance().setMusicVolume(v);
}

void OptionsScreen::onMusicMinus() {
    const float v = stepped(Settings::getInstance().getCurrentUser().musicVolume, -1.0f);
    if (_musicFiller != nullptr) {
        _musicFiller->setPercentage(v * 100.0f);
    }
    Settings::getInstance().setMusicVolume(v);
}

void OptionsScreen::onSoundPlus() {
    const float v = stepped(Settings::getInstance().getCurrentUser().soundVolume, 1.0f);
    if (_soundFiller != nullptr) {
        _soundFiller->setPercentage(v * 100.0f);
    }
    Settings::getInstance().setSoundVolume(v);
}

void OptionsScreen::onSoundMinus() {
    const float v = stepped(Settings::getInstance().getCurrentUser().soundVolume, -1.0f);
    if (_soundFiller != nullptr) {
        _soundFiller->setPercentage(v * 100.0f);
    }
    Settings::getInstance().setSoundVolume(v);
}

void OptionsScreen::onFullscreenChanged(cocos2d::Ref*, CheckBox::EventType eventType) {
    Settings::getInstance().setFullscreen(eventType == CheckBox::EventType::SELECTED);
}

void OptionsScreen::onCustomCursorChanged(cocos2d::Ref*, CheckBox::EventType eventType) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.customCursor = eventType == CheckBox::EventType::SELECTED;
    Settings::getInstance().setCustomCursorEnabled(profile.customCursor);
}

void OptionsScreen::showChooseUser() {
    NodeFromJson loader("ui/OptionsScreen");
    auto* chooser = dynamic_cast<ChooseUserScreen*>(loader.createNode("ChooseUser"));
    if (chooser == nullptr || getParent() == nullptr) {
        cocos2d::log("OptionsScreen: the profile chooser could not be opened");
        return;
    }
    // The chooser takes this panel's place in the same container until it closes.
    chooser->setOnClose([this](cocos2d::Node* node, bool flag) { onChooserClosed(node, flag); });
    getParent()->addChild(chooser);
    GameSound::getInstance().playEffect("btnDown", false);
    setVisible(false);
}

void OptionsScreen::onChooserClosed(cocos2d::Node* chooser, bool) {
    GameSound::getInstance().playEffect("btnDown", false);
    setVisible(true);
    if (chooser != nullptr) {
        chooser->removeFromParent();
    }
}

void OptionsScreen::openCredits() {
    cocos2d::Scene* scene = cocos2d::Scene::create();
    CreditsScreen* credits = CreditsScreen::create();
    if (scene == nullptr || credits == nullptr) {
        return;
    }
    scene->addChild(credits);
    cocos2d::Director* director = cocos2d::Director::getInstance();
    cocos2d::Scene* fade = cocos2d::TransitionFade::create(kCreditsFadeSeconds, scene);
    if (Settings::getInstance().getReturnScreen() == "game") {
        // Pushed over the paused level, so that leaving the credits pops straight back into it.
        director->pushScene(fade);
    } else {
        director->replaceScene(fade);
    }
}

void OptionsScreen::onExitButton() {
    Settings::getInstance().confirmExit();
}

void OptionsScreen::setExitCallback(const std::function<void(cocos2d::Ref*)>& callback) {
    if (Widget* exit = widgetOf(this, "exit")) {
        exit->addClickEventListener(callback);
    }
}

void OptionsScreen::setInGameLayout() {
    if (cocos2d::Node* profiles = getChildByName("profiles")) {
        profiles->removeFromParent();
    }
    if (cocos2d::Node* credits = getChildByName("credits")) {
        credits->setPositionX(credits->getPositionX() + kInGameShift);
    }
    if (cocos2d::Node* exit = getChildByName("exit")) {
        exit->setPositionX(exit->getPositionX() - kInGameShift);
    }
}
