#include "ui/CustomScene.h"

#include <new>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/TextureCache.h"

#include "ui/SceneLoadingDelegate.h"

CustomScene* CustomScene::create() {
    auto* scene = new (std::nothrow) CustomScene();
    if (scene != nullptr && scene->init()) {
        scene->autorelease();
        return scene;
    }
    delete scene;
    return nullptr;
}

CustomScene::~CustomScene() = default;

void CustomScene::onPreloadFinished() {
    _delegate = nullptr;
}

CustomScene* CustomScene::preloadTextures(SceneLoadingDelegate* delegate) {
    if (delegate == nullptr) {
        _loading = false;
        onPreloadFinished();
        return this;
    }
    _delegate = delegate;
    _loading = true;
    _cancelled = false;
    _loadedCount = 0;
    loadEntry(0);
    return this;
}

void CustomScene::cleanup() {
    _cancelled = true;
    Scene::cleanup();
}

void CustomScene::loadEntry(size_t index) {
    if (index >= _textures.size()) {
        _loading = false;
        onPreloadFinished();
        return;
    }
    const std::string& path = _textures[index];
    cocos2d::log("... load '%s'", path.c_str());
    // The request holds the scene, so a scene dropped while its texture decodes is freed only after the
    // completion, which then finds it cancelled.
    cocos2d::RefPtr<CustomScene> self(this);
    cocos2d::Director::getInstance()->getTextureCache()->addImageAsync(
        path, [self](cocos2d::Texture2D* texture) { self->onTextureLoaded(texture); });
}

void CustomScene::onTextureLoaded(cocos2d::Texture2D*) {
    if (_cancelled || !_loading) {
        return;
    }
    // A texture that failed to load completes all the same (with null): it counts, or the list would
    // never end.
    const size_t index = static_cast<size_t>(_loadedCount);
    if (index < _textures.size()) {
        cocos2d::log("+ loaded '%s'", _textures[index].c_str());
    }
    ++_loadedCount;
    if (_delegate != nullptr) {
        _delegate->onLoadingProgress(static_cast<float>(_loadedCount) / static_cast<float>(_textures.size()));
    }
    loadEntry(static_cast<size_t>(_loadedCount));
}
