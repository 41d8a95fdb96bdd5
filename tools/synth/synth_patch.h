#pragma once
// A synthesised sound described as a stack of layers. Each layer is one
// oscillator or noise source with its own pitch sweep, filter and envelope;
// the layers are summed. The text form is one line of key=value words per
// layer, so a sound reads (and diffs) like a short recipe:
//   sound length=SECONDS peak=DB
//   layer wave=sine|square|pulse|saw|triangle|noise|crackle freq= to= glide= ratio= duty=
//         vib= vibrate= at= attack= hold= decay= sustain= curve= gain=
//         filter=lowpass|highpass|bandpass cutoff= cutoff_to= ftime= q= drive= seed=
// (the fields below say what each key means).
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class ESynthSyntax : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TWaveShape { Sine, Square, Pulse, Saw, Triangle, Noise, Crackle };
enum class TFilterKind { None, LowPass, HighPass, BandPass };

struct TSynthLayer {
  TWaveShape Wave = TWaveShape::Sine;
  double Freq = 440.0;    // Hz; for Crackle the rate of new random values
  double FreqTo = 0.0;    // end of an exponential pitch sweep; 0: none
  double Glide = 0.0;     // seconds of the sweep; 0: the envelope's length
  double Ratio = 0.0;     // >0: pitch relative to the instrument's base pitch
  double Duty = 0.5;      // pulse width
  double VibDepth = 0.0;  // semitones
  double VibRate = 0.0;   // Hz
  double Start = 0.0;     // seconds from the start of the sound
  double Attack = 0.001;
  double Hold = 0.0;
  double Decay = 0.0;    // 0: the level stays at 1 after the attack
  double Sustain = 0.0;  // level reached at the end of the decay
  double Curve = 2.0;    // decay shape: (1-u)^Curve
  double GainDb = 0.0;
  TFilterKind Filter = TFilterKind::None;
  double Cutoff = 1000.0;
  double CutoffTo = 0.0;    // end of an exponential cutoff sweep; 0: none
  double FilterTime = 0.0;  // seconds of the cutoff sweep; 0: the envelope's length
  double Q = 0.707;
  double Drive = 0.0;  // >0: soft saturation after the filter
  uint32_t Seed = 1;   // noise generator seed

  // Attack + hold + decay: the time the layer takes to settle.
  double EnvelopeSpan() const;
};

struct TSynthPatch {
  double Length = 0.5;   // seconds
  double PeakDb = -3.0;  // the rendered sound is scaled to this peak
  std::vector<TSynthLayer> Layers;
};

namespace SynthText {

// Splits a line into words at blanks and tabs.
std::vector<std::string> Words(std::string_view Line);
// "key=value" into its parts; raises ESynthSyntax without "=".
void SplitKeyValue(const std::string& Word, std::string& Key, std::string& Value);
// A decimal number; raises ESynthSyntax when the text is not one.
double Number(const std::string& Key, const std::string& Value);
// A layer from the words after "layer"; raises ESynthSyntax on an unknown key or value.
TSynthLayer ParseLayer(const std::vector<std::string>& Words, size_t First);
// A whole sound source: a "sound" line with length= and peak=, then
// "layer" lines. Lines starting with ";" or "#" and blank lines are skipped.
TSynthPatch ParsePatch(std::string_view Text);

}  // namespace SynthText
