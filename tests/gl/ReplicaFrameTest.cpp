// The benchmark's ruler: a frame of the show traced on the OpenGL device and replayed with plain
// OpenGL calls reproduces the device's read-back exactly, in each part of the show and for the
// floor frame. A replica that drew something else would make every device / replica ratio of
// `bench --replica` meaningless.
#include <gtest/gtest.h>

#include "gfx/GraphicsContext.h"
#include "tools/bench/show/FloorFrame.h"
#include "tools/bench/show/GLFrameTrace.h"
#include "tools/bench/show/ReplicaFrame.h"
#include "tools/capture/CaptureSession.h"

namespace {

ReplicaFrame traced(const std::function<bool()>& render) {
    GLFrameTrace tracer([](const char* kind) { return std::string(kind); });
    EXPECT_TRUE(render());
    return ReplicaFrame(tracer.finish());
}

void expectSamePixels(ReplicaFrame& replica, const char* what) {
    ASSERT_TRUE(replica.valid()) << what << ": " << replica.error();
    replica.enter();
    replica.render();
    const GLenum error = glGetError();
    replica.leave();
    EXPECT_EQ(error, static_cast<GLenum>(GL_NO_ERROR)) << what;
    ASSERT_FALSE(replica.devicePixels().empty()) << what << ": the trace saw no read-back";
    EXPECT_TRUE(replica.pixels() == replica.devicePixels()) << what;
}

}  // namespace

TEST(ReplicaFrameTest, ReplaysTheShowAndTheFloorFramePixelForPixel) {
    CaptureSession::Setup setup;
    setup.width = 320;
    setup.height = 180;
    CaptureSession show(setup);
    ASSERT_TRUE(show.start()) << show.error();
    // The tube, the model with its lights under the logo, the credits fading out.
    for (const std::int64_t frame : {600, 5400, 6960}) {
        ASSERT_TRUE(show.render(Rational{frame - 1, 60})) << show.error();
        ReplicaFrame replica = traced([&] { return show.render(Rational{frame, 60}); });
        expectSamePixels(replica, ("frame " + std::to_string(frame)).c_str());
    }
    IDirect3DDevice9& device = *kelvo::GraphicsContext::instance().device;
    FrameGrabber finish(device, setup.width, setup.height, false);
    FloorFrame floor(device, finish);
    ReplicaFrame replica = traced([&] { return floor.render(6), true; });
    expectSamePixels(replica, "floor frame");
}
