// capture: renders the show offline to PNG frames or a video file. See captureUsage().
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "demo/Main.h"
#include "tools/capture/CaptureCommand.h"
#include "tools/capture/InterruptFlag.h"

namespace {

// The program works from its own folder (data/ is there); paths the user gave stay where meant.
void makeAbsolute(std::string& path) {
    if (!path.empty()) {
        path = std::filesystem::absolute(path).lexically_normal().string();
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    ParsedCaptureArguments parsed = parseCaptureArguments(args);
    if (parsed.options.help) {
        std::fputs(captureUsage().c_str(), stdout);
        return kCaptureOk;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "capture: %s\n", parsed.error.c_str());
        return kCaptureBadArguments;
    }
    CaptureOptions& options = parsed.options;
    makeAbsolute(options.target);
    makeAbsolute(options.goldenOut);
    if (options.ffmpeg.find('/') != std::string::npos) {
        makeAbsolute(options.ffmpeg);
    }
    // A dead ffmpeg must show up as a failed write, not end capture silently.
    std::signal(SIGPIPE, SIG_IGN);
    interrupt::install();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    enterExecutableDirectory();
    return runCapture(options);
}
