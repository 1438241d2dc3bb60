#pragma once

#include "engine/events/EventKeyboard.h"

namespace cocos2d {
namespace keytable {

// The engine's key code for an SDL key symbol (SDL_Keycode); KEY_NONE for keys with no mapping.
// Letters map to KEY_A..KEY_Z whatever the modifiers; both Enter keys map to KEY_KP_ENTER.
EventKeyboard::KeyCode fromSdl(int sdlKeycode);
// The SDL key symbol that produces the code (for tests that inject keys); 0 when none does.
int toSdl(EventKeyboard::KeyCode code);

}  // namespace keytable
}  // namespace cocos2d
