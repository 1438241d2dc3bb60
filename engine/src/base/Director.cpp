#include "engine/base/Director.h"

#include <algorithm>

#include "engine/actions/ActionManager.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Log.h"
#include "engine/base/Scheduler.h"
#include "engine/events/EventDispatcher.h"
#include "engine/platform/GLView.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"
#include "renderer/StatsOverlay.h"

namespace cocos2d {
namespace {

Director*& instanceSlot() {
    static Director* instance = nullptr;
    return instance;
}

constexpr float kMaxDelta = 0.1f;

}  // namespace

Director* Director::getInstance() {
    Director*& instance = instanceSlot();
    if (!instance) {
        instance = new Director();
    }
    return instance;
}

void Director::destroyInstance() {
    Director*& instance = instanceSlot();
    if (!instance) {
        return;
    }
    if (!instance->_ended) {
        instance->teardown();
    }
    AutoreleasePool::getInstance()->clear();
    delete instance;
    instance = nullptr;
}

Director::Director() {
    _scheduler = Scheduler::create();
    _scheduler->retain();
    _actionManager = ActionManager::create();
    _actionManager->retain();
    ActionManager* actions = _actionManager;
    _scheduler->scheduleUpdate([actions](float dt) { actions->update(dt); }, actions, Scheduler::PRIORITY_SYSTEM,
                               false);
    _eventDispatcher = EventDispatcher::create();
    _eventDispatcher->retain();
    _renderer = new Renderer();
    _lastTick = std::chrono::steady_clock::now();
}

Director::~Director() {
    _pendingScene.reset();
    _scenes.clear();
    if (_notificationNode) {
        _notificationNode->release();
        _notificationNode = nullptr;
    }
    if (_textureCache) {
        _textureCache->release();
        _textureCache = nullptr;
    }
    if (_view) {
        _view->release();
        _view = nullptr;
    }
    _eventDispatcher->removeAllEventListeners();
    _scheduler->unscheduleAll();
    _actionManager->removeAllActions();
    AutoreleasePool::getInstance()->clear();
    _eventDispatcher->release();
    _actionManager->release();
    _scheduler->release();
    delete _renderer;
}

TextureCache* Director::getTextureCache() {
    if (!_textureCache) {
        _textureCache = TextureCache::create();
        _textureCache->retain();
    }
    return _textureCache;
}

void Director::setOpenGLView(GLView* view) {
    if (view == _view) {
        return;
    }
    if (view) {
        view->retain();
    }
    if (_view) {
        _view->release();
    }
    _view = view;
}

void Director::setAnimationInterval(float seconds) {
    if (seconds > 0.0f) {
        _animationInterval = seconds;
    }
}

Size Director::getWinSize() const {
    return _view ? _view->getDesignResolutionSize() : Size::ZERO;
}

Size Director::getWinSizeInPixels() const {
    return _view ? _view->getFrameSize() : Size::ZERO;
}

Size Director::getVisibleSize() const {
    return _view ? _view->getVisibleSize() : Size::ZERO;
}

Vec2 Director::getVisibleOrigin() const {
    return _view ? _view->getVisibleOrigin() : Vec2::ZERO;
}

Vec2 Director::convertToGL(const Vec2& viewPoint) const {
    return Vec2(viewPoint.x, getWinSize().height - viewPoint.y);
}

Vec2 Director::convertToUI(const Vec2& glPoint) const {
    return Vec2(glPoint.x, getWinSize().height - glPoint.y);
}

// --- scene stack ----------------------------------------------------------------------------------

bool Director::isSceneTransitionRunning() const {
    return _runningScene && _runningScene->isTransition();
}

void Director::setNextScene(PendingKind kind, Scene* scene) {
    // A later request replaces an earlier pending one; the dropped scene is released unentered.
    _pendingKind = kind;
    _pendingScene.reset(scene);
}

void Director::runWithScene(Scene* scene) {
    if (!scene) {
        return;
    }
    if (!_scenes.empty() || _pendingKind != PendingKind::None) {
        log("Director: runWithScene ignored: a scene is already running or pending");
        return;
    }
    setNextScene(PendingKind::Run, scene);
}

void Director::replaceScene(Scene* scene) {
    if (!scene) {
        return;
    }
    if (_scenes.empty() && (_pendingKind == PendingKind::None || _pendingKind == PendingKind::Run)) {
        if (_pendingKind == PendingKind::None) {
            log("Director: replaceScene with no running scene; it becomes the first scene");
        }
        setNextScene(PendingKind::Run, scene);
        return;
    }
    setNextScene(PendingKind::Replace, scene);
}

void Director::pushScene(Scene* scene) {
    if (!scene) {
        return;
    }
    if (_scenes.empty() && (_pendingKind == PendingKind::None || _pendingKind == PendingKind::Run)) {
        if (_pendingKind == PendingKind::None) {
            log("Director: pushScene with no running scene; it becomes the first scene");
        }
        setNextScene(PendingKind::Run, scene);
        return;
    }
    setNextScene(PendingKind::Push, scene);
}

void Director::popScene() {
    if (_scenes.size() <= 1) {
        log("Director: popScene with one scene left does nothing");
        return;
    }
    setNextScene(PendingKind::Pop, nullptr);
}

void Director::popToRootScene() {
    if (_scenes.size() <= 1) {
        return;
    }
    setNextScene(PendingKind::PopToRoot, nullptr);
}

void Director::updateRunningScene() {
    _runningScene = _scenes.empty() ? nullptr : _scenes.back();
}

void Director::enterScene(Scene* scene) {
    scene->onEnter();
    if (!scene->isTransition()) {
        scene->onEnterTransitionDidFinish();
    }
}

void Director::exitScene(Scene* scene, bool doCleanup) {
    if (scene->isRunning()) {
        scene->onExitTransitionDidStart();
        scene->onExit();
    }
    if (doCleanup) {
        scene->cleanup();
    }
}

void Director::applyPendingSceneChange() {
    if (_pendingKind == PendingKind::None || isSceneTransitionRunning()) {
        return;
    }
    const PendingKind kind = _pendingKind;
    RefPtr<Scene> scene = _pendingScene;
    _pendingKind = PendingKind::None;
    _pendingScene.reset();

    switch (kind) {
        case PendingKind::Run:
            _scenes.pushBack(scene);
            updateRunningScene();
            if (scene->isTransition()) {
                scene->takeOutgoingScene(nullptr, false);
            }
            enterScene(scene);
            break;
        case PendingKind::Replace: {
            RefPtr<Scene> old = _scenes.back();
            if (scene->isTransition()) {
                scene->takeOutgoingScene(old, true);
                _scenes.replace(_scenes.size() - 1, scene);
                updateRunningScene();
                scene->onEnter();
            } else {
                exitScene(old, true);
                _scenes.replace(_scenes.size() - 1, scene);
                updateRunningScene();
                old.reset();
                enterScene(scene);
            }
            break;
        }
        case PendingKind::Push: {
            Scene* covered = _scenes.back();
            if (scene->isTransition()) {
                scene->takeOutgoingScene(covered, false);
            } else {
                exitScene(covered, false);
            }
            _scenes.pushBack(scene);
            updateRunningScene();
            if (scene->isTransition()) {
                scene->onEnter();
            } else {
                enterScene(scene);
            }
            break;
        }
        case PendingKind::Pop: {
            if (_scenes.size() <= 1) {
                break;
            }
            RefPtr<Scene> top = _scenes.back();
            exitScene(top, true);
            _scenes.popBack();
            updateRunningScene();
            top.reset();
            enterScene(_runningScene);
            break;
        }
        case PendingKind::PopToRoot: {
            if (_scenes.size() <= 1) {
                break;
            }
            while (_scenes.size() > 1) {
                RefPtr<Scene> top = _scenes.back();
                exitScene(top, true);
                _scenes.popBack();
            }
            updateRunningScene();
            enterScene(_runningScene);
            break;
        }
        case PendingKind::None:
            break;
    }
}

void Director::finishTransition(Scene* transition, Scene* incoming) {
    const long index = _scenes.getIndex(transition);
    if (index < 0 || !incoming) {
        return;
    }
    // The transition may be finishing from inside its own callback: keep it alive to the frame's end.
    transition->retain();
    transition->autorelease();
    _scenes.replace(static_cast<size_t>(index), incoming);
    updateRunningScene();
}

void Director::setNotificationNode(Node* node) {
    if (node == _notificationNode) {
        return;
    }
    if (node) {
        node->retain();
    }
    if (_notificationNode) {
        _notificationNode->release();
    }
    _notificationNode = node;
}

// --- pause and animation --------------------------------------------------------------------------

void Director::pause() {
    _paused = true;
}

void Director::resume() {
    if (_paused) {
        _paused = false;
        _nextDeltaIsInterval = true;
    }
}

void Director::stopAnimation() {
    _animationStopped = true;
}

void Director::startAnimation() {
    if (_animationStopped) {
        _animationStopped = false;
        _nextDeltaIsInterval = true;
    }
}

void Director::resetFrameClock() {
    _nextDeltaIsInterval = true;
}

void Director::end() {
    _endRequested = true;
}

void Director::addTeardownHandler(const std::function<void()>& handler) {
    if (handler) {
        _teardownHandlers.push_back(handler);
    }
}

// --- the frame ------------------------------------------------------------------------------------

void Director::mainLoop() {
    const auto now = std::chrono::steady_clock::now();
    float dt = std::chrono::duration<float>(now - _lastTick).count();
    _lastTick = now;
    if (_nextDeltaIsInterval) {
        dt = _animationInterval;
        _nextDeltaIsInterval = false;
    }
    dt = std::clamp(dt, 0.0f, kMaxDelta);
    frame(dt);
}

void Director::stepFrame(float dt) {
    _lastTick = std::chrono::steady_clock::now();
    _nextDeltaIsInterval = false;
    frame(dt);
}

void Director::frame(float dt) {
    if (_ended) {
        return;
    }
    _inFrame = true;
    _deltaTime = dt;
    _scheduler->runMainThreadQueue();
    if (!_paused && !_animationStopped) {
        _scheduler->update(dt);
        _totalTime += dt;
    }
    applyPendingSceneChange();
    if (!_animationStopped) {
        drawScene();
    }
    AutoreleasePool::getInstance()->clear();
    ++_totalFrames;
    if (dt > 0.0f) {
        // A smoothed rate for the statistics overlay.
        const float instant = 1.0f / dt;
        _frameRate = _frameRate <= 0.0f ? instant : _frameRate * 0.9f + instant * 0.1f;
    }
    _inFrame = false;
    if (_endRequested) {
        teardown();
    }
}

RenderTarget Director::getScreenTarget() const {
    RenderTarget screen;
    const Size design = getWinSize();
    screen.world = Rect(0.0f, 0.0f, design.width, design.height);
    screen.clearOnBegin = true;
    if (_view) {
        const Rect& viewport = _view->getViewPortRect();
        const Size frameSize = _view->getFrameSize();
        screen.viewportX = static_cast<int>(viewport.origin.x);
        screen.viewportY = static_cast<int>(viewport.origin.y);
        screen.viewportWidth = static_cast<int>(viewport.size.width);
        screen.viewportHeight = static_cast<int>(viewport.size.height);
        screen.framebufferWidth = static_cast<int>(frameSize.width);
        screen.framebufferHeight = static_cast<int>(frameSize.height);
    }
    return screen;
}

void Director::drawScene() {
    const Size design = getWinSize();
    _renderer->beginFrame(getScreenTarget());
    if (_runningScene) {
        _runningScene->visit(_renderer, Mat4::IDENTITY, 0);
    }
    if (_notificationNode) {
        _notificationNode->visit(_renderer, Mat4::IDENTITY, 0);
    }
    if (_displayStats) {
        StatsOverlay::draw(*_renderer, design, _frameRate, _deltaTime * 1000.0f, _renderer->getLastFrameStats().drawCalls);
    }
    _renderer->endFrame();
    if (_view) {
        _view->swapBuffers();
    }
}

void Director::teardown() {
    if (_ended) {
        return;
    }
    _ended = true;
    _pendingKind = PendingKind::None;
    _pendingScene.reset();
    // 1. Every scene, top first, exits and is cleaned up and released while FileUtils still works.
    while (!_scenes.empty()) {
        RefPtr<Scene> top = _scenes.back();
        exitScene(top, true);
        _scenes.popBack();
        updateRunningScene();
    }
    _runningScene = nullptr;
    // 2. The notification node: the game has called its onExit already.
    setNotificationNode(nullptr);
    AutoreleasePool::getInstance()->clear();
    // 3. Caches, then 4. audio, through their handlers.
    if (_textureCache) {
        _textureCache->removeAllTextures();
    }
    std::vector<std::function<void()>> handlers;
    handlers.swap(_teardownHandlers);
    for (auto& handler : handlers) {
        handler();
    }
    AutoreleasePool::getInstance()->clear();
    // 5. The view.
    if (_view) {
        _view->end();
        setOpenGLView(nullptr);
    }
}

}  // namespace cocos2d
