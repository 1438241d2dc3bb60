#pragma once

#include <cstdint>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/base/Vector.h"

namespace cocos2d {

// Runs actions together; the duration is the longest. A shorter action ends (and stops) on the step
// its own duration is reached and then holds its end state.
class Spawn : public ActionInterval {
public:
    // Spawn::create(a, b, c, nullptr): the list ends at the first null.
    template <typename... Rest>
    static Spawn* create(FiniteTimeAction* first, Rest... rest) {
        return createWithList({first, static_cast<FiniteTimeAction*>(rest)...});
    }
    static Spawn* create(const Vector<FiniteTimeAction*>& actions);
    static Spawn* createWithTwoActions(FiniteTimeAction* first, FiniteTimeAction* second);

    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;

protected:
    Spawn() = default;
    static Spawn* createWithList(const std::vector<FiniteTimeAction*>& actions);
    bool initWithActions(const std::vector<FiniteTimeAction*>& actions);

private:
    Vector<FiniteTimeAction*> _actions;
    std::vector<bool> _running;
    // Changes on every start and stop: a child's callback that stops this spawn ends the step.
    uint32_t _run = 0;
};

}  // namespace cocos2d
