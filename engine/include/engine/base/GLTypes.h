#pragma once

// The GL scalar types that public engine signatures use. The typedefs are identical to OpenGL's own,
// so a source may include engine/platform/GL.h as well.
typedef unsigned int GLenum;
typedef unsigned int GLuint;
typedef int GLint;
typedef int GLsizei;
typedef unsigned char GLubyte;
typedef float GLfloat;
typedef char GLchar;
typedef unsigned char GLboolean;
