// The program's one control flow: start-up, the frame loop on the music clock, shutdown.
//
// Start-up, in order: the render window and its Direct3D object (made g_window), the default
// configuration, the start-up dialog, window and device, the music stream (not playing), the
// spectrum buffer, the loading phase, then the music starts and its position is taken as the
// start. Shutdown, in order: the content, the effect registry, the graphics context (every
// texture and render target, then the device), the render window.
//
// A start-up failure (no display, no Direct3D object, no window, no device, music missing or
// undecodable) is reported where it happens and ends the program in order: nothing further is
// created, the shutdown still runs, and the exit code says the show could not play. A start-up
// preset the display refuses (a full-screen mode it lacks) ends the same way with the exit code of
// bad options. A cancelled start and a show that played end with 0. The sound objects and
// g_spectrum are kept to the end of the process.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "demo/D3DWindow.h"
#include "demo/EmptyFrameContent.h"
#include "demo/FrameLoop.h"
#include "demo/MusicStreamClock.h"
#include "demo/StartupPreset.h"
#include "platform/d3d9/d3d9.h"
#include "platform/sound/MusicStream.h"

class DemoDriver {
public:
    // The exit code of a show that could not play.
    static constexpr int kFailedExitCode = 1;
    // The exit code of a command line the program cannot follow.
    static constexpr int kBadOptionsExitCode = 2;

    // Makes the Direct3D object; null stands for Direct3D being unavailable. Any callable, so
    // that a wrapper (the benchmark's timing one) carries its counters with it.
    using Direct3DFactory = std::function<IDirect3D9*()>;

    struct Options {
        Direct3DFactory createDirect3D = &defaultDirect3D;
        std::string musicFile = "data/vorx.mp3";
        // What the start-up dialog starts from.
        WindowConfig config = defaultWindowConfig();
        // False starts at once with `config`, as if the dialog had answered start.
        bool askUser = true;
        // With askUser: the command line's say in the dialog (StartupDialog).
        StartupPreset startup;
        // The picture this many milliseconds behind the music's clock (FrameLoop).
        std::int32_t avOffsetMs = 0;
        // Offline runs (capture, benchmarks): the frames run on this clock, and the music stream
        // is neither opened nor played, so no audio device is touched. Null: the music stream.
        IMusicClock* clock = nullptr;
    };

    static IDirect3D9* defaultDirect3D();

    DemoDriver() : DemoDriver(Options{}) {}
    explicit DemoDriver(Options options);
    // Shuts down if that has not happened yet.
    ~DemoDriver();
    DemoDriver(const DemoDriver&) = delete;
    DemoDriver& operator=(const DemoDriver&) = delete;

    // True when the frame loop may run; false on cancel or a reported start-up failure.
    bool startUp();
    // Whether a failed start-up was the user's cancel rather than a failure.
    bool cancelled() const { return cancelled_; }
    // Whether start-up ended on a preset the display refused.
    bool refused() const { return refused_; }
    // Frames until the quit flag is set (nothing when start-up did not succeed).
    void runFrames();
    // Runs once; later calls do nothing.
    void shutDown();

    // The whole program: start-up, frames, shutdown. Returns the exit code: 0 after a show or a
    // cancel, kBadOptionsExitCode after a refused preset, kFailedExitCode after another start-up
    // failure. After a show it prints one line on
    // standard output: the frames drawn and their mean rate.
    int run();

    // Null before a successful start-up.
    FrameLoop* frameLoop() { return loop_ ? &*loop_ : nullptr; }
    // Null after shutdown.
    D3DWindow* window() { return window_.get(); }
    sound::MusicStream& music() { return music_; }

private:
    bool openMusic();
    IMusicClock& startMusic();
    static void printFrameRate(std::uint64_t frames, std::uint32_t elapsedMs);
    IFrameContent& frameContent();

    Options options_;
    std::unique_ptr<D3DWindow> window_;
    // The decoded music, shared by the stream and the clock's shifted spectrum.
    std::shared_ptr<const sound::DecodedTrack> track_;
    sound::MusicStream music_;
    std::optional<MusicStreamClock> clock_;
    EmptyFrameContent emptyContent_;
    std::optional<FrameLoop> loop_;
    bool cancelled_ = false;
    bool refused_ = false;
    bool shutDown_ = false;
};
