// Whatever renders the pictures a capture is made of: the show (CaptureSession) or, in tests, a
// scene drawn on the CPU whose motion and edges are known exactly.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "tools/capture/Rational.h"

class IFrameSource {
public:
    virtual ~IFrameSource() = default;

    // Renders the picture at this music time. False, with error(), when it could not be had.
    virtual bool render(Rational seconds) = 0;
    // The last picture: B, G, R, X bytes, rows top first, at the source's own size.
    virtual std::span<const std::uint8_t> bgrx() const = 0;
    virtual const std::string& error() const = 0;
};
