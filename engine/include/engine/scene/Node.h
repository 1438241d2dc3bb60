#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"
#include "engine/base/Vector.h"
#include "engine/math/Mat4.h"
#include "engine/math/Rect.h"
#include "engine/math/Size.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

class Action;
class ActionManager;
class EventDispatcher;
class GLProgramState;
class Renderer;
class Scheduler;
class Touch;

// The scene-graph node. Children are drawn in a stable order by (local z, order of arrival): those
// below z 0, then the node itself, then the rest. The transform is: position, rotation (degrees,
// clockwise on screen), skew (degrees) and scale, all about the anchor point.
class Node : public Ref {
public:
    static constexpr int INVALID_TAG = -1;

    static Node* create();
    virtual bool init();
    ~Node() override;

    // --- geometry ---------------------------------------------------------------------------------
    virtual void setPosition(const Vec2& position);
    void setPosition(float x, float y) { setPosition(Vec2(x, y)); }
    void setPositionX(float x) { setPosition(Vec2(x, _position.y)); }
    void setPositionY(float y) { setPosition(Vec2(_position.x, y)); }
    const Vec2& getPosition() const { return _position; }
    void getPosition(float* x, float* y) const;
    float getPositionX() const { return _position.x; }
    float getPositionY() const { return _position.y; }

    virtual void setAnchorPoint(const Vec2& anchor);
    const Vec2& getAnchorPoint() const { return _anchorPoint; }
    const Vec2& getAnchorPointInPoints() const { return _anchorPointInPoints; }
    // When set, the position names the bottom-left corner of the content instead of the anchor.
    void setIgnoreAnchorPointForPosition(bool ignore);
    void ignoreAnchorPointForPosition(bool ignore) { setIgnoreAnchorPointForPosition(ignore); }
    bool isIgnoreAnchorPointForPosition() const { return _ignoreAnchorPointForPosition; }

    virtual void setContentSize(const Size& size);
    const Size& getContentSize() const { return _contentSize; }

    virtual void setScale(float scale);
    void setScale(float scaleX, float scaleY);
    virtual void setScaleX(float scaleX);
    virtual void setScaleY(float scaleY);
    // The x scale.
    float getScale() const { return _scaleX; }
    float getScaleX() const { return _scaleX; }
    float getScaleY() const { return _scaleY; }

    virtual void setRotation(float degrees);
    float getRotation() const { return _rotation; }
    virtual void setSkewX(float degrees);
    virtual void setSkewY(float degrees);
    float getSkewX() const { return _skewX; }
    float getSkewY() const { return _skewY; }

    // The transformed content rectangle's axis-aligned box, in the parent's space.
    Rect getBoundingBox() const;

    const Mat4& getNodeToParentTransform() const;
    Mat4 getParentToNodeTransform() const;
    Mat4 getNodeToWorldTransform() const;
    Mat4 getWorldToNodeTransform() const;
    Vec2 convertToNodeSpace(const Vec2& worldPoint) const;
    Vec2 convertToWorldSpace(const Vec2& nodePoint) const;
    // The same, measured from the anchor point.
    Vec2 convertToNodeSpaceAR(const Vec2& worldPoint) const;
    Vec2 convertToWorldSpaceAR(const Vec2& nodePoint) const;
    Vec2 convertTouchToNodeSpace(Touch* touch) const;
    Vec2 convertTouchToNodeSpaceAR(Touch* touch) const;

    // --- children ---------------------------------------------------------------------------------
    virtual void addChild(Node* child);
    virtual void addChild(Node* child, int localZOrder);
    virtual void addChild(Node* child, int localZOrder, int tag);
    virtual void addChild(Node* child, int localZOrder, const std::string& name);

