#pragma once

#include <functional>

#include "engine/ui/AbstractCheckButton.h"

namespace cocos2d {
namespace ui {

class CheckBox : public AbstractCheckButton {
public:
    enum class EventType { SELECTED = 0, UNSELECTED = 1 };
    using ccCheckBoxCallback = std::function<void(Ref*, EventType)>;

    static CheckBox* create();

    // One listener, replaced by a later call; it hears the new state after a tap toggled it.
    void addEventListener(const ccCheckBoxCallback& callback);

protected:
    CheckBox() = default;
    void dispatchSelectChangedEvent(bool selected) override;

private:
    ccCheckBoxCallback _checkBoxCallback;
};

}  // namespace ui
}  // namespace cocos2d
