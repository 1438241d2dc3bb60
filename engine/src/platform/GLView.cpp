#include "engine/platform/GLView.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace cocos2d {
namespace {

GLContextAttrs& contextAttrs() {
    static GLContextAttrs attrs;
    return attrs;
}

class HeadlessGLView : public GLView {
public:
    HeadlessGLView() { _viewName = "headless"; }
};

}  // namespace

void GLView::setGLContextAttrs(GLContextAttrs& attrs) {
    contextAttrs() = attrs;
}

GLContextAttrs GLView::getGLContextAttrs() {
    return contextAttrs();
}

GLView* GLView::createHeadless(float frameWidth, float frameHeight) {
    auto* view = new (std::nothrow) HeadlessGLView();
    if (!view) {
        return nullptr;
    }
    view->_frameSize = Size(frameWidth, frameHeight);
    view->autorelease();
    return view;
}

GLView::~GLView() = default;

void GLView::setFrameSize(float width, float height) {
    _frameSize = Size(width, height);
    updateDesignResolution();
}

void GLView::setDesignResolutionSize(float width, float height, ResolutionPolicy policy) {
    if (width <= 0.0f || height <= 0.0f) {
        return;
    }
    _designResolutionSize = Size(width, height);
    _policy = policy;
    updateDesignResolution();
}

void GLView::updateDesignResolution() {
    if (_designResolutionSize.width <= 0.0f || _designResolutionSize.height <= 0.0f ||
        _frameSize.width <= 0.0f || _frameSize.height <= 0.0f) {
        return;
    }
    float sx = _frameSize.width / _designResolutionSize.width;
    float sy = _frameSize.height / _designResolutionSize.height;
    switch (_policy) {
        case ResolutionPolicy::EXACT_FIT:
            break;
        case ResolutionPolicy::NO_BORDER:
            sx = sy = std::max(sx, sy);
            break;
        default:
            // SHOW_ALL: the whole design area with one uniform scale, centred.
            sx = sy = std::min(sx, sy);
            break;
    }
    _scaleX = sx;
    _scaleY = sy;
    const float w = _designResolutionSize.width * sx;
    const float h = _designResolutionSize.height * sy;
    _viewPortRect = Rect(std::round((_frameSize.width - w) * 0.5f), std::round((_frameSize.height - h) * 0.5f),
                         std::round(w), std::round(h));
}

Size GLView::getVisibleSize() const {
    return _designResolutionSize;
}

Vec2 GLView::getVisibleOrigin() const {
    return Vec2::ZERO;
}

Rect GLView::getVisibleRect() const {
    return Rect(getVisibleOrigin(), getVisibleSize());
}

Vec2 GLView::framePixelsToDesignView(const Vec2& framePixels) const {
    // The viewport origin is bottom-left; its top edge in y-down frame pixels is:
    const float top = _frameSize.height - (_viewPortRect.origin.y + _viewPortRect.size.height);
    return Vec2((framePixels.x - _viewPortRect.origin.x) / _scaleX, (framePixels.y - top) / _scaleY);
}

Vec2 GLView::designToFramePixels(const Vec2& designPoint) const {
    const float top = _frameSize.height - (_viewPortRect.origin.y + _viewPortRect.size.height);
    const float viewY = _designResolutionSize.height - designPoint.y;
    return Vec2(designPoint.x * _scaleX + _viewPortRect.origin.x, viewY * _scaleY + top);
}

}  // namespace cocos2d
