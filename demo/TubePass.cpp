#include "demo/TubePass.h"

#include "demo/MusicClockGlobals.h"
#include "demo/ProductionImages.h"
#include "demo/ProductionParameters.h"
#include "demo/TracerPP.h"
#include "gfx/DataFileCache.h"

TubeSetup tubeSetupFor(int part) {
    switch (part) {
        case 0:
            return {"tube.fxo", g_texNieluspace};
        case 1:
            return {"tube2x.fxo", g_texStars};
        default:
            return {"zoot.fxo", g_texStars};
    }
}

void tubePass(kelvo::IRenderable* scene) {
    const TubeSetup setup = tubeSetupFor(g_demoPart);
    kelvo::preloadDataFile(setup.effectFile);
    TracerPP tracer(scene, "Tube", setup.effectFile);
    g_tracerUvAdd[0] = 0.0f;
    g_tracerUvAdd[1] = g_tubeScroll;
    g_tracerUScale = g_tubeScale;
    tracer.texture = setup.image;
    // Straight into the bound target: the tracer never takes a buffer of its own.
    tracer.render(g_demoSeconds, false);
}
