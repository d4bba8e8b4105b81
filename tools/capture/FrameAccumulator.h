// Sums rendered pictures into one output picture, in linear light and floating point: each
// picture is `factor` times the output size on both sides, and each output pixel takes the
// mean of its factor x factor block (a box filter over exactly the pixel's area, the resolve of
// an ordered supersampling grid), then the mean over all pictures added (the sub-frames of
// motion blur). One picture at factor 1 comes back exactly as it went in.
//
// Memory is three floats per output pixel, allocated once.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class FrameAccumulator {
public:
    FrameAccumulator(int width, int height, int factor);

    int width() const { return width_; }
    int height() const { return height_; }

    // Starts a new output picture.
    void clear();
    // One rendered picture: (width * factor) x (height * factor) pixels of B, G, R, X bytes,
    // rows top first.
    void add(std::span<const std::uint8_t> bgrx);
    // The mean of the pictures added since clear(), 8 bits a channel: B, G, R, X (X is 255).
    void resolveBgrx(std::vector<std::uint8_t>& out) const;
    // The same, 16 bits a channel: R, G, B words.
    void resolveRgb48(std::vector<std::uint16_t>& out) const;

private:
    void addRow(const std::uint8_t* row, float* sums) const;

    int width_;
    int height_;
    int factor_;
    int added_ = 0;
    std::vector<float> sums_;
};
