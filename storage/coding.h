#pragma once
// The byte transforms of member decoding: plane de-interleaving, delta and
// move-to-front, with the encoders that undo them.
#include <cstdint>
#include <span>
#include <vector>

#include "shell/stream.h"

inline constexpr const char* kCodingVersion = "CodingUnit, version 1.07a";

// Each reads the whole stream from its start and gives a new memory stream at 0.
TVXStreamPtr Deinterleave(TVXStreamBase& Stream, int Step);
TVXStreamPtr DeltaDecode(TVXStreamBase& Stream);
TVXStreamPtr MoveToFrontDecode(TVXStreamBase& Stream);

// Input byte i goes to output positions 0, k, 2k, ..., then 1, 1 + k, ...
std::vector<uint8_t> DeinterleaveBytes(std::span<const uint8_t> Data, int Step);
// The inverse: every k-th byte from 0, then every k-th byte from 1, ...
std::vector<uint8_t> SplitPlanes(std::span<const uint8_t> Data, int Step);

// In place: running sums modulo 256 / differences to the previous byte.
void DeltaDecodeBytes(std::vector<uint8_t>& Data);
void DeltaEncodeBytes(std::vector<uint8_t>& Data);

void MoveToFrontDecodeBytes(std::vector<uint8_t>& Data);
void MoveToFrontEncodeBytes(std::vector<uint8_t>& Data);
