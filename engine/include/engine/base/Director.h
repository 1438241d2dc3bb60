#pragma once

#include <chrono>
#include <functional>
#include <sys/types.h>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Vector.h"
#include "engine/math/Size.h"
#include "engine/math/Vec2.h"
#include "engine/renderer/RenderTarget.h"

namespace cocos2d {

class ActionManager;
class EventDispatcher;
class GLView;
class Node;
class Renderer;
class Scene;
class Scheduler;
class TextureCache;

// The one director: the scene stack, the frame, and the shared scheduler, action manager, event
// dispatcher, renderer and texture cache.
//
// One frame (mainLoop): the main-thread queue; unless paused, the scheduler tick; the pending scene
// change (the safe point); unless the animation is stopped, drawing (running scene, notification
// node, statistics) and the buffer swap; the autorelease pool drain. Polling input is the
// platform's, before the frame.
//
// Scene changes are applied at the safe point. A second request before then replaces the first (the
// dropped scene never enters); a request made while a transition runs waits for its end; replaceScene
// or pushScene on an empty stack acts as runWithScene; an extra runWithScene is ignored.
class Director {
public:
    static Director* getInstance();
    // Tears everything down as end() would and forgets the instance (tests start clean with it).
    static void destroyInstance();

    EventDispatcher* getEventDispatcher() const { return _eventDispatcher; }
    Scheduler* getScheduler() const { return _scheduler; }
    ActionManager* getActionManager() const { return _actionManager; }
    TextureCache* getTextureCache();
    Renderer* getRenderer() const { return _renderer; }

    // Retains the view.
    void setOpenGLView(GLView* view);
    GLView* getOpenGLView() const { return _view; }

    void setAnimationInterval(float seconds);
    float getAnimationInterval() const { return _animationInterval; }

    // (ours) The target each frame is drawn into: the design area in the view's viewport of the whole
    // window framebuffer, cleared first (framebuffer and viewport left 0 without a view).
    RenderTarget getScreenTarget() const;

    // The design size; valid once the design resolution is set.
    Size getWinSize() const;
    Size getWinSizeInPixels() const;
    Size getVisibleSize() const;
    Vec2 getVisibleOrigin() const;
    // (x, winHeight - y): view coordinates (y down) to GL coordinates (y up).
    Vec2 convertToGL(const Vec2& viewPoint) const;
    Vec2 convertToUI(const Vec2& glPoint) const;

    // --- scene stack ------------------------------------------------------------------------------
    void runWithScene(Scene* scene);
    void replaceScene(Scene* scene);
    // The running scene exits but is not cleaned up; it stays below the new one.
    void pushScene(Scene* scene);
    // The top scene exits, is cleaned up and released; the one below re-enters. With one scene left it
    // logs and does nothing.
    void popScene();
    void popToRootScene();
    // The top of the stack (the transition while one runs); null until the first scene has entered.
    Scene* getRunningScene() const { return _runningScene; }
    ssize_t getSceneCount() const { return static_cast<ssize_t>(_scenes.size()); }
    // (ours) True while the running scene is a transition.
    bool isSceneTransitionRunning() const;
    // (ours) Called by a transition when it has finished: its stack slot becomes `incoming`, with no
    // life-cycle calls from the director (the transition has made them). Pending changes apply at the
    // next safe point.
    void finishTransition(Scene* transition, Scene* incoming);

    // Retains the node, releases the previous one. The director draws it after the running scene but
    // never calls its onEnter or onExit.
    void setNotificationNode(Node* node);
    Node* getNotificationNode() const { return _notificationNode; }

    // --- pause and animation ----------------------------------------------------------------------
    // The scheduler tick stops; drawing, input and the main-thread queue go on.
    void pause();
    // The first dt after it is the animation interval.
    void resume();
    bool isPaused() const { return _paused; }
    // No tick and no drawing; events are still polled and the hooks still called.
    void stopAnimation();
    void startAnimation();
    // (ours) The next frame's dt is the animation interval (after the window is restored).
    void resetFrameClock();
    bool isAnimationStopped() const { return _animationStopped; }

    void setDisplayStats(bool displayStats) { _displayStats = displayStats; }
    bool isDisplayStats() const { return _displayStats; }
    // Seconds of scheduler time since start (stops while paused).
    float getTotalTime() const { return _totalTime; }
    unsigned int getTotalFrames() const { return _totalFrames; }
    float getDeltaTime() const { return _deltaTime; }
    float getFrameRate() const { return _frameRate; }

    // The loop stops at the end of the current frame; teardown then exits and releases every scene,
    // releases the notification node, purges the caches, closes audio and releases the view.
    void end();
    // (ours) True once end() has been asked for / once teardown has run.
    bool isEndRequested() const { return _endRequested; }
    bool hasEnded() const { return _ended; }

    // (ours) One frame with wall-clock dt (capped at 0.1 s; the interval after resume or restart).
    void mainLoop();
    // (ours) One frame with the given dt: what the test driver and headless tests step.
    void stepFrame(float dt);

    // (ours) Run at teardown after the caches are purged, in registration order (frame caches, audio).
    void addTeardownHandler(const std::function<void()>& handler);

private:
    enum class PendingKind { None, Run, Replace, Push, Pop, PopToRoot };

    Director();
    ~Director();
    void frame(float dt);
    void applyPendingSceneChange();
    void setNextScene(PendingKind kind, Scene* scene);
    void drawScene();
    void teardown();
    void enterScene(Scene* scene);
    void exitScene(Scene* scene, bool doCleanup);
    void updateRunningScene();

    Scheduler* _scheduler = nullptr;
    ActionManager* _actionManager = nullptr;
    EventDispatcher* _eventDispatcher = nullptr;
    Renderer* _renderer = nullptr;
    TextureCache* _textureCache = nullptr;
    GLView* _view = nullptr;

    Vector<Scene*> _scenes;
    Scene* _runningScene = nullptr;
    PendingKind _pendingKind = PendingKind::None;
    RefPtr<Scene> _pendingScene;
    Node* _notificationNode = nullptr;

    float _animationInterval = 1.0f / 60.0f;
    bool _paused = false;
    bool _animationStopped = false;
    bool _nextDeltaIsInterval = true;
    bool _displayStats = false;
    bool _endRequested = false;
    bool _ended = false;
    bool _inFrame = false;
    float _totalTime = 0.0f;
    float _deltaTime = 0.0f;
    float _frameRate = 0.0f;
    unsigned int _totalFrames = 0;
    std::chrono::steady_clock::time_point _lastTick;
    std::vector<std::function<void()>> _teardownHandlers;
};

}  // namespace cocos2d
