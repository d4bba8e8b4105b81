#include "tools/capture/FrameAccumulator.h"

#include <algorithm>

#include "tools/capture/LinearLight.h"

FrameAccumulator::FrameAccumulator(int width, int height, int factor)
    : width_(width),
      height_(height),
      factor_(factor),
      sums_(std::size_t(width) * height * 3, 0.0f) {}

void FrameAccumulator::clear() {
    std::fill(sums_.begin(), sums_.end(), 0.0f);
    added_ = 0;
}

void FrameAccumulator::add(std::span<const std::uint8_t> bgrx) {
    const std::size_t rowBytes = std::size_t(width_) * factor_ * 4;
    for (int y = 0; y < height_; ++y) {
        float* sums = sums_.data() + std::size_t(y) * width_ * 3;
        for (int row = 0; row < factor_; ++row) {
            addRow(bgrx.data() + (std::size_t(y) * factor_ + row) * rowBytes, sums);
        }
    }
    ++added_;
}

// One rendered row into the sums of the output row it falls in.
void FrameAccumulator::addRow(const std::uint8_t* row, float* sums) const {
    const auto& linear = LinearLight::fromByteTable();
    for (int x = 0; x < width_; ++x) {
        float r = 0.0f, g = 0.0f, b = 0.0f;
        for (int i = 0; i < factor_; ++i, row += 4) {
            b += linear[row[0]];
            g += linear[row[1]];
            r += linear[row[2]];
        }
        sums[x * 3 + 0] += r;
        sums[x * 3 + 1] += g;
        sums[x * 3 + 2] += b;
    }
}

void FrameAccumulator::resolveBgrx(std::vector<std::uint8_t>& out) const {
    out.resize(std::size_t(width_) * height_ * 4);
    const float scale = 1.0f / static_cast<float>(std::max(added_, 1) * factor_ * factor_);
    for (std::size_t i = 0, pixels = std::size_t(width_) * height_; i < pixels; ++i) {
        out[i * 4 + 0] = LinearLight::toByte(sums_[i * 3 + 2] * scale);
        out[i * 4 + 1] = LinearLight::toByte(sums_[i * 3 + 1] * scale);
        out[i * 4 + 2] = LinearLight::toByte(sums_[i * 3 + 0] * scale);
        out[i * 4 + 3] = 255;
    }
}

void FrameAccumulator::resolveRgb48(std::vector<std::uint16_t>& out) const {
    out.resize(sums_.size());
    const float scale = 1.0f / static_cast<float>(std::max(added_, 1) * factor_ * factor_);
    for (std::size_t i = 0; i < sums_.size(); ++i) {
        out[i] = LinearLight::toWord(sums_[i] * scale);
    }
}
