#pragma once

#include <cstdint>
#include <string>

#include "engine/events/EventKeyboard.h"
#include "engine/math/Vec2.h"
#include "gameBoard/ToolState.h"
#include "ui/ScreenBase.h"

namespace cocos2d {
class Event;
class Node;
class ProgressTimer;
}  // namespace cocos2d

class EraseableGameObject;
class FlaskLiquid;
class GameBoard;
class GameTutorialsLayer;
class HiddenObject;
class NodeFromJson;
class PopupScreenBase;
class RestoreToolSelector;

// The screen on which one picture's level is played: the HUD of "ui/Game", the board over the
// picture area, the fly, the flask and the tool bar. It answers the board's events (refilling or
// draining the flask, nudging the tool the next step needs, counting the score and the stars), decides
// when the level is won or lost, and ends it with the result popup, or in the intro level with the
// way to the map.
class GameScreen : public ScreenBase {
public:
    static constexpr int kStartHints = 3;
    static constexpr float kPanelSlide = 200.0f;
    static constexpr float kResultDelay = 0.9f;

    static GameScreen* create();
    ~GameScreen() override;
    bool init() override;
    void update(float dt) override;
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) override;

    // --- the board's, the fly's, the flask's and the tool bar's events ----------------------------
    void onItemHit(HiddenObject* item, cocos2d::Vec2 position);
    void onItemErased(HiddenObject* item, cocos2d::Vec2 position);
    void onDamageFixed(EraseableGameObject* damage, cocos2d::Vec2 position);
    void onMiss(cocos2d::Vec2 position, ToolState tool);
    void onHintShown(cocos2d::Vec2 position);
    void onIdle();
    void onFlySwatted(const cocos2d::Vec2& position);
    void onFlaskEmpty();
    void onToolSelected(int tool);

    // --- buttons ----------------------------------------------------------------------------------
    void onHintButton();
    void onFinishButton();
    void onMinigamesButton();
    void onMinigameResult(bool won);
    void onOptionsButton();
    void onExitLevelButton();

    // --- HUD --------------------------------------------------------------------------------------
    void lockHud(bool lock, bool setPaused);
    void updateHintCounter();
    void updateHintButtons(bool showMinigames);
    // Unloads the sheets and images of a UI folder's description.
    static void releaseUiTextures(const std::string& folder);

    // --- reward and stars -------------------------------------------------------------------------
    // The final reward of an ended level, written with the play's statistics into the picture's
    // record; the money, the story level and the next picture follow. Nothing is saved here.
    int32_t computeReward();
    void updateStars(bool animate, cocos2d::Vec2 worldPos);
    int32_t countLitStars() const;
    void playStarEffect(cocos2d::Node* star, float seconds);
    void flyCoinsToScore(cocos2d::Vec2 from, cocos2d::Vec2 to);

    // --- the level's end and its popups -----------------------------------------------------------
    // Ends the level once: the first call acts, later ones do nothing. The end sound ("HO_Win", the
    // loss sound) is played by the call that ends the level and by no other.
    void finishLevel(const std::string& endSound = "");
    void showLevelResult();
    // The two ways out; each acts once.
    void returnToGallery();
    void finishIntroLevel();
    PopupScreenBase* openPopupLayer(bool fadeIn);
    void onPopupClosed();
    void hideFlyNode(bool fade);

    // --- for the tests and the tutorials ----------------------------------------------------------
    cocos2d::Node* getHudRoot() const { return _hudRoot; }
    GameBoard* getBoard() const { return _board; }
    RestoreToolSelector* getToolBar() const { return _toolBar; }
    FlaskLiquid* getFlask() const { return _flask; }
    GameTutorialsLayer* getTutorials() const { return _tutorials; }
    float getElapsedTime() const { return _elapsedTime; }
    bool isPaused() const { return _paused; }
    bool isFinished() const { return _finished; }
    bool hasLeft() const { return _left; }
    // The three HUD stars and the score label; null when the HUD lacks them.
    cocos2d::ProgressTimer* getHudStar(int slot) const;
    cocos2d::Node* getScoreLabel() const;
    const std::string& getLevelPath() const { return _levelPath; }

    // The flask's opening numbers for a level of T total items, N of them in this play and D damage
    // objects already on the picture, at story level L.
    struct FlaskNumbers {
        int32_t startDrops = 0;
        int32_t maxDrops = 0;
        float seconds = 0.0f;
        float scale = 1.0f;
    };
    static FlaskNumbers flaskNumbers(int32_t storyLevel, int32_t totalItems, int32_t itemsOnLevel,
                                     int32_t damageCount);

protected:
    GameScreen() = default;

    void setupHud();
    void bindCallbacks();
    void startLevel();
    void setupIntroLevel();
    void startIntroAnimation();
    void slideInPanel(int tag, const cocos2d::Vec2& offset);
    void enableInput();
    void winTest();
    // A miss outside the intro: a drop spent, the level lost on an empty flask, the next tool nudged.
    void missDrains(ToolState tool, int32_t level);
    void nudge(int defectKind, float interval);
    void nudgeFirstDamage(int32_t storyLevel);
    // The hint panel back to its own colour once its pulse has been stopped.
    void settleHintPanel();
    cocos2d::Node* starsHolder() const;
    cocos2d::Node* hudPanel(int tag) const;
    cocos2d::Node* hudButton(int panelTag, const std::string& name) const;
    void setButtonEnabled(int panelTag, const std::string& name, bool enabled);
    void releaseLevelTexture();

private:
    cocos2d::Node* _hudRoot = nullptr;
    GameBoard* _board = nullptr;
    RestoreToolSelector* _toolBar = nullptr;
    FlaskLiquid* _flask = nullptr;
    GameTutorialsLayer* _tutorials = nullptr;
    float _elapsedTime = 0.0f;
    bool _paused = false;
    bool _finished = false;
    // A way out was taken: the save and the scene change happen once.
    bool _left = false;
    std::string _levelPath;
};

// Frames the picture (the target's content box) with the description's "border_side" and
// "border_corner" pieces.
void addPictureBorder(NodeFromJson& description, cocos2d::Node* target);
