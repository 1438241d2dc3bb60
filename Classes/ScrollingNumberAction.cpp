#include "ScrollingNumberAction.h"

#include <cmath>
#include <new>

#include "engine/2d/LabelProtocol.h"
#include "engine/base/StringUtils.h"
#include "engine/scene/Node.h"

ScrollingNumberAction* ScrollingNumberAction::create(int32_t startValue, int32_t endValue, float duration,
                                                     const std::string& prefix) {
    auto* action = new (std::nothrow) ScrollingNumberAction();
    if (action == nullptr) {
        return nullptr;
    }
    if (!action->initWithDuration(duration)) {
        delete action;
        return nullptr;
    }
    action->_startValue = startValue;
    action->_endValue = endValue;
    action->_prefix = prefix;
    action->autorelease();
    return action;
}

ScrollingNumberAction::~ScrollingNumberAction() = default;

int32_t ScrollingNumberAction::valueAt(int32_t startValue, int32_t endValue, float t) {
    if (t >= 1.0f) {
        return endValue;
    }
    if (!(t > 0.0f)) {
        return startValue;
    }
    // In 64 bits and double: the difference of two extreme values does not fit 32 bits, and a float
    // loses whole steps above 2^24.
    const int64_t difference = static_cast<int64_t>(endValue) - static_cast<int64_t>(startValue);
    const auto part =
        static_cast<int64_t>(std::trunc(static_cast<double>(difference) * static_cast<double>(t)));
    return static_cast<int32_t>(static_cast<int64_t>(startValue) + part);
}

void ScrollingNumberAction::update(float t) {
    if (_target == nullptr) {
        return;
    }
    auto* label = dynamic_cast<cocos2d::LabelProtocol*>(_target);
    if (label == nullptr) {
        return;
    }
    label->setString(
        cocos2d::StringUtils::format("%s%d", _prefix.c_str(), valueAt(_startValue, _endValue, t)));
}
