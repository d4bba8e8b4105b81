// The sRGB transfer curve (IEC 61966-2-1) between the 8-bit values the show renders and linear
// light, where averaging is physically right: half a white pixel over black is as bright as a
// pixel of 50 % light (value 188), not one of value 128.
//
// toByte(fromByte(v)) == v for every byte, so a picture that goes through linear light and back
// unchanged comes out exactly as it went in. Both directions are table look-ups: a 4K picture
// has 25 million channel values to convert.
#pragma once

#include <array>
#include <cstdint>

class LinearLight {
public:
    static constexpr int kSteps = 4096;

    static float fromByte(std::uint8_t value) { return table().fromByte[value]; }
    // All 256 at once, for loops that convert whole rows.
    static const std::array<float, 256>& fromByteTable() { return table().fromByte; }
    // The nearest 8-bit value; out-of-range input is clamped.
    static std::uint8_t toByte(float linear);
    // The nearest 16-bit value; out-of-range input is clamped.
    static std::uint16_t toWord(float linear);

private:
    struct Table {
        std::array<float, 256> fromByte;
        // The linear light halfway (in sRGB terms) between neighbouring byte values.
        std::array<float, 255> byteEdges;
        // The byte below each of kSteps equal steps of linear light: where toByte starts.
        std::array<std::uint8_t, kSteps + 1> byteAtStep;
        // The encoded value at kSteps equal steps of the square root of linear light, which
        // spreads the steps where the curve is steep (near black).
        std::array<float, kSteps + 2> encodedAtRootStep;
    };
    static const Table& table();
};
