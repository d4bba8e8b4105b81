// One video file made by the ffmpeg command: raw frames (B, G, R, X bytes, rows top first) go
// to its standard input, the music comes from a WAV file cut to the same span, and ffmpeg
// encodes H.264 (libx264, yuv420p, crf 18, preset fast) with AAC sound.
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

class VideoEncoder {
public:
    struct Settings {
        std::string ffmpeg = "ffmpeg";
        std::string output;
        std::string audioWav;
        int width = 0;
        int height = 0;
        Rational fps{60, 1};
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

    // Starts ffmpeg. False with *error when it cannot be started.
    bool start(const Settings& settings, std::string* error);
    // One frame of width * height * 4 bytes.
    bool writeFrame(std::span<const std::uint8_t> bgrx, std::string* error);
    // Closes the input and waits for ffmpeg; false with *error when it did not finish well.
    bool finish(std::string* error);

private:
    pid_t pid_ = -1;
    int input_ = -1;
};
