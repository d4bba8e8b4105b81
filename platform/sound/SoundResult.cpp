#include "platform/sound/SoundResult.h"

namespace sound {

const char* soundResultName(SoundResult result) {
    switch (result) {
        case SoundResult::Ok:
            return "ok";
        case SoundResult::FileNotFound:
            return "file not found";
        case SoundResult::Format:
            return "not a decodable mp3";
        case SoundResult::NotOpen:
            return "no track open";
        case SoundResult::NotPlaying:
            return "not playing";
        case SoundResult::Ended:
            return "ended";
        case SoundResult::InvalidParam:
            return "invalid parameter";
    }
    return "unknown";
}

}  // namespace sound
