#include "engine/scene/Node.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "engine/actions/Action.h"
#include "engine/actions/ActionManager.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Scheduler.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/Touch.h"
#include "engine/renderer/GLProgramState.h"
#include "engine/renderer/Renderer.h"

namespace cocos2d {
namespace {

// Order of arrival across all nodes: a later addChild or z change sorts after an earlier one.
unsigned long long nextOrderOfArrival() {
    static unsigned long long counter = 0;
    return ++counter;
}

constexpr float kPi = 3.14159265358979323846f;

float toRadians(float degrees) {
    return degrees * kPi / 180.0f;
}

}  // namespace

Node* Node::create() {
    auto* node = new (std::nothrow) Node();
    if (node && node->init()) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

Node::Node() {
    Director* director = Director::getInstance();
    _scheduler = director->getScheduler();
    _scheduler->retain();
    _actionManager = director->getActionManager();
    _actionManager->retain();
    _eventDispatcher = director->getEventDispatcher();
    _eventDispatcher->retain();
}

Node::~Node() {
    // Children first lose their parent, then their reference: a child's destructor that reaches for
    // its siblings through the parent finds nothing to remove.
    Vector<Node*> children;
    children.swap(_children);
    for (Node* child : children) {
        child->_parent = nullptr;
    }
    children.clear();

    if (_userObject) {
        _userObject->release();
        _userObject = nullptr;
    }
    if (_glProgramState) {
        _glProgramState->release();
        _glProgramState = nullptr;
    }
    _actionManager->dropAllActionsFromTarget(this);
    _scheduler->unscheduleAllForTarget(this);
    _eventDispatcher->removeEventListenersForTarget(this);
    _actionManager->release();
    _scheduler->release();
    _eventDispatcher->release();
}

bool Node::init() {
    return true;
}

// --- geometry -------------------------------------------------------------------------------------

void Node::setPosition(const Vec2& position) {
    if (_position != position) {
        _position = position;
        markTransformDirty();
    }
}

void Node::getPosition(float* x, float* y) const {
    if (x) {
        *x = _position.x;
    }
    if (y) {
        *y = _position.y;
    }
}

void Node::setAnchorPoint(const Vec2& anchor) {
    if (_anchorPoint != anchor) {
        _anchorPoint = anchor;
        _anchorPointInPoints = Vec2(_contentSize.width * anchor.x, _contentSize.height * anchor.y);
        markTransformDirty();
    }
}

void Node::setIgnoreAnchorPointForPosition(bool ignore) {
    if (_ignoreAnchorPointForPosition != ignore) {
        _ignoreAnchorPointForPosition = ignore;
        markTransformDirty();
    }
}

void Node::setContentSize(const Size& size) {
    if (_contentSize != size) {
        _contentSize = size;
        _anchorPointInPoints = Vec2(size.width * _anchorPoint.x, size.height * _anchorPoint.y);
        markTransformDirty();
    }
}

void Node::setScale(float scale) {
    _scaleX = _scaleY = scale;
    markTransformDirty();
}

void Node::setScale(float scaleX, float scaleY) {
    _scaleX = scaleX;
    _scaleY = scaleY;
    markTransformDirty();
}

void Node::setScaleX(float scaleX) {
    _scaleX = scaleX;
    markTransformDirty();
}

void Node::setScaleY(float scaleY) {
    _scaleY = scaleY;
    markTransformDirty();
}

void Node::setRotation(float degrees) {
    _rotation = degrees;
    markTransformDirty();
}

void Node::setSkewX(float degrees) {
    _skewX = degrees;
    markTransformDirty();
}

void Node::setSkewY(float degrees) {
    _skewY = degrees;
    markTransformDirty();
}

const Mat4& Node::getNodeToParentTransform() const {
    if (!_transformDirty) {
        return _transform;
    }
    // T(position [+ anchor when ignored]) * R * K * S * T(-anchor)
    Vec2 translation = _position;
    if (_ignoreAnchorPointForPosition) {
        translation += _anchorPointInPoints;
    }
    // Positive rotation turns clockwise on screen, so the matrix turns by the negative angle.
    const float radians = -toRadians(_rotation);
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const float kx = std::tan(toRadians(_skewX));
    const float ky = std::tan(toRadians(_skewY));
    // Linear part L = R * K * S with K = [[1, kx], [ky, 1]] (x' = x + kx*y, y' = y + ky*x).
    const float k00 = _scaleX;
    const float k01 = kx * _scaleY;
    const float k10 = ky * _scaleX;
    const float k11 = _scaleY;
    const float a = c * k00 - s * k10;
    const float b = c * k01 - s * k11;
    const float d = s * k00 + c * k10;
    const float e = s * k01 + c * k11;
    const Vec2 ap = _anchorPointInPoints;
    const float tx = translation.x - (a * ap.x + b * ap.y);
    const float ty = translation.y - (d * ap.x + e * ap.y);
    Mat4 m;
    m.m[0] = a;
    m.m[1] = d;
    m.m[4] = b;
    m.m[5] = e;
    m.m[12] = tx;
    m.m[13] = ty;
    _transform = m;
    _transformDirty = false;
    return _transform;
}

Mat4 Node::getParentToNodeTransform() const {
    return getNodeToParentTransform().getInversed();
}

Mat4 Node::getNodeToWorldTransform() const {
    Mat4 t = getNodeToParentTransform();
    for (const Node* p = _parent; p; p = p->_parent) {
        t = p->getNodeToParentTransform() * t;
    }
    return t;
}

Mat4 Node::getWorldToNodeTransform() const {
    return getNodeToWorldTransform().getInversed();
}

Vec2 Node::convertToNodeSpace(const Vec2& worldPoint) const {
    return getWorldToNodeTransform().transformPoint(worldPoint);
}

Vec2 Node::convertToWorldSpace(const Vec2& nodePoint) const {
    return getNodeToWorldTransform().transformPoint(nodePoint);
}

Vec2 Node::convertToNodeSpaceAR(const Vec2& worldPoint) const {
    return convertToNodeSpace(worldPoint) - _anchorPointInPoints;
}

Vec2 Node::convertToWorldSpaceAR(const Vec2& nodePoint) const {
    return convertToWorldSpace(nodePoint + _anchorPointInPoints);
}

Vec2 Node::convertTouchToNodeSpace(Touch* touch) const {
    return convertToNodeSpace(touch->getLocation());
}

Vec2 Node::convertTouchToNodeSpaceAR(Touch* touch) const {
    return convertToNodeSpaceAR(touch->getLocation());
}

Rect Node::getBoundingBox() const {
    const Mat4& t = getNodeToParentTransform();
    const Vec2 corners[4] = {t.transformPoint(Vec2(0, 0)), t.transformPoint(Vec2(_contentSize.width, 0)),
                             t.transformPoint(Vec2(0, _contentSize.height)),
                             t.transformPoint(Vec2(_contentSize.width, _contentSize.height))};
    float minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const Vec2& c : corners) {
        minX = std::min(minX, c.x);
        maxX = std::max(maxX, c.x);
        minY = std::min(minY, c.y);
        maxY = std::max(maxY, c.y);
    }
    return Rect(minX, minY, maxX - minX, maxY - minY);
}

Mat4 Node::transformFor(const Mat4& parentTransform) const {
    return parentTransform * getNodeToParentTransform();
}

// --- children -------------------------------------------------------------------------------------

void Node::addChild(Node* child) {
    if (child) {
        addChild(child, child->_localZOrder);
    }
}

void Node::addChild(Node* child, int localZOrder) {
    if (child) {
        childWasAdded(child, localZOrder, child->_tag, child->_name, false);
    }
}

void Node::addChild(Node* child, int localZOrder, int tag) {
    if (child) {
        childWasAdded(child, localZOrder, tag, child->_name, true);
    }
}

void Node::addChild(Node* child, int localZOrder, const std::string& name) {
    if (child) {
        child->setName(name);
        childWasAdded(child, localZOrder, child->_tag, name, false);
    }
}

void Node::childWasAdded(Node* child, int localZOrder, int tag, const std::string&, bool setTag) {
    if (child == this) {
        logAt(LogLevel::Error, "Node: a node cannot be its own child");
        return;
    }
    if (child->_parent) {
        logAt(LogLevel::Error, "Node: child '%s' already has a parent", child->_name.c_str());
        return;
    }
    if (setTag) {
        child->setTag(tag);
    }
    _children.pushBack(child);
    child->_localZOrder = localZOrder;
    child->_orderOfArrival = nextOrderOfArrival();
    child->_parent = this;
    child->markTransformDirty();
    _reorderChildDirty = true;
    child->updateDisplayedOpacity(passesOpacityOn() ? _displayedOpacity : 255);
    child->updateDisplayedColor(passesColorOn() ? _displayedColor : Color3B::WHITE);
    if (_running) {
        child->onEnter();
        // The child may have been removed by its own onEnter.
        if (child->_parent == this && child->_running) {
            child->onEnterTransitionDidFinish();
        }
    }
}

void Node::detachChild(Node* child, bool doCleanup) {
    RefPtr<Node> keep(child);
    if (child->_running) {
        child->onExitTransitionDidStart();
        child->onExit();
    }
    if (doCleanup) {
        child->cleanup();
    }
    // The child may have left during its own onExit; erase only what is still ours.
    if (child->_parent == this) {
        child->_parent = nullptr;
        _children.eraseObject(child);
    }
}

void Node::removeChild(Node* child, bool cleanup) {
    if (!child || child->_parent != this || !_children.contains(child)) {
        return;
    }
    detachChild(child, cleanup);
}

void Node::removeChildByTag(int tag, bool cleanup) {
    if (Node* child = getChildByTag(tag)) {
        removeChild(child, cleanup);
    }
}

void Node::removeChildByName(const std::string& name, bool cleanup) {
    if (Node* child = getChildByName(name)) {
        removeChild(child, cleanup);
    }
}

void Node::removeAllChildren() {
    removeAllChildrenWithCleanup(true);
}

void Node::removeAllChildrenWithCleanup(bool cleanup) {
    // Take the list out first: a child's exit or destructor may touch this node's children.
    Vector<Node*> children;
    children.swap(_children);
    for (Node* child : children) {
        if (child->_running) {
            child->onExitTransitionDidStart();
            child->onExit();
        }
        if (cleanup) {
            child->cleanup();
        }
        if (child->_parent == this) {
            child->_parent = nullptr;
        }
    }
    children.clear();
}

void Node::removeFromParent() {
    removeFromParentAndCleanup(true);
}

void Node::removeFromParentAndCleanup(bool cleanup) {
    if (_parent) {
        _parent->removeChild(this, cleanup);
    }
}

Node* Node::getChildByName(const std::string& name) const {
    for (Node* child : _children) {
        if (child->_name == name) {
            return child;
        }
    }
    return nullptr;
}

Node* Node::getChildByTag(int tag) const {
    for (Node* child : _children) {
        if (child->_tag == tag) {
            return child;
        }
    }
    return nullptr;
}

namespace {

bool enumerateRecursive(const Node* node, const std::string& name, const std::function<bool(Node*)>& callback) {
    // Copy: the callback may change the tree.
    Vector<Node*> children = node->getChildren();
    for (Node* child : children) {
        if (child->getName() == name && callback(child)) {
            return true;
        }
        if (enumerateRecursive(child, name, callback)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void Node::enumerateChildren(const std::string& name, const std::function<bool(Node*)>& callback) const {
    if (!callback || name.empty()) {
        return;
    }
    if (name.size() > 2 && name.compare(0, 2, "//") == 0) {
        enumerateRecursive(this, name.substr(2), callback);
        return;
    }
    Vector<Node*> children = _children;
    for (Node* child : children) {
        if (child->_name == name && callback(child)) {
            return;
        }
    }
}

void Node::setLocalZOrder(int localZOrder) {
    if (_localZOrder == localZOrder) {
        return;
    }
    _localZOrder = localZOrder;
    _orderOfArrival = nextOrderOfArrival();
    if (_parent) {
        _parent->_reorderChildDirty = true;
    }
}

void Node::reorderChild(Node* child, int localZOrder) {
    if (child && child->_parent == this) {
        child->_localZOrder = localZOrder;
        child->_orderOfArrival = nextOrderOfArrival();
        _reorderChildDirty = true;
    }
}

void Node::setGlobalZOrder(float globalZOrder) {
    _globalZOrder = globalZOrder;
}

void Node::sortAllChildren() {
    if (!_reorderChildDirty) {
        return;
    }
    auto& list = _children.data();
    std::stable_sort(list.begin(), list.end(), [](const Node* a, const Node* b) {
        return a->_localZOrder < b->_localZOrder ||
               (a->_localZOrder == b->_localZOrder && a->_orderOfArrival < b->_orderOfArrival);
    });
    _reorderChildDirty = false;
}

// --- identity -------------------------------------------------------------------------------------

void Node::setName(const std::string& name) {
    _name = name;
}

void Node::setUserObject(Ref* userObject) {
    if (userObject) {
        userObject->retain();
    }
    if (_userObject) {
        _userObject->release();
    }
    _userObject = userObject;
}

// --- appearance -----------------------------------------------------------------------------------

void Node::setVisible(bool visible) {
    _visible = visible;
}

bool Node::passesOpacityOn() const {
    for (const Node* n = this; n; n = n->_parent) {
        if (n->_cascadeOpacityEnabled) {
            return true;
        }
    }
    return false;
}

bool Node::passesColorOn() const {
    for (const Node* n = this; n; n = n->_parent) {
        if (n->_cascadeColorEnabled) {
            return true;
        }
    }
    return false;
}

GLubyte Node::inheritedOpacity() const {
    return (_parent && _parent->passesOpacityOn()) ? _parent->_displayedOpacity : 255;
}

Color3B Node::inheritedColor() const {
    return (_parent && _parent->passesColorOn()) ? _parent->_displayedColor : Color3B::WHITE;
}

void Node::setOpacity(GLubyte opacity) {
    _realOpacity = opacity;
    updateDisplayedOpacity(inheritedOpacity());
}

void Node::updateDisplayedOpacity(GLubyte parentOpacity) {
    _displayedOpacity = static_cast<GLubyte>(_realOpacity * parentOpacity / 255);
    const GLubyte handOn = passesOpacityOn() ? _displayedOpacity : 255;
    for (Node* child : _children) {
        child->updateDisplayedOpacity(handOn);
    }
}

void Node::setColor(const Color3B& color) {
    _realColor = color;
    updateDisplayedColor(inheritedColor());
}

void Node::updateDisplayedColor(const Color3B& parentColor) {
    _displayedColor.r = static_cast<GLubyte>(_realColor.r * parentColor.r / 255);
    _displayedColor.g = static_cast<GLubyte>(_realColor.g * parentColor.g / 255);
    _displayedColor.b = static_cast<GLubyte>(_realColor.b * parentColor.b / 255);
    const Color3B handOn = passesColorOn() ? _displayedColor : Color3B::WHITE;
    for (Node* child : _children) {
        child->updateDisplayedColor(handOn);
    }
}

void Node::setCascadeOpacityEnabled(bool enabled) {
    if (_cascadeOpacityEnabled == enabled) {
        return;
    }
    _cascadeOpacityEnabled = enabled;
    updateDisplayedOpacity(inheritedOpacity());
}

void Node::setCascadeColorEnabled(bool enabled) {
    if (_cascadeColorEnabled == enabled) {
        return;
    }
    _cascadeColorEnabled = enabled;
    updateDisplayedColor(inheritedColor());
}

// --- drawing --------------------------------------------------------------------------------------

void Node::visit() {
    Renderer* renderer = Director::getInstance()->getRenderer();
    const Mat4 parentTransform = _parent ? _parent->getNodeToWorldTransform() : Mat4::IDENTITY;
    visit(renderer, parentTransform, 0);
}

void Node::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!_visible) {
        return;
    }
    const Mat4 transform = transformFor(parentTransform);
    sortAllChildren();
    // Index loops: a draw override may change the list; the bound is re-read every step.
    size_t i = 0;
    for (; i < _children.size(); ++i) {
        Node* child = _children.data()[i];
        if (child->_localZOrder >= 0) {
            break;
        }
        child->visit(renderer, transform, parentFlags);
    }
    draw(renderer, transform, parentFlags);
    for (; i < _children.size(); ++i) {
        _children.data()[i]->visit(renderer, transform, parentFlags);
    }
}

void Node::draw(Renderer*, const Mat4&, uint32_t) {}

void Node::setGLProgramState(GLProgramState* state) {
    if (state == _glProgramState) {
        return;
    }
    if (state) {
        state->retain();
    }
    if (_glProgramState) {
        _glProgramState->release();
    }
    _glProgramState = state;
}

// --- life cycle -----------------------------------------------------------------------------------

void Node::onEnter() {
    _running = true;
    _scheduler->resumeTarget(this);
    _actionManager->resumeTarget(this);
    // Index loop with a re-read bound: a child's onEnter may add or remove children.
    Vector<Node*> children = _children;
    for (Node* child : children) {
        if (child->_parent == this && !child->_running) {
            child->onEnter();
        }
    }
}

void Node::onEnterTransitionDidFinish() {
    Vector<Node*> children = _children;
    for (Node* child : children) {
        if (child->_parent == this) {
            child->onEnterTransitionDidFinish();
        }
    }
}

void Node::onExitTransitionDidStart() {
    Vector<Node*> children = _children;
    for (Node* child : children) {
        if (child->_parent == this) {
            child->onExitTransitionDidStart();
        }
    }
}

void Node::onExit() {
    _scheduler->pauseTarget(this);
    _actionManager->pauseTarget(this);
    Vector<Node*> children = _children;
    for (Node* child : children) {
        if (child->_parent == this && child->_running) {
            child->onExit();
        }
    }
    _running = false;
}

void Node::cleanup() {
    _actionManager->removeAllActionsFromTarget(this);
    _scheduler->unscheduleAllForTarget(this);
    if (!_running) {
        // Anything scheduled later must still wait for onEnter.
        _scheduler->pauseTarget(this);
        _actionManager->pauseTarget(this);
    }
    Vector<Node*> children = _children;
    for (Node* child : children) {
        child->cleanup();
    }
}

// --- actions --------------------------------------------------------------------------------------

Action* Node::runAction(Action* action) {
    if (!action) {
        return nullptr;
    }
    _actionManager->addAction(action, this, !_running);
    return action;
}

void Node::stopAllActions() {
    _actionManager->removeAllActionsFromTarget(this);
}

void Node::stopAction(Action* action) {
    _actionManager->removeAction(action);
}

void Node::stopActionByTag(int tag) {
    _actionManager->removeActionByTag(tag, this);
}

void Node::stopAllActionsByTag(int tag) {
    _actionManager->removeAllActionsByTag(tag, this);
}

Action* Node::getActionByTag(int tag) const {
    return _actionManager->getActionByTag(tag, this);
}

ssize_t Node::getNumberOfRunningActions() const {
    return _actionManager->getNumberOfRunningActionsInTarget(this);
}

void Node::setActionManager(ActionManager* actionManager) {
    if (actionManager == _actionManager || !actionManager) {
        return;
    }
    _actionManager->dropAllActionsFromTarget(this);
    actionManager->retain();
    _actionManager->release();
    _actionManager = actionManager;
}

// --- scheduling -----------------------------------------------------------------------------------

void Node::scheduleUpdate() {
    scheduleUpdateWithPriority(0);
}

void Node::scheduleUpdateWithPriority(int priority) {
    _scheduler->scheduleUpdate([this](float dt) { update(dt); }, this, priority, !_running);
}

void Node::unscheduleUpdate() {
    _scheduler->unscheduleUpdate(this);
}

void Node::update(float) {}

void Node::schedule(const std::function<void(float)>& callback, const std::string& key) {
    schedule(callback, 0.0f, CC_REPEAT_FOREVER, 0.0f, key);
}

void Node::schedule(const std::function<void(float)>& callback, float interval, const std::string& key) {
    schedule(callback, interval, CC_REPEAT_FOREVER, 0.0f, key);
}

void Node::schedule(const std::function<void(float)>& callback, float interval, unsigned int repeat, float delay,
                    const std::string& key) {
    _scheduler->schedule(callback, this, interval, repeat, delay, !_running, key);
}

void Node::scheduleOnce(const std::function<void(float)>& callback, float delay, const std::string& key) {
    _scheduler->schedule(callback, this, 0.0f, 0, delay, !_running, key);
}

void Node::unschedule(const std::string& key) {
    _scheduler->unschedule(key, this);
}

bool Node::isScheduled(const std::string& key) const {
    return _scheduler->isScheduled(key, this);
}

void Node::unscheduleAllCallbacks() {
    const bool paused = _scheduler->isTargetPaused(this);
    _scheduler->unscheduleAllForTarget(this);
    if (paused) {
        _scheduler->pauseTarget(this);
    }
}

void Node::setScheduler(Scheduler* scheduler) {
    if (scheduler == _scheduler || !scheduler) {
        return;
    }
    _scheduler->unscheduleAllForTarget(this);
    scheduler->retain();
    _scheduler->release();
    _scheduler = scheduler;
}

void Node::pause() {
    _scheduler->pauseTarget(this);
    _actionManager->pauseTarget(this);
    _eventDispatcher->pauseEventListenersForTarget(this);
}

void Node::resume() {
    _scheduler->resumeTarget(this);
    _actionManager->resumeTarget(this);
    _eventDispatcher->resumeEventListenersForTarget(this);
}

}  // namespace cocos2d
