// The profile-dependent answers of GLApi.h: desktop OpenGL 4.5 through libepoxy, or WebGL2.
#include <regex>
#include <string>

#include "platform/d3d9/gl/GLApi.h"

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

const std::regex& samplerBinding() {
    static const std::regex pattern(
        R"(layout\s*\(\s*binding\s*=\s*(\d+)\s*\)\s*uniform\s+sampler2D\s+(\w+))");
    return pattern;
}

void bindUnitsOf(GLuint program, const char* source) {
    const std::string text = source;
    for (std::sregex_iterator it(text.begin(), text.end(), samplerBinding()), end; it != end;
         ++it) {
        const GLint location = glGetUniformLocation(program, (*it)[2].str().c_str());
        const GLint unit = std::stoi((*it)[1].str());
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

// GLSL 4.50 core as GLSL ES 3.00: ES's precision statements instead of the version line, sampler
// units set after linking (bindSamplerUnits) instead of in the source, and vertex stages that end
// in Direct3D's clip volume turned into GL's: y flipped, z from [0, w] to [-w, w] (see
// GLESProfile.h).
std::string glprofile::shaderSource(GLenum stage, const char* source) {
    std::string text = source;
    const std::string desktop = "#version 450 core";
    const std::size_t version = text.find(desktop);
    if (version != std::string::npos) {
        text.replace(version, desktop.size(),
                     "#version 300 es\nprecision highp float;\nprecision highp int;\n"
                     "precision highp sampler2D;");
    }
    text = std::regex_replace(text, std::regex(R"(layout\s*\(\s*binding\s*=\s*\d+\s*\)\s*)"), "");
    if (stage == GL_VERTEX_SHADER) {
        text =
            std::regex_replace(text, std::regex(R"(\bvoid\s+main\s*\(\s*\))"), "void kelvoMain()");
        text +=
            "\nvoid main() {\n    kelvoMain();\n    gl_Position.y = -gl_Position.y;\n"
            "    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;\n}\n";
    }
    return text;
}

void glprofile::bindSamplerUnits(GLuint program, const char* fragmentSource,
                                 const char* vertexSource) {
    bindUnitsOf(program, fragmentSource);
    bindUnitsOf(program, vertexSource);
}

#endif
