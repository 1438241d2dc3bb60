#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/math/Size.h"
#include "engine/math/Vec2.h"
#include "ui/ScreenBase.h"

class NodeFromJson;

namespace cocos2d {
class Node;
class Sprite;
}  // namespace cocos2d

// Where one credits panel waits, rests and sends its contents, in the panel's parent space, and where
// its decoration and label stand inside it as the description places them.
struct CreditsPanelPositions {
    cocos2d::Vec2 start;
    cocos2d::Vec2 shown;
    cocos2d::Vec2 end;
    cocos2d::Vec2 decorationPosition;
    cocos2d::Vec2 labelPosition;
};

// The credits: pages of two text panels flying in from both sides over the map's drifting world and
// clouds. A page shows the texts "CreditsText<slot><page>" of the section "ui"; a page with neither
// text, or any touch, leaves: back into the level when the options were opened there, else to the
// gallery.
class CreditsScreen : public ScreenBase {
public:
    static constexpr int kCreditsTag = 10;
    static constexpr float kFirstPageDelay = 1.0f;

    static CreditsScreen* create();
    ~CreditsScreen() override;

    void update(float dt) override;
    bool init() override;

    // Shows the next page and schedules the one after it.
    void showPage();
    // Fills and flies in one panel (slot index 0 or 1); false when the page has no text for it.
    bool showText(int slot);
    // Leaves once, however often it is asked.
    void leave();

    int32_t getPage() const { return _page; }
    bool hasLeft() const { return _left; }
    const std::vector<cocos2d::Node*>& getHolders() const { return _holders; }
    const std::vector<CreditsPanelPositions>& getPanelPositions() const { return _panelPositions; }
    cocos2d::Sprite* getBackgroundMap() const { return _backgroundMap; }
    cocos2d::Sprite* getClouds() const { return _clouds; }

private:
    CreditsScreen() = default;
    void buildUi();
    void addSignposts(NodeFromJson& loader, const cocos2d::Size& visible);

    cocos2d::Sprite* _backgroundMap = nullptr;
    cocos2d::Sprite* _clouds = nullptr;
    cocos2d::Node* _faderPlace = nullptr;
    std::vector<cocos2d::Node*> _holders;
    std::vector<CreditsPanelPositions> _panelPositions;
    float _showTime = 5.0f;
    float _moveTime = 2.0f;
    int32_t _page = 1;
    bool _left = false;
};
