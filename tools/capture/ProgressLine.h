// The progress of a long capture on one line of standard error, rewritten in place:
// "frame 1200/7560  23.4 fps  4:31 left" (slow captures give seconds per frame instead). Before
// the first frame it shows the estimated time of the whole run: "frame 0/7560  about 1:02:10 in
// all". It is redrawn at most four times a second, and the caller passes the times, so the line
// itself reads no clock.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class ProgressLine {
public:
    ProgressLine(std::FILE* out, std::int64_t total) : out_(out), total_(total) {}

    static std::string format(std::int64_t done, std::int64_t total, double elapsedSeconds);
    static std::string formatEstimate(std::int64_t total, double estimatedSeconds);

    void estimate(double estimatedSeconds);
    void update(std::int64_t done, double elapsedSeconds);
    // The final state, followed by a new line.
    void finish(std::int64_t done, double elapsedSeconds);

private:
    void draw(std::int64_t done, double elapsedSeconds);
    void show(const std::string& text);

    std::FILE* out_;
    std::int64_t total_;
    double lastDrawn_ = -1.0;
};
