#pragma once
// Chord symbols as written in the song sources: a root (C, F#, Bb ...), an
// optional quality (m, 7, m7, maj7, sus2, sus4, dim, aug, add9, 6, m6) and an
// optional bass note after "/" (C/E).
#include <string>
#include <vector>

struct TChord {
  int Root = 0;                // pitch class, 0 = C
  int Bass = 0;                // pitch class of the bass note
  std::vector<int> Intervals;  // semitones above the root, ascending, starting with 0
};

// Raises std::invalid_argument for a symbol it does not know.
TChord ParseChord(const std::string& Symbol);
// Pitch class of a note letter with optional "#" or "b" ("F#", "Bb"); -1 if not one.
int PitchClass(const std::string& Name);
