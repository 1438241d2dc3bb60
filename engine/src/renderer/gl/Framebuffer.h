#pragma once

#include <memory>
#include <string>

#include "engine/base/GLTypes.h"

namespace cocos2d {
namespace gl {

// A framebuffer object drawing into one colour texture (owned by its Texture2D, not by this).
class Framebuffer {
public:
    // Null, with `error` set, when the framebuffer is not complete.
    static std::unique_ptr<Framebuffer> create(GLuint colourTexture, std::string& error);
    ~Framebuffer();
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;

    GLuint getName() const { return _name; }

private:
    Framebuffer() = default;
    GLuint _name = 0;
};

// The framebuffer bound now, and binding one (0 is the window's).
GLuint boundFramebuffer();
void bindFramebuffer(GLuint framebuffer);

}  // namespace gl
}  // namespace cocos2d
