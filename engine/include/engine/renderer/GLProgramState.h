#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/base/GLTypes.h"
#include "engine/base/Ref.h"
#include "engine/base/RefPtr.h"
#include "engine/math/Vec2.h"
#include "engine/math/Vec4.h"
#include "engine/renderer/Texture2D.h"

namespace cocos2d {

class GLProgram;

// Uniform values for one program object, kept and applied at every draw that uses this state. A node
// with a state draws through its program with CC_Texture0 bound to the node's texture.
class GLProgramState : public Ref {
public:
    // The one state of that program object, alive while something holds it.
    static GLProgramState* getOrCreateWithGLProgram(GLProgram* program);
    static GLProgramState* create(GLProgram* program);
    ~GLProgramState() override;

    GLProgram* getGLProgram() const { return _program; }

    // An unknown name is ignored with one log line.
    void setUniformFloat(const std::string& name, float value);
    void setUniformInt(const std::string& name, int value);
    void setUniformVec2(const std::string& name, const Vec2& value);
    void setUniformVec3(const std::string& name, float x, float y, float z);
    void setUniformVec4(const std::string& name, const Vec4& value);
    // A texture on a unit above 0 (unit 0 is the node's own texture); the state keeps it alive.
    void setUniformTexture(const std::string& name, Texture2D* texture);
    void setUniformTexture(const std::string& name, GLuint textureId);

    // (ours) Sets every stored uniform on the bound program (the renderer's GL backend calls it).
    void apply() const;

    struct Uniform {
        enum class Kind { Float, Int, Vec2, Vec3, Vec4, Texture } kind = Kind::Float;
        GLint location = -1;
        float values[4] = {0, 0, 0, 0};
        GLuint texture = 0;
        RefPtr<Texture2D> textureObject;  // so the GL name cannot be freed and reused while set
        int unit = 0;
    };
    const std::map<std::string, Uniform>& getUniforms() const { return _uniforms; }

protected:
    GLProgramState() = default;
    Uniform* uniformFor(const std::string& name, Uniform::Kind kind);

    GLProgram* _program = nullptr;
    std::map<std::string, Uniform> _uniforms;
    std::vector<std::string> _unknownLogged;
    int _nextTextureUnit = 1;
};

}  // namespace cocos2d
