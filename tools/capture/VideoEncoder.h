// One video file made by the ffmpeg command: raw frames (B, G, R, X bytes, or 16-bit R, G, B
// words for formats deeper than 8 bits; rows top first) go to its standard input, the music
// comes from a WAV file cut to the same span, and ffmpeg encodes them as the VideoFormat says.
//
// ffmpeg runs in a process group of its own, so a Ctrl-C in the terminal reaches only capture,
// which then closes the pipe: ffmpeg sees the end of its input and finishes a playable file.
// A broken pipe comes back as an error from writeFrame (SIGPIPE must be ignored by the caller).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include <sys/types.h>

#include "tools/capture/Rational.h"
#include "tools/capture/VideoFormat.h"

class VideoEncoder {
public:
    struct Settings {
        std::string ffmpeg = "ffmpeg";
        std::string output;
        std::string audioWav;
        int width = 0;
        int height = 0;
        Rational fps{60, 1};
        // With its defaults filled in for the container.
        VideoFormat format = VideoFormat{}.withDefaults(VideoFormat::Container::mp4);
        VideoFormat::Container container = VideoFormat::Container::mp4;
    };

    VideoEncoder() = default;
    // Kills an encoder that was never finished.
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // The full command line, program first.
    static std::vector<std::string> commandLine(const Settings& settings);
    // The program's path when `command` (a name looked up on PATH, or a path) is an executable.
    static std::string findExecutable(const std::string& command);

    // Has ffmpeg encode one black frame and a moment of silence this way into a file beside the
    // output, then removes it: whether ffmpeg can make such a video at all, asked before any
    // rendering.
    // False with *error (and ffmpeg's own message on standard error) when it cannot.
    static bool tryOut(const Settings& settings, std::string* error);

    // Starts ffmpeg. False with *error when it cannot be started.
    bool start(const Settings& settings, std::string* error);
    // One frame: width * height * 4 bytes, or * 6 for deep formats.
    bool writeFrame(std::span<const std::uint8_t> pixels, std::string* error);
    // Closes the input and waits for ffmpeg; false with *error when it did not finish well.
    bool finish(std::string* error);

private:
    pid_t pid_ = -1;
    int input_ = -1;
};
