#pragma once
// Renders a song's instrument into an XM instrument: a pitched instrument
// becomes a looped sample of its steady tone with an ADSR volume envelope;
// a drum becomes a one-shot sample that sounds at its own pitch on C-5.
#include "tools/tracker/tune.h"
#include "tools/tracker/xm_writer.h"

// XM note on which drums play at their recorded pitch (C-5).
inline constexpr int kDrumNote = 61;

TXmInstrument MakeInstrument(const TTuneInstrument& Instrument, int Bpm, double Gain);
