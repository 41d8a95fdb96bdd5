#pragma once
// An in-memory extended module (XM, version 1.04) and its file image.
// Only what the module writer needs: 16-bit samples, volume and panning
// envelopes, packed patterns.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TXmCell {
  uint8_t Note = 0;        // 1..96 (C-0..B-7), 97 key off, 0 none
  uint8_t Instrument = 0;  // 1-based, 0 none
  uint8_t Volume = 0;      // volume column byte (0x10..0x50 set volume), 0 none
  uint8_t Effect = 0;
  uint8_t Param = 0;
  bool Empty() const { return !Note && !Instrument && !Volume && !Effect && !Param; }
  bool operator==(const TXmCell&) const = default;
};

struct TXmPattern {
  int Rows = 64;
  std::vector<TXmCell> Cells;  // Rows * channel count, row by row
};

struct TXmEnvelopePoint {
  uint16_t Tick = 0;
  uint16_t Value = 0;  // 0..64
};

struct TXmSample {
  std::vector<int16_t> Data;
  uint32_t LoopStart = 0;   // in samples
  uint32_t LoopLength = 0;  // in samples; 0: no loop
  uint8_t Volume = 64;
  int8_t Finetune = 0;
  uint8_t Panning = 128;
  int8_t RelativeNote = 0;
};

struct TXmInstrument {
  std::string Name;
  TXmSample Sample;
  std::vector<TXmEnvelopePoint> VolumeEnvelope;  // up to 12 points; empty: off
  int SustainPoint = -1;                         // index into VolumeEnvelope, -1: none
  uint16_t Fadeout = 0;                          // 0..4095, volume lost per tick after key off
};

struct TXmModule {
  std::string Name;
  int Channels = 8;
  int Speed = 6;    // ticks per row
  int Tempo = 125;  // BPM
  int Restart = 0;  // order index the song loops back to
  std::vector<uint8_t> Orders;
  std::vector<TXmPattern> Patterns;
  std::vector<TXmInstrument> Instruments;
};

// The file image. Raises std::invalid_argument when the module breaks a limit
// of the format (channels, orders, rows, envelope points, sizes).
std::vector<uint8_t> WriteXm(const TXmModule& Module);

// Relative note and finetune that make a sample holding a tone of Freq Hz,
// recorded at SampleRate, sound at the right pitch for every note.
void TuneSample(TXmSample& Sample, double Freq, int SampleRate);
