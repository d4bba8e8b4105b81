// The camera of each part of the production, as functions of the music time t (seconds):
// part 0 a quarter-rolled view that drifts, then rolls; part 1 five fixed shots cut on whole
// seconds; part 2 an oscillating eye, set up twice per frame (once for the tube tracer's view,
// once for the scene). Each function sets all nine components of the rig.
#pragma once

#include "demo/CameraRig.h"
#include "gfx/Vec3.h"

struct CameraShot {
    kelvo::Vec3 pos;
    kelvo::Vec3 dir;
    kelvo::Vec3 up;
    // What the tube pass scales its texture by during the shot.
    float tubeScale;
};

inline constexpr int kCameraShotCount = 5;

void steerPartZero(CameraRig& rig, float t);

// trunc(t) mod 5: the shot changes exactly at whole seconds. Times that are not finite give 0.
int cameraShotIndex(float t);
const CameraShot& cameraShot(int index);
// The rig takes the shot at t, swayed sideways by sin(t / 10).
void steerPartOne(CameraRig& rig, float t);

// The first part-2 set-up: the eye and direction wander on incommensurate sines.
void steerPartTwoTracer(CameraRig& rig, float t);
// The second: a slow roll with the eye stepping back and forth twice a second.
void steerPartTwoScene(CameraRig& rig, float t);
