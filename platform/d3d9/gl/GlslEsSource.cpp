#include "platform/d3d9/gl/GlslEsSource.h"

#include <regex>

namespace {

const std::regex& samplerBinding() {
    static const std::regex pattern(
        R"(layout\s*\(\s*binding\s*=\s*(\d+)\s*\)\s*uniform\s+sampler2D\s+(\w+))");
    return pattern;
}

}  // namespace

std::string GlslEsSource::translate(const std::string& desktop, bool vertexStage) {
    std::string text = desktop;
    const std::string version = "#version 450 core";
    const std::size_t at = text.find(version);
    if (at != std::string::npos) {
        text.replace(at, version.size(),
                     "#version 300 es\nprecision highp float;\nprecision highp int;\n"
                     "precision highp sampler2D;");
    }
    text = std::regex_replace(text, std::regex(R"(layout\s*\(\s*binding\s*=\s*\d+\s*\)\s*)"), "");
    if (vertexStage) {
        text =
            std::regex_replace(text, std::regex(R"(\bvoid\s+main\s*\(\s*\))"), "void kelvoMain()");
        text +=
            "\nvoid main() {\n    kelvoMain();\n    gl_Position.y = -gl_Position.y;\n"
            "    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;\n}\n";
    }
    return text;
}

std::vector<std::pair<std::string, int>> GlslEsSource::samplerUnits(const std::string& desktop) {
    std::vector<std::pair<std::string, int>> units;
    for (std::sregex_iterator it(desktop.begin(), desktop.end(), samplerBinding()), end; it != end;
         ++it) {
        units.emplace_back((*it)[2].str(), std::stoi((*it)[1].str()));
    }
    return units;
}
