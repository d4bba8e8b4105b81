// Reads every finished frame back from the back buffer, the Direct3D way: the back buffer is
// copied into one system-memory surface (made once) with GetRenderTargetData and locked. The copy
// also waits for the frame's GPU work, so a grabbed frame is a finished frame.
//
// A failed read-back is kept as an error and the frame counted as not grabbed: capture stops
// rather than write a wrong or missing picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo/IFrameObserver.h"
#include "platform/d3d9/d3d9.h"
#include "tools/capture/Image.h"

class FrameGrabber final : public IFrameObserver {
public:
    // keepPixels false stops after the copy into system memory: the GPU work is finished, but
    // nothing is locked or copied out (the benchmark's way of finishing a frame).
    FrameGrabber(IDirect3DDevice9& device, int width, int height, bool keepPixels = true);
    ~FrameGrabber() override;
    FrameGrabber(const FrameGrabber&) = delete;
    FrameGrabber& operator=(const FrameGrabber&) = delete;

    void frameDrawn(float seconds) override;

    // Frames read back successfully so far.
    std::uint64_t grabbed() const { return grabbed_; }
    // The first failure; empty while all went well.
    const std::string& error() const { return error_; }
    // The last frame as 4 bytes per pixel in memory order B, G, R, X; rows top first.
    const std::vector<std::uint8_t>& bgrx() const { return bgrx_; }
    Image rgb() const;

private:
    bool readBack();
    bool fail(const char* what, HRESULT result);

    IDirect3DDevice9& device_;
    int width_;
    int height_;
    bool keepPixels_;
    IDirect3DSurface9* copy_ = nullptr;
    std::vector<std::uint8_t> bgrx_;
    std::uint64_t grabbed_ = 0;
    std::string error_;
};
