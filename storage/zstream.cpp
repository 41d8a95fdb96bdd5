#include "storage/zstream.h"

#include <zlib.h>

#include <algorithm>
#include <string>

namespace {

constexpr size_t kBlock = 32768;

// Owns a zlib inflate state for one call.
class TInflater {
 public:
  TInflater() {
    if (inflateInit(&FZ) != Z_OK) throw EDecompress("zlib: cannot start inflation");
  }
  ~TInflater() { inflateEnd(&FZ); }
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
  z_stream* operator->() { return &FZ; }
  z_stream* Get() { return &FZ; }

 private:
  z_stream FZ{};
};

[[noreturn]] void Fail(int Code, const z_stream& Z) {
  std::string Text = "zlib error " + std::to_string(Code);
  if (Z.msg) Text += std::string(": ") + Z.msg;
  throw EDecompress(Text);
}

[[noreturn]] void TooLarge(int64_t Limit) {
  throw EDecompress("decoded data exceeds the limit of " + std::to_string(Limit >> 20) + " MiB");
}

}  // namespace

void InflateStream(TVXStreamBase& Source, TVXStreamBase& Destination, int64_t Limit) {
  TInflater Z;
  std::vector<uint8_t> In(kBlock), Out(kBlock);
  int64_t Total = 0;
  bool SourceDone = false;
  for (;;) {
    if (Z->avail_in == 0 && !SourceDone) {
      const size_t Got = Source.Read(In.data(), In.size());
      if (Got == 0) SourceDone = true;
      Z->next_in = In.data();
      Z->avail_in = static_cast<uInt>(Got);
    }
    const uInt InBefore = Z->avail_in;
    Z->next_out = Out.data();
    Z->avail_out = static_cast<uInt>(Out.size());
    const int R = inflate(Z.Get(), Z_NO_FLUSH);
    if (R != Z_OK && R != Z_STREAM_END && R != Z_BUF_ERROR) Fail(R, *Z.Get());
    const size_t Made = Out.size() - Z->avail_out;
    Total += static_cast<int64_t>(Made);
    if (Total > Limit) TooLarge(Limit);
    if (Made > 0 && !Destination.WriteExact(Out.data(), Made)) throw EDecompress("cannot write inflated data");
    if (R == Z_STREAM_END) return;
    // No progress: the input is exhausted before the stream's end.
    if (Made == 0 && InBefore == Z->avail_in) throw EDecompress("zlib stream ends early");
  }
}

std::vector<uint8_t> InflateBytes(std::span<const uint8_t> Input, int64_t Limit) {
  TInflater Z;
  std::vector<uint8_t> Out;
  // A guess at the ratio saves most regrowth on typical data.
  Out.resize(std::clamp<size_t>(Input.size() * 4, kBlock, static_cast<size_t>(Limit) + 1));
  Z->next_in = const_cast<Bytef*>(Input.data());
  size_t Done = 0;
  size_t Left = Input.size();
  for (;;) {
    if (Done == Out.size()) {
      if (static_cast<int64_t>(Done) > Limit) TooLarge(Limit);
      Out.resize(std::min<size_t>(Out.size() * 2, static_cast<size_t>(Limit) + 1));
    }
    const uInt InNow = static_cast<uInt>(std::min<size_t>(Left, 1u << 30));
    const uInt OutNow = static_cast<uInt>(std::min<size_t>(Out.size() - Done, 1u << 30));
    Z->avail_in = InNow;
    Z->next_out = Out.data() + Done;
    Z->avail_out = OutNow;
    const int R = inflate(Z.Get(), Z_NO_FLUSH);
    Left -= InNow - Z->avail_in;
    Done += OutNow - Z->avail_out;
    if (static_cast<int64_t>(Done) > Limit) TooLarge(Limit);
    if (R == Z_STREAM_END) break;
    if (R == Z_BUF_ERROR && Z->avail_out > 0) throw EDecompress("zlib stream ends early");
    if (R != Z_OK && R != Z_BUF_ERROR) Fail(R, *Z.Get());
  }
  Out.resize(Done);
  return Out;
}

std::vector<uint8_t> DeflateBytes(std::span<const uint8_t> Data, int Level) {
  uLongf Size = compressBound(static_cast<uLong>(Data.size()));
  std::vector<uint8_t> Out(Size);
  if (compress2(Out.data(), &Size, Data.data(), static_cast<uLong>(Data.size()), Level) != Z_OK)
    throw EEncode("zlib compression failed");
  Out.resize(Size);
  return Out;
}
