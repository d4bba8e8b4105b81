// The values the parts of the production pass to one another, process-wide and zero at program
// start: the timeline seeds them at part changes, the overlay drawing animates them and the tube
// pass reads them. A value keeps its last write until a part writes it again, across part
// changes too. Main thread only.
//
// Order matters: the tube pass draws before the overlay drawing within a frame, so what the
// overlay writes reaches the tube one frame later.
#pragma once

#include "gfx/Matrix.h"

// Music time of the first frame of the current part.
extern float g_partStartTime;
// Text overlay appearance ("textWeight", "textThickness", "textAlpha").
extern float g_textWeight;
extern float g_textThickness;
extern float g_textAlpha;
// Bloom ("radius" in parts 1 and 2, "alpha", "power").
extern float g_bloomRadius;
extern float g_bloomAlpha;
extern float g_bloomPower;
// Tube pass: "uScale" and the second component of "uvAdd".
extern float g_tubeScale;
extern float g_tubeScroll;

// The inverse of the scene camera's view, published by the timeline for the tracer ("wvp").
extern kelvo::Matrix g_inverseView;

// What the tube pass hands the tracer before each render ("uvAdd", "uScale").
extern float g_tracerUvAdd[2];
extern float g_tracerUScale;

// Back to the program-start values: every parameter 0, the inverse view the identity. For a
// second run of the show in one process (tests, capture).
void resetProductionParameters();

// The values a part starts from, written on its first frame: part 1 seeds the text appearance
// and the bloom, part 2 the bloom's alpha and power; part 0 seeds nothing. Every part change
// also records t as g_partStartTime.
void enterPart(int part, float t);
