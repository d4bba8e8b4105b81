#include "demo/WindowConfig.h"

WindowConfig defaultWindowConfig() {
    WindowConfig config;
    config.width = 640;
    config.height = 360;
    config.bitsPerPixel = 32;
    config.fullscreen = false;
    config.caption = "Vornasto 2010 by Tirk";
    config.aspect = 1.7777778f;
    return config;
}
