#include "engine/renderer/GLProgramState.h"

#include <GL/glew.h>

#include <algorithm>
#include <new>
#include <unordered_map>

#include "engine/base/Log.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/Texture2D.h"

namespace cocos2d {
namespace {

std::unordered_map<const GLProgram*, GLProgramState*>& statesByProgram() {
    static std::unordered_map<const GLProgram*, GLProgramState*> states;
    return states;
}

}  // namespace

GLProgramState* GLProgramState::getOrCreateWithGLProgram(GLProgram* program) {
    if (!program) {
        return nullptr;
    }
    auto& states = statesByProgram();
    auto found = states.find(program);
    if (found != states.end()) {
        return found->second;
    }
    GLProgramState* state = create(program);
    if (state) {
        states.emplace(program, state);
    }
    return state;
}

GLProgramState* GLProgramState::create(GLProgram* program) {
    if (!program) {
        return nullptr;
    }
    auto* state = new (std::nothrow) GLProgramState();
    if (!state) {
        return nullptr;
    }
    state->_program = program;
    program->retain();
    state->autorelease();
    return state;
}

GLProgramState::~GLProgramState() {
    auto& states = statesByProgram();
    auto found = states.find(_program);
    if (found != states.end() && found->second == this) {
        states.erase(found);
    }
    if (_program) {
        _program->release();
    }
}

GLProgramState::Uniform* GLProgramState::uniformFor(const std::string& name, Uniform::Kind kind) {
    auto found = _uniforms.find(name);
    if (found != _uniforms.end()) {
        found->second.kind = kind;
        return &found->second;
    }
    const GLint location = _program ? _program->getUniformLocation(name) : -1;
    if (location < 0) {
        if (std::find(_unknownLogged.begin(), _unknownLogged.end(), name) == _unknownLogged.end()) {
            _unknownLogged.push_back(name);
            logAt(LogLevel::Warning, "GLProgramState: the program has no uniform '%s'", name.c_str());
        }
        return nullptr;
    }
    Uniform uniform;
    uniform.kind = kind;
    uniform.location = location;
    return &_uniforms.emplace(name, uniform).first->second;
}

void GLProgramState::setUniformFloat(const std::string& name, float value) {
    if (Uniform* u = uniformFor(name, Uniform::Kind::Float)) {
        u->values[0] = value;
    }
}

void GLProgramState::setUniformInt(const std::string& name, int value) {
    if (Uniform* u = uniformFor(name, Uniform::Kind::Int)) {
        u->values[0] = static_cast<float>(value);
    }
}

void GLProgramState::setUniformVec2(const std::string& name, const Vec2& value) {
    if (Uniform* u = uniformFor(name, Uniform::Kind::Vec2)) {
        u->values[0] = value.x;
        u->values[1] = value.y;
    }
}

void GLProgramState::setUniformVec3(const std::string& name, float x, float y, float z) {
    if (Uniform* u = uniformFor(name, Uniform::Kind::Vec3)) {
        u->values[0] = x;
        u->values[1] = y;
        u->values[2] = z;
    }
}

void GLProgramState::setUniformVec4(const std::string& name, const Vec4& value) {
    if (Uniform* u = uniformFor(name, Uniform::Kind::Vec4)) {
        u->values[0] = value.x;
        u->values[1] = value.y;
        u->values[2] = value.z;
        u->values[3] = value.w;
    }
}

void GLProgramState::setUniformTexture(const std::string& name, Texture2D* texture) {
    setUniformTexture(name, texture ? texture->getName() : 0);
    auto found = _uniforms.find(name);
    if (found != _uniforms.end()) {
        found->second.textureObject = texture;
    }
}

void GLProgramState::setUniformTexture(const std::string& name, GLuint textureId) {
    const bool known = _uniforms.count(name) != 0;
    if (Uniform* u = uniformFor(name, Uniform::Kind::Texture)) {
        u->texture = textureId;
        u->textureObject.reset();
        if (!known) {
            u->unit = _nextTextureUnit++;
        }
    }
}

void GLProgramState::apply() const {
    for (const auto& entry : _uniforms) {
        const Uniform& u = entry.second;
        switch (u.kind) {
            case Uniform::Kind::Float:
                glUniform1f(u.location, u.values[0]);
                break;
            case Uniform::Kind::Int:
                glUniform1i(u.location, static_cast<GLint>(u.values[0]));
                break;
            case Uniform::Kind::Vec2:
                glUniform2f(u.location, u.values[0], u.values[1]);
                break;
            case Uniform::Kind::Vec3:
                glUniform3f(u.location, u.values[0], u.values[1], u.values[2]);
                break;
            case Uniform::Kind::Vec4:
                glUniform4f(u.location, u.values[0], u.values[1], u.values[2], u.values[3]);
                break;
            case Uniform::Kind::Texture:
                glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(u.unit));
                glBindTexture(GL_TEXTURE_2D, u.texture);
                glUniform1i(u.location, u.unit);
                glActiveTexture(GL_TEXTURE0);
                break;
        }
    }
}

}  // namespace cocos2d
