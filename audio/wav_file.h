#pragma once
// RIFF WAVE reading (integer PCM of 8 to 32 bits and 32-bit float, mono or
// stereo) and writing (16-bit PCM).
#include <string>

#include "audio/pcm_sound.h"
#include "shell/stream.h"

// True when the bytes at the stream's position start a RIFF WAVE file;
// the position is restored.
bool LooksLikeWav(TVXStreamBase& Stream);

// Reads the whole file into Sound (always stereo). False, with the reason in
// Error, for anything malformed: a chunk running past the end, an unknown
// encoding, a format block that contradicts itself, no data.
bool ReadWav(TVXStreamBase& Stream, TPcmSound& Sound, std::string& Error);

// Writes interleaved 16-bit frames of Channels channels.
bool WriteWav(TVXStreamBase& Stream, const int16_t* Samples, size_t Frames, int Channels, uint32_t Rate);
