#include "minigames/MinigamesSelectionScreen.h"

#include <new>
#include <string>

#include "engine/2d/Label.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/ScaleTo.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Types.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"
#include "engine/ui/Widget.h"

#include "MinigameKind.h"
#include "Profile.h"
#include "Settings.h"
#include "StringHelpers.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/MinigameLevels.h"
#include "minigames/MinigameScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"

namespace {

constexpr const char* kUiFolder = "ui/MinigamesSelection";
constexpr int kClosedMarkTag = 1;
constexpr float kOpenStartScale = 0.5f;
constexpr float kOpenSeconds = 0.15f;
constexpr float kReplaceFadeSeconds = 1.0f;

}  // namespace

MinigamesSelectionScreen* MinigamesSelectionScreen::create() {
    auto* panel = new (std::nothrow) MinigamesSelectionScreen();
    if (panel != nullptr && panel->init()) {
        panel->autorelease();
        return panel;
    }
    delete panel;
    return nullptr;
}

MinigamesSelectionScreen::~MinigamesSelectionScreen() {
    cocos2d::log("=== %s ===\n", "MinigamesSelectionScreen::~MinigamesSelectionScreen");
    _resultCallback = nullptr;
}

int32_t MinigamesSelectionScreen::kindOfContainer(const std::string& name) {
    for (int32_t kind = 0; kind < kMinigameKindCount; ++kind) {
        if (name == std::string(minigameName(kind)) + "BtnCont") {
            return kind;
        }
    }
    return -1;
}

bool MinigamesSelectionScreen::init() {
    if (!Layer::init()) {
        return false;
    }
    cocos2d::log("<--- minigameSelection step %s \n", "0");

    {
        NodeFromJson loader(kUiFolder);
        _ui = loader.createNode("UI");
    }
    if (_ui == nullptr) {
        // A broken resource tree: no panel rather than a crash.
        cocos2d::log("MinigamesSelectionScreen: %s has no \"UI\"", kUiFolder);
        return false;
    }
    addChild(_ui);
    _ui->setPosition(0.0f, 0.0f);

    if (auto* close = dynamic_cast<cocos2d::ui::Widget*>(_ui->getChildByName("CloseButton"))) {
        close->addClickEventListener([this](cocos2d::Ref*) { onCloseButton(); });
    }

    setUpButtons();

    _ui->setScale(kOpenStartScale);
    _ui->runAction(cocos2d::EaseBackOut::create(cocos2d::ScaleTo::create(kOpenSeconds, 1.0f)));
    return true;
}

void MinigamesSelectionScreen::setUpButtons() {
    cocos2d::Node* buttons = _ui->getChildByName("PuzzleButtons");
    if (buttons == nullptr) {
        return;
    }
    const Profile& profile = Settings::getInstance().getCurrentUser();
    for (cocos2d::Node* container : buttons->getChildren()) {
        const int32_t kind = kindOfContainer(container->getName());
        if (kind < 0) {
            continue;
        }
        auto* button = dynamic_cast<cocos2d::ui::Widget*>(container->getChildByName("Button"));
        if (button != nullptr) {
            button->addClickEventListener([this, kind](cocos2d::Ref*) { launchMinigame(kind); });
        }
        if (auto* label = dynamic_cast<cocos2d::Label*>(container->getChildByName("LabelLevel"))) {
            label->enableOutline(cocos2d::Color4B::BLACK, 1);
            label->setString(intToString(minigameLevelOf(profile, kind) + 1));
        }
        const auto entry = profile.minigameAvailability.find(kind);
        const bool available = entry != profile.minigameAvailability.end() && entry->second;
        if (available) {
            if (cocos2d::Node* frame = container->getChildByName("mini_frame")) {
                frame->removeChildByTag(kClosedMarkTag, true);
            }
        } else if (button != nullptr) {
            button->setEnabled(false);
        }
    }
}

void MinigamesSelectionScreen::launchMinigame(int32_t kind) {
    if (_launching) {
        return;
    }
    _launching = true;

    currentMinigameLevel = minigameLevelOf(Settings::getInstance().getCurrentUser(), kind);
    currentMinigameKind = kind;

    MinigameScreen* screen = MinigameScreen::create();
    if (screen == nullptr) {
        cocos2d::log("MinigamesSelectionScreen: minigame %d could not start", kind);
        _launching = false;
        return;
    }
    cocos2d::Scene* scene = cocos2d::Scene::create();
    scene->addChild(screen);

    if (_resultCallback) {
        // The screen may outlive a panel whose level was torn down under it; the panel lives as long.
        cocos2d::RefPtr<MinigamesSelectionScreen> self(this);
        screen->setOnFinished([self](bool won) { self->onMinigameFinished(won); });
        cocos2d::Director::getInstance()->pushScene(scene);
    } else {
        cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(kReplaceFadeSeconds, scene));
    }
}

void MinigamesSelectionScreen::onMinigameFinished(bool won) {
    if (_resultCallback) {
        std::function<void(bool)> callback = _resultCallback;
        callback(won);
    }
    if (won) {
        Settings::getInstance().getCurrentUser().minigameAvailability[currentMinigameKind] = false;
    }
    closeContainer();
}

void MinigamesSelectionScreen::onCloseButton() {
    closeContainer();
}

void MinigamesSelectionScreen::closeContainer() {
    if (auto* container = dynamic_cast<PopupScreenBase*>(getParent())) {
        container->close();
    } else {
        removeFromParentAndCleanup(true);
    }
}
