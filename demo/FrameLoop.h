// The frame loop: every frame runs on the music clock. It reads the position, blackens the
// whole back buffer, sets and clears the letterboxed picture area, fetches the spectrum,
// publishes the music clock (g_demoSeconds, g_demoPart, g_spectrum), hands the frame to the
// content, presents and pumps the window's events. At 126 s of music the window is minimised and
// the quit flag set; that last frame is still drawn and presented.
//
// An A/V offset shows the picture that many milliseconds later than the music's clock (earlier
// when negative), for sound or a display with a delay of its own: the show's time is the music's
// elapsed time less the offset, never below 0, and the show ends when that time reaches 126 s.
//
// The loop allocates nothing: viewports live on the stack and the spectrum goes into the buffer
// given at construction. It sets no frame-rate limit of its own; Present paces it. It reads no
// wall clock: time comes only from the music.
#pragma once

#include <cstdint>

#include "demo/IFrameContent.h"
#include "demo/IFrameObserver.h"
#include "demo/IFrameWindow.h"
#include "demo/IMusicClock.h"
#include "platform/d3d9/d3d9.h"

class FrameLoop {
public:
    static constexpr const char* kReportSource = "demo/Main";
    // The lines the frame's failure reports name.
    static constexpr int kPictureViewportLine = 196;
    static constexpr int kPictureClearLine = 208;
    static constexpr int kPresentLine = 217;

    static constexpr int kSpectrumBins = 64;
    // The first elapsed millisecond that ends the show.
    static constexpr std::uint32_t kEndMs = 126000;
    // 2.5 and 4 phrases of 27.825 s (taken as a float): the starts of parts 1 and 2.
    static constexpr double kPartOneStart = 69.56250190734863;
    static constexpr double kPartTwoStart = 111.30000305175781;

    // spectrum: kSpectrumBins floats the frames fill (g_spectrum); null skips the fetch.
    FrameLoop(IDirect3DDevice9& device, IFrameWindow& window, IMusicClock& music,
              IFrameContent& content, float* spectrum);

    // Takes the start position right after the music started (0 when it cannot be read).
    void start();
    // Runs frames while the window's quit flag is clear.
    void run();
    // One frame.
    void step();
    // Told of every frame between the content's drawing and the present (null: nobody).
    void setObserver(IFrameObserver* observer) { observer_ = observer; }
    void setAvOffsetMs(std::int32_t offsetMs) { avOffsetMs_ = offsetMs; }

    std::uint32_t startPosition() const { return startPosition_; }
    std::uint64_t frameCount() const { return frames_; }

    // The show's milliseconds for the music's elapsed milliseconds: less the offset, at least 0.
    static std::uint32_t showMs(std::uint32_t elapsedMs, std::int32_t avOffsetMs);
    // Music milliseconds as the float seconds the content is given.
    static float secondsOf(std::uint32_t elapsedMs);
    // 0, 1 or 2; a NaN counts as the last part.
    static int partAt(float seconds);

private:
    void prepareBackBuffer(const WindowConfig& config);

    IDirect3DDevice9& device_;
    IFrameWindow& window_;
    IMusicClock& music_;
    IFrameContent& content_;
    float* spectrum_;
    IFrameObserver* observer_ = nullptr;
    std::uint32_t startPosition_ = 0;
    // The last position read; a frame whose query fails keeps it rather than jumping to 0.
    std::uint32_t position_ = 0;
    std::uint64_t frames_ = 0;
    std::int32_t avOffsetMs_ = 0;
};
