// The fixed-function pipeline as one built-in GLSL program driven by the device's shadowed
// state. It covers what the engine draws without a program: position and one texture
// coordinate set, world/view/projection transforms, the default lighting (no lights, the
// all-zero default material) and texture stage 0 with the operations SELECTARG1/2, MODULATE
// (2X, 4X), ADD, ADDSIGNED and SUBTRACT on TEXTURE, TFACTOR and DIFFUSE/CURRENT arguments, plus
// the alpha test. Stages above 0, texture transforms and fog are not reproduced.
#pragma once

#include <epoxy/gl.h>

#include <array>
#include <cstdint>

#include "platform/d3d9/gl/GLStateShadow.h"

class GLFixedFunction {
public:
    // Builds the program in the current context; false when it does not compile.
    bool create();
    void destroy();
    GLuint program() const { return program_; }

    // Brings the program's uniforms up to date with the state; GL is only called for values
    // that changed.
    void update(const GLStateShadow& state, bool textureBound, bool vertexHasColor);

private:
    struct Uniforms {
        std::array<float, 16> worldViewProjection{};
        std::array<GLint, 4> sources{};
        std::array<float, 4> ambientLight{};
        std::array<GLint, 4> colorStage{};
        std::array<GLint, 4> alphaStage{};
        std::array<float, 4> textureFactor{};
        std::array<float, 4> alphaTest{};
    };
    void upload(const Uniforms& wanted);

    GLuint program_ = 0;
    GLint locWorldViewProjection_ = -1;
    GLint locSources_ = -1;
    GLint locAmbientLight_ = -1;
    GLint locColorStage_ = -1;
    GLint locAlphaStage_ = -1;
    GLint locTextureFactor_ = -1;
    GLint locAlphaTest_ = -1;
    Uniforms uploaded_{};
    bool uploadedOnce_ = false;
    std::uint64_t lastVersion_ = ~0ull;
    bool lastTextureBound_ = false;
    bool lastVertexHasColor_ = false;
};
