#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"
#include "engine/scene/Layer.h"
#include "gameBoard/DefectKind.h"
#include "gameBoard/ToolState.h"

namespace cocos2d {
class Event;
class EventListenerTouchAllAtOnce;
class Sprite;
class Touch;
}  // namespace cocos2d

struct PictureProgress;
class CBaseState;
class CPanZoomComponent;
class EraseableGameObject;
class HiddenObject;
class NodeLevel;
struct StrokeSpan;

// The layer on which one picture is restored. It builds the level from the picture's description,
// recreates the damage saved from earlier plays, takes out of play the items this play does not need,
// prices the items, routes every touch first to its pan/zoom control and then to the current tool
// state, carries out what the tools achieve, keeps the counters, writes the picture's records, and
// reports each event to its owner through callbacks. It never ends a level itself.
class GameBoard : public cocos2d::Layer {
public:
    using ItemCallback = std::function<void(HiddenObject*, cocos2d::Vec2)>;
    using DamageCallback = std::function<void(EraseableGameObject*, cocos2d::Vec2)>;
    using MissCallback = std::function<void(cocos2d::Vec2, ToolState)>;
    using HintCallback = std::function<void(cocos2d::Vec2)>;
    using ToolChangeCallback = std::function<void(int, bool)>;
    using IdleCallback = std::function<void()>;

    static constexpr float kIdleSeconds = 15.0f;
    static constexpr int kDirtAreaLimit = 38;
    static constexpr float kHintMargin = 40.0f;

    static GameBoard* create();
    ~GameBoard() override;
    bool init() override;

    // Builds the level of "Scenes/" + picturePath over `area` (the picture area, which becomes the
    // board's child) and makes the board ready for a tool.
    void setup(cocos2d::Node* area, const std::string& picturePath);
    NodeLevel* getNodeLevel() const { return _nodeLevel.get(); }
    CPanZoomComponent* getPanZoom() const { return _panZoom.get(); }
    CBaseState* getState() const { return _state; }

    // --- tools -----------------------------------------------------------------------------------
    // A new state for tools 1 to 5, the waiting state for anything else.
    void selectTool(int toolId);
    // The replaced state is retired late: it may still be running the touch handler that led here.
    void setState(CBaseState* state);

    // --- records ---------------------------------------------------------------------------------
    void saveDamage(int32_t toolId, int32_t variant, float x, float y, int32_t id);
    void saveRestoredItems();
    // The current picture's record, created when missing.
    PictureProgress& pictureRecord();
    int32_t nextDamageId() { return ++_damageIdCounter; }

    // --- counters and reward ---------------------------------------------------------------------
    int32_t getItemsRestored() const { return _itemsRestored; }
    int32_t getItemsOnLevel() const { return _itemsOnLevel; }
    int32_t getTotalItems() const { return _totalItems; }
    int32_t getHintsLeft() const { return _hintsLeft; }
    void setHintsLeft(int32_t hints) { _hintsLeft = hints; }
    int32_t getHintsUsed() const { return _hintsUsed; }
    int32_t getMistakes() const { return _mistakes; }
    int32_t getFliesKilled() const { return _fliesKilled; }
    void addKilledFly() { ++_fliesKilled; }
    int32_t getFullPicturePrice() const { return _fullPicturePrice; }
    int32_t getPriceRate() const { return _priceRate; }
    int32_t getMinArea() const { return _minArea; }
    int32_t getMaxArea() const { return _maxArea; }
    float getEarned() const { return _earned; }
    int32_t getEarnedRounded() const;
    int32_t getFlyBonus() const;
    int32_t getDamagePenalty(int32_t amount) const;
    int32_t getReward() const;
    const std::vector<std::string>& getRestoredNames() const { return _restoredNames; }
    float getIdleTime() const { return _idleTime; }

    // --- callbacks -------------------------------------------------------------------------------
    void setOnItemHit(ItemCallback callback) { _onItemHit = std::move(callback); }
    void setOnItemErased(ItemCallback callback) { _onItemErased = std::move(callback); }
    void setOnDamageFixed(DamageCallback callback) { _onDamageFixed = std::move(callback); }
    void setOnMiss(MissCallback callback) { _onMiss = std::move(callback); }
    void setOnHintShown(HintCallback callback) { _onHintShown = std::move(callback); }
    void setOnToolChange(ToolChangeCallback callback) { _onToolChange = std::move(callback); }
    void setOnIdle(IdleCallback callback) { _onIdle = std::move(callback); }

