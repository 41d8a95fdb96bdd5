#pragma once
// Lays a song's sections out as XM patterns: one pattern per section, the
// play list as the order list. Channels: lead, counter, arp, three pad
// voices, bass, then one channel per drum instrument.
#include "tools/tracker/tune.h"
#include "tools/tracker/xm_writer.h"

// Raises ESynthSyntax when the song refers to something it does not define
// or a note falls outside the XM range.
TXmModule ComposeTune(const TTune& Tune);

// MIDI note number of a note name such as "c5", "f#3", "bb4"; -1 if not one.
int NoteNumber(const std::string& Name);
