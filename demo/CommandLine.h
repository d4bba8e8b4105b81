// The program's command line. Every option is optional; with none the program starts as it always
// did, with the start-up dialog. Options take their value as the next argument or after '='
// (--mode 1280x720, --mode=1280x720); a value may start with '-' (--av-offset -40).
//
// Parsing checks each value and the combination and stops at the first problem, which it names in
// one line. Whether a full-screen mode exists is not known here: the display answers that at
// start-up (StartupDialogState), by the same rule as the dialog's list.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "demo/StartupPreset.h"

struct CommandLine {
    enum class Action { run, help, version, error };

    // Sides of --mode, in pixels; the upper bound is the usual largest OpenGL texture side.
    static constexpr std::int32_t kMinSide = 16;
    static constexpr std::int32_t kMaxSide = 16384;
    // --av-offset in milliseconds, either way.
    static constexpr std::int32_t kMaxAvOffsetMs = 10000;

    Action action = Action::run;
    StartupPreset startup;
    // How much later than the music's clock the picture is shown (negative: earlier).
    std::int32_t avOffsetMs = 0;
    // With Action::error: the problem, naming the option.
    std::string error;
};

// args excludes the program name.
CommandLine parseCommandLine(std::span<const std::string> args);

// The --help text and the --version line.
std::string commandLineUsage();
std::string versionText();
