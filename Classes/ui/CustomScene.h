#pragma once

#include <string>
#include <vector>

#include "engine/scene/Scene.h"

class SceneLoadingDelegate;

namespace cocos2d {
class Texture2D;
}  // namespace cocos2d

// A scene that can load a list of textures in the background, one after another, before it shows its
// content: each completion is reported to a delegate, and the finish hook runs when the list is done.
// Subclasses fill the list and build their content in their override of onPreloadFinished.
class CustomScene : public cocos2d::Scene {
public:
    static CustomScene* create();
    ~CustomScene() override;

    // The finish hook. The base forgets the delegate; overrides call it.
    virtual void onPreloadFinished();
    // Starts loading the list with the delegate hearing the progress; with a null delegate nothing is
    // loaded and the hook runs at once. Returns the scene.
    virtual CustomScene* preloadTextures(SceneLoadingDelegate* delegate);

    // A scene that is left stops its preload: the outstanding request completes unheard.
    void cleanup() override;

    bool isLoading() const { return _loading; }
    int getLoadedCount() const { return _loadedCount; }
    std::vector<std::string>& getTextures() { return _textures; }

protected:
    CustomScene() = default;

    int _loadedCount = 0;
    bool _loading = false;
    std::vector<std::string> _textures;
    SceneLoadingDelegate* _delegate = nullptr;

private:
    void loadEntry(size_t index);
    void onTextureLoaded(cocos2d::Texture2D* texture);

    // Raised by cleanup; a new preload clears it.
    bool _cancelled = false;
};
