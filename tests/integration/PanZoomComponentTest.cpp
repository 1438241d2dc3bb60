#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/actions/DelayTime.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/Touch.h"
#include "engine/scene/Scene.h"
#include "ui/Controls/CPanZoomComponent.h"

namespace {

using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::Touch;
using cocos2d::Vec2;

// Touches in design points, y up, as the component reads them back through convertToGL.
class Finger {
public:
    Finger(int id, const Vec2& at) : _touch(Touch::create(id, view(at))), _id(id) {}
    void moveTo(const Vec2& at) { _touch->setTouchInfo(_id, view(at).x, view(at).y); }
    Touch* get() const { return _touch.get(); }

private:
    static Vec2 view(const Vec2& p) { return cocos2d::Director::getInstance()->convertToUI(p); }
    RefPtr<Touch> _touch;
    int _id;
};

class PanZoomComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        parent = Node::create();
        parent->setContentSize(Size(400, 300));
        target = Node::create();
        target->setContentSize(Size(400, 300));
        target->setAnchorPoint(Vec2(0.5f, 0.5f));
        parent->addChild(target);
        scene->addChild(parent);
        cocos2d::Director::getInstance()->replaceScene(scene);
        testing::Driver::get().stepFrames(1);
        panZoom = new CPanZoomComponent();
        panZoom->release();
        ASSERT_TRUE(panZoom->init(target));
    }

    void began(std::initializer_list<Finger*> fingers) { panZoom->onTouchesBegan(list(fingers), nullptr); }
    void moved() { panZoom->onTouchesMoved({}, nullptr); }
    void ended(std::initializer_list<Finger*> fingers) { panZoom->onTouchesEnded(list(fingers), nullptr); }
    static std::vector<Touch*> list(std::initializer_list<Finger*> fingers) {
        std::vector<Touch*> touches;
        for (Finger* f : fingers) {
            touches.push_back(f->get());
        }
        return touches;
    }

    cocos2d::Scene* scene = nullptr;
    Node* parent = nullptr;
    Node* target = nullptr;
    RefPtr<CPanZoomComponent> panZoom;
};

TEST_F(PanZoomComponentTest, InitNeedsATargetAndSetsTheDefaults) {
    CPanZoomComponent fresh;
    EXPECT_FALSE(fresh.init(nullptr));
    EXPECT_FLOAT_EQ(panZoom->getMinScale(), 0.5f);
    EXPECT_FLOAT_EQ(panZoom->getMaxScale(), 2.0f);
    EXPECT_FLOAT_EQ(panZoom->getZoomDuration(), 0.5f);
    EXPECT_TRUE(panZoom->isPanEnabled());
    EXPECT_TRUE(panZoom->isZoomEnabled());
    EXPECT_FALSE(panZoom->getOptionFlag());
    EXPECT_FALSE(panZoom->getTouchFlag());
    panZoom->setMinScale(0.0f);
    panZoom->setMaxScale(-1.0f);
    EXPECT_FLOAT_EQ(panZoom->getMinScale(), 0.5f);
    EXPECT_FLOAT_EQ(panZoom->getMaxScale(), 2.0f);
    panZoom->setTouchFlag(true);
    Finger a(0, Vec2(100, 100));
    began({&a});
    EXPECT_FALSE(panZoom->getTouchFlag()) << "cleared whenever touches begin";
    ended({&a});
}

TEST_F(PanZoomComponentTest, PanMovesOnlyFromTheSecondMoveAndWithinTheParent) {
    // The target twice its parent's size: it may move by up to half the difference either way.
    target->setScale(2.0f);
    Finger a(0, Vec2(200, 200));
    began({&a});
    a.moveTo(Vec2(230, 190));
    moved();
    EXPECT_EQ(target->getPosition(), Vec2::ZERO) << "the first move only re-arms";
    a.moveTo(Vec2(260, 180));
    moved();
    EXPECT_EQ(target->getPosition(), Vec2(30, -10));
    a.moveTo(Vec2(1260, -800));
    moved();
    EXPECT_EQ(target->getPosition(), Vec2(200, -150)) << "clamped to half of (400 - 800) and (300 - 600)";
    a.moveTo(Vec2(-3000, 3000));
    moved();
    EXPECT_EQ(target->getPosition(), Vec2(-200, 150));
    ended({&a});
    EXPECT_EQ(panZoom->getTouchCount(), 0u);
}

