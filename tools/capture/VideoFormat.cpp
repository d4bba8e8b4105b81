#include "tools/capture/VideoFormat.h"

#include <array>
#include <cctype>
#include <utility>

namespace {

using Codec = VideoFormat::Codec;
using PixelFormat = VideoFormat::PixelFormat;
using Audio = VideoFormat::Audio;
using Container = VideoFormat::Container;

constexpr std::array<std::pair<std::string_view, Codec>, 4> kCodecs{{{"h264", Codec::h264},
                                                                     {"h265", Codec::h265},
                                                                     {"ffv1", Codec::ffv1},
                                                                     {"prores", Codec::prores}}};
constexpr std::array<std::pair<std::string_view, PixelFormat>, 6> kPixelFormats{
    {{"yuv420p", PixelFormat::yuv420p},
     {"yuv444p", PixelFormat::yuv444p},
     {"yuv420p10le", PixelFormat::yuv420p10le},
     {"yuv422p10le", PixelFormat::yuv422p10le},
     {"yuv444p10le", PixelFormat::yuv444p10le},
     {"rgb", PixelFormat::rgb}}};
constexpr std::array<std::pair<std::string_view, Audio>, 3> kAudio{
    {{"aac", Audio::aac}, {"flac", Audio::flac}, {"pcm", Audio::pcm}}};
constexpr std::array<std::pair<std::string_view, Container>, 3> kContainers{
    {{".mp4", Container::mp4}, {".mkv", Container::mkv}, {".mov", Container::mov}}};

template <typename Table>
auto lookUp(const Table& table, std::string_view name)
    -> std::optional<typename Table::value_type::second_type> {
    for (const auto& [known, value] : table) {
        if (known == name) {
            return value;
        }
    }
    return std::nullopt;
}

template <typename Table, typename T>
std::string nameOf(const Table& table, T value) {
    for (const auto& [known, entry] : table) {
        if (entry == value) {
            return std::string(known);
        }
    }
    return {};
}

std::string pixelProblem(Codec codec, PixelFormat pixels) {
    const bool proresPixels =
        pixels == PixelFormat::yuv422p10le || pixels == PixelFormat::yuv444p10le;
    if (codec == Codec::prores && !proresPixels) {
        return "prores takes --pix-fmt yuv422p10le or yuv444p10le";
    }
    if ((codec == Codec::h264 || codec == Codec::h265) && pixels == PixelFormat::rgb) {
        return "--pix-fmt rgb is stored by ffv1 only; h264 and h265 take the yuv formats";
    }
    return {};
}

std::string containerProblem(Codec codec, Audio audio, Container container) {
    if (container == Container::mp4 && (codec == Codec::ffv1 || codec == Codec::prores)) {
        return nameOf(kCodecs, codec) + " does not go into .mp4: name the file .mkv or .mov";
    }
    if (container == Container::mp4 && audio != Audio::aac) {
        return "ffmpeg puts only aac sound into .mp4: name the file .mkv, or give --audio aac";
    }
    if (container == Container::mov && audio == Audio::flac) {
        return "ffmpeg does not put flac sound into .mov: name the file .mkv, or give --audio pcm";
    }
    return {};
}

std::vector<std::string> codecArguments(const VideoFormat& format, Container container) {
    switch (format.codec) {
        case Codec::h264:
            return {"-c:v", "libx264", "-preset", "fast", "-crf", std::to_string(*format.crf)};
        case Codec::h265: {
            std::vector<std::string> args{"-c:v",         "libx265",
                                          "-preset",      "fast",
                                          "-crf",         std::to_string(*format.crf),
                                          "-x265-params", "log-level=error"};
            if (container != Container::mkv) {
                // The tag Apple's players want; Matroska has no such tags.
                args.insert(args.end(), {"-tag:v", "hvc1"});
            }
            return args;
        }
        case Codec::ffv1:
            return {"-c:v", "ffv1", "-level", "3", "-g", "1", "-slicecrc", "1"};
        case Codec::prores:
            return {"-c:v",       "prores_ks",
                    "-profile:v", *format.pixelFormat == PixelFormat::yuv444p10le ? "4444" : "hq",
                    "-vendor",    "apl0"};
    }
    return {};
}

std::vector<std::string> pixelArguments(PixelFormat pixels) {
    if (pixels == PixelFormat::rgb) {
        return {"-pix_fmt", "bgr0"};
    }
    // The tags go on the frames (setparams), where every encoder finds them; ProRes in .mov
    // ignores the output options.
    return {"-vf",
            "scale=out_color_matrix=bt709:out_range=tv:flags=accurate_rnd+full_chroma_int,"
            "setparams=range=tv:colorspace=bt709:color_primaries=bt709:color_trc=bt709",
            "-pix_fmt", nameOf(kPixelFormats, pixels)};
}

std::vector<std::string> audioArguments(Audio audio) {
    switch (audio) {
        case Audio::aac:
            return {"-c:a", "aac", "-b:a", "192k"};
        case Audio::flac:
            return {"-c:a", "flac"};
        case Audio::pcm:
            return {"-c:a", "pcm_s16le"};
    }
    return {};
}

}  // namespace

std::optional<Codec> VideoFormat::codecNamed(std::string_view name) {
    return lookUp(kCodecs, name);
}

std::optional<PixelFormat> VideoFormat::pixelFormatNamed(std::string_view name) {
    return lookUp(kPixelFormats, name);
}

std::optional<Audio> VideoFormat::audioNamed(std::string_view name) {
    return lookUp(kAudio, name);
}

std::optional<Container> VideoFormat::containerOf(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    std::string extension(fileName.substr(dot));
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lookUp(kContainers, extension);
}

VideoFormat VideoFormat::withDefaults(Container container) const {
    VideoFormat filled = *this;
    if (lossy() && !crf) {
        filled.crf = codec == Codec::h264 ? 18 : 20;
    }
    if (!pixelFormat) {
        filled.pixelFormat = codec == Codec::ffv1     ? PixelFormat::rgb
                             : codec == Codec::prores ? PixelFormat::yuv444p10le
                                                      : PixelFormat::yuv420p;
    }
    if (!audio) {
        filled.audio = lossy()                       ? Audio::aac
                       : container == Container::mkv ? Audio::flac
                                                     : Audio::pcm;
    }
    return filled;
}

std::string VideoFormat::problemWith(Container container) const {
    const VideoFormat filled = withDefaults(container);
    if (crf && !lossy()) {
        return "--crf is for the lossy codecs h264 and h265; " + nameOf(kCodecs, codec) +
               " has no quality setting";
    }
    if (std::string problem = pixelProblem(codec, *filled.pixelFormat); !problem.empty()) {
        return problem;
    }
    return containerProblem(codec, *filled.audio, container);
}

bool VideoFormat::deep() const {
    return pixelFormat && *pixelFormat != PixelFormat::yuv420p &&
           *pixelFormat != PixelFormat::yuv444p && *pixelFormat != PixelFormat::rgb;
}

std::vector<std::string> VideoFormat::ffmpegArguments(Container container) const {
    std::vector<std::string> args = codecArguments(*this, container);
    const std::vector<std::string> pixels = pixelArguments(*pixelFormat);
    const std::vector<std::string> sound = audioArguments(*audio);
    args.insert(args.end(), pixels.begin(), pixels.end());
    args.insert(args.end(), sound.begin(), sound.end());
    if (container != Container::mkv) {
        args.insert(args.end(), {"-movflags", "+faststart"});
    }
    return args;
}
