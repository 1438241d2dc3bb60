#include <cmath>
#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "../HeadlessEngine.h"

namespace {

using cocos2d::Layer;
using cocos2d::Node;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Scene;
using cocos2d::Size;
using cocos2d::Vec2;

class NodeTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        scene = Scene::create();
        director()->runWithScene(scene);
        step();
    }
    Scene* scene = nullptr;
};

void expectNear(const Vec2& actual, const Vec2& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-3f);
    EXPECT_NEAR(actual.y, expected.y, 1e-3f);
}

TEST_F(NodeTest, DefaultsMatchWhatLoaderBuiltContainersRelyOn) {
    Node* n = Node::create();
    EXPECT_EQ(n->getPosition(), Vec2::ZERO);
    EXPECT_EQ(n->getAnchorPoint(), Vec2::ZERO);
    EXPECT_EQ(n->getContentSize(), Size::ZERO);
    EXPECT_EQ(n->getTag(), Node::INVALID_TAG);
    EXPECT_EQ(n->getName(), "");
    EXPECT_EQ(n->getOpacity(), 255);
    EXPECT_TRUE(n->isVisible());
    EXPECT_FALSE(n->isCascadeOpacityEnabled());
    EXPECT_FALSE(n->isRunning());
    Layer* layer = Layer::create();
    EXPECT_EQ(layer->getContentSize(), Size(1280, 810));
    EXPECT_EQ(layer->getAnchorPoint(), Vec2(0.5f, 0.5f));
    EXPECT_TRUE(layer->isIgnoreAnchorPointForPosition());
    EXPECT_EQ(scene->getContentSize(), Size(1280, 810));
}