    // --- touches and time ------------------------------------------------------------------------
    virtual void onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    virtual void onTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    virtual void onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    virtual void onTouchesCancelled(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    // Called by the owner while play is not paused: counts idle time and reports 15 s without a touch
    // once, until the next touch ends.
    void update(float dt) override;

    // --- queries for the tools -------------------------------------------------------------------
    bool isInsidePicture(const cocos2d::Vec2& worldPoint) const;
    // True when the touch's last move, from its previous location to its location, crossed the picture.
    bool isMoveOnPicture(const cocos2d::Touch* touch) const;
    // The nearest world point that lies on the picture.
    cocos2d::Vec2 clampToPicture(const cocos2d::Vec2& worldPoint) const;
    HiddenObject* findItemAt(const cocos2d::Vec2& worldPoint) const;
    EraseableGameObject* findDamageAt(const cocos2d::Vec2& worldPoint) const;
    bool hasDamage() const;
    bool hasCurrentItem() const { return _currentItem != nullptr; }
    HiddenObject* getCurrentItem() const { return _currentItem; }
    bool isRestoredThisTouch() const { return _restoredThisTouch; }
    void setRestoredThisTouch(bool restored) { _restoredThisTouch = restored; }
    const std::string& getForcedItem() const { return _forcedItem; }
    void clearForcedItem() { _forcedItem.clear(); }

    // --- what the tools achieve ------------------------------------------------------------------
    void hitItem(HiddenObject* item, const cocos2d::Vec2& location);
    // True when the touch's last move crossed the current item's box (a stroke was made on the part of
    // the move that lay on it), finished or not.
    bool eraseCurrentItem(cocos2d::Touch* touch);
    // True when the touch's last move crossed active damage of that kind (each such object was stroked
    // along its part of the move).
    bool fixDamage(cocos2d::Touch* touch, DefectKind kind);
    void reportMiss(const cocos2d::Vec2& position, ToolState tool);
    void notifyToolChange(int toolId);

    // --- hints, input, tutorials, end ------------------------------------------------------------
    void useHint();
    void showHint();
    bool isHintShowing() const { return _hintOverlay != nullptr; }
    cocos2d::Sprite* getHintOverlay() const { return _hintOverlay; }
    // A random remaining item, else the oldest damage, else none.
    cocos2d::Node* getHintTarget() const;
    std::vector<std::string> getShuffledItemNames() const;
    // The hole of the hint around a target's box (level-node space), in world coordinates.
    cocos2d::Rect hintHole(const cocos2d::Node* target) const;
    void hideHintOverlay();
    void setInputPaused(cocos2d::Node* node, bool paused);
    void pauseInputFor(float seconds);
    void setForcedItem(const std::string& name);
    void lowerForcedItem();
    void endPlay();
    void solveAll();
    void eraseHintTarget();

protected:
    GameBoard() = default;

    void createPanZoom();
    void restoreSavedDamage();
    void restoreProgress();
    void applyRestoredHistory();
    void computeItemsOnLevel();
    void computePriceRate(bool force);
    void loadFullPrice();
    void chooseDefect(HiddenObject* item);
    void itemErased(HiddenObject* item, const cocos2d::Vec2& location);
    void fixDamageStroke(EraseableGameObject* object, const cocos2d::Vec2& from, const cocos2d::Vec2& to,
                         const StrokeSpan& span);
    void removeSavedDamage(EraseableGameObject* object);
    void startHint();
    void showHintOverlay(const cocos2d::Rect& hole);
    void takeOutOfPlay(HiddenObject* item);

private:
    bool _restoredThisTouch = false;
    int32_t _damageIdCounter = 0;
    cocos2d::Node* _area = nullptr;
    cocos2d::Sprite* _hintOverlay = nullptr;
    CBaseState* _state = nullptr;
    HintCallback _onHintShown;
    int32_t _itemsRestored = 0;
    int32_t _itemsOnLevel = 0;
    int32_t _hintsLeft = 0;
    int32_t _mistakes = 0;
    int32_t _hintsUsed = 0;
    int32_t _priceRate = 0;
    int32_t _totalItems = 0;
    int32_t _fliesKilled = 0;
    int32_t _maxArea = 0;
    int32_t _minArea = 0;
    int32_t _fullPicturePrice = 0;
    float _idleTime = 0.0f;
    float _earned = 0.0f;
    std::vector<std::string> _restoredNames;
    std::string _picturePath;
    std::string _forcedItem;
    cocos2d::RefPtr<NodeLevel> _nodeLevel;
    HiddenObject* _currentItem = nullptr;
    cocos2d::RefPtr<CPanZoomComponent> _panZoom;
    ItemCallback _onItemHit;
    ItemCallback _onItemErased;
    DamageCallback _onDamageFixed;
    MissCallback _onMiss;
    ToolChangeCallback _onToolChange;
    IdleCallback _onIdle;
    cocos2d::EventListenerTouchAllAtOnce* _touchListener = nullptr;
};
