// How a captured video is encoded: codec, quality, pixel format and sound; the defaults that
// follow from the codec and the container; which combinations ffmpeg (5.1, as Debian ships it)
// and the container can make; and ffmpeg's output arguments for them. The container follows
// the file name: .mp4, .mkv or .mov.
//
// h264 (libx264) and h265 (libx265) are lossy, steered by a CRF. ffv1 is lossless and by default
// stores the rendered RGB bytes as they are (level 3, every frame a key frame, checksummed
// slices: the archival settings). prores (prores_ks) is the 10-bit editing master: 4:2:2 HQ or
// 4:4:4 4444. YUV pictures are converted with BT.709's matrix and limited range and tagged so.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct VideoFormat {
    enum class Codec { h264, h265, ffv1, prores };
    enum class PixelFormat { yuv420p, yuv444p, yuv420p10le, yuv422p10le, yuv444p10le, rgb };
    enum class Audio { aac, flac, pcm };
    enum class Container { mp4, mkv, mov };

    static constexpr int kMaxCrf = 51;

    Codec codec = Codec::h264;
    // Empty: the default for the codec and container (see withDefaults).
    std::optional<int> crf;
    std::optional<PixelFormat> pixelFormat;
    std::optional<Audio> audio;

    static std::optional<Codec> codecNamed(std::string_view name);
    static std::optional<PixelFormat> pixelFormatNamed(std::string_view name);
    static std::optional<Audio> audioNamed(std::string_view name);
    // By the file name's extension, in any case.
    static std::optional<Container> containerOf(std::string_view fileName);

    bool lossy() const { return codec == Codec::h264 || codec == Codec::h265; }
    // Filled in: crf 18 for h264 and 20 for h265; yuv420p, but rgb for ffv1 and yuv444p10le
    // for prores; aac for the lossy codecs, otherwise flac where the container takes it, pcm
    // where not.
    VideoFormat withDefaults(Container container) const;
    // Empty when ffmpeg can write this into such a container; otherwise what is wrong, naming
    // the options to change.
    std::string problemWith(Container container) const;
    // More than 8 bits a channel: frames go to ffmpeg as 16-bit RGB.
    bool deep() const;
    // ffmpeg's arguments for the video and sound streams of a format with its defaults.
    std::vector<std::string> ffmpegArguments(Container container) const;
};
