#pragma once

#include <functional>
#include <string>

#include "ui/FactoryNode.h"

namespace cocos2d {
class Ref;
namespace ui {
class Button;
}  // namespace ui
}  // namespace cocos2d

class NewUserPopup;

// The profile chooser: four slots (tags 1 to 4), the current player first and disabled, then up to
// three others with a delete button each; an empty slot adds a new player. Switching and deleting ask
// for a confirmation first.
class ChooseUserScreen : public FactoryNode {
public:
    static constexpr int kSlotCount = 4;

    static ChooseUserScreen* create();
    ~ChooseUserScreen() override;

    void initWithJson(const rapidjson::Value& element) override;

    // Run by "CloseButton" with the chooser and false.
    void setOnClose(const std::function<void(cocos2d::Node*, bool)>& onClose) { _onClose = onClose; }

    void setupUserSlot(int tag, const std::string& name, bool isCurrent);
    void onSelectUser(cocos2d::Ref* sender);
    void switchUser(const std::u16string& name);
    void onDeleteUser(cocos2d::Ref* sender);
    void removeUser(const std::u16string& name, cocos2d::Node* deleteButton);
    void onAddUser();
    void openNewUserPopup();
    void onNewUserName(NewUserPopup* popup, const std::string& name);

private:
    ChooseUserScreen() = default;

    // Turns a slot's "user" button into the add-new-player button.
    void makeEmptySlot(cocos2d::ui::Button* user);
    void markCurrentPlayer(cocos2d::Node* slot, cocos2d::ui::Button* user);

    std::function<void(cocos2d::Node*, bool)> _onClose;
};
