// The whole show as capture renders it (the program's start-up on the offscreen video driver,
// then every frame on the offline clock, each read back into memory), with the output thrown
// away and three things watched over the run: memory, sampled once per second of the show, both
// resident and in use by the allocator (MemoryTrend, ResidentMemory); device resources created
// after the second frame, counted by the
// benchmark's decorator device, each also named on standard error; and, left to the caller,
// standard error itself, where the engine's failure reports go when nobody sees a message box.
//
// Results are printed as "key value" lines; the run fails (exit code 1, the reasons on standard
// error) when a late creation happened or either measure of memory did not stay flat.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/capture/Rational.h"

struct SoakSettings {
    int width = 320;
    int height = 180;
    Rational fps{60, 1};
    // The frames run from the start of the show while their time is before `to`.
    Rational to{126, 1};
    // Times the span is rendered over in one process: a small leak per frame that hides in the
    // noise of one show stands out after several.
    int laps = 1;
    double warmupSeconds = 10.0;
    // How far each measure may move after the warm-up (see BENCHMARKS.md for the figures these
    // bound: about 4 MB resident and 3 MB in use over the show at 320x180).
    std::int64_t residentToleranceKb = 16 * 1024;
    std::int64_t heapToleranceKb = 8 * 1024;
    // Where "seconds resident_kb heap_in_use_kb" lines go, one per sample (seconds counted over
    // all laps); empty for none.
    std::string traceFile;
};

// Returns the exit code: 0 when the run passed.
int runSoak(const SoakSettings& settings, std::FILE* out);