    // One removal: onExitTransitionDidStart and onExit when running, cleanup when asked, erase from the
    // list, clear the parent pointer, release.
    virtual void removeChild(Node* child, bool cleanup = true);
    // The first child with the tag.
    virtual void removeChildByTag(int tag, bool cleanup = true);
    virtual void removeChildByName(const std::string& name, bool cleanup = true);
    virtual void removeAllChildren();
    virtual void removeAllChildrenWithCleanup(bool cleanup);
    virtual void removeFromParent();
    virtual void removeFromParentAndCleanup(bool cleanup);

    // The live list, in order of addition (sorted by z when drawn).
    Vector<Node*>& getChildren() { return _children; }
    const Vector<Node*>& getChildren() const { return _children; }
    ssize_t getChildrenCount() const { return static_cast<ssize_t>(_children.size()); }
    Node* getParent() const { return _parent; }
    // Direct children only; exact match; the first in child order.
    Node* getChildByName(const std::string& name) const;
    Node* getChildByTag(int tag) const;
    // "//name" searches every descendant depth-first in pre-order; a plain name the direct children.
    // The callback returns true to stop the search.
    void enumerateChildren(const std::string& name, const std::function<bool(Node*)>& callback) const;

    // A new value places the node last among its siblings of that z; the same value changes nothing.
    virtual void setLocalZOrder(int localZOrder);
    int getLocalZOrder() const { return _localZOrder; }
    void setZOrder(int z) { setLocalZOrder(z); }
    // Orders this node's own draws across the whole frame, and its listeners.
    virtual void setGlobalZOrder(float globalZOrder);
    float getGlobalZOrder() const { return _globalZOrder; }
    void reorderChild(Node* child, int localZOrder);
    // Sorts the children stably by (local z, order of arrival); called before drawing.
    virtual void sortAllChildren();
    unsigned long long getOrderOfArrival() const { return _orderOfArrival; }

    // --- identity and data ------------------------------------------------------------------------
    virtual void setName(const std::string& name);
    const std::string& getName() const { return _name; }
    virtual void setTag(int tag) { _tag = tag; }
    int getTag() const { return _tag; }
    // A small integer kept in a pointer; never dereferenced.
    void setUserData(void* userData) { _userData = userData; }
    void* getUserData() const { return _userData; }
    // Retains the object and releases the previous one.
    void setUserObject(Ref* userObject);
    Ref* getUserObject() const { return _userObject; }

    // --- appearance -------------------------------------------------------------------------------
    virtual void setVisible(bool visible);
    bool isVisible() const { return _visible; }

    virtual void setOpacity(GLubyte opacity);
    GLubyte getOpacity() const { return _realOpacity; }
    GLubyte getDisplayedOpacity() const { return _displayedOpacity; }
    virtual void setColor(const Color3B& color);
    const Color3B& getColor() const { return _realColor; }
    const Color3B& getDisplayedColor() const { return _displayedColor; }
    // With cascading on, every descendant's displayed value is its own times this node's displayed
    // value / 255.
    virtual void setCascadeOpacityEnabled(bool enabled);
    bool isCascadeOpacityEnabled() const { return _cascadeOpacityEnabled; }
    virtual void setCascadeColorEnabled(bool enabled);
    bool isCascadeColorEnabled() const { return _cascadeColorEnabled; }
    virtual void updateDisplayedOpacity(GLubyte parentOpacity);
    virtual void updateDisplayedColor(const Color3B& parentColor);
    virtual void setOpacityModifyRGB(bool) {}
    virtual bool isOpacityModifyRGB() const { return false; }

