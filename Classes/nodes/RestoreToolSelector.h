#pragma once

#include <functional>
#include <map>
#include <string>

#include "engine/math/Vec2.h"
#include "ui/FactoryNode.h"

namespace cocos2d {
class Ref;
namespace ui {
class Widget;
}
}  // namespace cocos2d

// The level's tool bar: one button per tool, tagged with the tool's number (1 spray to 5 needle).
// A click selects the tool, or deselects it when it is already selected, switches the mouse cursor to
// the tool's and tells the owner. It can nudge the player towards a tool by making its button jump,
// restrict clicks to one tool besides the spray, and fly its buttons in and out, locked meanwhile.
class RestoreToolSelector : public FactoryNode {
public:
    static constexpr int kHighlightTag = 99;
    static constexpr int kDecorationOffset = 10;
    static constexpr int kPressedMarkTag = 9;

    static RestoreToolSelector* create();
    ~RestoreToolSelector() override;

    // Takes the children tagged 1 to 9 that are buttons; a child tagged a button's tag + 10 becomes
    // that button's decoration.
    void initWithJson(const rapidjson::Value& element) override;

    // Runs after every selection with the tool now selected (0 for none).
    void setOnSelect(std::function<void(int)> callback) { _onSelect = std::move(callback); }
    // A second selection of the current tool deselects it.
    void selectTool(int tag);
    void onButtonClicked(cocos2d::Ref* sender);
    void setLocked(bool locked) { _locked = locked; }
    bool isLocked() const { return _locked; }
    // Only the tool of that defect kind, and the spray, can be clicked; -1 lifts the restriction.
    void setAllowedTool(int defectKind);
    // Makes the button of the defect kind's tool jump every `interval` seconds until it is selected.
    void highlightTool(int defectKind, float interval);
    void showTools();
    void hideTools();
    // The cursor of the selected tool, or the player's own with none.
    void updateCursor();
    // Where the buttons fly in from and back to, in the tool bar's space.
    void setHome(const cocos2d::Vec2& home) { _home = home; }
    const cocos2d::Vec2& getHome() const { return _home; }

    int getCurrent() const { return _current; }
    int getAllowed() const { return _allowed; }
    int getHighlighted() const { return _highlighted; }
    cocos2d::ui::Widget* getButton(int tag) const;
    size_t getButtonCount() const { return _buttons.size(); }
    int getCount(int tag) const;
    // The cursor asked for last: its name ("" for the player's own) and whether the custom cursor is on.
    const std::string& getCursorName() const { return _cursorName; }
    bool isCustomCursorOn() const { return _customCursorOn; }

    // None -> 1, Dirt -> 2, Blot -> 4, Scrape -> 3, Cut -> 5, anything else -1.
    static int toolForDefect(int defectKind);

protected:
    RestoreToolSelector() = default;

private:
    void setupButtonCounter(cocos2d::ui::Widget* button);
    void jumpButton(int tag);

    std::map<int, cocos2d::ui::Widget*> _buttons;
    std::map<int, int> _counts;
    std::function<void(int)> _onSelect;
    int _current = 0;
    bool _locked = false;
    int _highlighted = -1;
    int _allowed = -1;
    cocos2d::Vec2 _home;
    std::string _cursorName;
    bool _customCursorOn = false;
};
