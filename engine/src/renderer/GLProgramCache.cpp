#include "engine/renderer/GLProgramCache.h"

#include "engine/base/Director.h"

namespace cocos2d {
namespace {

GLProgramCache*& instanceSlot() {
    static GLProgramCache* instance = nullptr;
    return instance;
}

}  // namespace

const char* const GLProgramCache::SHADER_NAME_POSITION_TEXTURE_COLOR_NO_MVP =
    "ShaderPositionTextureColor_noMVP";
const char* const GLProgramCache::SHADER_NAME_POSITION_TEXTURE_COLOR = "ShaderPositionTextureColor";

GLProgramCache* GLProgramCache::getInstance() {
    GLProgramCache*& instance = instanceSlot();
    if (!instance) {
        instance = new GLProgramCache();
        Director::getInstance()->addTeardownHandler([] { GLProgramCache::destroyInstance(); });
    }
    return instance;
}

void GLProgramCache::destroyInstance() {
    GLProgramCache*& instance = instanceSlot();
    delete instance;
    instance = nullptr;
}

GLProgram* GLProgramCache::getGLProgram(const std::string& key) {
    const unsigned int generation = GLProgram::getContextGeneration();
    auto found = _programs.find(key);
    if (found != _programs.end()) {
        if (found->second.generation == generation) {
            return found->second.program.get();
        }
        _programs.erase(found);
    }
    const char* vertex = nullptr;
    if (key == SHADER_NAME_POSITION_TEXTURE_COLOR_NO_MVP) {
        vertex = ccPositionTextureColor_noMVP_vert;
    } else if (key == SHADER_NAME_POSITION_TEXTURE_COLOR) {
        vertex = ccPositionTextureColor_vert;
    } else {
        return nullptr;
    }
    GLProgram* program = GLProgram::createWithByteArrays(vertex, ccPositionTextureColor_noMVP_frag);
    if (program) {
        _programs[key] = Entry{RefPtr<GLProgram>(program), generation};
    }
    return program;
}

void GLProgramCache::addGLProgram(GLProgram* program, const std::string& key) {
    if (!program) {
        _programs.erase(key);
        return;
    }
    _programs[key] = Entry{RefPtr<GLProgram>(program), GLProgram::getContextGeneration()};
}

}  // namespace cocos2d
