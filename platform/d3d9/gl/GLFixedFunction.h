// The fixed-function pipeline as one built-in GLSL program driven by the device's shadowed
// state. It covers what the engine draws without a program: position and one texture
// coordinate set, world/view/projection transforms, the default lighting (no lights, the
// all-zero default material) and texture stage 0 with the operations SELECTARG1/2, MODULATE
// (2X, 4X), ADD, ADDSIGNED and SUBTRACT on TEXTURE, TFACTOR and DIFFUSE/CURRENT arguments, plus
// the alpha test. Stages above 0, texture transforms and fog are not reproduced.
#pragma once

#include "platform/d3d9/gl/GLApi.h"

#include <array>
#include <cstdint>
#include <map>

#include "platform/d3d9/gl/GLStateShadow.h"

class GLFixedFunction {
public:
    // Builds the default states' program in the current context; false when it does not compile.
    bool create();
    void destroy();
    // The program for the state of the last update.
    GLuint program() const { return current_ != nullptr ? current_->program : 0; }

    // Selects (building it the first time) the program specialised for the state and brings its
    // uniforms up to date; GL is only called for values that changed.
    void update(const GLStateShadow& state, bool textureBound, bool vertexHasColor);

private:
    // What a specialised program bakes in; all zero is the default states without a texture.
    struct Key {
        std::array<int, 4> sources{};
        std::array<int, 4> colorStage{};  // op, arg1, arg2, enabled
        std::array<int, 4> alphaStage{};  // op, arg1, arg2, texture bound
        std::array<int, 2> alphaTest{};   // enabled, function
        std::uint64_t packed() const {
            std::uint64_t bits = 0;
            auto put = [&bits](int value, int width) {
                bits = (bits << width) | (static_cast<std::uint64_t>(value) & ((1u << width) - 1));
            };
            for (int v : sources) {
                put(v, 1);
            }
            put(colorStage[0], 5);
            put(colorStage[1], 6);
            put(colorStage[2], 6);
            put(colorStage[3], 1);
            put(alphaStage[0], 5);
            put(alphaStage[1], 6);
            put(alphaStage[2], 6);
            put(alphaStage[3], 1);
            put(alphaTest[0], 1);
            put(alphaTest[1], 4);
            return bits;
        }
    };
    struct Uniforms {
        std::array<float, 16> worldViewProjection{};
        std::array<float, 4> ambientLight{};
        std::array<float, 4> textureFactor{};
        float alphaReference = 0.0f;
    };
    struct Variant {
        GLuint program = 0;
        GLint locWorldViewProjection = -1;
        GLint locAmbientLight = -1;
        GLint locTextureFactor = -1;
        GLint locAlphaReference = -1;
        Uniforms uploaded{};
        bool uploadedOnce = false;
    };
    Variant* variant(const Key& key);
    static void upload(Variant& v, const Uniforms& wanted);

    std::map<std::uint64_t, Variant> variants_;
    Variant* current_ = nullptr;
    std::uint64_t lastVersion_ = ~0ull;
    bool lastTextureBound_ = false;
    bool lastVertexHasColor_ = false;
};
