#include "ui/TopLayer.h"

#include <new>

#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Types.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerMouse.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/EventMouse.h"
#include "engine/math/Rect.h"
#include "engine/math/Size.h"
#include "engine/platform/GLView.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Button.h"

#include "GameSound.h"
#include "Settings.h"
#include "TextTable.h"
#include "ui/NodeFromJson.h"
#include "ui/ShaderSprites.h"

namespace {

constexpr const char* kArtFolder = "ui/GeneralArt";
constexpr const char* kConfirmationFolder = "ui/Confirmation";
constexpr const char* kDefaultCursor = "cursor_0";
constexpr float kPauseIconZ = 10;

// A black square of twice the visible size, as the overlay's and the confirmation's backdrop.
cocos2d::Sprite* makeBlackSprite() {
    const cocos2d::Size visible = cocos2d::Director::getInstance()->getVisibleSize();
    cocos2d::Sprite* black = cocos2d::Sprite::create();
    black->setTextureRect(cocos2d::Rect(0.0f, 0.0f, 2.0f * visible.width, 2.0f * visible.height));
    black->setColor(cocos2d::Color3B::BLACK);
    black->setOpacity(255);
    return black;
}

}  // namespace

TopLayer* TopLayer::create() {
    auto* layer = new (std::nothrow) TopLayer();
    if (layer != nullptr && layer->init()) {
        layer->autorelease();
        return layer;
    }
    delete layer;
    return nullptr;
}

TopLayer::~TopLayer() {
    cocos2d::log("=== %s ===\n", "TopLayer::~TopLayer");
    if (_mouseListener != nullptr) {
        getEventDispatcher()->removeEventListener(_mouseListener);
    }
}

bool TopLayer::init() {
    if (!Layer::init()) {
        return false;
    }
    _confirmationLayer = cocos2d::Node::create();
    addChild(_confirmationLayer);

    _touchListener = cocos2d::EventListenerTouchOneByOne::create();
    _touchListener->setSwallowTouches(true);
    _touchListener->onTouchBegan = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        return onTouchBegan(touch, event);
    };
    _touchListener->onTouchMoved = [](cocos2d::Touch*, cocos2d::Event*) {};
    _touchListener->onTouchEnded = [](cocos2d::Touch*, cocos2d::Event*) {};
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(_touchListener, this);

    // A fixed-priority listener is not the layer's: the destructor takes it out again.
    auto* mouse = cocos2d::EventListenerMouse::create();
    mouse->onMouseMove = [this](cocos2d::EventMouse* event) { onMouseMove(event); };
    getEventDispatcher()->addEventListenerWithFixedPriority(mouse, kMousePriority);
    _mouseListener = mouse;

    _cursorNode = nullptr;
    _cursorLayer = cocos2d::Node::create();
    _cursorLayer->setName("CustomTopLayer");
    _cursorLayer->setPosition(0.0f, 0.0f);
    addChild(_cursorLayer);
    return true;
}

void TopLayer::onMouseMove(cocos2d::EventMouse* event) {
    _mousePosition = event->getLocation();
    _cursorLayer->setPosition(_mousePosition);
}

void TopLayer::setCursor(const std::string& name) {
    const std::string element = name.empty() ? std::string(kDefaultCursor) : name;
    // The new picture is built first: a name the description lacks leaves the current cursor shown.
    NodeFromJson loader(kArtFolder);
    cocos2d::Node* cursor = loader.createNode(element);
    if (cursor == nullptr) {
        cocos2d::log("setCursor: no cursor '%s' in %s; the cursor stays", element.c_str(), kArtFolder);
        return;
    }
    if (_cursorNode != nullptr) {
        _cursorLayer->removeChild(_cursorNode, true);
        _cursorNode = nullptr;
    }
    cursor->setPosition(0.0f, 0.0f);
    cursor->setAnchorPoint(element.find("_tool_") != std::string::npos ? cocos2d::Vec2(0.0f, 0.0f)
                                                                       : cocos2d::Vec2(0.0f, 1.0f));
    _cursorLayer->addChild(cursor);
    _cursorNode = cursor;
}

void TopLayer::setCustomCursorEnabled(bool on) {
    cocos2d::GLView* view = cocos2d::Director::getInstance()->getOpenGLView();
    if (on) {
        if (view != nullptr) {
            view->setCursorVisible(false);
        }
        Settings::getInstance().applyUserCursor();
        _cursorLayer->setVisible(true);
    } else {
        if (view != nullptr) {
            view->setCursorVisible(true);
        }
        _cursorLayer->setVisible(false);
    }
}

cocos2d::Node* TopLayer::makeSnapshot() const {
    cocos2d::Director* director = cocos2d::Director::getInstance();
    cocos2d::Scene* running = director->getRunningScene();
    if (running == nullptr) {
        return nullptr;
    }
    const cocos2d::Vec2 origin = director->getVisibleOrigin();
    const cocos2d::Size visible = director->getVisibleSize();
    const int width = static_cast<int>(origin.x + visible.width);
    const int height = static_cast<int>(origin.y + visible.height);
    cocos2d::RefPtr<cocos2d::RenderTexture> target =
        cocos2d::RenderTexture::create(width, height, cocos2d::Texture2D::PixelFormat::RGBA8888);
    if (!target) {
        return nullptr;
    }
    target->beginWithClear(0.0f, 0.0f, 0.0f, 0.0f);
    running->visit();
    target->end();
    cocos2d::Sprite* snapshot = createBlurredSprite(target->getSprite()->getTexture());
    if (snapshot == nullptr) {
        return nullptr;
    }
    snapshot->setPosition((origin.x + visible.width) / 2.0f, (origin.y + visible.height) / 2.0f);
    snapshot->setTag(kSnapshotTag);
    // The blurred sprite comes with one reference of ours on top of the autorelease; the parent the
    // caller adds it to keeps it from here on.
    snapshot->autorelease();
    return snapshot;
}

