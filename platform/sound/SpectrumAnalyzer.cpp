#include "platform/sound/SpectrumAnalyzer.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace sound {

namespace {

// fftw's planner is not thread-safe; only fftwf_execute is.
std::mutex& plannerMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

SpectrumAnalyzer::SpectrumAnalyzer() {
    std::lock_guard<std::mutex> lock(plannerMutex());
    input_ = fftwf_alloc_real(kBlock);
    auto* spectrum = fftwf_alloc_complex(kBins + 1);
    output_ = spectrum;
    // FFTW_ESTIMATE picks the plan without timing runs, so repeated runs choose the same plan and
    // compute the same values: the offline reader stays deterministic.
    plan_ = fftwf_plan_dft_r2c_1d(kBlock, input_, spectrum, FFTW_ESTIMATE);
    std::fill(input_, input_ + kBlock, 0.0f);
}

SpectrumAnalyzer::~SpectrumAnalyzer() {
    std::lock_guard<std::mutex> lock(plannerMutex());
    fftwf_destroy_plan(static_cast<fftwf_plan>(plan_));
    fftwf_free(output_);
    fftwf_free(input_);
}

void SpectrumAnalyzer::analyze(float* out, int count) {
    fftwf_execute(static_cast<fftwf_plan>(plan_));
    const auto* spectrum = static_cast<const fftwf_complex*>(output_);
    constexpr float kScale = 2.0f / kBlock;
    int bins = std::clamp(count, 0, kBins);
    for (int k = 0; k < bins; ++k) {
        float magnitude = std::hypot(spectrum[k][0], spectrum[k][1]) * kScale;
        out[k] = std::min(magnitude, 1.0f);
    }
}

}  // namespace sound
