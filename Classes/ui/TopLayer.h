#pragma once

#include <functional>
#include <string>

#include "engine/math/Vec2.h"
#include "engine/scene/Layer.h"

namespace cocos2d {
class Event;
class EventListenerMouse;
class EventListenerTouchOneByOne;
class EventMouse;
class Node;
class Ref;
class Touch;
}  // namespace cocos2d

// The layer over every scene, as the director's notification node: the custom mouse cursor, the pause
// overlay shown while the window has lost focus, and the game's single Yes/No confirmation window.
// The launch enters it by hand; the exit confirmation leaves it by hand before the director ends.
class TopLayer : public cocos2d::Layer {
public:
    static constexpr int kSnapshotTag = 3;
    static constexpr int kMousePriority = 666;
    static constexpr float kButtonGlobalZ = 10.0f;

    static TopLayer* create();
    ~TopLayer() override;
    bool init() override;

    // Replaces the cursor picture with the element of "ui/GeneralArt" of that name ("cursor_0" for
    // ""). A tool cursor ("_tool_" in its name) hangs from the pointer by its bottom-left corner, any
    // other by its top-left. A name the description lacks is logged and the cursor stays as it was.
    void setCursor(const std::string& name);
    // On: the system cursor hidden and the profile's cursor shown; off: the system cursor back and the
    // custom one hidden (kept for the next time).
    void setCustomCursorEnabled(bool on);

    // A blurred snapshot of the running scene under a pause icon; the custom cursor goes transparent
    // and the next touch that begins is swallowed, even if the overlay is gone by then.
    void showPause();
    void hidePause();

    // Opens the Yes/No window with the text of the key (section "ui") unless one is open already; Yes
    // closes it and then runs the action, No only closes it. While it is open every touch is taken.
    void showConfirmation(const std::string& textKey, const std::function<void()>& onYes);
    bool isConfirmationOpen() const;

    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchMoved(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event) override;

    cocos2d::Node* getCursorLayer() const { return _cursorLayer; }
    cocos2d::Node* getCursorNode() const { return _cursorNode; }
    cocos2d::Node* getPauseNode() const { return _pauseNode; }
    cocos2d::Node* getConfirmationLayer() const { return _confirmationLayer; }
    const cocos2d::Vec2& getMousePosition() const { return _mousePosition; }
    bool willSwallowNextTouch() const { return _swallowNextTouch; }

protected:
    TopLayer() = default;

private:
    void onMouseMove(cocos2d::EventMouse* event);
    void onYesClicked(cocos2d::Ref* sender);
    void onNoClicked(cocos2d::Ref* sender);
    void closeConfirmation();
    void buildPauseNode();
    // A blurred copy of the running scene as it is drawn now, tagged and placed for the overlay and the
    // confirmation; null without a running scene.
    cocos2d::Node* makeSnapshot() const;

    cocos2d::Node* _cursorLayer = nullptr;
    cocos2d::Node* _cursorNode = nullptr;
    cocos2d::Vec2 _mousePosition;
    cocos2d::Node* _pauseNode = nullptr;
    cocos2d::Node* _confirmationLayer = nullptr;
    cocos2d::EventListenerTouchOneByOne* _touchListener = nullptr;
    cocos2d::EventListenerMouse* _mouseListener = nullptr;
    std::function<void()> _onYes;
    bool _swallowNextTouch = false;
};
