#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/sound/ConsumedCounter.h"
#include "platform/sound/DecodedTrack.h"
#include "platform/sound/OfflineMusicReader.h"
#include "platform/sound/PlaybackClock.h"
#include "platform/sound/SoundResult.h"

namespace sound {

// The music of the show: one track, played once, with the play position in milliseconds and a
// 64-bin spectrum of what is being heard.
//
// The whole file is decoded at open (about 46 MB of floats for two minutes): the callback then
// only copies memory, the spectrum reads the very samples being heard, and there is no decoder
// thread to keep ahead of the device. The position counts the frames the device consumed, less
// what its buffer still holds (see PlaybackClock). When SDL has no audio device the stream says so
// once on standard error and runs on a silent monotonic clock that starts at play(), so the show
// still runs.
//
// Not done here: looping, seeking, pausing, volume, resampling (SDL converts if the device needs
// another rate). All calls come from one thread; only the device's callback runs on another.
class MusicStream {
public:
    struct Timing {
        int64_t consumedFrames = 0;  // frames the device has taken so far
        int64_t consumedAtNs = 0;    // monotonic time of the callback that took the last of them
        int bufferFrames = 0;        // the device buffer, 0 on the silent clock
        int sampleRate = 0;
        bool silent = false;
    };

    // bufferFrames: the SDL device buffer requested (a power of two).
    explicit MusicStream(int bufferFrames = 1024);
    ~MusicStream();
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    // Decodes the file and prepares the output, not yet playing. A missing or undecodable file
    // gives its failure, and *reason its cause in words, and leaves the stream closed.
    SoundResult open(const std::string& path, std::string* reason = nullptr);
    SoundResult open(std::shared_ptr<const DecodedTrack> track);
    // Starts playback from the beginning. Once playing, further calls change nothing.
    SoundResult play();
    // Milliseconds since the track started to be heard: 0 before play, never decreasing. After
    // the track's end it goes on with the time passed, in silence.
    uint32_t positionMs();
    // Spectrum of the last 128 frames heard (see OfflineMusicReader::spectrumAtFrame). Fails,
    // leaving out untouched, when not open, not playing yet, ended, or with a bad count.
    SoundResult getSpectrum(float* out, int count = SpectrumAnalyzer::kBins);
    void close();

    bool isOpen() const { return track_ != nullptr; }
    bool silent() const { return silent_; }
    uint32_t lengthMs() const { return track_ ? track_->lengthMs() : 0; }
    Timing timing() const;

private:
    static void fillCallback(void* self, uint8_t* stream, int bytes);
    bool openDevice();
    int64_t heardFrame();

    int requestedBufferFrames_;
    std::shared_ptr<const DecodedTrack> track_;
    std::unique_ptr<OfflineMusicReader> reader_;
    uint32_t device_ = 0;
    int bufferFrames_ = 0;
    bool silent_ = false;
    bool playing_ = false;
    int64_t playStartNs_ = 0;
    std::optional<PlaybackClock> clock_;
    // Written only by the device's callback thread once the device runs.
    int64_t cursor_ = 0;
    ConsumedCounter counter_;
};

}  // namespace sound
