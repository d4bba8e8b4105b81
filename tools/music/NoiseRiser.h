#pragma once

#include <vector>

namespace music {

class Random;

// Filtered noise whose band and level rise over its length: the wind of the intro, the build's
// riser and the wash before the climax. `ceilingHz` caps the content so a riser can stay out of
// the top spectrum bands when the overlays must not see it.
class NoiseRiser {
public:
    struct Shape {
        double length = 8.0;
        double fromHz = 300.0;
        double toHz = 6000.0;
        double q = 1.5;
        double curve = 2.0;  // level = (t / length)^curve
        double ceilingHz = 11000.0;
    };

    static std::vector<float> render(const Shape& shape, Random& random);
};

}  // namespace music
