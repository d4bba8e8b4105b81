// A whole capture run from its options: the output is checked before the (slow) start-up, then
// frames are rendered in order, each read back and written before the next, with a progress line
// and Ctrl-C honoured between frames. Messages go to standard error.
#pragma once

#include <cstdint>
#include <string>

#include "tools/capture/CaptureOptions.h"

// Exit codes of the capture program.
inline constexpr int kCaptureOk = 0;
inline constexpr int kCaptureFailed = 1;
inline constexpr int kCaptureBadArguments = 2;
inline constexpr int kCaptureInterrupted = 130;

// Runs the capture; returns the exit code. Output paths are taken as given (relative ones from
// the current directory).
int runCapture(const CaptureOptions& options);

// "frame_000123.png": frames are numbered from the start of the music.
std::string sequenceFileName(std::int64_t frame);
