#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/math/Vec2.h"
#include "ui/ScreenBase.h"

namespace cocos2d {
class Event;
class Node;
class Ref;
class Touch;
}  // namespace cocos2d

class NodeFromJson;

// The cabinet of evidence: every evidence item the player has found is pinned to its place on the
// board, with the mascot's look for it. Looks of evidence found since the last visit are greeted one
// by one and the evidence is marked as seen (in memory; the next save point writes it). A touch on a
// pinned evidence enlarges it with its message; the next touch puts it back. For the ending, the cage
// drops over the board after the looks and the closing slideshow follows.
class CabinetScreen : public ScreenBase {
public:
    // Tag of the look's grey pulse while its evidence is enlarged.
    static constexpr int kPulseTag = 88;
    static constexpr float kLooksDelay = 0.7f;
    static constexpr float kEndingDelay = 3.0f;

    static CabinetScreen* create();
    ~CabinetScreen() override;

    bool init() override;
    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) override;

    // The ending: the cage and the closing slideshow follow the looks. Called right after create.
    void showCage();

    void openEvidence(const cocos2d::Vec2& location);
    void closeEvidence();
    void goBack();

    cocos2d::Node* getUi() const { return _ui; }
    const std::vector<cocos2d::Node*>& getEvidences() const { return _evidences; }
    const std::vector<cocos2d::Node*>& getLooks() const { return _looks; }
    const std::vector<cocos2d::Node*>& getNewLooks() const { return _newLooks; }
    int32_t getOpenIndex() const { return _openIndex; }
    bool isCageDue() const { return _cageDue; }
    bool hasLeft() const { return _left; }

private:
    CabinetScreen();
    void buildEvidences();
    void setupLooks();
    void animateNewLooks();
    void playCageAnimation();
    void onMenuButton(cocos2d::Ref* sender, int eventType);
    void startEnding();
    // Whether the profile holds the evidence as found.
    static bool isFound(const std::string& id);

    cocos2d::Node* _ui = nullptr;
    std::unique_ptr<NodeFromJson> _loader;
    std::vector<cocos2d::Node*> _newLooks;
    std::vector<cocos2d::Node*> _evidences;
    std::vector<cocos2d::Node*> _looks;
    int32_t _openIndex = -1;
    bool _cageDue = false;
    bool _left = false;
};
