#include "platform/d3d9/gl/GLFixedFunction.h"

#include <cstring>

#include "platform/d3d9/gl/GLProgram.h"
#include "platform/d3d9/gl/GLTranslate.h"

namespace {

// The built-in program reads the vertex elements where every declaration puts them.
static_assert(D3DDeclUsageLocation(D3DDECLUSAGE_POSITION, 0) == 0);
static_assert(D3DDeclUsageLocation(D3DDECLUSAGE_COLOR, 0) == 4);
static_assert(D3DDeclUsageLocation(D3DDECLUSAGE_TEXCOORD, 0) == 6);

// Direct3D's lighting with no lights: emissive + ambient material x ambient light, alpha from
// the diffuse material. The material is all zeros (the device has no SetMaterial), so each
// term is zero unless its material source is the vertex colour.
const char* const kVertexSource = R"(#version 450 core
layout(location = 0) in vec4 inPosition;
layout(location = 4) in vec4 inColor;
layout(location = 6) in vec4 inTexCoord;
uniform mat4 worldViewProjection;
uniform ivec4 sources;  // lighting, emissive from vertex, ambient from vertex, alpha from vertex
uniform vec4 ambientLight;
out vec4 diffuse;
out vec2 texCoord;
void main() {
    gl_Position = worldViewProjection * inPosition;
    if (sources.x == 0) {
        diffuse = inColor;
    } else {
        vec3 emissive = sources.y != 0 ? inColor.rgb : vec3(0.0);
        vec3 ambient = sources.z != 0 ? inColor.rgb : vec3(0.0);
        float alpha = sources.w != 0 ? inColor.a : 0.0;
        diffuse = clamp(vec4(emissive + ambient * ambientLight.rgb, alpha), 0.0, 1.0);
    }
    texCoord = inTexCoord.xy;
}
)";

const char* const kFragmentSource = R"(#version 450 core
in vec4 diffuse;
in vec2 texCoord;
layout(binding = 0) uniform sampler2D stageTexture;
uniform ivec4 colorStage;  // op, arg1, arg2, stage enabled
uniform ivec4 alphaStage;  // op, arg1, arg2, texture bound
uniform vec4 textureFactor;
uniform vec4 alphaTest;    // enabled, D3DCMP function, reference
layout(location = 0) out vec4 fragColor;

vec4 argument(int arg, vec4 tex) {
    int selected = arg & 15;
    vec4 value = selected == 2 ? tex : selected == 3 ? textureFactor : diffuse;
    if ((arg & 0x10) != 0) value = 1.0 - value;
    if ((arg & 0x20) != 0) value = value.aaaa;
    return value;
}

vec4 combine(int op, vec4 a1, vec4 a2, vec4 current) {
    switch (op) {
        case 2: return a1;
        case 3: return a2;
        case 4: return a1 * a2;
        case 5: return clamp(2.0 * a1 * a2, 0.0, 1.0);
        case 6: return clamp(4.0 * a1 * a2, 0.0, 1.0);
        case 7: return clamp(a1 + a2, 0.0, 1.0);
        case 8: return clamp(a1 + a2 - 0.5, 0.0, 1.0);
        case 10: return clamp(a1 - a2, 0.0, 1.0);
        default: return current;
    }
}

bool passes(int func, float a, float ref) {
    switch (func) {
        case 1: return false;
        case 2: return a < ref;
        case 3: return a == ref;
        case 4: return a <= ref;
        case 5: return a > ref;
        case 6: return a != ref;
        case 7: return a >= ref;
        default: return true;
    }
}

void main() {
    vec4 result = diffuse;
    if (colorStage.w != 0) {
        vec4 tex = alphaStage.w != 0 ? texture(stageTexture, texCoord) : vec4(0.0);
        vec3 rgb = combine(colorStage.x, argument(colorStage.y, tex),
                           argument(colorStage.z, tex), diffuse).rgb;
        float a = combine(alphaStage.x, argument(alphaStage.y, tex),
                          argument(alphaStage.z, tex), diffuse).a;
        result = vec4(rgb, a);
    }
    if (alphaTest.x != 0.0 && !passes(int(alphaTest.y), floor(result.a * 255.0 + 0.5),
                                      alphaTest.z)) {
        discard;
    }
    fragColor = result;
}
)";

// Row-vector product a x b of two Direct3D matrices.
D3DMATRIX multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[i][k] * b.m[k][j];
            }
            r.m[i][j] = sum;
        }
    }
    return r;
}

bool usesTexture(DWORD arg) {
    return (arg & D3DTA_SELECTMASK) == D3DTA_TEXTURE;
}

}  // namespace

bool GLFixedFunction::create() {
    program_ = GLProgram::build(kVertexSource, kFragmentSource, "fixed-function program");
    if (program_ == 0) {
        return false;
    }
    locWorldViewProjection_ = glGetUniformLocation(program_, "worldViewProjection");
    locSources_ = glGetUniformLocation(program_, "sources");
    locAmbientLight_ = glGetUniformLocation(program_, "ambientLight");
    locColorStage_ = glGetUniformLocation(program_, "colorStage");
    locAlphaStage_ = glGetUniformLocation(program_, "alphaStage");
    locTextureFactor_ = glGetUniformLocation(program_, "textureFactor");
    locAlphaTest_ = glGetUniformLocation(program_, "alphaTest");
    return true;
}

