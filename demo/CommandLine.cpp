#include "demo/CommandLine.h"

#include <charconv>
#include <optional>
#include <set>
#include <string_view>

#include "demo/PixelSize.h"

#ifndef VORNASTO_VERSION
#define VORNASTO_VERSION "unknown"
#endif

namespace {

using Action = CommandLine::Action;

struct Argument {
    std::string_view name;
    std::optional<std::string_view> value;
};

// "--name=value" carries its value; "--name" may take the next argument.
Argument split(std::string_view text) {
    const auto equals = text.find('=');
    if (!text.starts_with("--") || equals == std::string_view::npos) {
        return {text, std::nullopt};
    }
    return {text.substr(0, equals), text.substr(equals + 1)};
}

// A whole decimal number, nothing before or after it.
std::optional<std::int32_t> parseInteger(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::string parseMode(std::string_view text, CommandLine& line) {
    const auto size = parsePixelSize(text);
    if (!size) {
        return "--mode wants WIDTHxHEIGHT, such as 1280x720, not '" + std::string(text) + "'";
    }
    constexpr auto kMin = CommandLine::kMinSide;
    constexpr auto kMax = CommandLine::kMaxSide;
    if (size->width < kMin || size->height < kMin || size->width > kMax || size->height > kMax) {
        return "--mode " + std::string(text) + " is outside " + std::to_string(kMin) + "x" +
               std::to_string(kMin) + " to " + std::to_string(kMax) + "x" + std::to_string(kMax);
    }
    line.startup.mode = StartupPreset::Size{size->width, size->height};
    return {};
}

std::string parseAvOffset(std::string_view text, CommandLine& line) {
    const auto value = parseInteger(text);
    constexpr auto kMax = CommandLine::kMaxAvOffsetMs;
    if (!value || *value < -kMax || *value > kMax) {
        return "--av-offset wants whole milliseconds from -" + std::to_string(kMax) + " to " +
               std::to_string(kMax) + ", not '" + std::string(text) + "'";
    }
    line.avOffsetMs = *value;
    return {};
}

std::string setWindowing(bool fullscreen, CommandLine& line) {
    if (line.startup.fullscreen && *line.startup.fullscreen != fullscreen) {
        return "--windowed and --fullscreen exclude each other";
    }
    line.startup.fullscreen = fullscreen;
    return {};
}

bool takesValue(std::string_view name) {
    return name == "--mode" || name == "--av-offset";
}

std::string applyFlag(std::string_view name, CommandLine& line) {
    if (name == "--help" || name == "-h") {
        line.action = Action::help;
    } else if (name == "--version") {
        line.action = Action::version;
    } else if (name == "--windowed") {
        return setWindowing(false, line);
    } else if (name == "--fullscreen") {
        return setWindowing(true, line);
    } else if (name == "--no-dialog") {
        line.startup.ask = false;
    } else if (name.starts_with("-")) {
        return "unknown option '" + std::string(name) + "' (see --help)";
    } else {
        return "unexpected argument '" + std::string(name) + "' (see --help)";
    }
    return {};
}

std::string applyValue(std::string_view name, std::string_view value, CommandLine& line) {
    return name == "--mode" ? parseMode(value, line) : parseAvOffset(value, line);
}

// Parses args[i] (and its value, advancing i past it); returns the problem, if any.
std::string applyArgument(std::span<const std::string> args, std::size_t& i,
                          std::set<std::string_view>& seen, CommandLine& line) {
    const Argument argument = split(args[i]);
    if (!seen.insert(argument.name).second && argument.name.starts_with("--")) {
        return std::string(argument.name) + " is given twice";
    }
    if (!takesValue(argument.name)) {
        if (argument.value) {
            return std::string(argument.name) + " takes no value";
        }
        return applyFlag(argument.name, line);
    }
    if (argument.value) {
        return applyValue(argument.name, *argument.value, line);
    }
    if (i + 1 == args.size()) {
        return std::string(argument.name) + " wants a value (see --help)";
    }
    return applyValue(argument.name, args[++i], line);
}

}  // namespace

CommandLine parseCommandLine(std::span<const std::string> args) {
    CommandLine line;
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string error = applyArgument(args, i, seen, line);
        if (!error.empty()) {
            line.action = Action::error;
            line.error = std::move(error);
            return line;
        }
        // Asked for help or the version, the user wants nothing else; the rest goes unread.
        if (line.action != Action::run) {
            return line;
        }
    }
    return line;
}

std::string commandLineUsage() {
    return R"(usage: vornasto [options]
Plays the show "Vornasto 2010 by Tirk": two minutes of real-time 3D to its own music.
Without options a small window asks for the display mode and full screen first.

  --fullscreen      full screen (what the start-up window suggests)
  --windowed        in a window
  --mode WxH        the display mode for full screen, one the display lists (such as
                    1920x1080); the window's size otherwise
  --no-dialog       start at once, with the options given and otherwise what the start-up
                    window suggests: full screen in the display's first listed mode
  --av-offset MS    show the picture MS milliseconds later than the music's clock (negative:
                    earlier), for sound or a display with a delay of its own; wireless
                    headphones want about 150
  --help            this text
  --version         the version

Escape ends the show early.
Exit codes: 0 played or cancelled, 1 could not play, 2 bad options.
)";
}

std::string versionText() {
    return "vornasto " VORNASTO_VERSION "\n";
}
