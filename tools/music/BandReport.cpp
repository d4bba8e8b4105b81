#include "tools/music/BandReport.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/music/Tempo.h"

namespace music {

namespace {

constexpr double kStep = 0.002;
constexpr int kPhases = 16;

double quantile(std::vector<double> values, double q) {
    if (values.empty()) {
        return 0.0;
    }
    auto at = values.begin() + static_cast<long>(q * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

BandReport::Band summarise(const std::vector<double>& values, const std::vector<int>& phases) {
    BandReport::Band band;
    std::array<double, kPhases> sum{};
    std::array<int, kPhases> count{};
    for (size_t i = 0; i < values.size(); ++i) {
        band.mean += values[i];
        band.peak = std::max(band.peak, values[i]);
        sum[phases[i]] += values[i];
        ++count[phases[i]];
    }
    band.mean /= std::max<size_t>(values.size(), 1);
    band.p95 = quantile(values, 0.95);
    double loudest = 0.0, quietest = 1e9;
    for (int p = 0; p < kPhases; ++p) {
        if (count[p] > 0) {
            band.profile[p] = sum[p] / count[p];
            loudest = std::max(loudest, sum[p] / count[p]);
            quietest = std::min(quietest, sum[p] / count[p]);
        }
    }
    // A floor far below anything visible keeps a silent gap from dividing by zero.
    band.pulse = loudest / std::max(quietest, 1e-4);
    return band;
}

struct Section {
    const char* name;
    double start;
    double end;
};

constexpr Section kSections[] = {
    {"intro", 0.0, 27.825},
    {"build", 27.825, 53.33},
    {"flash", 53.33, 54.33},
    {"logo drop", 55.65, 69.5625},
    {"part 1 groove", 69.5625, 97.3875},
    {"wash", 97.3875, 111.3},
    {"outro", 111.3, 126.0},
};

}  // namespace

BandReport::Stretch BandReport::measure(sound::OfflineMusicReader& reader, double start,
                                        double end) {
    Stretch stretch;
    std::vector<int> phases;
    std::array<float, 64> bins{};
    const int rate = reader.track().sampleRate();
    for (double t = start; t < end; t += kStep) {
        auto frame = static_cast<int64_t>(std::llround(t * rate));
        reader.spectrumAtFrame(frame, bins.data());
        double s1 = 0.0, s2 = 0.0;
        for (int k = kFirstS1; k <= kLastS1; ++k) {
            s1 += bins[k];
        }
        for (int k = kFirstS2; k <= kLastS2; ++k) {
            s2 += bins[k];
        }
        stretch.s1Values.push_back(s1);
        stretch.s2Values.push_back(s2);
        double phase = std::fmod(t, kBeat) / kBeat;
        phases.push_back(std::min(kPhases - 1, static_cast<int>(phase * kPhases)));
    }
    stretch.s1 = summarise(stretch.s1Values, phases);
    stretch.s2 = summarise(stretch.s2Values, phases);
    return stretch;
}

void BandReport::print(sound::OfflineMusicReader& reader, std::FILE* out) {
    std::fprintf(out, "%-14s %-7s | %-28s | %-28s\n", "section", "seconds",
                 "s1 mean / p95 / peak / pulse", "s2 mean / p95 / peak / pulse");
    for (const auto& section : kSections) {
        Stretch s = measure(reader, section.start, section.end);
        std::fprintf(out,
                     "%-14s %5.1f-%-5.1f | %6.3f %6.3f %6.3f %5.2f | %6.3f %6.3f %6.3f %5.2f\n",
                     section.name, section.start, section.end, s.s1.mean, s.s1.p95, s.s1.peak,
                     s.s1.pulse, s.s2.mean, s.s2.p95, s.s2.peak, s.s2.pulse);
    }
    for (const auto& section : {kSections[3], kSections[4]}) {
        Stretch s = measure(reader, section.start, section.end);
        for (const auto* band : {&s.s1, &s.s2}) {
            std::fprintf(out, "%s %s by sixteenth of the beat:", section.name,
                         band == &s.s1 ? "s1" : "s2");
            for (double value : band->profile) {
                std::fprintf(out, " %.3f", value);
            }
            std::fprintf(out, "\n");
        }
    }
    // What the overlays make of it: the logo's text weight and thickness, the groove's bloom.
    Stretch logo = measure(reader, 55.65, 69.5625);
    std::fprintf(out,
                 "logo: textWeight 0.96-2*s2 p5 %.2f min %.2f; textThickness 4*s1+0.1 p95 %.2f "
                 "max %.2f\n",
                 0.96 - 2.0 * logo.s2.p95, 0.96 - 2.0 * logo.s2.peak, 4.0 * logo.s1.p95 + 0.1,
                 4.0 * logo.s1.peak + 0.1);
    Stretch groove = measure(reader, 69.5625, 111.3);
    std::fprintf(out,
                 "part 1: bloom alpha 100*s2+0.1 p95 %.2f max %.2f; power 3+sin t+450*s1^2 "
                 "(without sin) p95 %.2f max %.2f\n",
                 100.0 * groove.s2.p95 + 0.1, 100.0 * groove.s2.peak + 0.1,
                 3.0 + 450.0 * groove.s1.p95 * groove.s1.p95,
                 3.0 + 450.0 * groove.s1.peak * groove.s1.peak);
}

}  // namespace music