TEST_F(NodeTest, LocalTransformPlacesContentPointsAsItsPropertiesSay) {
    struct Case {
        const char* what;
        Vec2 position;
        Vec2 anchor;
        float rotation;
        float scaleX;
        float scaleY;
        bool ignoreAnchor;
        Vec2 local;   // a point of the 100 x 50 content
        Vec2 parent;  // where it lands in the parent
    };
    const Case cases[] = {
        {"anchor lands on the position", {200, 100}, {0.5f, 0.5f}, 0, 1, 1, false, {50, 25}, {200, 100}},
        {"bottom-left with a centre anchor", {200, 100}, {0.5f, 0.5f}, 0, 1, 1, false, {0, 0}, {150, 75}},
        {"ignored anchor: position is the corner", {200, 100}, {0.5f, 0.5f}, 0, 1, 1, true, {0, 0}, {200, 100}},
        {"positive rotation turns clockwise", {0, 0}, {0, 0}, 90, 1, 1, false, {100, 0}, {0, -100}},
        {"rotation is about the anchor", {10, 10}, {0.5f, 0.5f}, 180, 1, 1, false, {100, 50}, {-40, -15}},
        {"negative x scale mirrors", {0, 0}, {0.5f, 0.5f}, 0, -1, 1, false, {100, 25}, {-50, 0}},
        {"scale about the anchor", {0, 0}, {0.5f, 0.5f}, 0, 2, 3, false, {100, 50}, {100, 75}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Node* n = Node::create();
        n->setContentSize(Size(100, 50));
        n->setAnchorPoint(c.anchor);
        n->setPosition(c.position);
        n->setRotation(c.rotation);
        n->setScale(c.scaleX, c.scaleY);
        n->setIgnoreAnchorPointForPosition(c.ignoreAnchor);
        expectNear(n->getNodeToParentTransform().transformPoint(c.local), c.parent);
    }
}

TEST_F(NodeTest, SkewShearsEachAxisByTheOther) {
    Node* n = Node::create();
    n->setSkewX(45);
    expectNear(n->getNodeToParentTransform().transformPoint(Vec2(0, 10)), Vec2(10, 10));
    n->setSkewX(0);
    n->setSkewY(45);
    expectNear(n->getNodeToParentTransform().transformPoint(Vec2(10, 0)), Vec2(10, 10));
}

TEST_F(NodeTest, BoundingBoxCoversTheTransformedContent) {
    Node* n = Node::create();
    n->setContentSize(Size(100, 50));
    n->setAnchorPoint(Vec2(0.5f, 0.5f));
    n->setPosition(300, 200);
    EXPECT_EQ(n->getBoundingBox(), Rect(250, 175, 100, 50));
    n->setRotation(90);
    const Rect box = n->getBoundingBox();
    EXPECT_NEAR(box.getMinX(), 275, 1e-3f);
    EXPECT_NEAR(box.getMinY(), 150, 1e-3f);
    EXPECT_NEAR(box.size.width, 50, 1e-3f);
    EXPECT_NEAR(box.size.height, 100, 1e-3f);
}

TEST_F(NodeTest, SpaceConversionsRoundTripThroughNestedParents) {
    Node* outer = Node::create();
    outer->setPosition(100, 50);
    outer->setScale(2);
    Node* inner = Node::create();
    inner->setContentSize(Size(10, 10));
    inner->setAnchorPoint(Vec2(0.5f, 0.5f));
    inner->setPosition(20, 30);
    inner->setRotation(30);
    outer->addChild(inner);
    scene->addChild(outer);
    const Vec2 local(3, 7);
    const Vec2 world = inner->convertToWorldSpace(local);
    expectNear(inner->convertToNodeSpace(world), local);
    expectNear(inner->convertToWorldSpaceAR(Vec2::ZERO), Vec2(140, 110));
    expectNear(inner->convertToNodeSpaceAR(Vec2(140, 110)), Vec2::ZERO);
}

TEST_F(NodeTest, DrawingOrderIsStableByZThenArrivalAndReorderGoesLast) {
    Node* parent = Node::create();
    auto add = [&](const char* name, int z) {
        Node* n = Node::create();
        n->setName(name);
        parent->addChild(n, z);
        return n;
    };
    add("a", 1);
    Node* b = add("b", 1);
    add("c", -1);
    add("d", 1);
    auto order = [&] {
        parent->sortAllChildren();
        std::string s;
        for (Node* n : parent->getChildren()) {
            s += n->getName();
        }
        return s;
    };
    EXPECT_EQ(order(), "cabd");
    b->setLocalZOrder(1);
    EXPECT_EQ(order(), "cabd") << "the same z changes nothing";
    b->setLocalZOrder(2);
    b->setLocalZOrder(1);
    EXPECT_EQ(order(), "cadb") << "a new z places the node last among its equals";
}

TEST_F(NodeTest, ChildLookupAndEnumeration) {
    Node* root = Node::create();
    Node* star1 = Node::create();
    star1->setName("Star");
    Node* holder = Node::create();
    holder->setName("holder");
    Node* star2 = Node::create();
    star2->setName("Star");
    star2->setTag(5);
    holder->addChild(star2);
    root->addChild(holder);
    root->addChild(star1);
    EXPECT_EQ(root->getChildByName("Star"), star1) << "direct children only";
    EXPECT_EQ(root->getChildByTag(5), nullptr);
    EXPECT_EQ(holder->getChildByTag(5), star2);

    std::vector<Node*> found;
    root->enumerateChildren("//Star", [&](Node* n) {
        found.push_back(n);
        return false;
    });
    EXPECT_EQ(found, (std::vector<Node*>{star2, star1})) << "pre-order, depth first";
    found.clear();
    root->enumerateChildren("Star", [&](Node* n) {
        found.push_back(n);
        return false;
    });
    EXPECT_EQ(found, (std::vector<Node*>{star1}));
    found.clear();
    root->enumerateChildren("//Star", [&](Node* n) {
        found.push_back(n);
        return true;
    });
    EXPECT_EQ(found.size(), 1u) << "true stops the search";
}

// Records its life-cycle calls in a shared log.
class Recorder : public Node {
public:
    static Recorder* create(const std::string& name, std::vector<std::string>* log) {
        auto* r = new Recorder();
        r->init();
        r->setName(name);
        r->_log = log;
        r->autorelease();
        return r;
    }
    void onEnter() override {
        Node::onEnter();
        _log->push_back(getName() + ".onEnter");
    }
    void onEnterTransitionDidFinish() override {
        Node::onEnterTransitionDidFinish();
        _log->push_back(getName() + ".didFinish");
    }
    void onExitTransitionDidStart() override {
        Node::onExitTransitionDidStart();
        _log->push_back(getName() + ".didStart");
    }
    void onExit() override {
        Node::onExit();
        _log->push_back(getName() + ".onExit");
    }
    void cleanup() override {
        Node::cleanup();
        _log->push_back(getName() + ".cleanup");
    }
    ~Recorder() override {
        _log->push_back(getName() + ".destroyed");
        if (onDestroy) {
            onDestroy();
        }
    }
    std::function<void()> onDestroy;

private:
    std::vector<std::string>* _log = nullptr;
};

TEST_F(NodeTest, AddingAndRemovingRunTheLifeCycleInOrder) {
    std::vector<std::string> log;
    Recorder* parent = Recorder::create("p", &log);
    parent->addChild(Recorder::create("c", &log));
    scene->addChild(parent);
    EXPECT_EQ(log, (std::vector<std::string>{"c.onEnter", "p.onEnter", "c.didFinish", "p.didFinish"}))
        << "onEnter marks the node running before its children enter; the log records after the call";
    log.clear();
    step();  // drain the pool so the parent holds the only reference
    parent->removeFromParent();
    EXPECT_EQ(log, (std::vector<std::string>{"c.didStart", "p.didStart", "c.onExit", "p.onExit", "c.cleanup",
                                             "p.cleanup", "p.destroyed", "c.destroyed"}));
}

TEST_F(NodeTest, ADestructorRemovingASiblingDuringTheParentsRemovalIsSafe) {
    std::vector<std::string> log;
    Node* parent = Node::create();
    scene->addChild(parent);
    Recorder* first = Recorder::create("first", &log);
    Recorder* second = Recorder::create("second", &log);
    parent->addChild(first);
    parent->addChild(second);
    first->onDestroy = [parent, second] { parent->removeChild(second); };
    step();
    parent->removeAllChildren();
    EXPECT_EQ(parent->getChildrenCount(), 0);
    step();
    // And when the parent itself is destroyed with such children.
    Recorder* a = Recorder::create("a", &log);
    Recorder* b = Recorder::create("b", &log);
    parent->addChild(a);
    parent->addChild(b);
    a->onDestroy = [b] { b->removeFromParent(); };
    step();
    parent->removeFromParent();
    step();
    SUCCEED();
}

TEST_F(NodeTest, ANodeMayRemoveItsParentFromItsOwnTimer) {
    Node* parent = Node::create();
    Node* child = Node::create();
    parent->addChild(child);
    scene->addChild(parent);
    child->scheduleOnce([parent](float) { parent->removeFromParent(); }, 0.0f, "bye");
    step(2);
    EXPECT_EQ(scene->getChildrenCount(), 0);
}

TEST_F(NodeTest, CascadingOpacityReachesEveryDescendantIncludingLaterOnes) {
    Node* container = Node::create();
    Node* panel = Node::create();  // a plain node in between, cascading off
    Node* label = Node::create();
    panel->addChild(label);
    container->addChild(panel);
    container->setCascadeOpacityEnabled(true);
    container->setOpacity(128);
    EXPECT_EQ(panel->getDisplayedOpacity(), 128);
    EXPECT_EQ(label->getDisplayedOpacity(), 128);
    label->setOpacity(128);
    EXPECT_EQ(label->getDisplayedOpacity(), 64);
    Node* late = Node::create();
    panel->addChild(late);
    EXPECT_EQ(late->getDisplayedOpacity(), 128) << "children added later inherit it";
    container->setCascadeOpacityEnabled(false);
    EXPECT_EQ(panel->getDisplayedOpacity(), 255);
    EXPECT_EQ(late->getDisplayedOpacity(), 255);
}

TEST_F(NodeTest, ColourDoesNotCascadeUnlessAsked) {
    Node* parent = Node::create();
    Node* child = Node::create();
    parent->addChild(child);
    parent->setColor(cocos2d::Color3B(100, 200, 50));
    EXPECT_EQ(child->getDisplayedColor(), cocos2d::Color3B::WHITE);
    parent->setCascadeColorEnabled(true);
    EXPECT_EQ(child->getDisplayedColor(), cocos2d::Color3B(100, 200, 50));
}

TEST_F(NodeTest, UserObjectIsRetainedAndUserDataIsAPlainInteger) {
    Node* n = Node::create();
    Node* object = Node::create();
    n->setUserObject(object);
    EXPECT_EQ(object->getReferenceCount(), 2u);
    n->setUserObject(nullptr);
    EXPECT_EQ(object->getReferenceCount(), 1u);
    n->setUserData(reinterpret_cast<void*>(static_cast<intptr_t>(42)));
    EXPECT_EQ(reinterpret_cast<intptr_t>(n->getUserData()), 42);
}

}  // namespace
