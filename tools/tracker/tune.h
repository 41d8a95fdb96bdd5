#pragma once
// A song as written in data/music/*.tune: instruments made of synth layers,
// chord progressions, short parts (melodies, bass figures, arpeggios, pad
// rhythms, drum grooves) and sections that combine them, played in order.
// Parts repeat to fill their section, so a one-bar bass figure serves an
// eight-bar section.
//
// The text, one statement per line, ";" starting a comment:
//   title T / author A / speed TICKS / bpm N / bar ROWS / gain X / restart ORDER
//   instrument NAME vol= pan= env=A,D,S,R period= cycles= pre=   (then "  layer ..." lines)
//   drum NAME vol= pan= length=                                  (then "  layer ..." lines)
//   chords NAME C Am F G,G7 ...      one symbol per bar, "X,Y" splits a bar
//   melody NAME inst=I               then rows: c5 f#4 bb3 (":40" sets a volume), "." hold, "-" off
//   bass NAME inst=I octave=2        rows: R 3 5 7 8 (chord steps, "'" up, "," down) or notes
//   arp NAME inst=I octave=4         rows: 1..9, the chord's tones counted upwards
//   pad NAME inst=I center=64        rows: x strikes the chord, "." holds (and follows chord changes), "-" off
//   drums NAME                       then "  DRUM x X o ." lines (normal, accent, soft, nothing)
//   section NAME bars= chords= lead= counter= arp= pad= bass= drums= shift=
//   play SECTION...
// Indented lines continue the block opened by the last statement.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/synth/synth_patch.h"

struct TTuneInstrument {
  std::string Name;
  bool Drum = false;  // one-shot sample at its own pitch, no envelope
  std::vector<TSynthLayer> Layers;
  int Volume = 48;                                                         // 0..64
  int Pan = 0;                                                             // -100 left .. 100 right
  double Attack = 0.005, Decay = 0.0, SustainLevel = 1.0, Release = 0.15;  // seconds / level
  int Period = 100;     // samples per cycle of the sample's base tone
  int Cycles = 100;     // cycles in the loop
  double Pre = 0.0;     // seconds before the loop (the sample's own attack)
  double Length = 0.3;  // seconds, drums only
};

enum class TPartKind { Melody, Bass, Arp, Pad, Drums };

struct TDrumLine {
  std::string Instrument;
  std::vector<std::string> Tokens;
};

struct TTunePart {
  TPartKind Kind = TPartKind::Melody;
  std::string Name;
  std::string Instrument;
  int Octave = 4;   // bass and arp: octave of the chord root
  int Center = 64;  // pad: voicing centre (MIDI note)
  std::vector<std::string> Tokens;
  std::vector<TDrumLine> Drums;
};

struct TTuneSection {
  std::string Name;
  int Bars = 4;
  std::string Chords;
  std::map<std::string, std::string> Parts;  // role (lead, counter, arp, pad, bass, drums) -> part
  int Shift = 0;                             // semitones
};

struct TTune {
  std::string Title, Author;
  int Speed = 6, Bpm = 125, RowsPerBar = 16;
  double Gain = 1.0;
  std::vector<TTuneInstrument> Instruments;
  std::map<std::string, std::vector<std::string>> Chords;  // name -> one symbol per bar ("C,G" splits a bar)
  std::vector<TTunePart> Parts;
  std::vector<TTuneSection> Sections;
  std::vector<std::string> Play;
  int Restart = 0;

  const TTuneInstrument* FindInstrument(const std::string& Name) const;
  int InstrumentIndex(const std::string& Name) const;
  const TTunePart* FindPart(const std::string& Name) const;
  const TTuneSection* FindSection(const std::string& Name) const;
};

// Parses a song source; raises ESynthSyntax with the line number on an error.
TTune ParseTune(std::string_view Text);
// Adds the definitions of one more source (a shared instrument kit, then the
// song) to Tune.
void ParseTuneInto(std::string_view Text, TTune& Tune);
