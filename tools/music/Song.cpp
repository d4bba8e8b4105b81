#include "tools/music/Song.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/music/BassSynth.h"
#include "tools/music/Bell.h"
#include "tools/music/LeadSynth.h"
#include "tools/music/NoiseRiser.h"
#include "tools/music/PadSynth.h"
#include "tools/music/Snare.h"
#include "tools/music/Tempo.h"

namespace music {

namespace {

using Bus = Mixer::Bus;

// A minor: Am, F, C, G. Bass root, pad voicing and arpeggio tones (MIDI notes).
struct Chord {
    double root;
    std::array<double, 4> pad;
    std::array<double, 4> arp;
};

constexpr std::array<Chord, 4> kChords = {{
    {45, {57, 60, 64, 69}, {69, 72, 76, 81}},
    {41, {57, 60, 65, 69}, {69, 72, 77, 81}},
    {48, {55, 60, 64, 67}, {67, 72, 76, 79}},
    {43, {55, 59, 62, 67}, {67, 71, 74, 79}},
}};

// The melody: an eight-bar line over the four chords, in sixteenths from its first bar.
struct MelodyNote {
    int step;
    int length;
    double midi;
};

constexpr MelodyNote kMelody[] = {
    {0, 2, 69},   {3, 1, 72},   {4, 2, 76},   {6, 2, 74},   {8, 2, 72},   {10, 2, 69},
    {12, 4, 76},  {16, 2, 74},  {19, 1, 72},  {20, 4, 69},  {26, 2, 67},  {28, 4, 69},
    {32, 2, 69},  {35, 1, 72},  {36, 2, 77},  {38, 2, 76},  {40, 2, 72},  {42, 2, 69},
    {44, 4, 72},  {48, 3, 76},  {51, 1, 74},  {52, 4, 72},  {58, 2, 69},  {60, 4, 72},
    {64, 2, 67},  {67, 1, 72},  {68, 2, 76},  {70, 2, 79},  {72, 2, 76},  {74, 2, 74},
    {76, 4, 72},  {80, 2, 74},  {83, 1, 76},  {84, 4, 79},  {90, 2, 76},  {92, 4, 74},
    {96, 2, 71},  {99, 1, 74},  {100, 2, 79}, {102, 2, 76}, {104, 2, 74}, {106, 2, 71},
    {108, 4, 74}, {112, 6, 76}, {118, 2, 74}, {120, 4, 71}, {124, 4, 76},
};

// Hat voicings. The drop drives both high bands hard (the logo reacts to them); the main groove
// keeps them low because there they set the bloom's strength and power, which grow fast.
constexpr Cymbal::Tone kBuildOpen = {0.045, 1.0, 0.2, 0.2};
constexpr Cymbal::Tone kBuildClosed = {0.02, 0.8, 0.2, 0.1};
constexpr Cymbal::Tone kDropOpen = {0.085, 1.0, 1.0, 1.9};
constexpr Cymbal::Tone kDropClosed = {0.025, 0.7, 1.3, 0.6};
constexpr Cymbal::Tone kGrooveOpen = {0.07, 1.0, 0.8, 0.15};
constexpr Cymbal::Tone kGrooveClosed = {0.022, 0.8, 0.3, 0.08};
constexpr Cymbal::Tone kCrash = {0.75, 1.0, 0.5, 0.5};
constexpr Cymbal::Tone kGrooveCrash = {0.6, 1.0, 0.25, 0.1};
constexpr Cymbal::Tone kTick = {0.016, 0.2, 0.8, 0.0};

constexpr int kBuildBar = 16;
constexpr int kDropBar = 32;
constexpr int kGrooveBar = 40;
constexpr int kWashBar = 56;
constexpr int kOutroBar = 64;

double at(double bar, double beat = 0.0) {
    return barStart(bar) + beat * kBeat;
}

int grooveChord(int bar) {
    return (bar / 2) % 4;
}

}  // namespace

Song::Song() : mixer_(kLength), random_(0x564F52584D555331ull) {}

std::vector<float> Song::render() {
    intro();
    build();
    flashFill();
    drop();
    groove(kGrooveBar, kWashBar, 0.0);
    groove(kWashBar, kOutroBar, 1.0);
    secondAccents(70.0, 111.0);
    washRiser();
    outro();
    mixer_.setFade(116.5, 123.0);
    return mixer_.master(Reverb::Room{}, PingPongDelay::Setting{0.75 * kBeat, 0.45, 3500.0}, kPeak);
}

void Song::kick(double time, double gain, const Kick::Tone& tone) {
    mixer_.place(Bus::Drums, time, Kick::render(tone), {gain, 0.0, 0.02, 0.0});
    mixer_.duck(time, 0.65 * std::min(1.0, gain));
}

void Song::clap(double time, double gain, double bodyHz, double clapAmount) {
    Snare::Tone tone{bodyHz, 0.15, clapAmount, 6500.0};
    mixer_.place(Bus::Drums, time, Snare::render(tone, random_), {gain, -0.08, 0.25, 0.0});
}

void Song::hat(double time, const Cymbal::Tone& tone, double gain, double pan, double reverb) {
    mixer_.place(Bus::Drums, time, Cymbal::render(tone, random_), {gain, pan, reverb, 0.0});
}

void Song::impact(double time) {
    kick(time, 1.0, {40.0, 140.0, 0.9, 0.5});
    hat(time, kCrash, 0.35, 0.0, 0.4);
}

void Song::bass(int bar, double gain, bool rolling) {
    double root = kChords[grooveChord(bar)].root;
    for (int beat = 0; beat < 4; ++beat) {
        // Rolling: the three sixteenths after each kick; otherwise the off-beat eighth only.
        for (int step = rolling ? 1 : 2; step < 4; step += rolling ? 1 : 2) {
            BassSynth::Note note{root + (step == 3 && rolling ? 12.0 : 0.0), 0.8 * kSixteenth,
                                 200.0, rolling ? 1600.0 : 900.0, 0.6};
            mixer_.place(Bus::Music, at(bar, beat + step / 4.0), BassSynth::render(note),
                         {gain, 0.0, 0.0, 0.0});
        }
    }
}

void Song::chordPad(double start, double length, int chord, double cutoffStart, double cutoffEnd,
                    double gain) {
    const auto& notes = kChords[chord].pad;
    auto pad = PadSynth::render({notes, length, 0.6, 0.9, cutoffStart, cutoffEnd});
    mixer_.placeStereo(Bus::Music, start, pad.left, pad.right, {gain, 0.0, 0.45, 0.0});
}

void Song::arpeggio(int bar, double gain) {
    static constexpr int kOrder[8] = {0, 1, 2, 3, 2, 1, 3, 2};
    const auto& tones = kChords[grooveChord(bar)].arp;
    for (int step = 0; step < 16; ++step) {
        LeadSynth::Note note{tones[kOrder[step % 8]], 0.5 * kSixteenth, 0.6, 0.06, 0.2};
        double pan = (step % 2) ? -0.4 : 0.4;
        mixer_.place(Bus::Music, at(bar, step / 4.0), LeadSynth::render(note),
                     {gain * (step % 4 == 2 ? 1.0 : 0.7), pan, 0.15, 0.35});
    }
}

void Song::melody(int bar, double gain) {
    // The line starts at every eighth bar of the groove and runs over eight bars.
    int offset = ((bar - kGrooveBar) % 8) * 16;
    for (const auto& note : kMelody) {
        if (note.step < offset || note.step >= offset + 16) {
            continue;
        }
        LeadSynth::Note voice{note.midi + 12.0, note.length * kSixteenth * 0.9, 1.0, 0.2, 0.75};
        mixer_.place(Bus::Music, at(bar, (note.step - offset) / 4.0), LeadSynth::render(voice),
                     {gain, 0.1, 0.25, 0.3});
    }
}

void Song::bell(double time, double midi, double gain, double pan, double decay) {
    mixer_.place(Bus::Music, time, Bell::render({midi, decay, 3.5, 2.2}), {gain, pan, 0.6, 0.4});
}

void Song::intro() {
    for (int chord = 0; chord < 4; ++chord) {
        double cutoff = 300.0 * std::pow(2.0, chord * 0.6);
        chordPad(at(4 * chord), 4 * kBar, chord, cutoff, cutoff * 1.5, 0.42);
    }
    static constexpr double kDrone[] = {33.0, 45.0};
    auto drone = PadSynth::render({kDrone, kPhrase, 4.0, 1.5, 180.0, 420.0});
    mixer_.placeStereo(Bus::Music, 0.0, drone.left, drone.right, {0.5, 0.0, 0.3, 0.0});
    NoiseRiser::Shape wind{kPhrase, 250.0, 2600.0, 3.0, 1.0, 6000.0};
    mixer_.place(Bus::Effects, 0.0, NoiseRiser::render(wind, random_), {0.35, -0.3, 0.5, 0.0});

    // Sparse bells that thicken towards the beat.
    for (double beat = 4.0; beat < 64.0;) {
        const auto& tones = kChords[static_cast<int>(beat / 16.0) % 4].arp;
        double midi = tones[static_cast<size_t>(random_.unit() * 4.0)] + 12.0;
        bell(beat * kBeat, midi, 0.10, random_.bipolar() * 0.7, 1.6);
        beat += beat < 32.0 ? 6.0 : (beat < 52.0 ? 3.0 : 1.5);
    }
    // A heartbeat under the second half, and a reverse swell into the beat.
    for (int bar = 8; bar < kBuildBar; ++bar) {
        kick(at(bar), 0.25 + 0.03 * (bar - 8), {45.0, 90.0, 0.35, 0.0});
    }
    auto swell = Cymbal::render({0.5, 1.0, 0.3, 0.3}, random_);
    std::reverse(swell.begin(), swell.end());
    mixer_.place(Bus::Effects, at(kBuildBar) - static_cast<double>(swell.size()) / kSampleRate,
                 swell, {0.25, 0.0, 0.3, 0.0});
}

void Song::build() {
    for (int bar = kBuildBar; bar < kDropBar; ++bar) {
        double rise = (bar - kBuildBar) / 16.0;
        bool lastBar = bar == kDropBar - 1;
        for (int beat = 0; beat < 4; ++beat) {
            // The beat stops after the fill: one bar's breath before the drop.
            if (lastBar && beat > 0) {
                break;
            }
            kick(at(bar, beat), 0.7 + 0.3 * rise);
            if (bar >= 20) {
                hat(at(bar, beat + 0.5), kBuildOpen, 0.25 + 0.15 * rise, 0.25);
            }
            if (bar >= 24) {
                hat(at(bar, beat + 0.25), kBuildClosed, 0.12, -0.35);
                hat(at(bar, beat + 0.75), kBuildClosed, 0.12, -0.35);
                if (beat % 2 == 1 && bar < 28) {
                    clap(at(bar, beat), 0.4);
                }
            }
        }
        if (bar >= 24 && !lastBar) {
            bass(bar, 0.3, false);
        }
        if (bar % 2 == 0) {
            double bright = 600.0 * std::pow(2.0, 2.0 * rise);
            chordPad(at(bar), 2 * kBar - 0.3, grooveChord(bar), bright, bright * 1.4, 0.36);
        }
    }
    // Snare build: quarters, then eighths, then sixteenths, rising in pitch and level.
    for (double beat = 0.0; beat < 10.5; beat += beat < 4.0 ? 1.0 : (beat < 8.0 ? 0.5 : 0.25)) {
        double rise = beat / 10.5;
        clap(at(28, beat), 0.25 + 0.25 * rise, 185.0 + 80.0 * rise, 0.3);
    }
    NoiseRiser::Shape riser{at(kDropBar) - at(24), 300.0, 9000.0, 2.0, 2.5, 11000.0};
    mixer_.place(Bus::Effects, at(24), NoiseRiser::render(riser, random_), {0.5, 0.0, 0.3, 0.0});
    auto swell = Cymbal::render({0.45, 1.0, 0.8, 0.8}, random_);
    std::reverse(swell.begin(), swell.end());
    mixer_.place(Bus::Effects, at(kDropBar) - static_cast<double>(swell.size()) / kSampleRate,
                 swell, {0.35, 0.0, 0.2, 0.0});
}

void Song::flashFill() {
    // Under the flash (53.33-54.33 s): a thirty-second snare roll over falling toms, ending on
    // the downbeat of the last bar, where a crash rings out into the breath before the drop.
    const double start = at(30, 2.5);
    const double end = at(31, 1);
    for (double t = start; t < end - 1e-6; t += kSixteenth / 2.0) {
        double rise = (t - start) / (end - start);
        clap(t, 0.3 + 0.4 * rise, 220.0 + 140.0 * rise, 0.0);
    }
    for (int step = 0; step < 6; ++step) {
        double hz = 210.0 - 22.0 * step;
        kick(start + step * kSixteenth * 1.5, 0.45, {hz, hz * 1.8, 0.12, 0.2});
    }
    hat(end, kCrash, 0.4, 0.0, 0.5);
    kick(end, 0.9, {42.0, 150.0, 0.7, 0.4});
}

void Song::drop() {
    impact(at(kDropBar));
    for (int bar = kDropBar; bar < kGrooveBar; ++bar) {
        for (int beat = 0; beat < 4; ++beat) {
            kick(at(bar, beat), 1.0);
            if (beat % 2 == 1) {
                clap(at(bar, beat), 0.5);
            }
            hat(at(bar, beat + 0.5), kDropOpen, 0.32, 0.25);
            hat(at(bar, beat + 0.25), kDropClosed, 0.16, -0.35);
            hat(at(bar, beat + 0.75), kDropClosed, 0.16, -0.35);
        }
        bass(bar, 0.34, true);
        arpeggio(bar, 0.10);
        if (bar % 2 == 0) {
            chordPad(at(bar), 2 * kBar - 0.2, grooveChord(bar), 1800.0, 2600.0, 0.33);
        }
    }
    hat(at(36), kCrash, 0.3, 0.0, 0.4);
    for (int step = 8; step < 16; ++step) {
        clap(at(kGrooveBar - 1, step / 4.0), 0.25 + 0.03 * step, 200.0 + 8.0 * step, 0.3);
    }
}

void Song::groove(int firstBar, int lastBar, double wash) {
    if (firstBar == kGrooveBar) {
        impact(at(firstBar));
    }
    for (int bar = firstBar; bar < lastBar; ++bar) {
        double along = (bar - firstBar) / static_cast<double>(lastBar - firstBar);
        bool finalBar = wash > 0.0 && bar == lastBar - 1;
        for (int beat = 0; beat < 4; ++beat) {
            if (!(finalBar && beat >= 2)) {
                kick(at(bar, beat), 1.0);
            }
            if (beat % 2 == 1) {
                clap(at(bar, beat), 0.48);
            }
            hat(at(bar, beat + 0.5), kGrooveOpen, 0.3, 0.25);
            hat(at(bar, beat + 0.25), kGrooveClosed, 0.15, -0.35);
            hat(at(bar, beat + 0.75), kGrooveClosed, 0.15, -0.35);
        }
        bass(bar, 0.34, true);
        melody(bar, 0.16);
        if (bar >= 48 || wash > 0.0) {
            arpeggio(bar, 0.07 + 0.05 * wash * along);
        }
        if (bar % 2 == 0) {
            double bright = wash > 0.0 ? 1600.0 * std::pow(2.5, 2.0 * along) : 1600.0;
            chordPad(at(bar), 2 * kBar - 0.2, grooveChord(bar), bright, bright * 1.5, 0.3);
        }
        // A crash whenever the overlay changes its text image (every four bars).
        if ((bar - kGrooveBar) % 4 == 0 && bar != kGrooveBar) {
            hat(at(bar), kGrooveCrash, 0.22, 0.0, 0.3);
        }
    }
    if (wash > 0.0) {
        for (double beat = 0.0; beat < 8.0; beat += beat < 4.0 ? 0.5 : 0.25) {
            clap(at(lastBar - 2, beat), 0.25 + 0.04 * beat, 190.0 + 20.0 * beat, 0.3);
        }
    }
}

void Song::secondAccents(double from, double to) {
    // The camera cuts on every whole second of the groove: a bell ping and a short tick mark
    // each cut, a cross-rhythm against the beat (one cut every 2.3 beats).
    static constexpr double kNotes[] = {88.0, 84.0, 81.0, 86.0, 79.0};
    int index = 0;
    for (double t = from; t < to; t += 1.0, ++index) {
        double pan = index % 2 ? -0.5 : 0.5;
        mixer_.place(Bus::Music, t, Bell::render({kNotes[index % 5], 0.35, 1.41, 3.0}),
                     {0.07, pan, 0.3, 0.3});
        hat(t, kTick, 0.18, -pan);
    }
}

void Song::washRiser() {
    NoiseRiser::Shape wash{at(kOutroBar) - at(kWashBar), 200.0, 9000.0, 1.2, 2.0, 10000.0};
    mixer_.place(Bus::Effects, at(kWashBar), NoiseRiser::render(wash, random_),
                 {0.55, 0.0, 0.4, 0.0});
}

void Song::outro() {
    impact(at(kOutroBar));
    hat(at(kOutroBar), {1.6, 1.0, 0.3, 0.3}, 0.25, 0.0, 0.6);
    static constexpr int kOutroChords[] = {0, 1, 2, 0};
    for (int i = 0; i < 4; ++i) {
        chordPad(at(kOutroBar + 2 * i), 2 * kBar, kOutroChords[i], 2400.0 - 400.0 * i,
                 1800.0 - 400.0 * i, 0.4);
    }
    for (int bar = kOutroBar; bar < kOutroBar + 4; ++bar) {
        kick(at(bar), 0.6 - 0.1 * (bar - kOutroBar), {45.0, 110.0, 0.4, 0.1});
        hat(at(bar, 2.5), kGrooveOpen, 0.12, 0.25, 0.5);
    }
    for (int step = 0; step < 24; ++step) {
        const auto& tones = kChords[kOutroChords[(step / 6) % 4]].arp;
        bell(at(kOutroBar, step), tones[step % 4] + 12.0, 0.09, step % 2 ? -0.5 : 0.5, 1.4);
    }
}

}  // namespace music
