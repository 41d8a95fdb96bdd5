#pragma once
// A minimal RIFF WAVE image of mono 16-bit samples, for listening to what the
// synth makes.
#include <cstdint>
#include <vector>

std::vector<uint8_t> WavImage(const std::vector<int16_t>& Samples, int SampleRate);
