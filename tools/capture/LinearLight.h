// The sRGB transfer curve (IEC 61966-2-1) between the 8-bit values the show renders and linear
// light, where averaging is physically right: half a white pixel over black is as bright as a
// pixel of 50 % light (value 188), not one of value 128.
//
// toByte(fromByte(v)) == v for every byte, so a picture that goes through linear light and back
// unchanged comes out exactly as it went in.
#pragma once

#include <array>
#include <cstdint>

class LinearLight {
public:
    static float fromByte(std::uint8_t value) { return table().fromByte[value]; }
    // The nearest 8-bit value; out-of-range input is clamped.
    static std::uint8_t toByte(float linear);
    // The nearest 16-bit value; out-of-range input is clamped.
    static std::uint16_t toWord(float linear);

private:
    struct Table {
        std::array<float, 256> fromByte;
        // The linear light halfway (in sRGB terms) between neighbouring byte values.
        std::array<float, 255> byteEdges;
    };
    static const Table& table();
};
