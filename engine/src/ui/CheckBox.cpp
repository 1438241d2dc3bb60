#include "engine/ui/CheckBox.h"

#include <new>

namespace cocos2d {
namespace ui {

CheckBox* CheckBox::create() {
    auto* box = new (std::nothrow) CheckBox();
    if (box && box->init()) {
        box->autorelease();
        return box;
    }
    delete box;
    return nullptr;
}

void CheckBox::addEventListener(const ccCheckBoxCallback& callback) {
    _checkBoxCallback = callback;
}

void CheckBox::dispatchSelectChangedEvent(bool selected) {
    if (_checkBoxCallback) {
        ccCheckBoxCallback callback = _checkBoxCallback;
        callback(this, selected ? EventType::SELECTED : EventType::UNSELECTED);
    }
}

}  // namespace ui
}  // namespace cocos2d
