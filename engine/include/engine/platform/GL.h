#pragma once

// The one public gate to OpenGL, for game code that issues GL calls itself (framebuffers, read-back,
// the blend colour). The engine's renderer re-applies its own state at every flush.
#include <GL/glew.h>
