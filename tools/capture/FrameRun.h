// Renders frames [first, end) of a capture in order through a FrameComposer and hands each to a
// writer, with the progress line on standard error. Before the first frame, two renders of the
// first frame's time are made and thrown away: the first takes the renderer's first-use work
// (shader compilation, first uploads) out of the timings, and the second's time, times the
// renders the run needs, is the estimate the line shows at once. Ctrl-C is honoured between
// frames.
#pragma once

#include <cstdint>
#include <functional>

#include "tools/capture/FrameComposer.h"
#include "tools/capture/IFrameSource.h"
#include "tools/capture/ProgressLine.h"

class FrameRun {
public:
    // Writes the composed picture of a frame; false (having said why) stops the run.
    using Writer = std::function<bool(std::int64_t frame)>;

    FrameRun(IFrameSource& source, FrameComposer& composer, FrameTimeline timeline)
        : source_(source), composer_(composer), timeline_(timeline) {}

    // kCaptureOk, kCaptureFailed or kCaptureInterrupted (see CaptureCommand.h).
    int run(std::int64_t first, std::int64_t end, const Writer& write);

private:
    bool warmUp(std::int64_t first, std::int64_t frames, ProgressLine& progress);

    IFrameSource& source_;
    FrameComposer& composer_;
    FrameTimeline timeline_;
};
