#include "platform/sound/MusicStream.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/unit/SoundSignals.h"

// These run on SDL's dummy audio driver, which consumes samples in real time without a sound
// card; the tests choose it themselves so they behave the same inside and outside ctest. They check
// states and results, not timing: the deadlines are generous upper bounds for a loaded machine.
namespace {

using sound::MusicStream;
using sound::SoundResult;
using Bins = std::array<float, 64>;
using namespace std::chrono_literals;

// Polls the position until the stream has played to its end, checking it never goes back.
void playToTheEnd(MusicStream& music, bool& monotonic) {
    monotonic = true;
    uint32_t previous = 0;
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        uint32_t position = music.positionMs();
        monotonic = monotonic && position >= previous;
        previous = position;
        if (position >= music.lengthMs()) {
            return;
        }
        std::this_thread::sleep_for(2ms);
    }
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (had_) {
            setenv(name_, old_.c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    bool had_;
    std::string old_;
};

TEST(MusicStreamTest, FailedOpenLeavesAClosedStreamThatAnswersEveryCall) {
    MusicStream music;
    EXPECT_EQ(music.open("data/no-such-file.mp3"), SoundResult::FileNotFound);
    EXPECT_FALSE(music.isOpen());
    EXPECT_EQ(music.play(), SoundResult::NotOpen);
    EXPECT_EQ(music.positionMs(), 0u);
    Bins bins;
    bins.fill(2.0f);
    EXPECT_EQ(music.getSpectrum(bins.data()), SoundResult::NotOpen);
    EXPECT_EQ(bins[0], 2.0f);
    EXPECT_EQ(music.open(std::shared_ptr<const sound::DecodedTrack>()), SoundResult::Format);
}

TEST(MusicStreamTest, PlaysOnceOnTheDeviceAndGoesOnInSilenceAfterTheTrack) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    MusicStream music(512);
    ASSERT_EQ(music.open(soundtest::sineTrack(soundtest::binHz(7), 0.5, 13230)), SoundResult::Ok);
    EXPECT_FALSE(music.silent()) << "the dummy driver is a device";
    EXPECT_EQ(music.lengthMs(), 300u);
    Bins bins{};
    EXPECT_EQ(music.getSpectrum(bins.data()), SoundResult::NotPlaying);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(music.positionMs(), 0u) << "nothing plays before play()";
    ASSERT_EQ(music.play(), SoundResult::Ok);
    EXPECT_EQ(music.play(), SoundResult::Ok);

    // While playing the spectrum shows the tone (once 128 frames have been heard).
    auto deadline = std::chrono::steady_clock::now() + 5s;
    while (music.positionMs() < 50 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(2ms);
    }
    if (music.positionMs() < 250) {
        ASSERT_EQ(music.getSpectrum(bins.data()), SoundResult::Ok);
        EXPECT_NEAR(bins[7], 0.5f, 1e-3);
    }
    EXPECT_EQ(music.getSpectrum(bins.data(), 65), SoundResult::InvalidParam);

    bool monotonic = false;
    playToTheEnd(music, monotonic);
    EXPECT_TRUE(monotonic);
    const uint32_t atEnd = music.positionMs();
    EXPECT_GE(atEnd, 300u);
    EXPECT_EQ(music.timing().consumedFrames, 13230) << "consumed exactly the track, no loop";
    std::this_thread::sleep_for(50ms);
    EXPECT_GE(music.positionMs(), atEnd + 50) << "time goes on after the end";
    bins.fill(-1.0f);
    EXPECT_EQ(music.getSpectrum(bins.data()), SoundResult::Ended);
    EXPECT_EQ(bins[7], -1.0f);
}

TEST(MusicStreamTest, WithoutAnAudioDeviceASilentClockPlaysTheTrack) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    MusicStream music;
    testing::internal::CaptureStderr();
    ASSERT_EQ(music.open(soundtest::sineTrack(soundtest::binHz(11), 0.25, 8820)), SoundResult::Ok);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(music.silent());
    EXPECT_NE(said.find("no audio device: playing silently"), std::string::npos) << said;
    EXPECT_EQ(music.timing().bufferFrames, 0);
    ASSERT_EQ(music.play(), SoundResult::Ok);

    std::this_thread::sleep_for(20ms);
    Bins bins{};
    if (music.positionMs() < 190) {
        ASSERT_EQ(music.getSpectrum(bins.data()), SoundResult::Ok);
        EXPECT_NEAR(bins[11], 0.25f, 1e-3) << "the spectrum comes from the decoded samples";
    }
    bool monotonic = false;
    playToTheEnd(music, monotonic);
    EXPECT_TRUE(monotonic);
    EXPECT_GE(music.positionMs(), 200u);
    EXPECT_EQ(music.getSpectrum(bins.data()), SoundResult::Ended);
}

TEST(MusicStreamTest, ReopeningAndClosingReleaseTheDevice) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    MusicStream music(256);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(music.open(soundtest::sineTrack(500.0, 0.1, 2000)), SoundResult::Ok);
        ASSERT_EQ(music.play(), SoundResult::Ok);
        std::this_thread::sleep_for(5ms);
    }
    music.close();
    EXPECT_FALSE(music.isOpen());
    EXPECT_EQ(music.positionMs(), 0u);
}

}  // namespace
