// The effect file reader: what a sound file yields, and that every malformed input, down to
// arbitrary bytes, gives one message naming file and line instead of a description or a crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "platform/d3dx9/EffectParser.h"
#include "platform/d3dx9/GlslGenerator.h"

namespace {

std::string readTestEffect(const char* name) {
    const auto path = std::filesystem::path(__FILE__).parent_path() / ".." / "effects" / name;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char* kPass = R"(
[[technique]]
name = "T"
[[technique.pass]]
vertex = "void main() { gl_Position = vec4(0.0); }"
fragment = "out vec4 c; void main() { c = vec4(1.0); }"
)";

std::string parseError(const std::string& text) {
    const auto result = fx::EffectParser::parse(text, "case.fx");
    return result.effect ? std::string("(parsed)") : result.error;
}

TEST(EffectParserTest, ReadsEveryKindOfDeclaration) {
    const std::string text = readTestEffect("sound.fx");
    ASSERT_FALSE(text.empty());
    const auto result = fx::EffectParser::parse(text, "sound.fx");
    ASSERT_TRUE(result.effect) << result.error;
    const auto& effect = *result.effect;

    ASSERT_EQ(effect.structs.size(), 2u);
    ASSERT_EQ(effect.techniques.size(), 2u);
    EXPECT_EQ(effect.techniques[0].name, "Plain");  // file order, not alphabetical
    EXPECT_EQ(effect.techniques[1].name, "Tube");
    ASSERT_EQ(effect.techniques[0].passes.size(), 2u);

    const auto& first = effect.techniques[0].passes[0];
    EXPECT_EQ(first.vertex.line, 47);  // the line after vertex = '''
    EXPECT_EQ(first.renderStates.size(), 2u);
    for (const auto& [state, value] : first.renderStates) {
        if (state == D3DRS_CULLMODE) {
            EXPECT_EQ(value, DWORD{D3DCULL_NONE});
        } else {
            EXPECT_EQ(state, D3DRS_ZWRITEENABLE);
            EXPECT_EQ(value, DWORD{FALSE});
        }
    }
    // Each pass uses only the samplers its code names.
    ASSERT_EQ(effect.samplers.size(), 2u);
    const auto unitOf = [&](const std::string& name) {
        for (const auto& sampler : effect.samplers) {
            if (sampler.name == name) {
                return sampler.unit;
            }
        }
        return 99u;
    };
    EXPECT_EQ(first.samplers, std::vector<unsigned>{unitOf("texSampler")});
    EXPECT_EQ(effect.techniques[0].passes[1].samplers,
              std::vector<unsigned>{unitOf("maskSampler")});
    EXPECT_TRUE(effect.techniques[1].passes[0].samplers.empty());
}

TEST(EffectParserTest, GeneratedUniformsCarryTheParameterNames) {
    const auto result = fx::EffectParser::parse(readTestEffect("sound.fx"), "sound.fx");
    ASSERT_TRUE(result.effect) << result.error;
    const auto& pass = result.effect->techniques[0].passes[0];
    const std::string glsl =
        fx::GlslGenerator::stage(*result.effect, pass, fx::ShaderStage::Fragment);
    EXPECT_EQ(glsl.rfind("#version 450 core\n", 0), 0u);
    EXPECT_NE(glsl.find("uniform PointLight pointLight[3];"), std::string::npos);
    EXPECT_NE(glsl.find("uniform Material material;"), std::string::npos);
    EXPECT_NE(glsl.find("uniform mat4 matrixPalette[4];"), std::string::npos);
    EXPECT_NE(glsl.find("uniform sampler2D texSampler;"), std::string::npos);
    EXPECT_EQ(glsl.find("uniform sampler2D tex;"), std::string::npos);  // textures are not uniforms
    EXPECT_NE(glsl.find("#line " + std::to_string(pass.fragment.line) + " 1\n"), std::string::npos);
}

TEST(EffectParserTest, MalformedFilesNameTheLineAndTheProblem) {
    struct Case {
        std::string text;
        std::string expected;  // the whole message must contain this
    };
    const std::string p = kPass;
    const Case cases[] = {
        {"[parameters]\nx = \"float5\"\n" + p, "case.fx:2: unknown type 'float5'"},
        {"[parameters]\nx = 3\n" + p, "case.fx:2: 'type' must be a string"},
        {"[parameters]\nx = \"float\"\nx = \"int\"\n" + p, "case.fx:3:"},
        {"[parameters]\nm = \"float4x4[100000]\"\n" + p, "case.fx:2: array size 100000 is outside"},
        {"[parameters]\nm = \"float[0]\"\n" + p, "case.fx:2:"},
        {"[parameters]\nm = \"float[01]\"\n" + p, "malformed array type"},
        {"[parameters]\nm = \"float[3\"\n" + p, "malformed array type"},
        {"[parameters]\na = \"float4x4[1024]\"\nb = \"float4x4[1024]\"\nc = \"float4x4[1024]\"\n"
         "d = \"float4x4[1024]\"\ne = \"float4x4[1024]\"\n" +
             p,
         "more than 65536 values"},
        {"[parameters]\ngl_Position = \"float\"\n" + p, "case.fx:2: parameter name 'gl_Position'"},
        {"[parameters]\nx = { type = \"float2\", default = [1, 2, 3] }\n" + p, "too many default"},
        {"[parameters]\nx = { type = \"float\", default = \"one\" }\n" + p, "must be a number"},
        {"[structs.A]\nb = \"B\"\n[structs.B]\nc = \"float\"\n" + p, "cannot be structs"},
        {"[structs.A]\nt = \"texture\"\n" + p, "cannot be textures"},
        {"[parameters]\nt = \"texture\"\n[samplers.t]\ntexture = \"t\"\n" + p,
         "has the name of a parameter"},
        {"[parameters]\nf = \"float\"\n[samplers.s]\ntexture = \"f\"\n" + p,
         "case.fx:4: 'f' is not a texture parameter"},
        {"[parameters]\nt = \"texture\"\n[samplers.s]\ntexture = \"t\"\nMINFILTER = \"CUBIC\"\n" +
             p,
         "case.fx:5: unknown value 'CUBIC' for MINFILTER"},
        {"[parameters]\nt = \"texture\"\n[samplers.s]\nMINFILTER = \"POINT\"\n" + p,
         "names no texture"},
        {p + "states = { ZWRITE = false }\n", "unknown render state 'ZWRITE'"},
        {p + "states = { CULLMODE = \"BACK\" }\n", "unknown value 'BACK' for CULLMODE"},
        {p + "states = { ZWRITEENABLE = \"yes\" }\n", "expected true or false for ZWRITEENABLE"},
        {p + "states = { ALPHAREF = -1 }\n", "expected an integer"},
        {p + p, "technique 'T' is declared twice"},
        {p + "shader = 1\n", "unknown key 'shader'"},
        {"[[technique]]\nname = \"T\"\n", "has no passes"},
        {"[[technique]]\nname = \"T\"\n[[technique.pass]]\nvertex = \"void main() {}\"\n",
         "needs both a vertex and a fragment stage"},
        {"[parameters]\nx = \"float\"\n", "declares no technique"},
        {"colour = 1\n" + p, "case.fx:1: unknown key 'colour' in top level"},
        {"[[technique]]\nname = \"T T\"\n[[technique.pass]]\nvertex = \"\"\nfragment = \"\"\n",
         "technique name 'T T'"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(parseError(c.text).find(c.expected), std::string::npos)
            << "input:\n"
            << c.text << "\nmessage: " << parseError(c.text);
    }
}

// Truncations, flipped bytes and random bytes: each gives a description or a message, never a
// crash, and every message starts with the file name.
TEST(EffectParserTest, SurvivesDamagedAndArbitraryBytes) {
    const std::string sound = readTestEffect("sound.fx");
    ASSERT_FALSE(sound.empty());
    auto check = [](const std::string& text) {
        const auto result = fx::EffectParser::parse(text, "damaged.fx");
        if (!result.effect) {
            ASSERT_EQ(result.error.rfind("damaged.fx:", 0), 0u) << result.error;
        }
    };
    for (std::size_t length = 0; length < sound.size(); length += 7) {
        check(sound.substr(0, length));
    }
    std::mt19937 random(2010);
    for (int i = 0; i < 300; ++i) {
        std::string damaged = sound;
        damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
        check(damaged);
    }
    for (int i = 0; i < 100; ++i) {
        std::string bytes(random() % 512, '\0');
        for (auto& byte : bytes) {
            byte = static_cast<char>(random() % 256);
        }
        check(bytes);
    }
    check(std::string("[parameters]\nx = \"fl\0at\"\n", 24));
    check(std::string(300, '['));
    check("x = " + std::string(1000, '[') + std::string(1000, ']'));
    EXPECT_FALSE(fx::EffectParser::parse("\xff\xfe[[technique]]", "bad.fx").effect);
}

}  // namespace
