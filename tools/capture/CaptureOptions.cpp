#include "tools/capture/CaptureOptions.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

#include "demo/PixelSize.h"

namespace {

using Output = CaptureOptions::Output;

constexpr int kMinSide = 16;
constexpr int kMaxSide = 8192;
constexpr int kMaxSupersample = 4;
constexpr int kMaxSubFrames = 64;
const Rational kMaxTime{3600, 1};
const Rational kMaxFps{1000, 1};
const Rational kFullCircle{360, 1};

// What the command line said beyond the values themselves.
struct Given {
    bool stills = false;
    bool shutter = false;
    // The first of --codec, --crf, --pix-fmt and --audio given.
    std::string videoOption;
};

std::optional<int> parseInteger(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string parseCount(std::string_view name, std::string_view text, int most, int& out) {
    const auto value = parseInteger(text);
    if (!value || *value < 1 || *value > most) {
        return std::string(name) + " wants a whole number from 1 to " + std::to_string(most) +
               ", not '" + std::string(text) + "'";
    }
    out = *value;
    return {};
}

std::string parseSize(std::string_view text, CaptureOptions& options) {
    const auto size = parsePixelSize(text);
    if (!size) {
        return "--size wants WIDTHxHEIGHT, such as 1280x720, not '" + std::string(text) + "'";
    }
    const int width = size->width;
    const int height = size->height;
    if (width < kMinSide || height < kMinSide || width > kMaxSide || height > kMaxSide) {
        return "--size " + std::string(text) + " is outside 16x16 to 8192x8192";
    }
    if (width % 2 != 0 || height % 2 != 0) {
        return "--size " + std::string(text) + ": both sides must be even (the video is 4:2:0)";
    }
    options.width = width;
    options.height = height;
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

std::string parseShutter(std::string_view text, CaptureOptions& options) {
    const auto value = parseRational(text);
    if (!value || value->num == 0 || kFullCircle < *value || 10 % value->den != 0) {
        return "--shutter wants degrees above 0 and up to 360 with at most one decimal, not '" +
               std::string(text) + "'";
    }
    options.shutter = *value;
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

template <typename T>
std::string parseName(std::string_view name, std::string_view text, std::optional<T> value,
                      const char* choices, T& out) {
    if (!value) {
        return std::string(name) + " wants one of " + choices + ", not '" + std::string(text) + "'";
    }
    out = *value;
    return {};
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

// Sub-frames closer than the show's clock can tell apart would render the same picture.
std::string checkSubFrameSpacing(const CaptureOptions& o) {
    const Rational spacingInMs =
        Rational::reduced(1000 * o.shutter.num * o.fps.den,
                          360 * std::int64_t{o.subFrames} * o.shutter.den * o.fps.num);
    if (!(spacingInMs < Rational{1, 1})) {
        return {};
    }
    char text[200];
    std::snprintf(text, sizeof text,
                  "--motion-blur %d puts sub-frames %.2f ms apart, but the show's clock counts "
                  "whole milliseconds: use fewer sub-frames, a wider --shutter or a lower --fps",
                  o.subFrames, spacingInMs.toDouble());
    return text;
}

std::string checkVideoFormat(const CaptureOptions& options, const Given& given) {
    if (options.output != Output::video) {
        return given.videoOption.empty() ? "" : given.videoOption + " goes with --out";
    }
    const auto container = VideoFormat::containerOf(options.target);
    if (!container) {
        return "cannot tell what kind of video " + options.target +
               " is: name it .mp4, .mkv or .mov";
    }
    return options.format.problemWith(*container);
}

std::string checkFrameOptions(const CaptureOptions& options, const Given& given) {
    const bool golden =
        options.output == Output::goldenCheck || options.output == Output::goldenUpdate;
    if (golden && (options.supersample != 1 || options.subFrames != 1)) {
        return "the golden frames are rendered plainly: --supersample and --motion-blur go with "
               "--png or --out";
    }
    if (options.output == Output::pngStills && options.subFrames != 1) {
        return "--motion-blur goes with frame sequences; for one blurred picture give --png with "
               "--from and --to one frame apart";
    }
    if (given.shutter && options.subFrames == 1) {
        return "--shutter sets the motion blur: give --motion-blur 2 or more with it";
    }
    return checkSubFrameSpacing(options);
}

std::string checkCombination(CaptureOptions& options, const Given& given) {
    if (options.output == Output::none) {
        return "nothing to write: give --png DIR or --out FILE (see --help)";
    }
    if (given.stills) {
        if (options.output != Output::pngSequence) {
            return "--frames writes single pictures and goes with --png";
        }
        options.output = Output::pngStills;
    }
    if (!(options.from < options.to)) {
        return "--from must be before --to";
    }
    if (std::string problem = checkFrameOptions(options, given); !problem.empty()) {
        return problem;
    }
    return checkVideoFormat(options, given);
}

// nullopt when `name` is not one of these options.
std::optional<std::string> applyOutputOption(std::string_view name, std::string_view value,
                                             CaptureOptions& options, Given& given) {
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
        given.stills = true;
        return parseStills(value, options);
    }
    if (name == "--ffmpeg") {
        options.ffmpeg = value;
        return value.empty() ? "--ffmpeg wants a command" : "";
    }
    if (name == "--golden-out") {
        options.goldenOut = value;
        return value.empty() ? "--golden-out wants a folder" : "";
    }
    return std::nullopt;
}

std::optional<std::string> applyFrameOption(std::string_view name, std::string_view value,
                                            CaptureOptions& options, Given& given) {
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
    if (name == "--supersample") {
        return parseCount(name, value, kMaxSupersample, options.supersample);
    }
    if (name == "--motion-blur") {
        return parseCount(name, value, kMaxSubFrames, options.subFrames);
    }
    if (name == "--shutter") {
        given.shutter = true;
        return parseShutter(value, options);
    }
    return std::nullopt;
}

std::optional<std::string> applyVideoOption(std::string_view name, std::string_view value,
                                            VideoFormat& format) {
    if (name == "--codec") {
        return parseName(name, value, VideoFormat::codecNamed(value), "h264, h265, ffv1, prores",
                         format.codec);
    }
    if (name == "--pix-fmt") {
        return parseName(name, value, VideoFormat::pixelFormatNamed(value),
                         "yuv420p, yuv444p, yuv420p10le, yuv422p10le, yuv444p10le, rgb",
                         format.pixelFormat.emplace());
    }
    if (name == "--audio") {
        return parseName(name, value, VideoFormat::audioNamed(value), "aac, flac, pcm",
                         format.audio.emplace());
    }
    if (name == "--crf") {
        const auto crf = parseInteger(value);
        format.crf = crf.value_or(-1);
        return crf && *crf >= 0 && *crf <= VideoFormat::kMaxCrf
                   ? ""
                   : "--crf wants a quality from 0 (best) to 51, not '" + std::string(value) + "'";
    }
    return std::nullopt;
}

std::string applyOption(std::string_view name, std::string_view value, CaptureOptions& options,
                        Given& given) {
    if (auto result = applyOutputOption(name, value, options, given)) {
        return *result;
    }
    if (auto result = applyFrameOption(name, value, options, given)) {
        return *result;
    }
    if (auto result = applyVideoOption(name, value, options.format)) {
        if (given.videoOption.empty()) {
            given.videoOption = name;
        }
        return *result;
    }
    return "unknown option '" + std::string(name) + "' (see --help)";
}

}  // namespace

CaptureOptions defaultCaptureOptions() {
    return CaptureOptions{};
}

ParsedCaptureArguments parseCaptureArguments(std::span<const std::string> args) {
    ParsedCaptureArguments parsed{defaultCaptureOptions(), {}};
    Given given;
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
        parsed.error = applyOption(args[i], args[i + 1], parsed.options, given);
        if (!parsed.error.empty()) {
            return parsed;
        }
        ++i;
    }
    parsed.error = checkCombination(parsed.options, given);
    return parsed;
}

std::string captureUsage() {
    return R"(usage: capture OUTPUT [options]
Renders the show offline, frame by frame, on the music's own time.

Output (one of):
  --png DIR             numbered PNG frames DIR/frame_NNNNNN.png (N counts from the music's start)
  --out FILE            one video with the music, through ffmpeg (.mp4, .mkv or .mov)
  --golden-check DIR    render the key times at 320x180, compare with DIR/*.png
  --golden-update DIR   render the key times at 320x180 into DIR

Options:
  --frames T1,T2,...    with --png: single pictures at these times (seconds), DIR/t_SSS.mmm.png
  --fps RATE            frame rate, exact: 60 (default), 60000/1001, 29.97
  --size WxH            picture size, even sides (default 1280x720); the picture is letterboxed
  --from SECONDS        start time (default 0)
  --to SECONDS          end time, not included (default 126)
  --supersample N       render N x N samples per pixel (1 to 4, default 1), box-filtered in
                        linear light
  --motion-blur S       average S renders per frame (1 to 64, default 1) over the shutter
  --shutter DEGREES     how long the shutter is open, 360 = a whole frame (default 180)
  --ffmpeg COMMAND      the ffmpeg program (default: ffmpeg on the PATH)
  --golden-out DIR      where a failed check writes actual and difference images (default golden-out)
  --help                this text

Video (with --out):
  --codec C             h264 (default), h265, ffv1 (lossless), prores (10-bit master)
  --crf Q               quality of h264 and h265, 0 (best) to 51 (default 18 and 20)
  --pix-fmt F           yuv420p (default), yuv444p, yuv420p10le, yuv422p10le, yuv444p10le, or rgb
                        (ffv1 only; its default); prores takes yuv422p10le or yuv444p10le (default)
  --audio A             aac (default for h264 and h265), flac (default for ffv1 and prores in
                        .mkv), pcm; .mp4 takes aac only, .mov no flac

Ctrl-C stops after the current frame; the video is finished and playable up to there.
Exit codes: 0 done, 1 failure, 2 bad arguments, 130 interrupted.
)";
}
