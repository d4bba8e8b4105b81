#include "demo/OverlayPlan.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "demo/KeyframeTrack.h"
#include "demo/ProductionImages.h"
#include "demo/ProductionParameters.h"
#include "demo/Timeline.h"

namespace {

constexpr std::array<float, 4> kScrollKeys{80.0f, 100.0f, 120.0f, 130.0f};
constexpr std::array<float, 4> kScaleKeys{0.001f, 0.002f, 0.004f, 0.02f};
constexpr std::array<float, 4> kBloomAlphaKeys{1.0f, 1.0f, 5.0f, 0.0f};
constexpr std::array<float, 4> kBloomPowerKeys{20.0f, 20.0f, 0.5f, 2.0f};
constexpr std::array<float, 4> kBloomRadiusKeys{0.01f, 0.0f, 0.001f, 1.1f};

constexpr std::array<float, 4> kCreditsAlphaKeys{0.0f, 1.0f, 1.0f, 0.0f};
constexpr std::array<float, 4> kCreditsThicknessKeys{0.1f, 0.1f, 0.79f, 0.1f};
constexpr std::array<float, 4> kCreditsWeightKeys{0.17f, 0.96f, 0.96f, 0.17f};
// Holds 0 after its last key: the picture stays faded out to the end.
constexpr std::array<float, 3> kFadeKeys{1.0f, 0.8f, 0.0f};

constexpr int kPartZeroBloomTag = 8;
constexpr int kLaterBloomTag = 666;

kelvo::Matrix uniformScale(float s) {
    kelvo::Matrix m = kelvo::Matrix::identity();
    m(0, 0) = s;
    m(1, 1) = s;
    m(2, 2) = s;
    return m;
}

kelvo::Matrix rotationXZ(float a) {
    kelvo::Matrix m = kelvo::Matrix::identity();
    m(0, 0) = std::cos(a);
    m(0, 2) = std::sin(a);
    m(2, 0) = -std::sin(a);
    m(2, 2) = std::cos(a);
    return m;
}

kelvo::Matrix rotationYZ(float a) {
    kelvo::Matrix m = kelvo::Matrix::identity();
    m(1, 1) = std::cos(a);
    m(1, 2) = -std::sin(a);
    m(2, 1) = std::sin(a);
    m(2, 2) = std::cos(a);
    return m;
}

float randomJitterAngle() {
    return static_cast<float>(100 - std::rand() % 200) / 500.0f;
}

float binSum(const float* spectrum, int first, int last) {
    if (spectrum == nullptr) {
        return 0.0f;
    }
    float sum = 0.0f;
    for (int i = first; i <= last; ++i) {
        sum += spectrum[i];
    }
    return sum;
}

bool inFlash(float t) {
    return t > timeline::kFlashStart && t <= timeline::kFlashEnd;
}

// The logo pulses: a short tilt at 10 % and 60 % of each eighth phrase, while it grows from 0.7
// at 55.65 s to 1.2 at the end of the part.
kelvo::Matrix logoTransform(float t) {
    kelvo::Matrix m = kelvo::Matrix::identity();
    const float p = std::fmod(t, timeline::kEighthPhrase) / timeline::kEighthPhrase;
    if (p > 0.1f && p < 0.11f) {
        m = m * kelvo::rotationZ(-0.05f);
    }
    if (p > 0.6f && p < 0.61f) {
        m = m * kelvo::rotationZ(0.05f);
    }
    const float growth = (t - timeline::kLogoStart) / (2.0f * timeline::kQuarterPhrase);
    return m * uniformScale(growth * 0.5f + 0.7f);
}

void fillText(OverlayPlan& plan) {
    plan.textAlpha = g_textAlpha;
    plan.textThickness = g_textThickness;
    plan.textWeight = g_textWeight;
}

}  // namespace

float lowSpectrumSum(const float* spectrum) {
    return binSum(spectrum, 37, 40);
}

float highSpectrumSum(const float* spectrum) {
    return binSum(spectrum, 49, 59);
}

int textImageIndex(float t) {
    const float quarter = std::trunc(4.0f * t / timeline::kPhrase);
    if (!std::isfinite(quarter)) {
        return 0;
    }
    const int index = static_cast<int>(std::fmod(quarter, static_cast<float>(kTextImageCount)));
    return index < 0 ? index + kTextImageCount : index;
}

