#include "tools/fxc/GlslChecker.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>

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

std::unique_ptr<glslang::TShader> compile(const std::string& source, EShLanguage language,
                                          const fx::EffectDescription& effect,
                                          const std::string& where,
                                          std::vector<std::string>& problems) {
    auto shader = std::make_unique<glslang::TShader>(language);
    const char* text = source.c_str();
    shader->setStrings(&text, 1);
    if (!shader->parse(GetDefaultResources(), 450, ECoreProfile, false, false, EShMsgDefault)) {
        collect(problems, shader->getInfoLog(), effect, where);
        return nullptr;
    }
    return shader;
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
    for (const auto& technique : effect.techniques) {
        for (std::size_t i = 0; i < technique.passes.size(); ++i) {
            const auto& pass = technique.passes[i];
            const std::string where =
                "pass " + std::to_string(i) + " of technique '" + technique.name + "'";
            auto vertex = compile(fx::GlslGenerator::stage(effect, pass, fx::ShaderStage::Vertex),
                                  EShLangVertex, effect, "vertex stage, " + where, problems);
            auto fragment =
                compile(fx::GlslGenerator::stage(effect, pass, fx::ShaderStage::Fragment),
                        EShLangFragment, effect, "fragment stage, " + where, problems);
            if (!vertex || !fragment) {
                continue;
            }
            glslang::TProgram program;
            program.addShader(vertex.get());
            program.addShader(fragment.get());
            if (!program.link(EShMsgDefault)) {
                collect(problems, program.getInfoLog(), effect, "linking " + where);
            }
        }
    }
    return problems;
}
