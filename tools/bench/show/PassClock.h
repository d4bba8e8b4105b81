// The per-pass breakdown of `bench --passes`: the GPU time of each draw, clear, present and
// read-back, summed under the name of the effect pass that issued it ("Tube/0", "BloomEffect/1")
// or the kind of call ("fixed-function-draw", "clear", "present", "read-back").
//
// Each timed call is bracketed by glFinish, so the time is that call's own work on the renderer
// and nothing queued before it. That serialises the frame, so frame times taken in this mode are
// not the show's frame times: a diagnostic, not a measurement of the frame.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

class PassClock {
public:
    // Names the effect pass now drawing, from the effect's reported calls.
    void noteEffectCall(const std::string& text);
    // Leaves the effect pass: later draws are the engine's own fixed-function draws.
    void leavePass() { current_.clear(); }

    template <typename Call>
    auto time(const char* kind, Call&& call) {
        finish();
        const auto start = std::chrono::steady_clock::now();
        auto result = call();
        finish();
        add(label(kind), std::chrono::steady_clock::now() - start);
        return result;
    }

    // Times a call under a label of the caller's (the replica names its own operations).
    template <typename Call>
    void timeAs(const std::string& label, Call&& call) {
        finish();
        const auto start = std::chrono::steady_clock::now();
        call();
        finish();
        add(label, std::chrono::steady_clock::now() - start);
    }
    // The label a call of this kind would be timed under now.
    std::string labelOf(const char* kind) const { return label(kind); }
    // Milliseconds per label, summed since the clock began.
    std::map<std::string, double> milliseconds() const;

    void endFrame() { ++frames_; }
    // One line per label, most expensive first: "pass.LABEL ms|calls|share" (milliseconds and
    // calls per frame, share of all timed work in percent).
    void print(std::FILE* out) const;

private:
    struct Total {
        std::int64_t ns = 0;
        std::int64_t calls = 0;
    };

    static void finish();
    std::string label(const char* kind) const;
    void add(const std::string& label, std::chrono::steady_clock::duration spent);

    std::string technique_;
    std::string current_;
    std::map<std::string, Total> totals_;
    std::int64_t frames_ = 0;
};