TEST_F(PanZoomComponentTest, WithTheBoardsFixedScaleNothingZoomsAndThePictureStaysHome) {
    panZoom->setMaxScale(1.0f);
    panZoom->setMinScale(1.0f);
    Finger a(0, Vec2(100, 100));
    Finger b(1, Vec2(200, 100));
    began({&a, &b});
    moved();
    a.moveTo(Vec2(50, 100));
    b.moveTo(Vec2(250, 100));
    moved();
    EXPECT_FLOAT_EQ(target->getScale(), 1.0f);
    EXPECT_EQ(target->getPosition(), Vec2::ZERO);
    ended({&b});
    a.moveTo(Vec2(90, 120));
    moved();
    a.moveTo(Vec2(150, 160));
    moved();
    EXPECT_EQ(target->getPosition(), Vec2::ZERO) << "no larger than its parent: home";
    ended({&a});
    std::vector<std::string>& log = testing::Driver::get().captureLog();
    panZoom->zoomOut();
    EXPECT_EQ(log, std::vector<std::string>{"CPanZoomComponent::zoomOut"});
    testing::Driver::get().stopCapturingLog();
    EXPECT_EQ(target->getNumberOfRunningActions(), 0);
    EXPECT_FLOAT_EQ(panZoom->getZoomOutDuration(), 0.0f);
}

TEST_F(PanZoomComponentTest, PinchScalesByTheDistanceRatioWithinTheLimits) {
    struct Case {
        float min, max, spreadTo, expected;
    };
    // Fingers 100 apart spread to `spreadTo` apart.
    for (const Case& c : {Case{0.5f, 2.0f, 150, 1.5f}, Case{0.5f, 2.0f, 400, 2.0f},
                          Case{0.5f, 2.0f, 20, 0.5f}, Case{3.0f, 2.0f, 150, 3.0f}}) {
        target->setScale(1.0f);
        target->setPosition(Vec2::ZERO);
        panZoom->setMinScale(c.min);
        panZoom->setMaxScale(c.max);
        Finger a(0, Vec2(150, 150));
        Finger b(1, Vec2(250, 150));
        began({&a, &b});
        moved();
        a.moveTo(Vec2(200 - c.spreadTo / 2, 150));
        b.moveTo(Vec2(200 + c.spreadTo / 2, 150));
        moved();
        EXPECT_FLOAT_EQ(target->getScale(), c.expected) << c.spreadTo << " within " << c.min << ".." << c.max;
        ended({&a, &b});
    }
}

TEST_F(PanZoomComponentTest, ThreeFingersMoveNothingAndAFingerLiftedRearms) {
    target->setScale(2.0f);
    Finger a(0, Vec2(100, 100));
    Finger b(1, Vec2(200, 100));
    Finger c(2, Vec2(300, 100));
    began({&a, &b, &c});
    for (int i = 0; i < 3; ++i) {
        a.moveTo(Vec2(100 + 10 * i, 100));
        moved();
    }
    EXPECT_EQ(target->getPosition(), Vec2::ZERO);
    EXPECT_FLOAT_EQ(target->getScale(), 2.0f);
    ended({&b, &c});
    a.moveTo(Vec2(150, 100));
    moved();
    EXPECT_EQ(target->getPosition(), Vec2::ZERO) << "the first move after a lift is skipped";
    a.moveTo(Vec2(160, 100));
    moved();
    EXPECT_EQ(target->getPosition(), Vec2(10, 0));
    ended({&a});
}

