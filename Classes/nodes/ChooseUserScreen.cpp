#include "nodes/ChooseUserScreen.h"

#include <new>
#include <vector>

#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Types.h"
#include "engine/base/String.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/scene/TransitionFade.h"
#include "engine/ui/Button.h"

#include "GameSound.h"
#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "WideString.h"
#include "nodes/NewUserPopup.h"
#include "ui/GameScreen.h"
#include "ui/MapScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/TopLayer.h"

namespace {

const char* const kCurrentPlate = "cu_btn_current.png";
const char* const kCurrentTick = "cu_current.png";
const cocos2d::Color3B kCurrentInk(43, 29, 18);

void playButtonSound() {
    GameSound::getInstance().playEffect("btnDown", false);
}

std::string userObjectName(cocos2d::Ref* sender) {
    auto* node = dynamic_cast<cocos2d::Node*>(sender);
    if (node == nullptr) {
        return "";
    }
    auto* name = dynamic_cast<cocos2d::__String*>(node->getUserObject());
    return name != nullptr ? name->getString() : "";
}

TopLayer* topLayer() {
    return dynamic_cast<TopLayer*>(Settings::getInstance().getTopLayer());
}

}  // namespace

ChooseUserScreen* ChooseUserScreen::create() {
    auto* screen = new (std::nothrow) ChooseUserScreen();
    if (screen != nullptr && screen->init()) {
        screen->autorelease();
        return screen;
    }
    delete screen;
    return nullptr;
}

ChooseUserScreen::~ChooseUserScreen() {
    cocos2d::log("=== %s ===\n", "ChooseUserScreen::~ChooseUserScreen");
}

void ChooseUserScreen::initWithJson(const rapidjson::Value& element) {
    FactoryNode::initWithJson(element);
    setPosition(0.0f, 0.0f);

    if (auto* close = dynamic_cast<cocos2d::ui::Button*>(getChildByName("CloseButton"))) {
        close->addClickEventListener([this](cocos2d::Ref*) {
            if (_onClose) {
                _onClose(this, false);
            }
        });
    }

    Settings& settings = Settings::getInstance();
    std::vector<std::u16string> names;
    settings.getUserNames(names, true);
    const std::string current = narrow(settings.getCurrentUser().name);
    setupUserSlot(1, current, true);

    size_t next = 0;
    for (int slot = 2; slot <= kSlotCount; ++slot) {
        std::string name;
        if (next < names.size()) {
            name = narrow(names[next++]);
            if (name == current) {
                name = next < names.size() ? narrow(names[next++]) : std::string();
            }
        }
        setupUserSlot(slot, name, false);
    }
}

void ChooseUserScreen::makeEmptySlot(cocos2d::ui::Button* user) {
    user->setUserObject(cocos2d::__String::create(""));
    user->addClickEventListener([this](cocos2d::Ref*) { onAddUser(); });
    user->setTitleText(TextTable::getInstance().getText("ui", "add_new_player"));
    user->setBright(false);
}

void ChooseUserScreen::setupUserSlot(int tag, const std::string& name, bool isCurrent) {
    cocos2d::log("user button %s, %d", name.c_str(), tag);
    cocos2d::Node* slot = getChildByTag(tag);
    if (slot == nullptr) {
        return;
    }
    if (auto* user = dynamic_cast<cocos2d::ui::Button*>(slot->getChildByName("user"))) {
        if (name.empty()) {
            makeEmptySlot(user);
        } else {
            user->setTitleText(name);
            if (isCurrent) {
                user->setEnabled(false);
                user->setTitleColor(cocos2d::Color3B::GRAY);
                markCurrentPlayer(slot, user);
            } else {
                user->setUserObject(cocos2d::__String::create(name));
                user->addClickEventListener([this](cocos2d::Ref* sender) { onSelectUser(sender); });
            }
        }
    }
    if (cocos2d::Node* remove = slot->getChildByName("delete")) {
        if (name.empty() || isCurrent) {
            remove->removeFromParent();
        } else if (auto* button = dynamic_cast<cocos2d::ui::Button*>(remove)) {
            button->setUserObject(cocos2d::__String::create(name));
            button->addClickEventListener([this](cocos2d::Ref* sender) { onDeleteUser(sender); });
        }
    }
}

