#include "demo/CameraPrograms.h"

#include <array>
#include <cmath>

#include "demo/Timeline.h"

namespace {

// The directions are not unit length on purpose; the shots were framed with them as they are.
constexpr std::array<CameraShot, kCameraShotCount> kShots{{
    {{-0.0f, -0.13f, -0.39f}, {0.0f, 0.0f, 1.0f}, {1.0f, 0.02f, 0.0f}, 3.0f},
    {{0.49f, -0.15f, 0.21f}, {-0.99f, 0.09f, -0.14f}, {0.02f, 1.0f, -0.0f}, 0.001f},
    {{-0.11f, 1.02f, -0.16f}, {0.36f, -0.88f, 0.29f}, {-0.57f, 0.15f, 0.81f}, 0.001f},
    {{0.67f, -0.38f, 0.25f}, {-0.63f, 0.74f, -0.24f}, {-0.57f, 0.15f, 0.81f}, 0.001f},
    {{-0.1f, 0.04f, -0.39f}, {-0.12f, 0.52f, 0.85f}, {0.38f, 0.88f, -0.28f}, 0.001f},
}};

}  // namespace

void steerPartZero(CameraRig& rig, float t) {
    rig.up = {1.0f, 0.0f, 0.0f};
    rig.dir = {0.0f, 0.0f, 1.0f};
    rig.pos = {0.0f, 0.0f, 0.0f};
    if (t < timeline::kDriftEnd) {
        rig.strafe(t / 1000.0f);
    } else if (t < timeline::kLogoStart) {
        // The drift stops where it stood at the phrase end, so the eye does not jump.
        rig.strafe(timeline::kDriftEnd / 1000.0f);
        const float f = std::fmin(t - 20.0f, 10.0f);
        rig.roll(t * (f / 15.0f) / 10000.0f);
    } else {
        rig.roll(t / 10000.0f);
    }
}

int cameraShotIndex(float t) {
    if (!std::isfinite(t)) {
        return 0;
    }
    const int shot =
        static_cast<int>(std::fmod(std::trunc(t), static_cast<float>(kCameraShotCount)));
    return shot < 0 ? shot + kCameraShotCount : shot;
}

const CameraShot& cameraShot(int index) {
    return kShots.at(static_cast<std::size_t>(index));
}

void steerPartOne(CameraRig& rig, float t) {
    const CameraShot& shot = cameraShot(cameraShotIndex(t));
    rig.pos = shot.pos;
    rig.dir = shot.dir;
    rig.up = shot.up;
    rig.pos.x += std::sin(t / 10.0f);
}

void steerPartTwoTracer(CameraRig& rig, float t) {
    rig.reset();
    rig.pos.z = std::sin(t) * 0.37f + 0.07f;
    rig.pos.x = std::cos(std::sin(t / 17.0f) * 3.0f + t * 1.12f) * 0.1f;
    rig.pos.y = std::sin(std::sin(t / 21.0f) * 4.1f + t * 1.22f) * 0.1f;
    rig.dir.x = std::sin(t / 7.0f) * (std::cos(t / 11.0f) * 0.1f);
    rig.dir.y = std::sin(t / 7.5f + 2.0f) * (std::sin(t / 9.5f) * 0.1f);
    rig.normalizeDir();
}

void steerPartTwoScene(CameraRig& rig, float t) {
    // k stays a float holding an integer, so a NaN time gives NaN rather than an undefined cast.
    const float k = std::trunc(2.0f * t);
    rig.reset();
    rig.roll(t / 50.0f);
    rig.pos.z = (std::sin(k) + 1.0f) * -0.5f * 1.19f;
}
