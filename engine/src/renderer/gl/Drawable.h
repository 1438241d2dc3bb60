#pragma once

namespace cocos2d {
namespace gl {

// The size in pixels of the surface the current context really draws into, asked of EGL or GLX.
// SDL's own figure can be wrong: it reports the desktop size as soon as full screen is asked for,
// even when nothing resizes the surface (no window manager, or an offscreen pbuffer).
// False when there is no current context or the platform gives no answer.
bool currentDrawableSize(int* width, int* height);

}  // namespace gl
}  // namespace cocos2d
