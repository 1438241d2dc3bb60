#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "../engine/HeadlessEngine.h"
#include "engine/2d/Label.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Node.h"

#include "ScrollingNumberAction.h"

namespace {

using cocos2d::Label;
using cocos2d::RefPtr;

std::string fontPath() {
    return std::string(KESTROVA_RESOURCE_DIR) + "/res/fonts/Arial.ttf";
}

class ScrollingNumberActionTest : public enginetest::HeadlessEngine {
protected:
    // Runs the action on a real label, recording each text it shows, one frame of 1/60 s at a time.
    std::vector<std::string> run(int32_t from, int32_t to, float seconds, const std::string& prefix) {
        RefPtr<Label> label = Label::createWithTTF("", fontPath(), 20);
        EXPECT_TRUE(label);
        if (!label) {
            return {};
        }
        RefPtr<cocos2d::Node> stage = cocos2d::Node::create();
        stage->addChild(label);
        stage->onEnter();
        label->runAction(ScrollingNumberAction::create(from, to, seconds, prefix));
        std::vector<std::string> shown;
        for (int i = 0; i < 1000 && label->getNumberOfRunningActions() > 0; ++i) {
            step();
            if (shown.empty() || shown.back() != label->getString()) {
                shown.push_back(label->getString());
            }
        }
        stage->onExit();
        return shown;
    }
};

TEST_F(ScrollingNumberActionTest, CountsUpAndDownAndShowsTheEndValueOnlyAtTheEnd) {
    struct Case {
        int32_t from;
        int32_t to;
        const char* prefix;
        const char* first;
        const char* last;
        const char* beforeLast;
    };
    const Case cases[] = {
        {0, 100, "$", "$1", "$100", "$99"},
        {100, 0, "$", "$99", "$0", "$1"},
        {-5, 5, "", "-5", "5", "4"},
        {3, -3, "", "3", "-3", "-2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " .. " + c.last);
        // 2 s: 120 frames, more frames than values, so every value is reached.
        const std::vector<std::string> shown = run(c.from, c.to, 2.0f, c.prefix);
        ASSERT_GE(shown.size(), 2u);
        EXPECT_TRUE(shown.front() == c.first ||
                    shown.front() == std::string(c.prefix) + std::to_string(c.from))
            << shown.front();
        EXPECT_EQ(shown.back(), c.last);
        EXPECT_EQ(shown[shown.size() - 2], c.beforeLast);
    }
}

TEST_F(ScrollingNumberActionTest, EqualValuesShowThatValueThroughout) {
    const std::vector<std::string> shown = run(42, 42, 0.5f, "x");
    EXPECT_EQ(shown, std::vector<std::string>{"x42"});
}

TEST_F(ScrollingNumberActionTest, ValuesAtProgressStayExactForLargeAndExtremeRanges) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case {
        int32_t from;
        int32_t to;
        float t;
        int32_t expected;
    };
    const Case cases[] = {
        {100, 0, 0.5f, 50},
        {0, 100, 0.999f, 99},
        // Beyond 2^24 a float product would not land on the end value.
        {0, 16777217, 1.0f, 16777217},
        {1, 100000001, 1.0f, 100000001},
        {0, 100000001, 0.5f, 50000000},
        // The whole 32-bit range: the difference itself needs 33 bits.
        {kMin, kMax, 1.0f, kMax},
        {kMin, kMax, 0.5f, -1},
        {kMax, kMin, 0.5f, 0},
        {kMax, kMin, 1.0f, kMin},
        // Eases may overshoot: the count stays between its two ends.
        {kMin, kMax, 1.5f, kMax},
        {kMin, kMax, -0.5f, kMin},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScrollingNumberAction::valueAt(c.from, c.to, c.t), c.expected)
            << c.from << " -> " << c.to << " at " << c.t;
    }
}

TEST_F(ScrollingNumberActionTest, TheLargeCountEndsOnItsValueOnALabel) {
    const std::vector<std::string> shown = run(0, 123456789, 0.25f, "$");
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "$123456789");
}

}  // namespace