void ChooseUserScreen::onSelectUser(cocos2d::Ref* sender) {
    playButtonSound();
    const std::u16string name = widen(userObjectName(sender));
    if (name.empty()) {
        return;
    }
    if (TopLayer* top = topLayer()) {
        cocos2d::RefPtr<ChooseUserScreen> self(this);
        top->showConfirmation("change_user_confirm", [self, name] { self->switchUser(name); });
    }
}

void ChooseUserScreen::switchUser(const std::u16string& name) {
    Settings& settings = Settings::getInstance();
    if (!settings.selectUser(name, true)) {
        return;
    }
    // A player who has not finished the intro level plays it again: the level screen plays the
    // profile's current picture (the demo picture) as the intro level.
    cocos2d::Scene* scene = cocos2d::Scene::create();
    cocos2d::Layer* next = nullptr;
    if (settings.getCurrentUser().storyLevel < 0) {
        next = GameScreen::create();
    } else {
        next = MapScreen::create();
    }
    if (scene == nullptr || next == nullptr) {
        return;
    }
    scene->addChild(next);
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(1.0f, scene));
}

void ChooseUserScreen::onDeleteUser(cocos2d::Ref* sender) {
    playButtonSound();
    const std::u16string name = widen(userObjectName(sender));
    auto* button = dynamic_cast<cocos2d::Node*>(sender);
    if (name.empty() || button == nullptr) {
        return;
    }
    if (TopLayer* top = topLayer()) {
        // Held until the answer: the chooser and its button may otherwise be gone by then.
        cocos2d::RefPtr<ChooseUserScreen> self(this);
        cocos2d::RefPtr<cocos2d::Node> pressed(button);
        top->showConfirmation("delete_profile", [self, pressed, name] { self->removeUser(name, pressed.get()); });
    }
}

void ChooseUserScreen::removeUser(const std::u16string& name, cocos2d::Node* deleteButton) {
    Settings::getInstance().deleteUser(name);
    if (deleteButton == nullptr) {
        return;
    }
    cocos2d::Node* slot = deleteButton->getParent();
    deleteButton->removeFromParent();
    if (slot == nullptr) {
        return;
    }
    if (auto* user = dynamic_cast<cocos2d::ui::Button*>(slot->getChildByName("user"))) {
        makeEmptySlot(user);
    }
}

void ChooseUserScreen::onAddUser() {
    playButtonSound();
    openNewUserPopup();
    cocos2d::log("new user");
}

void ChooseUserScreen::openNewUserPopup() {
    cocos2d::Node* container = getParent();
    if (container == nullptr) {
        return;
    }
    NodeFromJson loader("ui/Confirmation");
    auto* popup = dynamic_cast<NewUserPopup*>(loader.createNode("EnterNewUser"));
    if (popup == nullptr) {
        return;
    }
    popup->setCallback([this](NewUserPopup* answered, std::string name) { onNewUserName(answered, name); });
    container->addChild(popup);
    setVisible(false);
    playButtonSound();
}

void ChooseUserScreen::onNewUserName(NewUserPopup* popup, const std::string& name) {
    if (name.empty()) {
        setVisible(true);
        if (popup != nullptr) {
            popup->removeFromParent();
        }
        return;
    }
    Settings::getInstance().createUserAndStart(widen(name));
}

void ChooseUserScreen::markCurrentPlayer(cocos2d::Node* slot, cocos2d::ui::Button* user) {
    // The player now restoring sits on a pale gilded plate of their own, with a tick where the other
    // players have their delete buttons. Grey, the colour of a switched-off button, hardly reads on a
    // plate: on that plate the name is written in the dark ink of the panel's other texts, without
    // the shadow that lifts light titles off the darker buttons.
    cocos2d::SpriteFrameCache* frames = cocos2d::SpriteFrameCache::getInstance();
    if (frames->getSpriteFrameByName(kCurrentPlate) != nullptr) {
        user->loadTextureDisabled(kCurrentPlate, cocos2d::ui::Widget::TextureResType::PLIST);
        user->setTitleColor(kCurrentInk);
        if (cocos2d::Label* title = user->getTitleRenderer()) {
            title->disableShadow();
        }
    }
    const cocos2d::Node* remove = slot->getChildByName("delete");
    if (remove == nullptr || frames->getSpriteFrameByName(kCurrentTick) == nullptr) {
        return;
    }
    if (cocos2d::Sprite* tick = cocos2d::Sprite::createWithSpriteFrameName(kCurrentTick)) {
        tick->setName("current");
        tick->setPosition(remove->getPosition());
        slot->addChild(tick);
    }
}
