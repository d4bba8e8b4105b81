// The content that draws nothing: frames show the black bars and the cleared picture area. The
// driver uses it until the loading phase has built the production.
#pragma once

#include "demo/IFrameContent.h"

class EmptyFrameContent final : public IFrameContent {
public:
    void update(float) override {}
};
