// The loading phase: the production is built on the main thread while a second thread keeps the
// screen alive, about twenty times a second clearing it to black and drawing the loading image
// small and spinning near the bottom-left corner. The loading thread is joined once the content
// exists, so it has issued its last device call before the frame loop draws its first frame.
//
// Not done here: the loading thread pumps no window events. SDL delivers them to the thread that
// made the window, which is busy loading; they wait for the frame loop's pump.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "demo/IFrameContent.h"
#include "gfx/Matrix.h"
#include "gfx/Texture.h"
#include "platform/d3d9/d3d9.h"
#include "platform/os/MillisecondClock.h"

// The spinning image, registered with the graphics context; null before loading.
extern kelvo::Texture* g_loadingImage;
// Set once the content exists; the loading thread stops when it sees it.
extern std::atomic<bool> g_loadingDone;

// Builds the content; returns once it exists and the loading thread has ended. Called once,
// after the device exists and before the music starts.
void runLoading();

// runLoading's steps with the content's construction and the loading thread's clock given:
// loads the image, starts the loading thread, runs build, sets g_loadingDone and joins the
// thread. build runs on the calling thread.
void runLoadingPhase(const std::function<void()>& build, os::MillisecondClock& clock);

// The content the loading phase built, or null before.
IFrameContent* loadedFrameContent();

// Destroys the content the loading phase built (nothing when there is none) and resets the
// loading screen's globals. Its meshes hold buffers of the device, so the shutdown runs it
// before it releases the graphics context.
void releaseLoadedContent();

// The loading thread's loop: returns 0 at once without a window, without the image or when
// loading is already done; otherwise draws a frame, sleeps 50 ms and repeats until done.
int loadingThreadMain(IDirect3DDevice9* device);
int loadingThreadMain(IDirect3DDevice9* device, os::MillisecondClock& clock);

// The image's transform at clock milliseconds ms: scaled to a fifth, turned by ms / 2000
// radians and moved to (-0.75, -0.75), so it spins half a radian a second whatever the clock's
// origin.
kelvo::Matrix loadingImageTransform(std::uint32_t ms);