void GLFixedFunction::destroy() {
    glDeleteProgram(program_);
    program_ = 0;
}

void GLFixedFunction::update(const GLStateShadow& state, bool textureBound, bool vertexHasColor) {
    const std::uint64_t version = state.version(StateGroup::FixedFunction);
    if (uploadedOnce_ && version == lastVersion_ && textureBound == lastTextureBound_ &&
        vertexHasColor == lastVertexHasColor_) {
        return;
    }
    lastVersion_ = version;
    lastTextureBound_ = textureBound;
    lastVertexHasColor_ = vertexHasColor;

    Uniforms u;
    const D3DMATRIX wvp = multiply(
        multiply(state.transform(GLStateShadow::kWorld), state.transform(GLStateShadow::kView)),
        state.transform(GLStateShadow::kProjection));
    std::memcpy(u.worldViewProjection.data(), &wvp, sizeof wvp);

    const bool vertexColors = vertexHasColor && state.renderState(D3DRS_COLORVERTEX) != FALSE;
    auto fromVertex = [&](DWORD sourceState) {
        return vertexColors && state.renderState(sourceState) == D3DMCS_COLOR1 ? 1 : 0;
    };
    u.sources = {state.renderState(D3DRS_LIGHTING) != FALSE ? 1 : 0,
                 fromVertex(D3DRS_EMISSIVEMATERIALSOURCE), fromVertex(D3DRS_AMBIENTMATERIALSOURCE),
                 fromVertex(D3DRS_DIFFUSEMATERIALSOURCE)};
    gltranslate::colorToFloats(state.renderState(D3DRS_AMBIENT), u.ambientLight.data());

    const DWORD colorOp = state.stageState(0, D3DTSS_COLOROP);
    const DWORD colorArg1 = state.stageState(0, D3DTSS_COLORARG1);
    const DWORD colorArg2 = state.stageState(0, D3DTSS_COLORARG2);
    // A stage whose colour reads a texture that is not there is disabled, with every stage after
    // it, so untextured geometry shows its diffuse colour.
    const bool readsMissingTexture =
        !textureBound &&
        (usesTexture(colorArg1) || (colorOp != D3DTOP_SELECTARG1 && usesTexture(colorArg2)));
    const bool enabled = colorOp != D3DTOP_DISABLE && !readsMissingTexture;
    u.colorStage = {static_cast<GLint>(colorOp), static_cast<GLint>(colorArg1),
                    static_cast<GLint>(colorArg2), enabled ? 1 : 0};
    u.alphaStage = {static_cast<GLint>(state.stageState(0, D3DTSS_ALPHAOP)),
                    static_cast<GLint>(state.stageState(0, D3DTSS_ALPHAARG1)),
                    static_cast<GLint>(state.stageState(0, D3DTSS_ALPHAARG2)),
                    textureBound ? 1 : 0};
    gltranslate::colorToFloats(state.renderState(D3DRS_TEXTUREFACTOR), u.textureFactor.data());
    u.alphaTest = {state.renderState(D3DRS_ALPHATESTENABLE) != FALSE ? 1.0f : 0.0f,
                   static_cast<float>(state.renderState(D3DRS_ALPHAFUNC)),
                   static_cast<float>(state.renderState(D3DRS_ALPHAREF) & 0xFFu), 0.0f};
    upload(u);
}

void GLFixedFunction::upload(const Uniforms& u) {
    const bool all = !uploadedOnce_;
    uploadedOnce_ = true;
    if (all || u.worldViewProjection != uploaded_.worldViewProjection) {
        glProgramUniformMatrix4fv(program_, locWorldViewProjection_, 1, GL_FALSE,
                                  u.worldViewProjection.data());
    }
    if (all || u.sources != uploaded_.sources) {
        glProgramUniform4iv(program_, locSources_, 1, u.sources.data());
    }
    if (all || u.ambientLight != uploaded_.ambientLight) {
        glProgramUniform4fv(program_, locAmbientLight_, 1, u.ambientLight.data());
    }
    if (all || u.colorStage != uploaded_.colorStage) {
        glProgramUniform4iv(program_, locColorStage_, 1, u.colorStage.data());
    }
    if (all || u.alphaStage != uploaded_.alphaStage) {
        glProgramUniform4iv(program_, locAlphaStage_, 1, u.alphaStage.data());
    }
    if (all || u.textureFactor != uploaded_.textureFactor) {
        glProgramUniform4fv(program_, locTextureFactor_, 1, u.textureFactor.data());
    }
    if (all || u.alphaTest != uploaded_.alphaTest) {
        glProgramUniform4fv(program_, locAlphaTest_, 1, u.alphaTest.data());
    }
    uploaded_ = u;
}
