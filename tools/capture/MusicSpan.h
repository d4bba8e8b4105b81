// The music under a run of frames, for muxing: interleaved stereo samples [first, end) of the
// track, with silence where the span runs past either end of the track, so the sound is exactly
// as long as the frames.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sound/DecodedTrack.h"

std::vector<float> musicSpan(const sound::DecodedTrack& track, std::int64_t first,
                             std::int64_t end);
