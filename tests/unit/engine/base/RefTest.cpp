#include "engine/base/AutoreleasePool.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Vector.h"
#include "engine/scene/Node.h"
#include "../HeadlessEngine.h"

namespace {

using cocos2d::Node;
using cocos2d::RefPtr;

class RefTest : public enginetest::HeadlessEngine {};

// A node that reports its destruction.
class Tracked : public Node {
public:
    static Tracked* create(bool* destroyed) {
        auto* n = new Tracked(destroyed);
        n->init();
        n->autorelease();
        return n;
    }
    ~Tracked() override { *_destroyed = true; }

private:
    explicit Tracked(bool* destroyed) : _destroyed(destroyed) {}
    bool* _destroyed;
};

TEST_F(RefTest, CountsThroughCreateAddChildRemoveAndPoolDrain) {
    bool destroyed = false;
    RefPtr<Node> parent = Node::create();
    Tracked* child = Tracked::create(&destroyed);
    EXPECT_EQ(child->getReferenceCount(), 1u) << "born with one, owned by the pool";
    parent->addChild(child);
    EXPECT_EQ(child->getReferenceCount(), 2u);
    cocos2d::AutoreleasePool::getInstance()->clear();
    EXPECT_EQ(child->getReferenceCount(), 1u) << "the parent holds the lasting reference";
    child->retain();
    child->removeFromParent();
    EXPECT_EQ(child->getReferenceCount(), 1u);
    EXPECT_EQ(child->getParent(), nullptr);
    EXPECT_FALSE(destroyed);
    child->release();
    EXPECT_TRUE(destroyed);
}

TEST_F(RefTest, UnparentedCreateDiesWhenThePoolDrainsAtTheEndOfTheFrame) {
    bool destroyed = false;
    Tracked::create(&destroyed);
    EXPECT_FALSE(destroyed);
    step();
    EXPECT_TRUE(destroyed);
}

TEST_F(RefTest, RemovalWithoutCleanupStillLetsTheLastOwnerDestroyTheNode) {
    bool destroyed = false;
    RefPtr<Node> parent = Node::create();
    Tracked* child = Tracked::create(&destroyed);
    parent->addChild(child);
    step();
    child->removeFromParentAndCleanup(false);
    EXPECT_TRUE(destroyed);
}

TEST_F(RefTest, RefPtrAndVectorHoldTheirOwnReference) {
    Node* node = Node::create();
    {
        RefPtr<Node> held(node);
        cocos2d::Vector<Node*> list;
        list.pushBack(node);
        list.pushBack(node);
        EXPECT_EQ(node->getReferenceCount(), 4u);
        list.eraseObject(node);
        EXPECT_EQ(node->getReferenceCount(), 3u);
        cocos2d::Vector<Node*> copy = list;
        EXPECT_EQ(node->getReferenceCount(), 4u);
    }
    EXPECT_EQ(node->getReferenceCount(), 1u);
}

TEST_F(RefTest, PoolDrainsObjectsAutoreleasedByDestructorsInTheSameCall) {
    // A destructor that creates (and autoreleases) another object must not leave it for later.
    struct Spawner : Node {
        bool* spawnedDestroyed;
        explicit Spawner(bool* d) : spawnedDestroyed(d) {}
        ~Spawner() override { Tracked::create(spawnedDestroyed); }
    };
    bool spawnedDestroyed = false;
    auto* spawner = new Spawner(&spawnedDestroyed);
    spawner->autorelease();
    cocos2d::AutoreleasePool::getInstance()->clear();
    EXPECT_TRUE(spawnedDestroyed);
    EXPECT_EQ(cocos2d::AutoreleasePool::getInstance()->size(), 0u);
}

}  // namespace