TEST_F(PanZoomComponentTest, MovesWaitForARunningActionAndStaySkippedAfterIt) {
    target->setScale(2.0f);
    Finger a(0, Vec2(100, 100));
    began({&a});
    moved();
    target->runAction(cocos2d::DelayTime::create(0.1f));
    std::vector<std::string>& log = testing::Driver::get().captureLog();
    a.moveTo(Vec2(120, 100));
    moved();
    EXPECT_EQ(target->getPosition(), Vec2::ZERO);
    EXPECT_NE(std::find(log.begin(), log.end(), "numberOfRunningActions() > 0"), log.end());
    testing::Driver::get().stopCapturingLog();
    // A second finger comes and goes during the action.
    Finger b(1, Vec2(300, 100));
    began({&b});
    ended({&b});
    testing::Driver::get().stepFrames(10);
    ASSERT_EQ(target->getNumberOfRunningActions(), 0);
    a.moveTo(Vec2(140, 100));
    moved();
    EXPECT_EQ(target->getPosition(), Vec2::ZERO) << "still skipped after the action";
    a.moveTo(Vec2(150, 100));
    moved();
    EXPECT_EQ(target->getPosition(), Vec2(10, 0));
    ended({&a});
}

TEST_F(PanZoomComponentTest, PositionForScaleKeepsThePointInPlace) {
    struct Case {
        Vec2 anchor, position, p;
        float from, to;
    };
    for (const Case& c : {Case{{0.5f, 0.5f}, {0, 0}, {100, 75}, 1.0f, 2.0f},
                          Case{{0.5f, 0.5f}, {10, 20}, {300, 200}, 1.5f, 0.5f},
                          Case{{0.0f, 0.0f}, {0, 0}, {400, 300}, 1.0f, 3.0f}}) {
        target->setAnchorPoint(c.anchor);
        target->setPosition(c.position);
        target->setScale(c.from);
        const Vec2 before = target->convertToWorldSpace(c.p);
        const Vec2 moved = CPanZoomComponent::positionForScale(target, c.p, c.to);
        target->setScale(c.to);
        target->setPosition(moved);
        const Vec2 after = target->convertToWorldSpace(c.p);
        EXPECT_NEAR(after.x, before.x, 0.01);
        EXPECT_NEAR(after.y, before.y, 0.01);
    }
}

TEST_F(PanZoomComponentTest, ZoomInAndOutAnimateOverThePartOfTheRangeLeft) {
    EXPECT_NEAR(panZoom->getZoomOutDuration(), 0.5f / 1.5f * 0.5f, 1e-5);
    const Vec2 expected = CPanZoomComponent::positionForScale(target, Vec2(100, 75), 2.0f);
    panZoom->zoomIn(Vec2(100, 75));
    testing::Driver::get().stepFrames(40);
    EXPECT_FLOAT_EQ(target->getScale(), 2.0f);
    EXPECT_NEAR(target->getPositionX(), expected.x, 0.01);
    EXPECT_NEAR(target->getPositionY(), expected.y, 0.01);
    EXPECT_NEAR(panZoom->getZoomOutDuration(), 0.5f, 1e-5);

    std::vector<std::string>& log = testing::Driver::get().captureLog();
    panZoom->zoomOut();
    EXPECT_EQ(log, (std::vector<std::string>{"CPanZoomComponent::zoomOut",
                                             "mTarget stopAllActions and scale down"}));
    testing::Driver::get().stopCapturingLog();
    testing::Driver::get().stepFrames(15);
    EXPECT_GT(target->getScale(), 0.5f) << "still on its way";
    testing::Driver::get().stepFrames(30);
    EXPECT_FLOAT_EQ(target->getScale(), 0.5f);
    EXPECT_EQ(target->getPosition(), Vec2::ZERO);
    EXPECT_FLOAT_EQ(panZoom->getZoomOutDuration(), 0.0f);
}

}  // namespace
