#include "renderer/gl/GLBackend.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/math/Mat4.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramState.h"

namespace cocos2d {
namespace {

void setMatrix(GLuint program, const char* name, const Mat4& m) {
    const GLint location = glGetUniformLocation(program, name);
    if (location >= 0) {
        glUniformMatrix4fv(location, 1, GL_FALSE, m.m);
    }
}

void setVec4(GLuint program, const char* name, float x, float y, float z, float w) {
    const GLint location = glGetUniformLocation(program, name);
    if (location >= 0) {
        glUniform4f(location, x, y, z, w);
    }
}

}  // namespace

GLBackend::GLBackend() = default;

GLBackend::~GLBackend() {
    if (_defaultProgram) {
        _defaultProgram->release();
    }
    if (_whiteTexture != 0) {
        glDeleteTextures(1, &_whiteTexture);
    }
}

bool GLBackend::init() {
    _defaultProgram = GLProgram::createWithByteArrays(ccPositionTextureColor_noMVP_vert,
                                                      ccPositionTextureColor_noMVP_frag);
    if (!_defaultProgram) {
        return false;
    }
    _defaultProgram->retain();
    // Bound for draws that name no texture, so the default program samples white.
    const unsigned char white[4] = {255, 255, 255, 255};
    glGenTextures(1, &_whiteTexture);
    glBindTexture(GL_TEXTURE_2D, _whiteTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return true;
}

void GLBackend::beginTarget(const RenderTarget& target) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    if (!target.clearOnBegin) {
        return;
    }
    glDisable(GL_SCISSOR_TEST);
    if (target.framebufferWidth > 0 && target.framebufferHeight > 0) {
        glViewport(0, 0, target.framebufferWidth, target.framebufferHeight);
    }
    glClearColor(target.clearColor[0], target.clearColor[1], target.clearColor[2], target.clearColor[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void GLBackend::drawBatch(const RenderTarget& target, const BatchState& state, const V2F_C4B_T2F* vertices,
                          size_t vertexCount, const uint32_t* indices, size_t indexCount) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(target.viewportX, target.viewportY, target.viewportWidth, target.viewportHeight);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_STENCIL_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    if (state.scissorEnabled) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(state.scissor.x0, state.scissor.y0, std::max(0, state.scissor.x1 - state.scissor.x0),
                  std::max(0, state.scissor.y1 - state.scissor.y0));
    } else {
        glDisable(GL_SCISSOR_TEST);
    }

    if (state.blending) {
        glEnable(GL_BLEND);
        glBlendFunc(state.blend.src, state.blend.dst);
    } else {
        glDisable(GL_BLEND);
    }

    GLProgram* program = state.programState && state.programState->getGLProgram()
                             ? state.programState->getGLProgram()
                             : _defaultProgram;
    const GLuint id = program->getProgram();
    glUseProgram(id);
    const Rect& w = target.world;
    const Mat4 projection =
        Mat4::createOrthographicOffCenter(w.getMinX(), w.getMaxX(), w.getMinY(), w.getMaxY(), -1024.0f, 1024.0f);
    setMatrix(id, GLProgram::UNIFORM_NAME_P_MATRIX, projection);
    setMatrix(id, GLProgram::UNIFORM_NAME_MV_MATRIX, Mat4::IDENTITY);
    setMatrix(id, GLProgram::UNIFORM_NAME_MVP_MATRIX, projection);
    const float t = Director::getInstance()->getTotalTime();
    setVec4(id, GLProgram::UNIFORM_NAME_TIME, t / 10.0f, t, t * 2.0f, t * 4.0f);
    setVec4(id, GLProgram::UNIFORM_NAME_SIN_TIME, std::sin(t / 8.0f), std::sin(t / 4.0f), std::sin(t / 2.0f),
            std::sin(t));
    setVec4(id, GLProgram::UNIFORM_NAME_COS_TIME, std::cos(t / 8.0f), std::cos(t / 4.0f), std::cos(t / 2.0f),
            std::cos(t));
    setVec4(id, GLProgram::UNIFORM_NAME_RANDOM01, 0.25f, 0.5f, 0.75f, 1.0f);
    const GLint sampler = glGetUniformLocation(id, GLProgram::UNIFORM_NAME_SAMPLER0);
    if (sampler >= 0) {
        glUniform1i(sampler, 0);
    }
    if (state.programState) {
        state.programState->apply();
    }
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, state.texture != 0 ? state.texture : _whiteTexture);

    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    const GLsizei stride = sizeof(V2F_C4B_T2F);
    const auto* base = reinterpret_cast<const unsigned char*>(vertices);
    glEnableVertexAttribArray(GLProgram::VERTEX_ATTRIB_POSITION);
    glEnableVertexAttribArray(GLProgram::VERTEX_ATTRIB_COLOR);
    glEnableVertexAttribArray(GLProgram::VERTEX_ATTRIB_TEX_COORD);
    glVertexAttribPointer(GLProgram::VERTEX_ATTRIB_POSITION, 2, GL_FLOAT, GL_FALSE, stride,
                          base + offsetof(V2F_C4B_T2F, vertices));
    glVertexAttribPointer(GLProgram::VERTEX_ATTRIB_COLOR, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          base + offsetof(V2F_C4B_T2F, colors));
    glVertexAttribPointer(GLProgram::VERTEX_ATTRIB_TEX_COORD, 2, GL_FLOAT, GL_FALSE, stride,
                          base + offsetof(V2F_C4B_T2F, texCoords));
    (void)vertexCount;
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT, indices);
    glDisableVertexAttribArray(GLProgram::VERTEX_ATTRIB_POSITION);
    glDisableVertexAttribArray(GLProgram::VERTEX_ATTRIB_COLOR);
    glDisableVertexAttribArray(GLProgram::VERTEX_ATTRIB_TEX_COORD);
}

}  // namespace cocos2d

namespace cocos2d {

void GLBackend::endFrame() {
    glFlush();
}

bool GLBackend::readPixels(GLuint framebuffer, int x, int y, int width, int height, unsigned char* rgba) {
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    return glGetError() == GL_NO_ERROR;
}

}  // namespace cocos2d
