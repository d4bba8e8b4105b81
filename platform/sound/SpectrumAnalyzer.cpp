#include "platform/sound/SpectrumAnalyzer.h"

#ifndef __EMSCRIPTEN__
#include <fftw3.h>
#endif

#include <algorithm>
#include <cmath>
#include <mutex>

namespace sound {

#ifndef __EMSCRIPTEN__

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

#else

// The browser build has no FFTW: the 64 bins of a 128-sample block are a direct transform
// (8192 multiplications a frame), with the cosines and sines computed once.
namespace {

struct Twiddles {
    float cosine[SpectrumAnalyzer::kBlock];
    float sine[SpectrumAnalyzer::kBlock];
    Twiddles() {
        for (int n = 0; n < SpectrumAnalyzer::kBlock; ++n) {
            const double angle = 2.0 * 3.14159265358979323846 * n / SpectrumAnalyzer::kBlock;
            cosine[n] = static_cast<float>(std::cos(angle));
            sine[n] = static_cast<float>(std::sin(angle));
        }
    }
};

const Twiddles& twiddles() {
    static const Twiddles table;
    return table;
}

}  // namespace

SpectrumAnalyzer::SpectrumAnalyzer()
    : input_(new float[kBlock]()), output_(nullptr), plan_(nullptr) {}

SpectrumAnalyzer::~SpectrumAnalyzer() {
    delete[] input_;
}

void SpectrumAnalyzer::analyze(float* out, int count) {
    const Twiddles& t = twiddles();
    constexpr float kScale = 2.0f / kBlock;
    const int bins = std::clamp(count, 0, kBins);
    for (int k = 0; k < bins; ++k) {
        float re = 0.0f;
        float im = 0.0f;
        for (int n = 0; n < kBlock; ++n) {
            const int phase = (k * n) % kBlock;
            re += input_[n] * t.cosine[phase];
            im -= input_[n] * t.sine[phase];
        }
        out[k] = std::min(std::hypot(re, im) * kScale, 1.0f);
    }
}

#endif

}  // namespace sound
