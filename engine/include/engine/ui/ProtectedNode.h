#pragma once

#include <cstdint>

#include "engine/base/Types.h"
#include "engine/base/Vector.h"
#include "engine/math/Mat4.h"
#include "engine/scene/Node.h"

namespace cocos2d {

class Renderer;

// A node with a second list of children that make up its own look (a widget's images and title).
// They are drawn after the node's children below z 0 and before the node's other children, follow the
// node's life cycle and cascading colour and opacity, and treat it as their parent for transforms, but
// they are not in getChildren(): the game's lookups and the listener order never see them.
class ProtectedNode : public Node {
public:
    static ProtectedNode* create();
    ~ProtectedNode() override;

    virtual void addProtectedChild(Node* child);
    virtual void addProtectedChild(Node* child, int localZOrder);
    virtual void addProtectedChild(Node* child, int localZOrder, int tag);
    Node* getProtectedChildByTag(int tag) const;
    virtual void removeProtectedChild(Node* child, bool cleanup = true);
    virtual void removeProtectedChildByTag(int tag, bool cleanup = true);
    virtual void removeAllProtectedChildren();
    virtual void removeAllProtectedChildrenWithCleanup(bool cleanup);
    const Vector<Node*>& getProtectedChildren() const { return _protectedChildren; }

    using Node::visit;
    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;
    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExitTransitionDidStart() override;
    void onExit() override;
    void cleanup() override;
    void updateDisplayedOpacity(GLubyte parentOpacity) override;
    void updateDisplayedColor(const Color3B& parentColor) override;

protected:
    ProtectedNode() = default;

    // Stable by local z; equal z keeps the order of addition.
    void sortProtectedChildren();

    Vector<Node*> _protectedChildren;

private:
    void setParentOf(Node* child, Node* parent);
};

}  // namespace cocos2d
