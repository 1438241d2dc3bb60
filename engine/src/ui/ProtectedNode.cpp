#include "engine/ui/ProtectedNode.h"

#include <algorithm>
#include <new>

#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"

namespace cocos2d {

ProtectedNode* ProtectedNode::create() {
    auto* node = new (std::nothrow) ProtectedNode();
    if (node && node->init()) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

ProtectedNode::~ProtectedNode() {
    Vector<Node*> children;
    children.swap(_protectedChildren);
    for (Node* child : children) {
        setParentOf(child, nullptr);
    }
}

void ProtectedNode::setParentOf(Node* child, Node* parent) {
    // The parent pointer is how a node finds its world transform and inherited colour. A pointer to the
    // member formed through this class may set it on any node.
    Node* Node::*parentMember = &ProtectedNode::_parent;
    child->*parentMember = parent;
}

void ProtectedNode::addProtectedChild(Node* child) {
    if (child) {
        addProtectedChild(child, child->getLocalZOrder());
    }
}

void ProtectedNode::addProtectedChild(Node* child, int localZOrder) {
    if (child) {
        addProtectedChild(child, localZOrder, child->getTag());
    }
}

void ProtectedNode::addProtectedChild(Node* child, int localZOrder, int tag) {
    if (!child || child == this) {
        return;
    }
    if (child->getParent()) {
        logAt(LogLevel::Error, "ProtectedNode: child '%s' already has a parent", child->getName().c_str());
        return;
    }
    _protectedChildren.pushBack(child);
    child->setTag(tag);
    child->setLocalZOrder(localZOrder);
    setParentOf(child, this);
    child->updateDisplayedOpacity(passesOpacityOn() ? _displayedOpacity : 255);
    child->updateDisplayedColor(passesColorOn() ? _displayedColor : Color3B::WHITE);
    if (_running) {
        child->onEnter();
        if (child->getParent() == this && child->isRunning()) {
            child->onEnterTransitionDidFinish();
        }
    }
}

Node* ProtectedNode::getProtectedChildByTag(int tag) const {
    for (Node* child : _protectedChildren) {
        if (child->getTag() == tag) {
            return child;
        }
    }
    return nullptr;
}

void ProtectedNode::removeProtectedChild(Node* child, bool cleanup) {
    if (!child || !_protectedChildren.contains(child)) {
        return;
    }
    RefPtr<Node> keep(child);
    if (child->isRunning()) {
        child->onExitTransitionDidStart();
        child->onExit();
    }
    if (cleanup) {
        child->cleanup();
    }
    setParentOf(child, nullptr);
    _protectedChildren.eraseObject(child);
}

void ProtectedNode::removeProtectedChildByTag(int tag, bool cleanup) {
    removeProtectedChild(getProtectedChildByTag(tag), cleanup);
}

void ProtectedNode::removeAllProtectedChildren() {
    removeAllProtectedChildrenWithCleanup(true);
}

void ProtectedNode::removeAllProtectedChildrenWithCleanup(bool cleanup) {
    Vector<Node*> children;
    children.swap(_protectedChildren);
    for (Node* child : children) {
        if (child->isRunning()) {
            child->onExitTransitionDidStart();
            child->onExit();
        }
        if (cleanup) {
            child->cleanup();
        }
        setParentOf(child, nullptr);
    }
}

void ProtectedNode::sortProtectedChildren() {
    auto& list = _protectedChildren.data();
    std::stable_sort(list.begin(), list.end(),
                     [](const Node* a, const Node* b) { return a->getLocalZOrder() < b->getLocalZOrder(); });
}

void ProtectedNode::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!_visible) {
        return;
    }
    const Mat4 transform = transformFor(parentTransform);
    sortAllChildren();
    sortProtectedChildren();
    size_t i = 0;
    for (; i < _children.size(); ++i) {
        Node* child = _children.data()[i];
        if (child->getLocalZOrder() >= 0) {
            break;
        }
        child->visit(renderer, transform, parentFlags);
    }
    // Copy: a protected child's draw may not change the list, but its owner's state may.
    Vector<Node*> own = _protectedChildren;
    for (Node* child : own) {
        child->visit(renderer, transform, parentFlags);
    }
    draw(renderer, transform, parentFlags);
    for (; i < _children.size(); ++i) {
        _children.data()[i]->visit(renderer, transform, parentFlags);
    }
}

void ProtectedNode::onEnter() {
    Node::onEnter();
    Vector<Node*> own = _protectedChildren;
    for (Node* child : own) {
        if (child->getParent() == this && !child->isRunning()) {
            child->onEnter();
        }
    }
}

void ProtectedNode::onEnterTransitionDidFinish() {
    Node::onEnterTransitionDidFinish();
    Vector<Node*> own = _protectedChildren;
    for (Node* child : own) {
        if (child->getParent() == this) {
            child->onEnterTransitionDidFinish();
        }
    }
}

void ProtectedNode::onExitTransitionDidStart() {
    Node::onExitTransitionDidStart();
    Vector<Node*> own = _protectedChildren;
    for (Node* child : own) {
        if (child->getParent() == this) {
            child->onExitTransitionDidStart();
        }
    }
}

void ProtectedNode::onExit() {
    Vector<Node*> own = _protectedChildren;
    for (Node* child : own) {
        if (child->getParent() == this && child->isRunning()) {
            child->onExit();
        }
    }
    Node::onExit();
}

void ProtectedNode::cleanup() {
    Node::cleanup();
    Vector<Node*> own = _protectedChildren;
    for (Node* child : own) {
        child->cleanup();
    }
}

void ProtectedNode::updateDisplayedOpacity(GLubyte parentOpacity) {
    Node::updateDisplayedOpacity(parentOpacity);
    const GLubyte handOn = passesOpacityOn() ? _displayedOpacity : 255;
    for (Node* child : _protectedChildren) {
        child->updateDisplayedOpacity(handOn);
    }
}

void ProtectedNode::updateDisplayedColor(const Color3B& parentColor) {
    Node::updateDisplayedColor(parentColor);
    const Color3B handOn = passesColorOn() ? _displayedColor : Color3B::WHITE;
    for (Node* child : _protectedChildren) {
        child->updateDisplayedColor(handOn);
    }
}

}  // namespace cocos2d
