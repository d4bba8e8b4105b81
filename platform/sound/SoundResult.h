#pragma once

namespace sound {

// Results of the music stream's operations. Ok is the only success; the caller decides what a
// failure means (the frame loop ignores most of them).
enum class SoundResult {
    Ok,
    FileNotFound,  // the file could not be opened
    Format,        // the file held nothing mpg123 could decode
    NotOpen,       // no track was opened
    NotPlaying,    // the track was not started yet
    Ended,         // the track has played to its end: no fresh spectrum
    InvalidParam,  // a null output or an unsupported value count
};

const char* soundResultName(SoundResult result);

}  // namespace sound
