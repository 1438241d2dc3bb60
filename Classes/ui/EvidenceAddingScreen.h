#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/math/Vec2.h"
#include "ui/PopupScreenBase.h"

namespace cocos2d {
class Event;
class Node;
class Touch;
}  // namespace cocos2d
class NodeFromJson;

// Presents an evidence item that a level found: the item grows in the middle of the screen with the
// cabinet's message about it, and a tap (from 3 s on) sends it along a curve to the owner's cabinet
// button, where it shrinks away. The first time, tutorial 13 explains it.
class EvidenceAddingScreen : public PopupScreenBase {
public:
    static constexpr int kHolderTag = 10;
    static constexpr float kClosableAfterSeconds = 3.0f;
    static constexpr float kFlightSeconds = 1.0f;
    static constexpr float kTargetDrop = 130.0f;

    static EvidenceAddingScreen* create();
    ~EvidenceAddingScreen() override;
    bool init() override;

    // Shows "evidence_<name>" and forgets the profile's newest evidence, so it is presented once. The
    // target is in the coordinates of the gallery's UI root, which the message place shares.
    void show(const std::string& name, const cocos2d::Vec2& target);
    // Runs once the item has arrived, just before the popup closes.
    void setOnEvidenceClosed(std::function<void()> callback) { _onEvidenceClosed = std::move(callback); }
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void showEvidenceTutorial(int number);

    bool canClose() const { return _canClose; }
    cocos2d::Node* getEvidence() const { return _evidence; }
    cocos2d::Node* getMessagePlace() const { return _messagePlace; }
    const cocos2d::Vec2& getTarget() const { return _target; }

protected:
    EvidenceAddingScreen() = default;

private:
    cocos2d::Node* _messagePlace = nullptr;
    std::unique_ptr<NodeFromJson> _loader;
    bool _canClose = false;
    cocos2d::Node* _evidence = nullptr;
    cocos2d::Vec2 _target;
    std::function<void()> _onEvidenceClosed;
};
