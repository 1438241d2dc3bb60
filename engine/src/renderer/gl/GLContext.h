#pragma once

namespace cocos2d {
namespace gl {

// Called by the view once its context is current: initialises GLEW (GLEW_ERROR_NO_GLX_DISPLAY on an
// EGL context counts as success), checks for framebuffer objects and installs the GL render backend.
// False with one log line when the context cannot be used.
bool initialise();
// Before the context goes away: frees the engine's own GL objects and removes the backend.
void shutdown();
// True between initialise and shutdown: GL calls may be made.
bool isReady();
// The largest texture side the context takes; 0 without one.
int maxTextureSize();

}  // namespace gl
}  // namespace cocos2d
