#include "tools/music/Reverb.h"

#include <array>

#include "tools/music/Biquad.h"

namespace music {

namespace {

constexpr std::array<size_t, 8> kCombs = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<size_t, 4> kAllpasses = {556, 441, 341, 225};
constexpr size_t kStereoSpread = 23;

class Comb {
public:
    explicit Comb(size_t length) : buffer_(length) {}
    double process(double x, double feedback, double damping) {
        double y = buffer_[index_];
        store_ = y * (1.0 - damping) + store_ * damping;
        buffer_[index_] = x + store_ * feedback;
        index_ = (index_ + 1) % buffer_.size();
        return y;
    }

private:
    std::vector<double> buffer_;
    size_t index_ = 0;
    double store_ = 0.0;
};

class Allpass {
public:
    explicit Allpass(size_t length) : buffer_(length) {}
    double process(double x) {
        double delayed = buffer_[index_];
        buffer_[index_] = x + delayed * 0.5;
        index_ = (index_ + 1) % buffer_.size();
        return delayed - x;
    }

private:
    std::vector<double> buffer_;
    size_t index_ = 0;
};

void channel(const Reverb::Room& room, const std::vector<double>& in, std::vector<double>& out,
             size_t spread) {
    std::vector<Comb> combs;
    std::vector<Allpass> allpasses;
    for (size_t length : kCombs) {
        combs.emplace_back(length + spread);
    }
    for (size_t length : kAllpasses) {
        allpasses.emplace_back(length + spread);
    }
    Biquad ceiling1 = Biquad::lowpass(room.inputCeilingHz, 0.7);
    Biquad ceiling2 = Biquad::lowpass(room.inputCeilingHz, 0.7);
    for (size_t i = 0; i < in.size(); ++i) {
        double x = 0.015 * ceiling2.process(ceiling1.process(in[i]));
        double sum = 0.0;
        for (auto& comb : combs) {
            sum += comb.process(x, room.size, room.damping);
        }
        for (auto& allpass : allpasses) {
            sum = allpass.process(sum);
        }
        out[i] += sum;
    }
}

}  // namespace

void Reverb::process(const Room& room, const std::vector<double>& left,
                     const std::vector<double>& right, std::vector<double>& outLeft,
                     std::vector<double>& outRight) {
    channel(room, left, outLeft, 0);
    channel(room, right, outRight, kStereoSpread);
}

}  // namespace music
