#include "platform/d3d9/gl/GLFixedFunction.h"

#include <cstring>
#include <initializer_list>
#include <string>

#include "platform/d3d9/gl/GLProgram.h"
#include "platform/d3d9/gl/GLTranslate.h"

namespace {

// The built-in program reads the vertex elements where every declaration puts them.
static_assert(D3DDeclUsageLocation(D3DDECLUSAGE_POSITION, 0) == 0);
static_assert(D3DDeclUsageLocation(D3DDECLUSAGE_COLOR, 0) == 4);
static_assert(D3DDeclUsageLocation(D3DDECLUSAGE_TEXCOORD, 0) == 6);

// The program's text, specialised per state combination: the stage operations, arguments,
// lighting sources and the alpha test arrive as constants (the #define lines put in front), so
// the compiler folds every branch away and an untested pass carries no discard. One general
// program with uniform-driven branches cost a software rasteriser several times the work of a
// plain texture copy per pixel.
//
// Direct3D's lighting with no lights: emissive + ambient material x ambient light, alpha from
// the diffuse material. The material is all zeros (the device has no SetMaterial), so each
// term is zero unless its material source is the vertex colour.
const char* const kVertexBody = R"(
layout(location = 0) in vec4 inPosition;
layout(location = 4) in vec4 inColor;
layout(location = 6) in vec4 inTexCoord;
uniform mat4 worldViewProjection;
const ivec4 sources = SOURCES;  // lighting, emissive from vertex, ambient from vertex, alpha from vertex
uniform vec4 ambientLight;
out vec4 diffuse;
out vec2 texCoord;
void main() {
    gl_Position = worldViewProjection * inPosition;
    vec4 vertexColor = VERTEX_COLOR;
    if (sources.x == 0) {
        diffuse = vertexColor;
    } else {
        vec3 emissive = sources.y != 0 ? vertexColor.rgb : vec3(0.0);
        vec3 ambient = sources.z != 0 ? vertexColor.rgb : vec3(0.0);
        float alpha = sources.w != 0 ? vertexColor.a : 0.0;
        diffuse = clamp(vec4(emissive + ambient * ambientLight.rgb, alpha), 0.0, 1.0);
    }
    texCoord = inTexCoord.xy;
}
)";

const char* const kFragmentBody = R"(
in vec4 diffuse;
in vec2 texCoord;
layout(binding = 0) uniform sampler2D stageTexture;
const ivec4 colorStage = COLOR_STAGE;  // op, arg1, arg2, stage enabled
const ivec4 alphaStage = ALPHA_STAGE;  // op, arg1, arg2, texture bound
const ivec2 alphaTest = ALPHA_TEST;    // enabled, D3DCMP function
uniform vec4 textureFactor;
uniform float alphaReference;
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
    if (alphaTest.x != 0 && !passes(alphaTest.y, floor(result.a * 255.0 + 0.5), alphaReference)) {
        discard;
    }
    fragColor = result;
}
)";

std::string ivec(const char* name, std::initializer_list<int> values) {
    std::string text =
        std::string("#define ") + name + " ivec" + std::to_string(values.size()) + "(";
    const char* separator = "";
    for (int v : values) {
        text += separator + std::to_string(v);
        separator = ", ";
    }
    return text + ")\n";
}

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
    // The default states' program, built now so that a device whose GL cannot compile it fails
    // at creation rather than at its first draw.
    return variant(Key{}) != nullptr;
}

void GLFixedFunction::destroy() {
    for (auto& [key, v] : variants_) {
        glDeleteProgram(v.program);
    }
    variants_.clear();
    current_ = nullptr;
}

GLFixedFunction::Variant* GLFixedFunction::variant(const Key& key) {
    const std::uint64_t packed = key.packed();
    auto found = variants_.find(packed);
    if (found != variants_.end()) {
        return &found->second;
    }
    const std::string header =
        "#version 450 core\n" +
        ivec("SOURCES", {key.sources[0], key.sources[1], key.sources[2], key.sources[3]}) +
        ivec("COLOR_STAGE",
             {key.colorStage[0], key.colorStage[1], key.colorStage[2], key.colorStage[3]}) +
        ivec("ALPHA_STAGE",
             {key.alphaStage[0], key.alphaStage[1], key.alphaStage[2], key.alphaStage[3]}) +
        ivec("ALPHA_TEST", {key.alphaTest[0], key.alphaTest[1]}) +
        // A D3DCOLOR's bytes are B, G, R, A; desktop GL fetches them in that order (size
        // GL_BGRA), ES fetches them as stored.
        "#define VERTEX_COLOR " + (glprofile::kES ? "inColor.bgra" : "inColor") + "\n";
    const std::string vertex = header + kVertexBody;
    const std::string fragment = header + kFragmentBody;
    const GLuint program =
        GLProgram::build(vertex.c_str(), fragment.c_str(), "fixed-function program");
    if (program == 0) {
        return nullptr;
    }
    // Other contexts of the device may use the program next.
    glFlush();
    Variant v;
    v.program = program;
    v.locWorldViewProjection = glGetUniformLocation(program, "worldViewProjection");
    v.locAmbientLight = glGetUniformLocation(program, "ambientLight");
    v.locTextureFactor = glGetUniformLocation(program, "textureFactor");
    v.locAlphaReference = glGetUniformLocation(program, "alphaReference");
    return &variants_.emplace(packed, v).first->second;
}

