#pragma once

#include <string>
#include <unordered_map>

#include "engine/base/RefPtr.h"
#include "engine/renderer/GLProgram.h"

namespace cocos2d {

// Programs by name: the built-in ones, compiled on first use, and any the caller adds. Entries made
// under a GL context that has since gone are dropped and the built-ins compiled again.
class GLProgramCache {
public:
    // The built-in vertex shader without the model-view-projection matrix, and the default fragment
    // shader (texel times vertex colour).
    static const char* const SHADER_NAME_POSITION_TEXTURE_COLOR_NO_MVP;  // "ShaderPositionTextureColor_noMVP"
    // The same with the model-view-projection matrix.
    static const char* const SHADER_NAME_POSITION_TEXTURE_COLOR;  // "ShaderPositionTextureColor"

    static GLProgramCache* getInstance();
    static void destroyInstance();

    // Null for an unknown name, and for a built-in without a GL context.
    GLProgram* getGLProgram(const std::string& key);
    // Retains the program; replaces an earlier one of that name.
    void addGLProgram(GLProgram* program, const std::string& key);

private:
    struct Entry {
        RefPtr<GLProgram> program;
        unsigned int generation = 0;
    };

    GLProgramCache() = default;

    std::unordered_map<std::string, Entry> _programs;
};

}  // namespace cocos2d