    // --- drawing ----------------------------------------------------------------------------------
    // Draws the node under its parent's world transform (identity for an orphan).
    virtual void visit();
    virtual void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags);
    virtual void draw(Renderer* renderer, const Mat4& transform, uint32_t flags);
    virtual void setGLProgramState(GLProgramState* state);
    GLProgramState* getGLProgramState() const { return _glProgramState; }

    // --- life cycle -------------------------------------------------------------------------------
    // The node runs; its actions, timers and listeners resume; then its children enter.
    virtual void onEnter();
    virtual void onEnterTransitionDidFinish();
    virtual void onExitTransitionDidStart();
    // The node's actions, timers and listeners pause; its children exit; the node stops running.
    virtual void onExit();
    // Stops the node's actions (their stop() runs) and removes its timers, then the same for each
    // child. Listeners stay (paused while off stage). Calling it twice is harmless.
    virtual void cleanup();
    bool isRunning() const { return _running; }

    // --- actions ----------------------------------------------------------------------------------
    // Runs the action on this node (held paused until the node enters). Returns the action.
    Action* runAction(Action* action);
    void stopAllActions();
    void stopAction(Action* action);
    // The first action with the tag.
    void stopActionByTag(int tag);
    void stopAllActionsByTag(int tag);
    Action* getActionByTag(int tag) const;
    ssize_t getNumberOfRunningActions() const;
    ActionManager* getActionManager() const { return _actionManager; }
    void setActionManager(ActionManager* actionManager);

    // --- scheduling -------------------------------------------------------------------------------
    // update(dt) every tick at priority 0.
    void scheduleUpdate();
    void scheduleUpdateWithPriority(int priority);
    void unscheduleUpdate();
    virtual void update(float dt);
    void schedule(const std::function<void(float)>& callback, const std::string& key);
    void schedule(const std::function<void(float)>& callback, float interval, const std::string& key);
    void schedule(const std::function<void(float)>& callback, float interval, unsigned int repeat, float delay,
                  const std::string& key);
    void scheduleOnce(const std::function<void(float)>& callback, float delay, const std::string& key);
    // Cancels exactly that timer.
    void unschedule(const std::string& key);
    bool isScheduled(const std::string& key) const;
    // The update and every timer of this node.
    void unscheduleAllCallbacks();
    Scheduler* getScheduler() const { return _scheduler; }
    void setScheduler(Scheduler* scheduler);

    // Pauses (resumes) this node's timers, actions and listeners.
    virtual void pause();
    virtual void resume();

    EventDispatcher* getEventDispatcher() const { return _eventDispatcher; }

protected:
    Node();

    void childWasAdded(Node* child, int localZOrder, int tag, const std::string& name, bool setTag);
    void detachChild(Node* child, bool doCleanup);
    Mat4 transformFor(const Mat4& parentTransform) const;
    void markTransformDirty() { _transformDirty = true; }
    // Whether this node passes its displayed opacity (colour) on to its children.
    bool passesOpacityOn() const;
    bool passesColorOn() const;
    GLubyte inheritedOpacity() const;
    Color3B inheritedColor() const;

    Vec2 _position;
    Vec2 _anchorPoint;
    Vec2 _anchorPointInPoints;
    Size _contentSize;
    float _scaleX = 1.0f;
    float _scaleY = 1.0f;
    float _rotation = 0.0f;
    float _skewX = 0.0f;
    float _skewY = 0.0f;
    bool _ignoreAnchorPointForPosition = false;
    mutable Mat4 _transform;
    mutable bool _transformDirty = true;

    Node* _parent = nullptr;
    Vector<Node*> _children;
    bool _reorderChildDirty = false;
    int _localZOrder = 0;
    float _globalZOrder = 0.0f;
    unsigned long long _orderOfArrival = 0;

    std::string _name;
    int _tag = INVALID_TAG;
    void* _userData = nullptr;
    Ref* _userObject = nullptr;

    bool _visible = true;
    GLubyte _realOpacity = 255;
    GLubyte _displayedOpacity = 255;
    Color3B _realColor = Color3B::WHITE;
    Color3B _displayedColor = Color3B::WHITE;
    bool _cascadeOpacityEnabled = false;
    bool _cascadeColorEnabled = false;

    GLProgramState* _glProgramState = nullptr;

    bool _running = false;
    Scheduler* _scheduler = nullptr;
    ActionManager* _actionManager = nullptr;
    EventDispatcher* _eventDispatcher = nullptr;
};

}  // namespace cocos2d
