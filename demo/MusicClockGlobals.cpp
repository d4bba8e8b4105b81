#include "demo/MusicClockGlobals.h"

float g_demoSeconds = 0.0f;
std::int32_t g_demoPart = 0;
float* g_spectrum = nullptr;
