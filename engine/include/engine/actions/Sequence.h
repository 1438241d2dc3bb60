#pragma once

#include <cstdint>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/base/Vector.h"

namespace cocos2d {

// Runs actions one after the other; the duration is the sum. The split is exact: the step on which
// one action ends also starts the next with the time left over, and an instant action runs on the
// step it is reached. Each action captures its start values (position, opacity...) when reached.
class Sequence : public ActionInterval {
public:
    // Sequence::create(a, b, c, nullptr): the list ends at the first null.
    template <typename... Rest>
    static Sequence* create(FiniteTimeAction* first, Rest... rest) {
        return createWithList({first, static_cast<FiniteTimeAction*>(rest)...});
    }
    static Sequence* create(const Vector<FiniteTimeAction*>& actions);
    static Sequence* createWithTwoActions(FiniteTimeAction* first, FiniteTimeAction* second);

    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;

protected:
    Sequence() = default;
    static Sequence* createWithList(const std::vector<FiniteTimeAction*>& actions);
    bool initWithActions(const std::vector<FiniteTimeAction*>& actions);

private:
    enum class Stage : uint8_t { Waiting, Running, Finished };

    void startChild(size_t index);
    // update(1) then stop(); false when this sequence was stopped (or restarted) meanwhile.
    bool finishChild(size_t index);

    Vector<FiniteTimeAction*> _actions;
    std::vector<float> _starts;
    std::vector<Stage> _stages;
    size_t _current = 0;
    // Changes on every start and stop: a child's callback that stops this sequence ends the step.
    uint32_t _run = 0;
};

}  // namespace cocos2d
