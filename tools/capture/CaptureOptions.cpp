#include "tools/capture/CaptureOptions.h"

#include <charconv>
#include <map>
#include <optional>
#include <string_view>

namespace {

using Output = CaptureOptions::Output;

constexpr int kMinSide = 16;
constexpr int kMaxSide = 8192;
const Rational kMaxTime{3600, 1};
const Rational kMaxFps{1000, 1};

std::optional<int> parseSide(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string parseSize(std::string_view text, CaptureOptions& options) {
    const auto x = text.find('x');
    const auto width = x == std::string_view::npos ? std::nullopt : parseSide(text.substr(0, x));
    const auto height = x == std::string_view::npos ? std::nullopt : parseSide(text.substr(x + 1));
    if (!width || !height) {
        return "--size wants WIDTHxHEIGHT, such as 1280x720, not '" + std::string(text) + "'";
    }
    if (*width < kMinSide || *height < kMinSide || *width > kMaxSide || *height > kMaxSide) {
        return "--size " + std::string(text) + " is outside 16x16 to 8192x8192";
    }
    if (*width % 2 != 0 || *height % 2 != 0) {
        return "--size " + std::string(text) + ": both sides must be even (the video is 4:2:0)";
    }
    options.width = *width;
    options.height = *height;
    return {};
}

std::string parseTime(const std::string& name, std::string_view text, Rational& out) {
    const auto value = parseRational(text);
    if (!value || kMaxTime < *value) {
        return name + " wants seconds from 0 to 3600 with at most 6 decimals, not '" +
               std::string(text) + "'";
    }
    out = *value;
    return {};
}

std::string parseFps(std::string_view text, CaptureOptions& options) {
    const auto value = parseRational(text);
    if (!value || value->num == 0 || kMaxFps < *value || value->den > 1'000'000) {
        return "--fps wants a rate above 0 and up to 1000, such as 60, 60000/1001 or 29.97, not '" +
               std::string(text) + "'";
    }
    options.fps = *value;
    return {};
}

std::string parseStills(std::string_view text, CaptureOptions& options) {
    options.stills.clear();
    while (true) {
        const auto comma = text.find(',');
        Rational time;
        if (std::string error = parseTime("--frames", text.substr(0, comma), time);
            !error.empty()) {
            return error;
        }
        options.stills.push_back(time);
        if (comma == std::string_view::npos) {
            return {};
        }
        text.remove_prefix(comma + 1);
    }
}

std::string setOutput(Output output, std::string_view target, CaptureOptions& options) {
    if (options.output != Output::none) {
        return "choose one output: --png, --out, --golden-check or --golden-update";
    }
    if (target.empty()) {
        return "the output path is empty";
    }
    options.output = output;
    options.target = target;
    return {};
}

std::string checkCombination(CaptureOptions& options, bool stillsGiven) {
    if (options.output == Output::none) {
        return "nothing to write: give --png DIR or --out FILE (see --help)";
    }
    if (stillsGiven) {
        if (options.output != Output::pngSequence) {
            return "--frames writes single pictures and goes with --png";
        }
        options.output = Output::pngStills;
    }
    if (!(options.from < options.to)) {
        return "--from must be before --to";
    }
    return {};
}

std::string applyOption(std::string_view name, std::string_view value, CaptureOptions& options,
                        bool& stillsGiven) {
    if (name == "--png") {
        return setOutput(Output::pngSequence, value, options);
    }
    if (name == "--out") {
        return setOutput(Output::video, value, options);
    }
    if (name == "--golden-check") {
        return setOutput(Output::goldenCheck, value, options);
    }
    if (name == "--golden-update") {
        return setOutput(Output::goldenUpdate, value, options);
    }
    if (name == "--frames") {
        stillsGiven = true;
        return parseStills(value, options);
    }
    if (name == "--fps") {
        return parseFps(value, options);
    }
    if (name == "--size") {
        return parseSize(value, options);
    }
    if (name == "--from") {
        return parseTime("--from", value, options.from);
    }
    if (name == "--to") {
        return parseTime("--to", value, options.to);
    }
    if (name == "--ffmpeg") {
        options.ffmpeg = value;
        return value.empty() ? "--ffmpeg wants a command" : "";
    }
    if (name == "--golden-out") {
        options.goldenOut = value;
        return value.empty() ? "--golden-out wants a folder" : "";
    }
    return "unknown option '" + std::string(name) + "' (see --help)";
}

}  // namespace

CaptureOptions defaultCaptureOptions() {
    return CaptureOptions{};
}

ParsedCaptureArguments parseCaptureArguments(std::span<const std::string> args) {
    ParsedCaptureArguments parsed{defaultCaptureOptions(), {}};
    bool stillsGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            parsed.options.help = true;
            return parsed;
        }
        if (i + 1 == args.size()) {
            parsed.error = args[i].starts_with("--") ? args[i] + " wants a value"
                                                     : "unexpected argument '" + args[i] + "'";
            return parsed;
        }
        parsed.error = applyOption(args[i], args[i + 1], parsed.options, stillsGiven);
        if (!parsed.error.empty()) {
            return parsed;
        }
        ++i;
    }
    parsed.error = checkCombination(parsed.options, stillsGiven);
    return parsed;
}

std::string captureUsage() {
    return R"(usage: capture OUTPUT [options]
Renders the show offline, frame by frame, on the music's own time.

Output (one of):
  --png DIR             numbered PNG frames DIR/frame_NNNNNN.png (N counts from the music's start)
  --out FILE            one video (H.264, yuv420p) with the music, through ffmpeg
  --golden-check DIR    render the key times at 320x180, compare with DIR/*.png
  --golden-update DIR   render the key times at 320x180 into DIR

Options:
  --frames T1,T2,...    with --png: single pictures at these times (seconds), DIR/t_SSS.mmm.png
  --fps RATE            frame rate, exact: 60 (default), 60000/1001, 29.97
  --size WxH            back-buffer size, even sides (default 1280x720); the picture is letterboxed
  --from SECONDS        start time (default 0)
  --to SECONDS          end time, not included (default 126)
  --ffmpeg COMMAND      the ffmpeg program (default: ffmpeg on the PATH)
  --golden-out DIR      where a failed check writes actual and difference images (default golden-out)
  --help                this text

Ctrl-C stops after the current frame; the video is finished and playable up to there.
Exit codes: 0 done, 1 failure, 2 bad arguments, 130 interrupted.
)";
}
