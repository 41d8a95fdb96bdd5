#pragma once
// The run-length stage: variant 5 (bytes) and variant 6 (7-bit bytes).
#include <cstdint>
#include <span>
#include <vector>

#include "shell/stream.h"
#include "storage/codec_errors.h"

inline constexpr const char* kRLEVersion = "RLEUnit, version 1.25a";

// Decodes a run-length stream from Input's position into Output, which is
// rewound to 0 afterwards. An unknown variant writes nothing. Raises
// EDecompress when the packets run past the input or the size cap.
void DecodeRLE(TVXStreamBase& Input, TVXStreamBase& Output);
std::vector<uint8_t> DecodeRLEBytes(std::span<const uint8_t> Input, int64_t Limit = kMaxDecodedSize);

// A run-length stream of Data. Variant 6 holds only bytes below 128 and
// raises EEncode for others; 0 picks the smaller variant that fits.
std::vector<uint8_t> EncodeRLE(std::span<const uint8_t> Data, uint8_t Variant = 0);
