#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/events/EventKeyboard.h"
#include "ui/PopupScreenBase.h"

namespace cocos2d {
class Event;
class Node;
class Touch;
}  // namespace cocos2d

class NodeFromJson;

// One numbered tutorial: the steps of "tutorials/tutorial_<n>.xml", each a pulsing arrow pointing at
// a spot with a localised explanation beside it, shown one at a time. A tap (from 2 s after a step
// began to appear) or the owner moves on; after the last step the popup closes and the close callback
// runs. Showing a tutorial records its number in the current profile.
class TutorialScreen : public PopupScreenBase {
public:
    static constexpr float kStepReadySeconds = 2.0f;
    static constexpr float kStepFadeSeconds = 0.5f;
    static constexpr int kDimmedStepTag = 1;
    static constexpr int kUndimmedStepTag = 0;

    static TutorialScreen* create();
    ~TutorialScreen() override;

    // Reads the tutorial's file, builds its steps, records the number as shown and shows the first
    // step. A file that is missing, malformed or without "Items" is logged and gives no steps: the
    // popup then closes at once and runs the callback.
    void showTutorial(int number, const std::function<void()>& closeCallback);
    // Fades the shown step out and the next in; after the last step closes the popup, runs the close
    // callback and returns false.
    bool nextStep();
    // While set, taps are not claimed and never advance: the owner calls nextStep.
    void setManualAdvance(bool manualAdvance) { _manualAdvance = manualAdvance; }

    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) override;

    int getTutorialId() const { return _tutorialId; }
    int getCurrentStep() const { return _currentStep; }
    bool isStepReady() const { return _stepReady; }
    bool isBlockingTouches() const { return _blockTouches; }
    bool isManualAdvance() const { return _manualAdvance; }
    const std::vector<cocos2d::Node*>& getSteps() const { return _steps; }

    static std::string tutorialPath(int number);

protected:
    TutorialScreen() = default;

private:
    void buildStep(NodeFromJson& loader, float x, float y, const std::string& dir, const std::string& textId,
                   bool dimmed);

    bool _stepReady = false;
    bool _blockTouches = true;
    bool _manualAdvance = false;
    int _tutorialId = 0;
    int _currentStep = -1;
    std::function<void()> _closeCallback;
    std::vector<cocos2d::Node*> _steps;
    bool _finished = false;
};
