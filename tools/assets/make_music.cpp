// Writes the show's music as a 44.1 kHz stereo WAV (the arrangement is described in
// tools/music/Song.h). Deterministic: every noise source comes from fixed-seed generators, so the
// same binary writes the same file. With --report it also prints how the high spectrum bands
// behave in each section, measured on the rendered samples before encoding.
// Usage: make_music OUT.wav [--report]
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/sound/DecodedTrack.h"
#include "platform/sound/OfflineMusicReader.h"
#include "platform/sound/WavWriter.h"
#include "tools/music/BandReport.h"
#include "tools/music/Song.h"
#include "tools/music/Tempo.h"

int main(int argc, char** argv) {
    bool report = argc == 3 && std::strcmp(argv[2], "--report") == 0;
    if (argc != 2 && !report) {
        std::fprintf(stderr, "usage: %s OUT.wav [--report]\n", argv[0]);
        return 2;
    }
    auto begin = std::chrono::steady_clock::now();
    music::Song song;
    std::vector<float> samples = song.render();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (!sound::WavWriter::write(argv[1], samples, 2, music::kSampleRate)) {
        std::fprintf(stderr, "make_music: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("make_music: %s, %.1f s of music rendered in %.1f s\n", argv[1],
                music::Song::kLength, seconds);
    if (report) {
        sound::OfflineMusicReader reader(
            sound::DecodedTrack::fromSamples(std::move(samples), music::kSampleRate));
        music::BandReport::print(reader, stdout);
    }
    return 0;
}
