// soak: the whole show rendered and read back as capture does it, output discarded, while
// resident memory, late device creations and standard error are watched (see SoakRun.h).
//
// Usage: soak [--size WxH] [--fps RATE] [--to SECONDS] [--laps N] [--warmup SECONDS]
//             [--tolerance-mb MB] [--heap-tolerance-mb MB] [--trace FILE]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "demo/Main.h"
#include "tools/soak/SoakRun.h"

namespace {

int usage() {
    std::fputs(
        "usage: soak [--size WxH] [--fps RATE] [--to SECONDS] [--laps N] [--warmup SECONDS]\n"
        "            [--tolerance-mb MB] [--heap-tolerance-mb MB] [--trace FILE]\n"
        "Renders the show from 0 s to --to (126) at --size (320x180) and --fps (60), --laps (1)\n"
        "times over, as capture does, and fails when a device resource is created after the\n"
        "second frame, or when after --warmup (10) seconds resident memory moves by more than\n"
        "--tolerance-mb (16) or the allocator's memory in use by more than --heap-tolerance-mb\n"
        "(8). --trace writes the samples (seconds, resident kB, in use kB) to a file.\n",
        stderr);
    return 2;
}

bool parseSize(const std::string& text, SoakSettings& settings) {
    return std::sscanf(text.c_str(), "%dx%d", &settings.width, &settings.height) == 2 &&
           settings.width >= 16 && settings.height >= 16 && settings.width <= 8192 &&
           settings.height <= 8192;
}

bool parseTime(const std::string& text, Rational& out) {
    const auto value = parseRational(text);
    if (!value) {
        return false;
    }
    out = *value;
    return true;
}

bool apply(const std::string& name, const std::string& value, SoakSettings& settings) {
    if (name == "--size") {
        return parseSize(value, settings);
    }
    if (name == "--fps") {
        return parseTime(value, settings.fps) && settings.fps.num > 0;
    }
    if (name == "--to") {
        return parseTime(value, settings.to) && settings.to.num > 0 &&
               !(Rational{126, 1} < settings.to);
    }
    if (name == "--warmup") {
        settings.warmupSeconds = std::atof(value.c_str());
        return settings.warmupSeconds >= 0.0;
    }
    if (name == "--tolerance-mb" || name == "--heap-tolerance-mb") {
        const auto kb = static_cast<std::int64_t>(std::atof(value.c_str()) * 1024.0);
        (name == "--tolerance-mb" ? settings.residentToleranceKb : settings.heapToleranceKb) = kb;
        return kb > 0;
    }
    if (name == "--laps") {
        settings.laps = std::atoi(value.c_str());
        return settings.laps >= 1 && settings.laps <= 1000;
    }
    if (name == "--trace") {
        settings.traceFile = std::filesystem::absolute(value).string();
        return !value.empty();
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    SoakSettings settings;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc || !apply(argv[i], argv[i + 1], settings)) {
            return usage();
        }
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    enterExecutableDirectory();
    return runSoak(settings, stdout);
}
