#include "platform/sound/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

namespace sound {

namespace {

void putLe(std::vector<uint8_t>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

std::vector<uint8_t> header(uint32_t dataBytes, int channels, int sampleRate) {
    constexpr int kBytesPerSample = 2;
    std::vector<uint8_t> bytes;
    auto tag = [&](const char* text) { bytes.insert(bytes.end(), text, text + 4); };
    tag("RIFF");
    putLe(bytes, 36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    putLe(bytes, 16, 4);
    putLe(bytes, 1, 2);  // PCM
    putLe(bytes, static_cast<uint32_t>(channels), 2);
    putLe(bytes, static_cast<uint32_t>(sampleRate), 4);
    putLe(bytes, static_cast<uint32_t>(sampleRate * channels * kBytesPerSample), 4);
    putLe(bytes, static_cast<uint32_t>(channels * kBytesPerSample), 2);
    putLe(bytes, 16, 2);
    tag("data");
    putLe(bytes, dataBytes, 4);
    return bytes;
}

}  // namespace

bool WavWriter::write(const std::string& path, std::span<const float> interleaved, int channels,
                      int sampleRate) {
    uint64_t dataBytes = interleaved.size() * 2ull;
    if (channels < 1 || channels > 8 || sampleRate < 1 || interleaved.size() % channels != 0 ||
        dataBytes > std::numeric_limits<uint32_t>::max() - 36) {
        return false;
    }
    std::vector<uint8_t> bytes = header(static_cast<uint32_t>(dataBytes), channels, sampleRate);
    bytes.reserve(bytes.size() + dataBytes);
    for (float sample : interleaved) {
        float clipped = std::isnan(sample) ? 0.0f : std::clamp(sample, -1.0f, 1.0f);
        auto value = static_cast<int16_t>(std::lround(clipped * 32767.0f));
        putLe(bytes, static_cast<uint16_t>(value), 2);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace sound