OverlayPlan planPartZero(float t, const float* spectrum) {
    const float x = t <= timeline::kLogoStart ? t : t + (t - timeline::kLogoStart) * 0.01f;
    g_tubeScroll = KeyframeTrack(kScrollKeys).valueAt(x);
    g_tubeScale = KeyframeTrack(kScaleKeys).valueAt(x);
    g_bloomAlpha = KeyframeTrack(kBloomAlphaKeys).valueAt(x);
    g_bloomPower = KeyframeTrack(kBloomPowerKeys).valueAt(x);
    float radius = KeyframeTrack(kBloomRadiusKeys).valueAt(x);
    g_textThickness = 0.0f;
    g_textWeight = 1.0f;

    OverlayPlan plan;
    plan.image = g_texNieluspace;
    if (inFlash(t)) {
        const float a =
            (t - timeline::kFlashStart) / timeline::kFlashLength * std::numbers::pi_v<float>;
        g_textAlpha = 0.5f * std::sin(10.0f * a);
        g_textThickness = 1.0f;
        g_textWeight = 1.0f - std::sin(a);
    }
    if (t > timeline::kLogoStart) {
        g_textThickness = 4.0f * lowSpectrumSum(spectrum) + 0.1f;
        g_textWeight = 0.96f - 2.0f * highSpectrumSum(spectrum);
        g_textAlpha =
            0.95f * std::fmax((t - timeline::kLogoStart) / timeline::kQuarterPhrase, 1.0f);
        radius = 0.48f;
        g_bloomAlpha = 5.5f;
        g_bloomPower = 3.5f;
        g_tubeScale = (t - timeline::kLogoStart) * 0.01f + 0.3f;
        plan.image = g_texLogo;
        plan.transform = logoTransform(t);
    }
    if (inFlash(t)) {
        plan.transform = plan.transform * uniformScale(t - timeline::kFlashStart + 1.0f);
    }
    plan.bloomRadius = radius;
    plan.bloomAlpha = g_bloomAlpha;
    plan.bloomPower = g_bloomPower;
    plan.bloomTag = kPartZeroBloomTag;
    fillText(plan);
    return plan;
}

OverlayPlan planPartOne(float t, const float* spectrum) {
    const float low = lowSpectrumSum(spectrum);
    const float q = 30.0f * low * low;
    OverlayPlan plan;
    plan.bloomRadius = q + g_bloomRadius;
    if (t > timeline::kBloomGrowthStart) {
        plan.bloomRadius += t - timeline::kBloomGrowthStart;
    }
    plan.bloomAlpha = 100.0f * highSpectrumSum(spectrum) + g_bloomAlpha;
    plan.bloomPower = std::sin(t) + g_bloomPower + 15.0f * q;
    plan.bloomTag = kLaterBloomTag;
    fillText(plan);

    // A jolt of random tilts for 1 % of each quarter phrase (four or five frames at 60 Hz).
    const float p = std::fmod(t, timeline::kQuarterPhrase) / timeline::kQuarterPhrase;
    if (p > 0.1f && p < 0.11f) {
        plan.transform = plan.transform * kelvo::rotationZ(randomJitterAngle());
        plan.transform = plan.transform * rotationXZ(randomJitterAngle());
        plan.transform = plan.transform * rotationYZ(randomJitterAngle());
    }
    plan.transform = plan.transform * uniformScale(1.1f);
    plan.image = g_texText[textImageIndex(t)];
    return plan;
}

OverlayPlan planPartTwo(float t) {
    const float x = (t - g_partStartTime) * 5.0f;
    g_textAlpha = KeyframeTrack(kCreditsAlphaKeys).valueAt(x);
    g_textThickness = KeyframeTrack(kCreditsThicknessKeys).valueAt(x);
    g_textWeight = KeyframeTrack(kCreditsWeightKeys).valueAt(x);

    OverlayPlan plan;
    plan.bloomRadius = g_bloomRadius;
    plan.bloomAlpha = g_bloomAlpha;
    plan.bloomPower = g_bloomPower;
    plan.bloomTag = kLaterBloomTag;
    plan.image = g_texCredits;
    fillText(plan);
    plan.fade = true;
    plan.fadeAmount = KeyframeTrack(kFadeKeys).valueAt(x);
    return plan;
}

OverlayPlan planOverlay(int part, float t, const float* spectrum) {
    switch (part) {
        case 0:
            return planPartZero(t, spectrum);
        case 1:
            return planPartOne(t, spectrum);
        default:
            return planPartTwo(t);
    }
}
