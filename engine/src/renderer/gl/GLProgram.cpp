#include "engine/renderer/GLProgram.h"

#include <GL/glew.h>

#include <new>
#include <vector>

#include "engine/base/Log.h"
#include "renderer/gl/GLContext.h"

namespace cocos2d {

const char* ccPositionTextureColor_noMVP_vert = R"(
attribute vec4 a_position;
attribute vec2 a_texCoord;
attribute vec4 a_color;
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
void main() {
    gl_Position = CC_PMatrix * a_position;
    v_fragmentColor = a_color;
    v_texCoord = a_texCoord;
}
)";

const char* ccPositionTextureColor_vert = R"(
attribute vec4 a_position;
attribute vec2 a_texCoord;
attribute vec4 a_color;
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
void main() {
    gl_Position = CC_MVPMatrix * a_position;
    v_fragmentColor = a_color;
    v_texCoord = a_texCoord;
}
)";

const char* ccPositionTextureColor_noMVP_frag = R"(
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
void main() {
    gl_FragColor = v_fragmentColor * texture2D(CC_Texture0, v_texCoord);
}
)";

const char* const GLProgram::ATTRIBUTE_NAME_POSITION = "a_position";
const char* const GLProgram::ATTRIBUTE_NAME_COLOR = "a_color";
const char* const GLProgram::ATTRIBUTE_NAME_TEX_COORD = "a_texCoord";
const char* const GLProgram::UNIFORM_NAME_P_MATRIX = "CC_PMatrix";
const char* const GLProgram::UNIFORM_NAME_MV_MATRIX = "CC_MVMatrix";
const char* const GLProgram::UNIFORM_NAME_MVP_MATRIX = "CC_MVPMatrix";
const char* const GLProgram::UNIFORM_NAME_TIME = "CC_Time";
const char* const GLProgram::UNIFORM_NAME_SIN_TIME = "CC_SinTime";
const char* const GLProgram::UNIFORM_NAME_COS_TIME = "CC_CosTime";
const char* const GLProgram::UNIFORM_NAME_RANDOM01 = "CC_Random01";
const char* const GLProgram::UNIFORM_NAME_SAMPLER0 = "CC_Texture0";

struct GLProgram::Compiled {
    GLuint program = 0;
    mutable std::unordered_map<std::string, GLint> locations;
    ~Compiled() {
        if (program != 0 && gl::isReady()) {
            glDeleteProgram(program);
        }
    }
};

namespace {

// Shader files carry no #version; every source gets this header. Precision qualifiers of GL ES
// sources compile to nothing.
const char* const kShaderHeader =
    "#version 120\n"
    "#define lowp\n#define mediump\n#define highp\n"
    "uniform mat4 CC_PMatrix;\n"
    "uniform mat4 CC_MVMatrix;\n"
    "uniform mat4 CC_MVPMatrix;\n"
    "uniform vec4 CC_Time;\n"
    "uniform vec4 CC_SinTime;\n"
    "uniform vec4 CC_CosTime;\n"
    "uniform vec4 CC_Random01;\n"
    "uniform sampler2D CC_Texture0;\n"
    "#line 1\n";

std::unordered_map<std::string, std::shared_ptr<GLProgram::Compiled>>& compileCache() {
    static std::unordered_map<std::string, std::shared_ptr<GLProgram::Compiled>> cache;
    return cache;
}

// The first line of a source that says something, so a report points at the shader file it came
// from (the game reads the file itself and hands over the text). Shader files open with a comment.
std::string excerpt(const std::string& source) {
    size_t start = 0;
    while (start < source.size()) {
        size_t end = source.find('\n', start);
        if (end == std::string::npos) {
            end = source.size();
        }
        std::string line = source.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        if (!line.empty()) {
            return line.size() > 80 ? line.substr(0, 80) + "..." : line;
        }
        start = end + 1;
    }
    return "";
}

// Compile and link logs run over several lines; a report is one line.
std::string oneLine(std::string text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            text.replace(i, 1, " | ");
        } else if (text[i] == '\r') {
            text[i] = ' ';
        }
    }
    return text;
}

unsigned int& contextGeneration() {
    static unsigned int generation = 1;
    return generation;
}

