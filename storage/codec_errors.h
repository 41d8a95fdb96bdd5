#pragma once
// Errors and limits shared by the member codecs.
#include <cstdint>
#include <stdexcept>

// Raised when member data cannot be decoded (damaged stream, zlib error,
// output over the size cap). Archive readers catch it and open nothing.
class EDecompress : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised when data cannot be written with the requested method.
class EEncode : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// No member decodes to more than this: archives are shared user data, and a
// few bytes of a crafted stream must not claim gigabytes.
inline constexpr int64_t kMaxDecodedSize = int64_t{256} << 20;
