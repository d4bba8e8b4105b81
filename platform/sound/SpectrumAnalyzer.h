#pragma once

namespace sound {

// Magnitude spectrum of a 128-sample block with a rectangular window: 64 values, lowest first,
// value k = 2 * |X_k| / 128 clamped to [0, 1], so a full-scale sine centred on bin k reads 1.0
// there. Bin k covers about k * rate / 128 Hz to (k + 1) * rate / 128 Hz.
// The FFT plan and buffers are made once; analyze() allocates nothing. One analyzer per thread.
class SpectrumAnalyzer {
public:
    static constexpr int kBlock = 128;
    static constexpr int kBins = kBlock / 2;

    SpectrumAnalyzer();
    ~SpectrumAnalyzer();
    SpectrumAnalyzer(const SpectrumAnalyzer&) = delete;
    SpectrumAnalyzer& operator=(const SpectrumAnalyzer&) = delete;

    // The block the next analyze() reads: kBlock samples, oldest first.
    float* input() { return input_; }
    // Writes the lowest `count` bins (1..kBins) to out.
    void analyze(float* out, int count);

private:
    float* input_;
    void* output_;  // fftwf_complex[kBins + 1], kept opaque so callers need no fftw header
    void* plan_;
};

}  // namespace sound