void TopLayer::buildPauseNode() {
    cocos2d::Director* director = cocos2d::Director::getInstance();
    const cocos2d::Size visible = director->getVisibleSize();
    _pauseNode = cocos2d::Node::create();
    _pauseNode->setCascadeOpacityEnabled(true);
    cocos2d::Sprite* black = makeBlackSprite();
    black->setPosition(0.0f, 0.0f);
    _pauseNode->addChild(black);
    NodeFromJson loader(kArtFolder);
    if (cocos2d::Node* icon = loader.createNode("pause_icon")) {
        icon->setPosition(visible.width / 2.0f, visible.height / 2.0f);
        icon->setAnchorPoint(cocos2d::Vec2(0.5f, 0.5f));
        _pauseNode->addChild(icon, kPauseIconZ);
    }
    _pauseNode->setVisible(false);
    addChild(_pauseNode);
}

void TopLayer::showPause() {
    if (_pauseNode == nullptr) {
        buildPauseNode();
    }
    // A second loss of focus without a return in between replaces the old snapshot.
    _pauseNode->removeChildByTag(kSnapshotTag, true);
    if (cocos2d::Node* snapshot = makeSnapshot()) {
        _pauseNode->addChild(snapshot, 0, kSnapshotTag);
    }
    _pauseNode->setVisible(true);
    _pauseNode->setOpacity(255);
    _cursorLayer->setOpacity(0);
    _swallowNextTouch = true;
}

void TopLayer::hidePause() {
    if (_pauseNode != nullptr) {
        _pauseNode->setVisible(false);
        _pauseNode->setOpacity(0);
        _pauseNode->removeChildByTag(kSnapshotTag, true);
    }
    _cursorLayer->setOpacity(255);
}

bool TopLayer::isConfirmationOpen() const {
    return _confirmationLayer->getChildrenCount() > 0;
}

void TopLayer::showConfirmation(const std::string& textKey, const std::function<void()>& onYes) {
    if (isConfirmationOpen()) {
        return;
    }
    cocos2d::log("show confirmation: '%s'", textKey.c_str());
    _onYes = onYes;

    cocos2d::Director* director = cocos2d::Director::getInstance();
    const cocos2d::Vec2 origin = director->getVisibleOrigin();
    const cocos2d::Size visible = director->getVisibleSize();
    cocos2d::Sprite* black = makeBlackSprite();
    black->setPosition(origin);
    _confirmationLayer->addChild(black);
    if (cocos2d::Node* snapshot = makeSnapshot()) {
        _confirmationLayer->addChild(snapshot, 0, kSnapshotTag);
    }

    NodeFromJson loader(kConfirmationFolder);
    cocos2d::Node* window = loader.createNode("ConfirmationWindow");
    // Without a window, or a window with neither answer, nothing could ever close the backdrop, which
    // takes every touch: the game would be stuck behind it.
    if (window == nullptr ||
        (window->getChildByName("Yes") == nullptr && window->getChildByName("No") == nullptr)) {
        cocos2d::log("show confirmation: no Yes or No in %s; nothing is shown", kConfirmationFolder);
        _confirmationLayer->removeAllChildrenWithCleanup(true);
        return;
    }
    window->setPosition(visible.width / 2.0f - 160.0f + origin.x, visible.height / 2.0f + 120.0f + origin.y);
    _confirmationLayer->addChild(window);
    if (auto* yes = dynamic_cast<cocos2d::ui::Button*>(window->getChildByName("Yes"))) {
        yes->addClickEventListener([this](cocos2d::Ref* sender) { onYesClicked(sender); });
        yes->setGlobalZOrder(kButtonGlobalZ);
    }
    if (auto* no = dynamic_cast<cocos2d::ui::Button*>(window->getChildByName("No"))) {
        no->addClickEventListener([this](cocos2d::Ref* sender) { onNoClicked(sender); });
        no->setGlobalZOrder(kButtonGlobalZ);
    }
    if (auto* text = dynamic_cast<cocos2d::Label*>(window->getChildByName("exit_confirmation"))) {
        text->setString(TextTable::getInstance().getText("ui", textKey));
    }
}

void TopLayer::closeConfirmation() {
    GameSound::getInstance().playEffect("btnDown", false);
    _confirmationLayer->removeAllChildrenWithCleanup(true);
}

void TopLayer::onNoClicked(cocos2d::Ref*) {
    closeConfirmation();
}

void TopLayer::onYesClicked(cocos2d::Ref*) {
    // The window is gone before the action runs, so the action may open a new confirmation.
    closeConfirmation();
    if (_onYes) {
        std::function<void()> action = _onYes;
        action();
    }
}

bool TopLayer::onTouchBegan(cocos2d::Touch*, cocos2d::Event*) {
    const bool swallow = _swallowNextTouch;
    _swallowNextTouch = false;
    return isConfirmationOpen() || swallow;
}

void TopLayer::onTouchMoved(cocos2d::Touch*, cocos2d::Event*) {}

void TopLayer::onTouchEnded(cocos2d::Touch*, cocos2d::Event*) {}
