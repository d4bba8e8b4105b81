// kelvo_fxc in.fx out.fxo: checks an effect file, compiles its GLSL with glslang and writes the
// compiled effect. The compiled effect is the checked source itself, unchanged so that line
// numbers in later messages still point into the .fx file, followed by a comment line naming the
// source file, which the run-time effect uses in its messages.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "platform/d3dx9/EffectParser.h"
#include "tools/fxc/GlslChecker.h"

namespace {

bool readFile(const std::filesystem::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeFile(const std::filesystem::path& path, const std::string& text) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const auto temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    return !error;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kelvo_fxc in.fx out.fxo\n";
        return 2;
    }
    const std::filesystem::path input = argv[1];
    const std::filesystem::path output = argv[2];
    std::error_code ignored;
    std::filesystem::remove(output, ignored);

    std::string text;
    if (!readFile(input, text)) {
        std::cerr << input.string() << ": error: cannot read the file\n";
        return 1;
    }
    const auto parsed = fx::EffectParser::parse(text, input.string());
    if (!parsed.effect) {
        std::cerr << parsed.error << "\n";
        return 1;
    }
    const auto problems = GlslChecker().check(*parsed.effect);
    for (const auto& problem : problems) {
        std::cerr << problem << "\n";
    }
    if (!problems.empty()) {
        return 1;
    }
    if (!text.empty() && text.back() != '\n') {
        text += '\n';
    }
    text += "# compiled from " + input.filename().string() + "\n";
    if (!writeFile(output, text)) {
        std::cerr << output.string() << ": error: cannot write the compiled effect\n";
        return 1;
    }
    return 0;
}
