// Prints how the high spectrum bands of a music file behave in each section of the show.
// Usage: spectrum_report [FILE.mp3]   (default data/vorx.mp3)
#include <cstdio>

#include "platform/sound/DecodedTrack.h"
#include "platform/sound/OfflineMusicReader.h"
#include "tools/music/BandReport.h"

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "data/vorx.mp3";
    sound::SoundResult result = sound::SoundResult::Ok;
    auto track = sound::DecodedTrack::decode(path, &result);
    if (!track) {
        std::fprintf(stderr, "spectrum_report: cannot decode %s (%s)\n", path,
                     sound::soundResultName(result));
        return 1;
    }
    std::printf("%s: %.2f s at %d Hz\n", path, track->lengthMs() / 1000.0, track->sampleRate());
    sound::OfflineMusicReader reader(track);
    music::BandReport::print(reader, stdout);
    return 0;
}
