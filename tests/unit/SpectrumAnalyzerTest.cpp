#include "platform/sound/SpectrumAnalyzer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "tests/unit/SoundSignals.h"

namespace {

using sound::SpectrumAnalyzer;

class SpectrumAnalyzerTest : public ::testing::Test {
protected:
    void fillSine(double hz, double amplitude, double phase = 0.0) {
        for (int i = 0; i < SpectrumAnalyzer::kBlock; ++i) {
            analyzer.input()[i] = static_cast<float>(
                amplitude * std::sin(2.0 * std::numbers::pi * hz * i / soundtest::kRate + phase));
        }
    }
    void fill(float value) {
        std::fill(analyzer.input(), analyzer.input() + SpectrumAnalyzer::kBlock, value);
    }
    std::array<float, SpectrumAnalyzer::kBins> analyze() {
        std::array<float, SpectrumAnalyzer::kBins> bins{};
        analyzer.analyze(bins.data(), SpectrumAnalyzer::kBins);
        return bins;
    }

    SpectrumAnalyzer analyzer;
};

TEST_F(SpectrumAnalyzerTest, BinCentredSineReadsItsAmplitudeInItsBinOnly) {
    for (int k : {1, 3, 17, 40, 63}) {
        for (double amplitude : {0.5, 1.0}) {
            fillSine(soundtest::binHz(k), amplitude, 0.3);
            auto bins = analyze();
            for (int j = 0; j < SpectrumAnalyzer::kBins; ++j) {
                EXPECT_NEAR(bins[j], j == k ? amplitude : 0.0, 1e-4)
                    << "bin " << j << " for a sine centred on bin " << k;
            }
        }
    }
}

TEST_F(SpectrumAnalyzerTest, OffCentreToneLandsInItsBand) {
    // 1 kHz lies in bin 3 (1033.6 Hz centre, bins 344.5 Hz apart at 44.1 kHz).
    fillSine(1000.0, 0.8);
    auto bins = analyze();
    EXPECT_EQ(std::max_element(bins.begin(), bins.end()) - bins.begin(), 3);
    EXPECT_GT(bins[3], 0.5f);
}

TEST_F(SpectrumAnalyzerTest, SilenceAndConstantSignals) {
    fill(0.0f);
    for (float value : analyze()) {
        EXPECT_EQ(value, 0.0f);
    }
    // A constant c gives 2|X_0|/N = 2c in bin 0 and nothing elsewhere; full scale clamps to 1.
    fill(0.25f);
    auto bins = analyze();
    EXPECT_NEAR(bins[0], 0.5f, 1e-6);
    EXPECT_NEAR(*std::max_element(bins.begin() + 1, bins.end()), 0.0f, 1e-6);
    fill(-1.0f);
    EXPECT_EQ(analyze()[0], 1.0f);
}

TEST_F(SpectrumAnalyzerTest, WritesOnlyTheBinsAskedFor) {
    fillSine(soundtest::binHz(2), 0.5);
    std::array<float, SpectrumAnalyzer::kBins> bins;
    bins.fill(-7.0f);
    analyzer.analyze(bins.data(), 3);
    EXPECT_NEAR(bins[2], 0.5f, 1e-4);
    EXPECT_EQ(bins[3], -7.0f);
    EXPECT_EQ(bins.back(), -7.0f);
}

}  // namespace
