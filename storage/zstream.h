#pragma once
// The zlib stage of member decoding, also used for ".ZL" files.
#include <zlib.h>

#include <cstdint>
#include <span>
#include <vector>

#include "shell/stream.h"
#include "storage/codec_errors.h"

inline constexpr const char* kZStreamVersion = "MyZStreamUnit, version 1.02";
inline constexpr const char* kZLibVersion = "zlib, version " ZLIB_VERSION;

// Inflates a zlib stream (with its 2-byte header) from Source's position into
// Destination. Raises EDecompress on a zlib error, a stream that ends early,
// or more than Limit bytes of output.
void InflateStream(TVXStreamBase& Source, TVXStreamBase& Destination, int64_t Limit = kMaxDecodedSize);
// The same on bytes in memory.
std::vector<uint8_t> InflateBytes(std::span<const uint8_t> Input, int64_t Limit = kMaxDecodedSize);
// A zlib stream (with header) of Data.
std::vector<uint8_t> DeflateBytes(std::span<const uint8_t> Data, int Level = Z_DEFAULT_COMPRESSION);
