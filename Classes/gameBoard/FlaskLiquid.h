#pragma once

#include <cstdint>
#include <functional>

#include <rapidjson/document.h>

#include "ui/FactoryNode.h"

namespace cocos2d {
class ProgressTimer;
}

// The level's flask of reagent, its clock and its fuel at once. It holds a number of drops that drain
// steadily while it runs (the level screen feeds it time through update), loses one drop per spray or
// miss and gains drops back for restored items and mended damage. Its "dropFiller" bar shows the fill
// per cent and a particle surface rides on the liquid; between 1 % and 10 % a warning sound loops, and
// below 1 % it plays its empty animation and reports that it is empty.
//
// Built from its UI description element: "dropFiller" (a progress timer), "ramka" (the frame, drawn
// above the filler) and the child tagged 1 (the surface). Without a "dropFiller" it neither shows nor
// tests anything and never reports empty.
class FlaskLiquid : public FactoryNode {
public:
    static constexpr float kFillSeconds = 0.8f;
    static constexpr float kEmptySeconds = 0.9f;
    static constexpr float kEmptyBelowPercent = 1.0f;
    static constexpr float kWarningBelowPercent = 10.0f;
    // The surface's height within the filler, as a share of the filler's height.
    static constexpr float kSurfaceLowest = 0.02f;
    static constexpr float kSurfaceHighest = 0.975f;
    // At the end the surface sinks to this share of half the filler's height below its centre.
    static constexpr float kSurfaceSink = 0.98f;
    static constexpr int kSurfaceTag = 1;
    static constexpr int kFirstParticlesTag = 1;
    static constexpr int kSecondParticlesTag = 2;
    static constexpr int kFrameZOrder = 2;
    // Tags of the flask's own running animations, so that a new one replaces the old.
    static constexpr int kStartActionTag = 201;
    static constexpr int kEmptyActionTag = 202;

    static FlaskLiquid* create();
    ~FlaskLiquid() override;

    // Names the node, turns the filler to fill upwards and puts the frame above it.
    void initWithJson(const rapidjson::Value& element) override;

    // Called once when the level starts: running from now on with `initialDrops` of `maxDrops`, a full
    // flask draining in `seconds`. A capacity below 1 drop or a time that is not above 0 is logged;
    // such a flask shows 0 % (it has no room) or does not drain with time (it has no clock).
    void setup(int32_t initialDrops, int32_t maxDrops, float seconds);
    void setOnEmpty(std::function<void()> callback) { _onEmpty = std::move(callback); }
    // The opening animation: the filler rises to the fill in 0.8 s without draining meanwhile; then the
    // flask runs and its surface gets its particles.
    void start();
    // Drains by the time, unless stopped. The flask is not scheduled by itself: its owner calls this
    // while the level runs.
    void update(float dt) override;
    void useDrop();
    void addDrops(float amount);
    // Fewer than one drop left. Not the same test as the empty report, which is by the fill per cent.
    bool isEmpty() const;
    // 100 / capacity x drops, within 0..100.
    float getPercent() const;
    // The filler runs down and the surface sinks and loses its particles; the warning stops. An opening
    // fill still under way ends here: the flask stays stopped and gets no particles.
    void playEmptyAnimation();
    // Shows the fill and reacts to the thresholds; every change of the drops calls it. Below 1 % it
    // reports empty each time it is called: the owner acts on the first report.
    void refresh();

    int32_t getDropsUsed() const { return _dropsUsed; }
    int32_t getMaxDrops() const { return _maxDrops; }
    float getAvailable() const { return _available; }
    float getDrainPerSecond() const { return _drainPerSecond; }
    bool isStopped() const { return _stopped; }
    // The looping warning's audio id, or GameSound's invalid id while none plays.
    int getSoundId() const { return _soundId; }
    // The child tagged 1 once the opening animation has ended, else null.
    cocos2d::Node* getSurface() const { return _surface; }
    cocos2d::ProgressTimer* getFiller() const;

protected:
    FlaskLiquid();

private:
    void onFillDone();
    void stopWarning();

    int32_t _dropsUsed = 0;
    int32_t _maxDrops = 0;
    float _available = 0.0f;
    float _drainPerSecond = 0.0f;
    bool _stopped = true;
    int _soundId;
    std::function<void()> _onEmpty;
    cocos2d::Node* _surface = nullptr;
    // Whether the warning was asked for since the fill last entered the warning band: a sound that
    // cannot be played is not asked for again on every frame.
    bool _warningRequested = false;
};
