// The production's clock marks. Everything is timed on a musical phrase of 27.825 s: the parts
// switch at 2.5 and 4 phrases, and the effects inside them use halves, quarters and eighths of
// it. Values are single precision, as the music clock is.
#pragma once

namespace timeline {

inline constexpr float kPhrase = 27.825f;
inline constexpr float kQuarterPhrase = 6.95625f;
inline constexpr float kEighthPhrase = 3.478125f;
// Part 0 drifts for one phrase, rolls for the next and shows the logo from two phrases on.
inline constexpr float kDriftEnd = kPhrase;
inline constexpr float kLogoStart = 55.65f;
inline constexpr float kPartOneStart = 69.5625f;
// The title flash of part 0, open at the start and closed at the end.
inline constexpr float kFlashStart = 53.33125f;
inline constexpr float kFlashEnd = 54.325f;
inline constexpr float kFlashLength = 0.99375f;
// From here on the part-1 bloom grows without bound.
inline constexpr float kBloomGrowthStart = 97.3875f;

}  // namespace timeline
