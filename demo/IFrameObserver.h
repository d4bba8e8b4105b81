// Sees every frame once the content has drawn it and before it is presented, while the back
// buffer holds the finished picture (a discarding swap leaves it undefined after the present).
// Offline capture and the benchmark read the picture back here.
#pragma once

class IFrameObserver {
public:
    virtual ~IFrameObserver() = default;

    virtual void frameDrawn(float seconds) = 0;
};
