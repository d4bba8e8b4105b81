// Plays a track and samples the music position every few milliseconds, as a frame loop would,
// against two references taken at the same moment: the monotonic time since play() and the
// frames the device has consumed. Prints the drift of the position from real time, how far it
// trails the consumed count (the latency compensation), its largest step and whether it ever
// went back.
//
// Usage: music_clock_bench [SECONDS=60] [BUFFER_FRAMES=1024] [FILE.mp3]
// Without a file it plays a generated silent track. SDL_AUDIODRIVER defaults to "dummy" here;
// set it to a real driver to measure a sound card, or to a missing one for the silent clock.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/sound/MusicStream.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Range {
    double low = 1e300;
    double high = -1e300;
    void add(double value) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
};

// Least-squares slope of y over x: the position's speed relative to the reference.
double slope(const std::vector<double>& x, const std::vector<double>& y) {
    double n = static_cast<double>(x.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        sx += x[i];
        sy += y[i];
        sxx += x[i] * x[i];
        sxy += x[i] * y[i];
    }
    double denominator = n * sxx - sx * sx;
    return denominator != 0.0 ? (n * sxy - sx * sy) / denominator : 0.0;
}

std::shared_ptr<const sound::DecodedTrack> loadTrack(int argc, char** argv, double seconds) {
    if (argc > 3) {
        sound::SoundResult result = sound::SoundResult::Ok;
        auto track = sound::DecodedTrack::decode(argv[3], &result);
        if (!track) {
            std::fprintf(stderr, "cannot decode %s: %s\n", argv[3], sound::soundResultName(result));
        }
        return track;
    }
    auto frames = static_cast<size_t>((seconds + 5.0) * 44100);
    return sound::DecodedTrack::fromSamples(std::vector<float>(frames * 2, 0.0f), 44100);
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    int bufferFrames = argc > 2 ? std::atoi(argv[2]) : 1024;
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    auto track = loadTrack(argc, argv, seconds);
    if (!track) {
        return 1;
    }
    sound::MusicStream music(bufferFrames);
    if (music.open(track) != sound::SoundResult::Ok) {
        return 1;
    }
    seconds = std::min(seconds, music.lengthMs() / 1000.0);
    auto timing = music.timing();
    std::printf("driver %s, rate %d Hz, device buffer %d frames (%.1f ms), %.0f s\n",
                timing.silent ? "none (silent clock)" : std::getenv("SDL_AUDIODRIVER"),
                timing.sampleRate, timing.bufferFrames,
                timing.bufferFrames * 1000.0 / timing.sampleRate, seconds);

    std::vector<double> wallMs, positionMs;
    Range drift, trail;
    double largestStep = 0.0;
    long backwards = 0, repeats = 0;
    uint32_t previous = 0;
    music.play();
    auto start = Clock::now();
    for (int report = 10;;) {
        uint32_t position = music.positionMs();
        double wall = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        timing = music.timing();
        double consumed = timing.consumedFrames * 1000.0 / timing.sampleRate;
        if (wall > seconds * 1000.0) {
            break;
        }
        wallMs.push_back(wall);
        positionMs.push_back(position);
        drift.add(position - wall);
        if (!timing.silent && timing.consumedFrames > 0) {
            trail.add(consumed - position);
        }
        backwards += position < previous;
        repeats += position == previous;
        largestStep = std::max(largestStep, static_cast<double>(position) - previous);
        previous = position;
        if (wall >= report * 1000.0) {
            std::printf("  t %6.1f s  position %7u ms  position - time %+7.1f ms\n", wall / 1000.0,
                        position, position - wall);
            std::fflush(stdout);
            report += 10;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    double speed = slope(wallMs, positionMs);
    std::printf("samples %zu, position went back %ld times, unchanged in %ld samples\n",
                wallMs.size(), backwards, repeats);
    std::printf("position - time: %+.1f .. %+.1f ms; speed %.5f (%+.1f ms per minute)\n", drift.low,
                drift.high, speed, (speed - 1.0) * 60000.0);
    if (trail.low <= trail.high) {
        std::printf("consumed - position: %.1f .. %.1f ms (device buffer %.1f ms)\n", trail.low,
                    trail.high, timing.bufferFrames * 1000.0 / timing.sampleRate);
    }
    std::printf("largest step between samples %.0f ms (samples every 5 ms)\n", largestStep);
    return 0;
}
