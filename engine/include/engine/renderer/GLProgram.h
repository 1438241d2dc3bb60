#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "engine/base/GLTypes.h"
#include "engine/base/Ref.h"

namespace cocos2d {

// The built-in vertex source: attributes a_position (vec4), a_texCoord (vec2), a_color (vec4);
// gl_Position = CC_PMatrix * a_position (vertices arrive in world space).
extern const char* ccPositionTextureColor_noMVP_vert;
// The same with CC_MVPMatrix (equal to CC_PMatrix here, since the model-view is the identity).
extern const char* ccPositionTextureColor_vert;
// The default fragment source: texel times vertex colour.
extern const char* ccPositionTextureColor_noMVP_frag;

// A linked GL program. Every source gets the engine header prepended: "#version 120" and the
// uniforms CC_PMatrix, CC_MVMatrix, CC_MVPMatrix, CC_Time, CC_SinTime, CC_CosTime, CC_Random01 and
// CC_Texture0. Each create returns a new object over a compile cache keyed by both sources, so
// nothing is compiled twice.
class GLProgram : public Ref {
public:
    enum { VERTEX_ATTRIB_POSITION = 0, VERTEX_ATTRIB_COLOR = 1, VERTEX_ATTRIB_TEX_COORD = 2 };

    static const char* const ATTRIBUTE_NAME_POSITION;   // "a_position"
    static const char* const ATTRIBUTE_NAME_COLOR;      // "a_color"
    static const char* const ATTRIBUTE_NAME_TEX_COORD;  // "a_texCoord"
    static const char* const UNIFORM_NAME_P_MATRIX;     // "CC_PMatrix"
    static const char* const UNIFORM_NAME_MV_MATRIX;    // "CC_MVMatrix"
    static const char* const UNIFORM_NAME_MVP_MATRIX;   // "CC_MVPMatrix"
    static const char* const UNIFORM_NAME_TIME;         // "CC_Time"
    static const char* const UNIFORM_NAME_SIN_TIME;     // "CC_SinTime"
    static const char* const UNIFORM_NAME_COS_TIME;     // "CC_CosTime"
    static const char* const UNIFORM_NAME_RANDOM01;     // "CC_Random01"
    static const char* const UNIFORM_NAME_SAMPLER0;     // "CC_Texture0"

    // Null and one log line on failure (also without a GL context): the compile or link log, and the
    // first line of the failing source, which names the shader file by its opening comment.
    static GLProgram* createWithByteArrays(const GLchar* vShaderByteArray, const GLchar* fShaderByteArray);
    // (ours) The same for a fragment shader read from a file: its log lines name that file.
    static GLProgram* createWithByteArrays(const GLchar* vShaderByteArray, const GLchar* fShaderByteArray,
                                           const std::string& fragmentFile);
    ~GLProgram() override;

    virtual bool initWithByteArrays(const GLchar* vShaderByteArray, const GLchar* fShaderByteArray);

    GLuint getProgram() const;
    // -1 for a name the program does not use.
    GLint getUniformLocation(const std::string& name) const;
    const std::string& getVertexSource() const { return _vertexSource; }
    const std::string& getFragmentSource() const { return _fragmentSource; }
    // (ours) The vertex source is one of the built-in ones above, to the letter: the vertices land where
    // they were queued, so the renderer may leave out the parts of the draw that later draws hide.
    bool hasBuiltInVertexStage() const { return _builtInVertexStage; }

    // (ours) The compiled program shared by every object made from the same sources.
    struct Compiled;
    const std::shared_ptr<Compiled>& getCompiled() const { return _compiled; }
    // (ours) Forgets the compile cache (the context is going away).
    static void purgeCompileCache();
    // (ours) Changes each time the compile cache is purged: programs made before belong to a context
    // that is gone.
    static unsigned int getContextGeneration();

protected:
    GLProgram() = default;

    std::string _vertexSource;
    std::string _fragmentSource;
    // The fragment shader's file, when it came from one, for log lines.
    std::string _fragmentFile;
    bool _builtInVertexStage = false;
    std::shared_ptr<Compiled> _compiled;
};

}  // namespace cocos2d
