// The profile-dependent answers of GLApi.h: desktop OpenGL 4.5 through libepoxy, or WebGL2.
#include <string>

#include "platform/d3d9/gl/GLApi.h"
#include "platform/d3d9/gl/GlslEsSource.h"

#if !KELVO_GLES

bool glprofile::hasExtension(const char* name) {
    return epoxy_has_gl_extension(name);
}

int glprofile::version() {
    return epoxy_is_desktop_gl() ? epoxy_gl_version() : 0;
}

bool glprofile::contextSuitable() {
    return epoxy_gl_version() >= 45 && epoxy_is_desktop_gl();
}

std::string glprofile::shaderSource(GLenum, const char* source) {
    return source;
}

void glprofile::bindSamplerUnits(GLuint, const char*, const char*) {}

void glprofile::declareIndexBuffer(GLuint) {}

#else

namespace {

void bindUnitsOf(GLuint program, const char* source) {
    for (const auto& [name, unit] : GlslEsSource::samplerUnits(source)) {
        const GLint location = glGetUniformLocation(program, name.c_str());
        if (location >= 0) {
            glProgramUniform1iv(program, location, 1, &unit);
        }
    }
}

}  // namespace

bool glprofile::hasExtension(const char*) {
    return false;
}

int glprofile::version() {
    return 0;
}

bool glprofile::contextSuitable() {
    GLint major = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    return major >= 3;
}

std::string glprofile::shaderSource(GLenum stage, const char* source) {
    return GlslEsSource::translate(source, stage == GL_VERTEX_SHADER);
}

void glprofile::bindSamplerUnits(GLuint program, const char* fragmentSource,
                                 const char* vertexSource) {
    bindUnitsOf(program, fragmentSource);
    bindUnitsOf(program, vertexSource);
}

#endif
