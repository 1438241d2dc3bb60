#include "engine/scene/TransitionFade.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "engine/renderer/Renderer.h"
#include "engine/scene/LayerColor.h"

namespace cocos2d {

TransitionFade* TransitionFade::create(float duration, Scene* scene) {
    auto* transition = new (std::nothrow) TransitionFade();
    if (transition && transition->initWithDuration(duration, scene)) {
        transition->autorelease();
        return transition;
    }
    delete transition;
    return nullptr;
}

bool TransitionFade::initWithDuration(float duration, Scene* scene) {
    if (!TransitionScene::initWithDuration(duration, scene)) {
        return false;
    }
    _black = LayerColor::create(Color4B(0, 0, 0, 0), _contentSize.width, _contentSize.height);
    if (!_black) {
        return false;
    }
    // Above every draw of the scene under it, whatever global z the scene's nodes carry.
    _black->setGlobalZOrder(std::numeric_limits<float>::max());
    return true;
}

void TransitionFade::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (!_visible) {
        return;
    }
    const float progress = getProgress();
    const bool firstHalf = progress < 0.5f;
    Scene* shown = firstHalf ? getOutScene() : getInScene();
    if (shown) {
        shown->visit(renderer, parentTransform, parentFlags);
    }
    const float darkness = firstHalf ? progress * 2.0f : (1.0f - progress) * 2.0f;
    _black->setOpacity(static_cast<GLubyte>(std::lround(std::clamp(darkness, 0.0f, 1.0f) * 255.0f)));
    _black->visit(renderer, parentTransform, parentFlags);
    // Draw the scene and its black now, so that the notification node, queued next, lands on top.
    renderer->render();
}

}  // namespace cocos2d
