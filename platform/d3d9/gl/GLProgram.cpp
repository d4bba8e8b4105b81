#include "platform/d3d9/gl/GLProgram.h"

#include <cstdio>
#include <string>

#include "platform/d3d9/gl/GLDevice.h"

namespace {

std::string infoLog(GLuint object, bool isProgram) {
    GLint length = 0;
    isProgram ? glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length)
              : glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    isProgram ? glGetProgramInfoLog(object, length, nullptr, log.data())
              : glGetShaderInfoLog(object, length, nullptr, log.data());
    return log;
}

GLuint compile(GLenum stage, const char* desktopSource, const char* what) {
    const std::string text = glprofile::shaderSource(stage, desktopSource);
    const char* source = text.c_str();
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        std::fprintf(stderr, "d3d9: %s: %s stage does not compile:\n%s\n", what,
                     stage == GL_VERTEX_SHADER ? "vertex" : "fragment",
                     infoLog(shader, false).c_str());
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

GLuint GLProgram::build(const char* vertexSource, const char* fragmentSource, const char* what) {
    GLuint vertex = compile(GL_VERTEX_SHADER, vertexSource, what);
    GLuint fragment = vertex != 0 ? compile(GL_FRAGMENT_SHADER, fragmentSource, what) : 0;
    if (fragment == 0) {
        glDeleteShader(vertex);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        std::fprintf(stderr, "d3d9: %s: program does not link:\n%s\n", what,
                     infoLog(program, true).c_str());
        glDeleteProgram(program);
        return 0;
    }
    glprofile::bindSamplerUnits(program, fragmentSource, vertexSource);
    return program;
}

GLProgram::GLProgram(GLDevice& device, GLuint name)
    : GLRefCounted(device, Ownership::Caller), name_(name) {}

GLProgram::~GLProgram() {
    glDeleteProgram(name_);
}

INT GLProgram::GetUniformLocation(const char* name) {
    if (name == nullptr) {
        return -1;
    }
    auto scope = device().enter();
    return glGetUniformLocation(name_, name);
}
