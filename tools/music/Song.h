#pragma once

#include <vector>

#include "tools/music/Cymbal.h"
#include "tools/music/Kick.h"
#include "tools/music/Mixer.h"
#include "tools/music/Random.h"

namespace music {

// The show's track, arranged to its timeline (one phrase = 16 bars = 27.825 s):
//   bars  0-15  intro: pads, drone, wind and bells over the nebula tube;
//   bars 16-31  build: the beat enters and rises; a fill under the flash (53.3-54.3 s), a breath;
//   bars 32-39  drop with the logo (55.65 s): full beat, hats driving the high-band overlays;
//   bars 40-55  main groove (69.56 s): lead melody, accents on every whole second (camera cuts);
//   bars 56-63  wash (97.39 s): a rising noise and brightening pads into the climax at 111.3 s;
//   bars 64-    outro under the credits, fading out with the picture by about 123 s.
class Song {
public:
    static constexpr double kLength = 132.0;
    static constexpr double kPeak = 0.84;  // -1.5 dBFS: room for the encoder's overshoot

    Song();
    // Interleaved stereo at kSampleRate, kLength seconds, peaking at kPeak.
    std::vector<float> render();

private:
    void intro();
    void build();
    void flashFill();
    void drop();
    void groove(int firstBar, int lastBar, double wash);
    void secondAccents(double from, double to);
    void washRiser();
    void outro();

    void kick(double time, double gain, const Kick::Tone& tone = {});
    void clap(double time, double gain, double bodyHz = 185.0, double clap = 1.0);
    void hat(double time, const Cymbal::Tone& tone, double gain, double pan, double reverb = 0.0);
    void impact(double time);
    void bass(int bar, double gain, bool rolling);
    void chordPad(double start, double length, int chord, double cutoffStart, double cutoffEnd,
                  double gain);
    void arpeggio(int bar, double gain);
    void melody(int bar, double gain);
    void bell(double time, double midi, double gain, double pan, double decay = 1.2);

    Mixer mixer_;
    Random random_;
};

}  // namespace music
