#include "engine/ui/TextFieldDelegate.h"

namespace cocos2d {

bool TextFieldDelegate::onTextFieldAttachWithIME(TextFieldTTF*) {
    return false;
}

bool TextFieldDelegate::onTextFieldDetachWithIME(TextFieldTTF*) {
    return false;
}

bool TextFieldDelegate::onTextFieldInsertText(TextFieldTTF*, const char*, size_t) {
    return false;
}

bool TextFieldDelegate::onTextFieldDeleteBackward(TextFieldTTF*, const char*, size_t) {
    return false;
}

bool TextFieldDelegate::onVisit(TextFieldTTF*, Renderer*, const Mat4&, uint32_t) {
    return false;
}

}  // namespace cocos2d