std::string infoLog(GLuint object, bool isProgram) {
    GLint length = 0;
    if (isProgram) {
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    } else {
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    }
    if (length <= 1) {
        return "";
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    if (isProgram) {
        glGetProgramInfoLog(object, length, nullptr, buffer.data());
    } else {
        glGetShaderInfoLog(object, length, nullptr, buffer.data());
    }
    std::string text(buffer.data());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

GLuint compileShader(GLenum type, const std::string& source, std::string& error) {
    GLuint shader = glCreateShader(type);
    const std::string full = std::string(kShaderHeader) + source;
    const GLchar* text = full.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        error = infoLog(shader, false);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

void GLProgram::purgeCompileCache() {
    compileCache().clear();
    ++contextGeneration();
}

unsigned int GLProgram::getContextGeneration() {
    return contextGeneration();
}

GLProgram* GLProgram::createWithByteArrays(const GLchar* vShaderByteArray, const GLchar* fShaderByteArray) {
    return createWithByteArrays(vShaderByteArray, fShaderByteArray, std::string());
}

GLProgram* GLProgram::createWithByteArrays(const GLchar* vShaderByteArray, const GLchar* fShaderByteArray,
                                           const std::string& fragmentFile) {
    auto* program = new (std::nothrow) GLProgram();
    if (program) {
        program->_fragmentFile = fragmentFile;
    }
    if (program && program->initWithByteArrays(vShaderByteArray, fShaderByteArray)) {
        program->autorelease();
        return program;
    }
    delete program;
    return nullptr;
}

GLProgram::~GLProgram() = default;

bool GLProgram::initWithByteArrays(const GLchar* vShaderByteArray, const GLchar* fShaderByteArray) {
    if (!vShaderByteArray || !fShaderByteArray) {
        logAt(LogLevel::Error, "GLProgram: missing shader source");
        return false;
    }
    _vertexSource = vShaderByteArray;
    _fragmentSource = fShaderByteArray;
    _builtInVertexStage =
        _vertexSource == ccPositionTextureColor_noMVP_vert || _vertexSource == ccPositionTextureColor_vert;
    // What a missing shader file reads as: say so, rather than pass on the linker's complaint.
    if (excerpt(_vertexSource).empty() || excerpt(_fragmentSource).empty()) {
        if (excerpt(_vertexSource).empty()) {
            logAt(LogLevel::Error, "GLProgram: the vertex shader source is empty");
        } else if (!_fragmentFile.empty()) {
            logAt(LogLevel::Error, "GLProgram: fragment shader [%s] is empty", _fragmentFile.c_str());
        } else {
            logAt(LogLevel::Error, "GLProgram: the fragment shader source is empty");
        }
        return false;
    }
    if (!gl::isReady()) {
        logAt(LogLevel::Error, "GLProgram: no GL context to compile the program");
        return false;
    }
    const std::string key = std::to_string(_vertexSource.size()) + ":" + _vertexSource + "\n---\n" + _fragmentSource;
    auto& cache = compileCache();
    auto found = cache.find(key);
    if (found != cache.end()) {
        // A source that failed before is not compiled again, nor reported again: one line per file,
        // however many nodes ask for it.
        _compiled = found->second;
        return _compiled != nullptr;
    }
    std::string error;
    const GLuint vertex = compileShader(GL_VERTEX_SHADER, _vertexSource, error);
    if (vertex == 0) {
        logAt(LogLevel::Error, "GLProgram: vertex shader \"%s\" failed to compile: %s",
              excerpt(_vertexSource).c_str(), oneLine(error).c_str());
        cache.emplace(key, nullptr);
        return false;
    }
    const GLuint fragment = compileShader(GL_FRAGMENT_SHADER, _fragmentSource, error);
    if (fragment == 0) {
        glDeleteShader(vertex);
        if (!_fragmentFile.empty()) {
            logAt(LogLevel::Error, "GLProgram: fragment shader [%s] failed to compile: %s", _fragmentFile.c_str(),
                  oneLine(error).c_str());
        } else {
            logAt(LogLevel::Error, "GLProgram: fragment shader \"%s\" failed to compile: %s",
                  excerpt(_fragmentSource).c_str(), oneLine(error).c_str());
        }
        cache.emplace(key, nullptr);
        return false;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindAttribLocation(program, VERTEX_ATTRIB_POSITION, ATTRIBUTE_NAME_POSITION);
    glBindAttribLocation(program, VERTEX_ATTRIB_COLOR, ATTRIBUTE_NAME_COLOR);
    glBindAttribLocation(program, VERTEX_ATTRIB_TEX_COORD, ATTRIBUTE_NAME_TEX_COORD);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        if (!_fragmentFile.empty()) {
            logAt(LogLevel::Error, "GLProgram: program with fragment shader [%s] failed to link: %s",
                  _fragmentFile.c_str(), oneLine(infoLog(program, true)).c_str());
        } else {
            logAt(LogLevel::Error, "GLProgram: program with fragment shader \"%s\" failed to link: %s",
                  excerpt(_fragmentSource).c_str(), oneLine(infoLog(program, true)).c_str());
        }
        glDeleteProgram(program);
        cache.emplace(key, nullptr);
        return false;
    }
    auto compiled = std::make_shared<Compiled>();
    compiled->program = program;
    cache.emplace(key, compiled);
    _compiled = compiled;
    return true;
}

GLuint GLProgram::getProgram() const {
    return _compiled ? _compiled->program : 0;
}

GLint GLProgram::getUniformLocation(const std::string& name) const {
    if (!_compiled || !gl::isReady()) {
        return -1;
    }
    auto found = _compiled->locations.find(name);
    if (found != _compiled->locations.end()) {
        return found->second;
    }
    const GLint location = glGetUniformLocation(_compiled->program, name.c_str());
    _compiled->locations.emplace(name, location);
    return location;
}

}  // namespace cocos2d
