#include "demo/Main.h"

#include <cstdio>
#include <optional>
#include <system_error>

#include "demo/CommandLine.h"
#include "demo/DemoDriver.h"
#include "platform/os/AssertionReport.h"
#include "platform/os/VideoSystem.h"
#include "platform/sound/AlsaMessages.h"

namespace {

namespace fs = std::filesystem;

std::optional<fs::path> executableDirectory() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error || !executable.has_parent_path()) {
        return std::nullopt;
    }
    return executable.parent_path();
}

bool enterDirectory(const fs::path& directory) {
    std::error_code error;
    fs::current_path(directory, error);
    return !error;
}

bool hasData(const fs::path& home) {
    std::error_code error;
    return fs::is_directory(home / "data", error);
}

// A viewer reads only the program's own lines: what third-party libraries say while SDL searches
// for a display or a sound device is kept off the terminal (see both functions for how).
void quietStart() {
    os::VideoSystem::narrowDriverSearchToSession();
    sound::discardAlsaMessages();
}

DemoDriver::Options driverOptions(const CommandLine& line) {
    DemoDriver::Options options;
    options.startup = line.startup;
    options.avOffsetMs = line.avOffsetMs;
    return options;
}

}  // namespace

bool enterExecutableDirectory() {
    const std::optional<fs::path> directory = executableDirectory();
    return directory && enterDirectory(*directory);
}

fs::path dataHome(const fs::path& executableDir) {
    const fs::path shared = (executableDir / ".." / "share" / "vornasto").lexically_normal();
    if (!hasData(executableDir) && hasData(shared)) {
        return shared;
    }
    return executableDir;
}

bool enterDataHome() {
    const std::optional<fs::path> directory = executableDirectory();
    return directory && enterDirectory(dataHome(*directory));
}

int runDemo(std::span<const std::string> args) {
    const CommandLine line = parseCommandLine(args);
    switch (line.action) {
        case CommandLine::Action::help:
            std::fputs(commandLineUsage().c_str(), stdout);
            return 0;
        case CommandLine::Action::version:
            std::fputs(versionText().c_str(), stdout);
            return 0;
        case CommandLine::Action::error:
            std::fprintf(stderr, "vornasto: %s\n", line.error.c_str());
            return DemoDriver::kBadOptionsExitCode;
        case CommandLine::Action::run:
            break;
    }
    enterDataHome();
    quietStart();
    // Only the program has a user to ask; capture and the tests go on past a failed check.
    os::setAssertionAction(os::AssertionAction::Ask);
    DemoDriver driver(driverOptions(line));
    return driver.run();
}
