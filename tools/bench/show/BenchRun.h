// One size of the benchmark, in its own process (so peak memory and start-up belong to that size
// alone): the show started through a TimingDirect3D, its frames rendered in order at 60 frames a
// second on the offline clock, each finished with a full read-back of the back buffer
// (GetRenderTargetData into system memory, which waits for the GPU), then the floor frames.
// Results are printed as "key value" lines for the parent process to gather.
#pragma once

#include <cstdio>

struct BenchRunSettings {
    int width = 1280;
    int height = 720;
    // Seconds of the show to render from its start (the whole show: 126).
    double seconds = 126.0;
    // Also time every pass on its own (see PassClock); the frame times then mean little.
    bool passes = false;
    // Renders every stride-th frame only (1: all), to sample a long show quickly.
    int stride = 1;
};

// Returns the exit code of the child process.
int runBenchSize(const BenchRunSettings& settings, std::FILE* out);
