#pragma once

namespace music {

// A phase accumulator with band-limited saw and square (polyBLEP corrections), so bright synth
// notes do not fold aliases into the top spectrum bands the show reacts to.
class Oscillator {
public:
    explicit Oscillator(double phase = 0.0) : phase_(phase) {}

    void setFrequency(double hz);
    double saw();
    double square();
    double sine();

private:
    void advance();

    double phase_;
    double step_ = 0.0;
};

double midiHz(double note);

}  // namespace music
