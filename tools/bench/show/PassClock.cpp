#include "tools/bench/show/PassClock.h"

#include <algorithm>
#include <vector>

#include <epoxy/gl.h>

namespace {

// The quoted name in a reported call such as `Effect.SetTechnique("Tube") -> OK`.
std::string quotedName(const std::string& text) {
    const auto open = text.find('"');
    const auto close = open == std::string::npos ? open : text.find('"', open + 1);
    return close == std::string::npos ? std::string() : text.substr(open + 1, close - open - 1);
}

// The argument of a reported call such as `Effect.BeginPass(1) -> OK`.
std::string argument(const std::string& text) {
    const auto open = text.find('(');
    const auto close = open == std::string::npos ? open : text.find(')', open);
    return close == std::string::npos ? std::string() : text.substr(open + 1, close - open - 1);
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

}  // namespace

void PassClock::noteEffectCall(const std::string& text) {
    if (startsWith(text, "Effect.SetTechnique(")) {
        technique_ = quotedName(text);
    } else if (startsWith(text, "Effect.BeginPass(")) {
        current_ = technique_ + "/" + argument(text);
    } else if (startsWith(text, "Effect.EndPass(")) {
        current_.clear();
    }
}

void PassClock::finish() {
    glFinish();
}

std::string PassClock::label(const char* kind) const {
    if (std::string(kind) == "draw") {
        return current_.empty() ? "fixed-function-draw" : current_;
    }
    return kind;
}

void PassClock::add(const std::string& name, std::chrono::steady_clock::duration spent) {
    Total& total = totals_[name];
    total.ns += std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count();
    ++total.calls;
}

std::map<std::string, double> PassClock::milliseconds() const {
    std::map<std::string, double> result;
    for (const auto& [name, total] : totals_) {
        result[name] = static_cast<double>(total.ns) / 1e6;
    }
    return result;
}

void PassClock::print(std::FILE* out) const {
    std::vector<std::pair<std::string, Total>> rows(totals_.begin(), totals_.end());
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.second.ns > b.second.ns; });
    std::int64_t all = 0;
    for (const auto& row : rows) {
        all += row.second.ns;
    }
    const double frames = static_cast<double>(std::max<std::int64_t>(frames_, 1));
    for (const auto& [name, total] : rows) {
        std::fprintf(
            out, "pass.%s %.3f|%.2f|%.1f\n", name.c_str(),
            static_cast<double>(total.ns) / 1e6 / frames, static_cast<double>(total.calls) / frames,
            all > 0 ? 100.0 * static_cast<double>(total.ns) / static_cast<double>(all) : 0.0);
    }
}
