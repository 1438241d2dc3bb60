#include "gameBoard/HiddenObject.h"

#include <algorithm>
#include <vector>

#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Log.h"
#include "engine/platform/GL.h"
#include "engine/scene/SpriteFrameCache.h"
#include "gameBoard/PixelReadback.h"
#include "gameBoard/StoryLevel.h"

using cocos2d::BlendFunc;
using cocos2d::Size;
using cocos2d::Sprite;
using cocos2d::Vec2;

namespace {

// With the blend colour white this adds the second picture onto the first.
const BlendFunc kConstantBlend{GL_CONSTANT_COLOR, GL_CONSTANT_COLOR};
constexpr float kRestoreDelay = 0.2f;
constexpr float kRestoreFade = 0.2f;
constexpr float kRestoreSettle = 0.004f;

}  // namespace

HiddenObject* HiddenObject::createWithSpriteFrameName(const std::string& frameName) {
    return adopt(new (std::nothrow) HiddenObject(), frameName);
}

HiddenObject::HiddenObject() {
    _brushName = "eraser_mask";
    _shaderName = "example_Plasma";
    _kind = DefectKind::Dirt;
}

HiddenObject::~HiddenObject() {
    // A dying parent detaches its children first: siblings without a parent are left alone.
    if (_shadow && _shadow->getParent() != nullptr) {
        _shadow->removeFromParent();
    }
    if (_maskSprite && _maskSprite->getParent() != nullptr) {
        _maskSprite->removeFromParent();
    }
}

std::string HiddenObject::maskFrameName(const std::string& frameName) {
    if (frameName.size() < 4) {
        return "_" + frameName;
    }
    std::string name = frameName;
    name.insert(name.size() - 4, "_");
    return name;
}

void HiddenObject::setFrameName(const std::string& frameName) {
    _frameName = frameName;
    dropHitMask();
    const std::string maskName = maskFrameName(frameName);
    cocos2d::SpriteFrame* frame = cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(maskName);
    _hitByBox = frame == nullptr;
    if (frame == nullptr) {
        cocos2d::log("HO Item '%s': no mask frame '%s'; a drop hits it anywhere on its box",
                     frameName.c_str(), maskName.c_str());
        return;
    }
    if (getParent() == nullptr) {
        return;
    }
    _maskSprite = Sprite::createWithSpriteFrame(frame);
    if (!_maskSprite) {
        return;
    }
    _maskSprite->setVisible(false);
    _maskSprite->setOpacity(kMaskOpacity);
    _maskSprite->setScale(kMaskScale);
    _maskSprite->setPosition(getPosition());
    getParent()->addChild(_maskSprite.get(), getLocalZOrder());

    // A frame stored rotated is read as stored.
    const cocos2d::Rect& rect = frame->getRect();
    int w = static_cast<int>(rect.size.width);
    int h = static_cast<int>(rect.size.height);
    if (frame->isRotated()) {
        std::swap(w, h);
    }
    std::vector<uint8_t> rgba;
    PixelReadback::readTexture(frame->getTexture(), static_cast<int>(rect.origin.x),
                               static_cast<int>(rect.origin.y), w, h, rgba);
    _hitMask = std::make_unique<HitMask>();
    _hitMask->build(rgba.data(), rgba.size(), w, h);
}

void HiddenObject::dropHitMask() {
    if (_maskSprite) {
        if (_maskSprite->getParent() != nullptr) {
            _maskSprite->removeFromParentAndCleanup(true);
        }
        _maskSprite = nullptr;
    }
    _hitMask.reset();
}

bool HiddenObject::hitTest(const Vec2& worldPoint) const {
    if (_hitByBox) {
        return getParent() != nullptr &&
               getBoundingBox().containsPoint(getParent()->convertToNodeSpace(worldPoint));
    }
    if (!_hitMask || !_maskSprite) {
        return false;
    }
    return _hitMask->hit(_maskSprite->convertToNodeSpace(worldPoint));
}

void HiddenObject::reveal() {
    _state = HiddenObjectState::Revealed;
    prepare();
}

bool HiddenObject::prepare() {
    Sprite* picture = Sprite::createWithSpriteFrameName(_frameName);
    if (picture == nullptr) {
        return false;
    }
    const Vec2 anchor = getAnchorPointInPoints();
    const Size size = getContentSize();
    makeBrush();
    if (isIntroLevel()) {
        _percent = kPercentIntro;
    }
    readPixels();

    Sprite* overlay = nullptr;
    if (!_shaderName.empty()) {
        loadShader();
        // The second picture keeps the constant-colour blend, so the blend colour below applies.
        overlay = Sprite::createWithSpriteFrameName(_frameName);
        if (overlay != nullptr) {
            overlay->setBlendFunc(kConstantBlend);
        }
    } else if (!_maskFrame.empty()) {
        overlay = Sprite::createWithSpriteFrameName(_maskFrame);
        if (overlay != nullptr) {
            const Size& maskSize = overlay->getContentSize();
            if (maskSize.width > 0.0f && maskSize.height > 0.0f) {
                overlay->setScale(std::max(1.0f, size.width / maskSize.width),
                                  std::max(1.0f, size.height / maskSize.height));
            }
            picture->setBlendFunc(BlendFunc{GL_ONE, GL_ZERO});
            overlay->setBlendFunc(BlendFunc{GL_DST_ALPHA, GL_ZERO});
        }
    }

    const int width = static_cast<int>(size.width);
    const int height = static_cast<int>(size.height);
    _renderTexture = cocos2d::RenderTexture::create(width, height);
    if (!_renderTexture) {
        return false;
    }
    picture->setPosition(anchor);
    // Cleared to nothing at all: a white clear shows through the soft edges and faint parts of the
    // picture and, under the dirt shader, lights them up as a pale haze around the item.
    _renderTexture->beginWithClear(0.0f, 0.0f, 0.0f, 0.0f);
    picture->visit();
    if (overlay != nullptr) {
        overlay->setPosition(anchor);
        overlay->setOpacity(255);
        overlay->visit();
    }
    // The render texture draws at its end: the blend colour must be in place by then.
    glBlendColor(1.0f, 1.0f, 1.0f, 1.0f);
    _renderTexture->end();
    showRenderTexture(width, height);
    return true;
}

void HiddenObject::onRestored() {
    _state = HiddenObjectState::Restored;
    if (_shadow) {
        if (_shadow->getParent() != nullptr) {
            _shadow->removeFromParent();
        }
        _shadow = nullptr;
    }
    runAction(cocos2d::Sequence::create(
        cocos2d::DelayTime::create(kRestoreDelay), cocos2d::FadeOut::create(kRestoreFade),
        cocos2d::DelayTime::create(kRestoreSettle), cocos2d::CallFunc::create([this] {
            setActive(false);
            dropHitMask();
            setVisible(false);
        })));
}
