#pragma once

// The track's clock. The show is cut to a phrase of 27.825 s (16 bars of 4 beats, about 138 BPM),
// so the beat is derived from the phrase rather than from a rounded tempo: every section boundary
// of the show then falls exactly on a bar line.
namespace music {

inline constexpr int kSampleRate = 44100;
inline constexpr double kPhrase = 27.825;
inline constexpr double kBeat = kPhrase / 64.0;
inline constexpr double kBar = 4.0 * kBeat;
inline constexpr double kSixteenth = kBeat / 4.0;

inline constexpr double barStart(double bar) {
    return bar * kBar;
}

}  // namespace music
