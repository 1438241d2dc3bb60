#pragma once

#include "engine/actions/Action.h"
#include "engine/base/Types.h"

namespace cocos2d {

// Tints the target from its colour when the action starts to the given one. Each channel stays
// within 0..255 when an ease overshoots.
class TintTo : public ActionInterval {
public:
    static TintTo* create(float duration, GLubyte red, GLubyte green, GLubyte blue);
    static TintTo* create(float duration, const Color3B& color);

    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    TintTo() = default;

    Color3B _to;
    Color3B _from;
};

}  // namespace cocos2d
