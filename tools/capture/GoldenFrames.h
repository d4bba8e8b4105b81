// Golden frames: the show at key times of its timeline, small, compared with committed pictures.
// The key times sit on the timeline's events (part changes, cuts, overlays, the fade) and just
// either side of the quick ones, so a missing pass, a wrong texture or a wrong camera shows up in
// at least one of them. They are always rendered in the same order in one run, so content that
// carries state from frame to frame gives the same pictures every time.
#pragma once

#include <string>
#include <vector>

#include "tools/capture/ImageDifference.h"
#include "tools/capture/Rational.h"

namespace golden {

constexpr int kWidth = 320;
constexpr int kHeight = 180;

std::vector<Rational> keyTimes();
// "t_053.800.png"
std::string fileName(Rational seconds);

// Renders the key times and compares each with folder/fileName; a failing frame leaves
// NAME-actual.png and NAME-diff.png in outFolder. Returns the process exit code.
int check(const std::string& folder, const std::string& outFolder,
          const GoldenTolerance& tolerance = {});
// Renders the key times into folder. Returns the process exit code.
int update(const std::string& folder);

}  // namespace golden
