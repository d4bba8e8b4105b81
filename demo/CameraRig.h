// The timeline's camera controls: an eye position, a view direction and an up vector, steered
// with a few operations and then copied onto the scene camera. Directions are used as they are
// given; only normalizeDir makes one unit length.
#pragma once

#include "gfx/PerspectiveCamera.h"
#include "gfx/Vec3.h"

class CameraRig {
public:
    // up (0, 1, 0), dir (0, 0, 1), pos at the origin.
    void reset();
    // Moves pos sideways: pos - d * (up x dir).
    void strafe(float d);
    // Turns up about dir (taken as a unit axis) by a radians; nothing when dir is zero.
    void roll(float a);
    // dir to unit length; a zero dir stays zero.
    void normalizeDir();
    // The camera looks from pos towards pos + dir with up as its up vector.
    void applyTo(kelvo::PerspectiveCamera& camera) const;

    kelvo::Vec3 up{0.0f, 1.0f, 0.0f};
    kelvo::Vec3 dir{0.0f, 0.0f, 1.0f};
    kelvo::Vec3 pos{0.0f, 0.0f, 0.0f};
};
