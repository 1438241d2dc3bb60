#pragma once

// Hears how a CustomScene's texture preload goes. Both notifications do nothing unless overridden.
class SceneLoadingDelegate {
public:
    virtual ~SceneLoadingDelegate() = default;

    // After every texture of the list has completed (loaded or not): completed / total, in (0, 1].
    virtual void onLoadingProgress(float progress) {}
    // A second notification for delegates that track their own end; CustomScene never sends it.
    virtual void onLoadingDone(float progress) {}
};
