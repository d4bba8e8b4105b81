// The tests' entry point. Tests never need a display or a sound card: SDL is pointed at its
// offscreen video driver and dummy audio driver (Mesa's software renderer draws the GL tests)
// unless the caller chose drivers already.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
