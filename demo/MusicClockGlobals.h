// The music clock the frame loop publishes once per frame for the production to read.
#pragma once

#include <cstdint>

// Seconds since the music started.
extern float g_demoSeconds;
// The part of the production: 0, 1 or 2.
extern std::int32_t g_demoPart;
// 64 magnitudes of the music's spectrum, lowest band first; allocated once before loading and
// never freed. Null until then.
extern float* g_spectrum;
