#pragma once

#include "engine/base/RefPtr.h"
#include "engine/scene/TransitionScene.h"

namespace cocos2d {

class LayerColor;

// A transition through black: the first half draws the outgoing scene under black rising from
// opacity 0 to 255, the second half the incoming scene under black falling back to 0. The black
// covers everything the scene draws, whatever its global z; the notification node stays above it.
class TransitionFade : public TransitionScene {
public:
    static TransitionFade* create(float duration, Scene* scene);

    using Scene::visit;
    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

protected:
    TransitionFade() = default;
    bool initWithDuration(float duration, Scene* scene);

private:
    RefPtr<LayerColor> _black;
};

}  // namespace cocos2d
