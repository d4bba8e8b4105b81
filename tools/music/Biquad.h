#pragma once

namespace music {

// A second-order section with the usual audio-cookbook designs. Used where the cutoff stays
// fixed for a whole note (hats, cymbals, noise shaping); see StateVariableFilter for sweeps.
class Biquad {
public:
    static Biquad lowpass(double hz, double q);
    static Biquad highpass(double hz, double q);
    // Unity gain at the centre frequency.
    static Biquad bandpass(double hz, double q);

    double process(double x);
    void reset() { z1_ = z2_ = 0.0; }

private:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2);

    double b0_, b1_, b2_, a1_, a2_;
    double z1_ = 0.0;
    double z2_ = 0.0;
};

}  // namespace music
