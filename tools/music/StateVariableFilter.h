#pragma once

namespace music {

// A trapezoidal state-variable filter: stays stable while its cutoff moves every sample, which
// the bass plucks, pad swells and noise risers need.
class StateVariableFilter {
public:
    struct Output {
        double low;
        double band;
        double high;
    };

    void setCutoff(double hz, double q);
    Output process(double x);

private:
    double a1_ = 0.0, a2_ = 0.0, a3_ = 0.0, k_ = 1.0;
    double s1_ = 0.0, s2_ = 0.0;
};

}  // namespace music
