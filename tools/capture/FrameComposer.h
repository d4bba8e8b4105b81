// One output picture of a capture, made from its source's renders: `subFrames` renders at the
// sub-frame times of the shutter (see FrameTimeline), each at `factor` times the output size,
// filtered and averaged in linear light by a FrameAccumulator. With one render at factor 1 and
// 8-bit output the source's picture is passed on as it is (the accumulator would give the same
// bytes, more slowly).
//
// The picture comes as raw bytes for ffmpeg (B, G, R, X; or, deep, R, G, B 16-bit words in
// the machine's order, little-endian here) or as an Image for PNG files (8-bit only).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tools/capture/FrameAccumulator.h"
#include "tools/capture/FrameTimeline.h"
#include "tools/capture/IFrameSource.h"
#include "tools/capture/Image.h"

class FrameComposer {
public:
    struct Settings {
        int width = 1280;
        int height = 720;
        int factor = 1;
        int subFrames = 1;
        Rational shutter{180, 1};
        Rational fps{60, 1};
        // 16 bits a channel (for 10-bit video).
        bool deep = false;
    };

    FrameComposer(IFrameSource& source, const Settings& settings);

    // Frame N of the timeline, with its motion blur. False with the source's error.
    bool compose(std::int64_t frame);
    // A single picture at this time, without motion blur.
    bool composeAt(Rational seconds);

    std::span<const std::uint8_t> bytes() const;
    Image rgb() const;
    int rendersPerFrame() const { return settings_.subFrames; }

private:
    bool passesThrough(int renders) const;
    bool add(Rational seconds, int renders);
    void resolve(int renders);

    IFrameSource& source_;
    Settings settings_;
    FrameTimeline timeline_;
    FrameAccumulator accumulator_;
    bool passedThrough_ = false;
    std::vector<std::uint8_t> bgrx_;
    std::vector<std::uint16_t> rgb48_;
};
