// What a capture run does, from its command line. defaultCaptureOptions() holds every default;
// parseCaptureArguments checks each value and the combination, and names the first problem.
//
// Limits keep the frame arithmetic exact in 64 bits: times up to an hour with at most 6
// decimals, frame rates above 0 and up to 1000 per second, sizes even and from 16 to 8192,
// up to 64 sub-frames and shutter angles with at most one decimal. Sub-frames must lie at
// least a millisecond apart: the show's clock counts whole milliseconds, so closer ones would
// be the same picture.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "tools/capture/Rational.h"
#include "tools/capture/VideoFormat.h"

struct CaptureOptions {
    enum class Output { none, pngSequence, pngStills, video, goldenCheck, goldenUpdate };

    Output output = Output::none;
    Rational fps{60, 1};
    int width = 1280;
    int height = 720;
    Rational from{0, 1};
    // Not included: frames run while their time is before it.
    Rational to{126, 1};
    // Times of single pictures (pngStills).
    std::vector<Rational> stills;
    // The PNG folder, the video file or the golden folder.
    std::string target;
    // Renders per output pixel along each side, and renders per output frame.
    int supersample = 1;
    int subFrames = 1;
    // The part of a frame, in degrees, the shutter stays open for motion blur.
    Rational shutter{180, 1};
    // As given; defaults are filled in for the container when the video starts.
    VideoFormat format;
    std::string ffmpeg = "ffmpeg";
    // Where a failed golden check writes the actual and difference images.
    std::string goldenOut = "golden-out";
    bool help = false;
};

CaptureOptions defaultCaptureOptions();

struct ParsedCaptureArguments {
    CaptureOptions options;
    // Empty when the arguments were good.
    std::string error;
};

// args excludes the program name.
ParsedCaptureArguments parseCaptureArguments(std::span<const std::string> args);

// The --help text.
std::string captureUsage();