void GLFixedFunction::update(const GLStateShadow& state, bool textureBound, bool vertexHasColor) {
    const std::uint64_t version = state.version(StateGroup::FixedFunction);
    if (current_ != nullptr && version == lastVersion_ && textureBound == lastTextureBound_ &&
        vertexHasColor == lastVertexHasColor_) {
        return;
    }
    lastVersion_ = version;
    lastTextureBound_ = textureBound;
    lastVertexHasColor_ = vertexHasColor;

    Key key;
    const bool vertexColors = vertexHasColor && state.renderState(D3DRS_COLORVERTEX) != FALSE;
    auto fromVertex = [&](DWORD sourceState) {
        return vertexColors && state.renderState(sourceState) == D3DMCS_COLOR1 ? 1 : 0;
    };
    key.sources = {state.renderState(D3DRS_LIGHTING) != FALSE ? 1 : 0,
                   fromVertex(D3DRS_EMISSIVEMATERIALSOURCE),
                   fromVertex(D3DRS_AMBIENTMATERIALSOURCE),
                   fromVertex(D3DRS_DIFFUSEMATERIALSOURCE)};

    const DWORD colorOp = state.stageState(0, D3DTSS_COLOROP);
    const DWORD colorArg1 = state.stageState(0, D3DTSS_COLORARG1);
    const DWORD colorArg2 = state.stageState(0, D3DTSS_COLORARG2);
    // A stage whose colour reads a texture that is not there is disabled, with every stage after
    // it, so untextured geometry shows its diffuse colour.
    const bool readsMissingTexture =
        !textureBound &&
        (usesTexture(colorArg1) || (colorOp != D3DTOP_SELECTARG1 && usesTexture(colorArg2)));
    const bool enabled = colorOp != D3DTOP_DISABLE && !readsMissingTexture;
    if (enabled) {
        key.colorStage = {static_cast<int>(colorOp & 0x1F), static_cast<int>(colorArg1 & 0x3F),
                          static_cast<int>(colorArg2 & 0x3F), 1};
        key.alphaStage = {static_cast<int>(state.stageState(0, D3DTSS_ALPHAOP) & 0x1F),
                          static_cast<int>(state.stageState(0, D3DTSS_ALPHAARG1) & 0x3F),
                          static_cast<int>(state.stageState(0, D3DTSS_ALPHAARG2) & 0x3F),
                          textureBound ? 1 : 0};
    }
    if (state.renderState(D3DRS_ALPHATESTENABLE) != FALSE) {
        key.alphaTest = {1, static_cast<int>(state.renderState(D3DRS_ALPHAFUNC) & 0xF)};
    }
    Variant* chosen = variant(key);
    if (chosen == nullptr) {
        chosen = variant(Key{});  // cannot happen for a program the default already compiled
    }
    current_ = chosen;

    Uniforms u;
    const D3DMATRIX wvp = multiply(
        multiply(state.transform(GLStateShadow::kWorld), state.transform(GLStateShadow::kView)),
        state.transform(GLStateShadow::kProjection));
    std::memcpy(u.worldViewProjection.data(), &wvp, sizeof wvp);
    gltranslate::colorToFloats(state.renderState(D3DRS_AMBIENT), u.ambientLight.data());
    gltranslate::colorToFloats(state.renderState(D3DRS_TEXTUREFACTOR), u.textureFactor.data());
    u.alphaReference = static_cast<float>(state.renderState(D3DRS_ALPHAREF) & 0xFFu);
    upload(*current_, u);
}

void GLFixedFunction::upload(Variant& v, const Uniforms& u) {
    const bool all = !v.uploadedOnce;
    v.uploadedOnce = true;
    if (all || u.worldViewProjection != v.uploaded.worldViewProjection) {
        glProgramUniformMatrix4fv(v.program, v.locWorldViewProjection, 1, GL_FALSE,
                                  u.worldViewProjection.data());
    }
    if (all || u.ambientLight != v.uploaded.ambientLight) {
        glProgramUniform4fv(v.program, v.locAmbientLight, 1, u.ambientLight.data());
    }
    if (all || u.textureFactor != v.uploaded.textureFactor) {
        glProgramUniform4fv(v.program, v.locTextureFactor, 1, u.textureFactor.data());
    }
    if (all || u.alphaReference != v.uploaded.alphaReference) {
        glProgramUniform1f(v.program, v.locAlphaReference, u.alphaReference);
    }
    v.uploaded = u;
}
