#include "tools/fxc/GlslChecker.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>

#include "platform/d3d9/gl/GlslEsSource.h"

#include <memory>
#include <sstream>

#include "platform/d3dx9/GlslGenerator.h"

namespace {

// Rewrites glslang's "ERROR: 1:17: message" lines into "file.fx:17: error: message (where)".
void collect(std::vector<std::string>& problems, const std::string& log,
             const fx::EffectDescription& effect, const std::string& where) {
    std::istringstream lines(log);
    std::string line;
    const std::string fileMark = std::to_string(fx::GlslGenerator::kEffectFileSource) + ":";
    while (std::getline(lines, line)) {
        const bool isError = line.rfind("ERROR: ", 0) == 0;
        const bool isSummary = line.find("compilation errors") != std::string::npos ||
                               line.find("compilation terminated") != std::string::npos;
        if (!isError || isSummary) {
            continue;
        }
        std::string text = line.substr(7);
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
        }
        if (text.rfind(fileMark, 0) == 0) {
            const auto colon = text.find(':', fileMark.size());
            const std::string lineNumber = text.substr(fileMark.size(), colon - fileMark.size());
            text = text.substr(colon == std::string::npos ? text.size() : colon + 1);
            problems.push_back(effect.sourceName + ":" + lineNumber + ": error:" + text + " (" +
                               where + ")");
        } else {
            problems.push_back(effect.sourceName + ": error: " + text + " (" + where + ")");
        }
    }
}

// The two dialects a stage must compile in: the desktop's, and the browser's (WebGL2) as the
// device's ES profile rewrites it.
struct Dialect {
    int version;
    EProfile profile;
    const char* name;
};
constexpr Dialect kDesktop{450, ECoreProfile, ""};
constexpr Dialect kEs{300, EEsProfile, "GLSL ES 3.00 of the "};

std::string sourceIn(const Dialect& dialect, const std::string& desktop, EShLanguage language) {
    return dialect.profile == EEsProfile
               ? GlslEsSource::translate(desktop, language == EShLangVertex)
               : desktop;
}

std::unique_ptr<glslang::TShader> compile(const std::string& desktop, EShLanguage language,
                                          const Dialect& dialect,
                                          const fx::EffectDescription& effect,
                                          const std::string& where,
                                          std::vector<std::string>& problems) {
    const std::string source = sourceIn(dialect, desktop, language);
    auto shader = std::make_unique<glslang::TShader>(language);
    const char* text = source.c_str();
    shader->setStrings(&text, 1);
    if (!shader->parse(GetDefaultResources(), dialect.version, dialect.profile, false, false,
                       EShMsgDefault)) {
        collect(problems, shader->getInfoLog(), effect, dialect.name + where);
        return nullptr;
    }
    return shader;
}

void checkPass(const fx::EffectDescription& effect, const fx::PassDesc& pass,
               const std::string& where, const Dialect& dialect,
               std::vector<std::string>& problems) {
    auto vertex = compile(fx::GlslGenerator::stage(effect, pass, fx::ShaderStage::Vertex),
                          EShLangVertex, dialect, effect, "vertex stage, " + where, problems);
    auto fragment = compile(fx::GlslGenerator::stage(effect, pass, fx::ShaderStage::Fragment),
                            EShLangFragment, dialect, effect, "fragment stage, " + where, problems);
    if (!vertex || !fragment) {
        return;
    }
    glslang::TProgram program;
    program.addShader(vertex.get());
    program.addShader(fragment.get());
    if (!program.link(EShMsgDefault)) {
        collect(problems, program.getInfoLog(), effect, dialect.name + ("linking " + where));
    }
}

}  // namespace

GlslChecker::GlslChecker() {
    glslang::InitializeProcess();
}

GlslChecker::~GlslChecker() {
    glslang::FinalizeProcess();
}

std::vector<std::string> GlslChecker::check(const fx::EffectDescription& effect) const {
    std::vector<std::string> problems;
    for (const Dialect& dialect : {kDesktop, kEs}) {
        for (const auto& technique : effect.techniques) {
            for (std::size_t i = 0; i < technique.passes.size(); ++i) {
                checkPass(effect, technique.passes[i],
                          "pass " + std::to_string(i) + " of technique '" + technique.name + "'",
                          dialect, problems);
            }
        }
        if (!problems.empty()) {
            break;  // the desktop's problems first: the ES text is made from the same source
        }
    }
    return problems;
}
