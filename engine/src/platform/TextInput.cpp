#include "engine/platform/TextInput.h"

#include "engine/base/Director.h"
#include "engine/platform/GLView.h"

namespace cocos2d {
namespace {

TextInputReceiver*& attachedSlot() {
    static TextInputReceiver* attached = nullptr;
    return attached;
}

void setPlatformTextInput(bool on) {
    if (GLView* view = Director::getInstance()->getOpenGLView()) {
        view->setIMEKeyboardState(on);
    }
}

}  // namespace

void TextInput::attach(TextInputReceiver* receiver) {
    attachedSlot() = receiver;
    setPlatformTextInput(receiver != nullptr);
}

void TextInput::detach(TextInputReceiver* receiver) {
    if (attachedSlot() == receiver) {
        attachedSlot() = nullptr;
        setPlatformTextInput(false);
    }
}

TextInputReceiver* TextInput::getAttached() {
    return attachedSlot();
}

}  // namespace cocos2d
