// The production's per-frame entry: given the music time of the frame, it draws the whole frame
// into the back buffer the frame loop prepared (black bars, cleared picture area), between the
// clear and the present. It may read g_demoSeconds, g_demoPart and g_spectrum.
#pragma once

class IFrameContent {
public:
    virtual ~IFrameContent() = default;

    virtual void update(float seconds) = 0;
};
