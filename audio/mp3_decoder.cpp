#include "audio/mp3_decoder.h"

#include <mpg123.h>
#include <sys/types.h>

#include <cstdio>
#include <mutex>

namespace {

ssize_t ReadInput(void* Handle, void* Buffer, size_t Count) {
  return static_cast<ssize_t>(static_cast<TVXStreamBase*>(Handle)->Read(Buffer, Count));
}

off_t SeekInput(void* Handle, off_t Offset, int Whence) {
  auto* S = static_cast<TVXStreamBase*>(Handle);
  int64_t Target = Offset;
  if (Whence == SEEK_CUR) Target += S->Position();
  else if (Whence == SEEK_END) Target += S->Size();
  if (Target < 0 || Target > S->Size() || !S->Seek(Target)) return -1;
  return static_cast<off_t>(Target);
}

void EnsureLibrary() {
  static std::once_flag Once;
  std::call_once(Once, [] { mpg123_init(); });
}

}  // namespace

void TMp3Decoder::THandleDeleter::operator()(mpg123_handle_struct* H) const {
  mpg123_close(H);
  mpg123_delete(H);
}

TMp3Decoder::~TMp3Decoder() = default;

std::unique_ptr<TMp3Decoder> TMp3Decoder::Open(TVXStreamPtr Input, std::string& Error) {
  EnsureLibrary();
  int Code = MPG123_OK;
  std::unique_ptr<TMp3Decoder> D(new TMp3Decoder);
  D->FHandle.reset(mpg123_new(nullptr, &Code));
  if (!D->FHandle) {
    Error = "decoder unavailable";
    return nullptr;
  }
  mpg123_handle* H = D->FHandle.get();
  mpg123_param(H, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  // Stereo 16-bit at whatever rate the file has; we resample ourselves.
  mpg123_format_none(H);
  const long* Rates = nullptr;
  size_t RateCount = 0;
  mpg123_rates(&Rates, &RateCount);
  for (size_t I = 0; I < RateCount; ++I) mpg123_format(H, Rates[I], MPG123_STEREO, MPG123_ENC_SIGNED_16);
  D->FInput = std::move(Input);
  if (mpg123_replace_reader_handle(H, ReadInput, SeekInput, nullptr) != MPG123_OK ||
      mpg123_open_handle(H, D->FInput.get()) != MPG123_OK) {
    Error = "decoder cannot open the data";
    return nullptr;
  }
  long Rate = 0;
  int Channels = 0, Encoding = 0;
  if (mpg123_getformat(H, &Rate, &Channels, &Encoding) != MPG123_OK || Rate <= 0) {
    Error = "no MPEG audio frame found";
    return nullptr;
  }
  D->FRate = static_cast<uint32_t>(Rate);
  return D;
}

size_t TMp3Decoder::Read(int16_t* Stereo, size_t MaxFrames) {
  unsigned char* Out = reinterpret_cast<unsigned char*>(Stereo);
  const size_t Want = MaxFrames * 4;
  size_t Total = 0;
  // A format change or an empty frame returns without data; try again a few
  // times before calling it the end.
  for (int Tries = 0; Total < Want && Tries < 64; ++Tries) {
    size_t Done = 0;
    const int Code = mpg123_read(FHandle.get(), Out + Total, Want - Total, &Done);
    Total += Done;
    if (Code == MPG123_NEW_FORMAT) {
      long Rate = 0;
      int Channels = 0, Encoding = 0;
      if (mpg123_getformat(FHandle.get(), &Rate, &Channels, &Encoding) == MPG123_OK && Rate > 0)
        FRate = static_cast<uint32_t>(Rate);
      if (Total > 0) break;  // the rest comes at the new rate
      continue;
    }
    if (Code != MPG123_OK) break;
    if (Done > 0) Tries = 0;
  }
  return Total / 4;
}

bool TMp3Decoder::Rewind() { return mpg123_seek(FHandle.get(), 0, SEEK_SET) >= 0; }

bool TMp3Decoder::DecodeAll(TVXStreamPtr Input, TPcmSound& Sound, std::string& Error) {
  auto D = Open(std::move(Input), Error);
  if (!D) return false;
  Sound.Rate = D->Rate();
  Sound.Samples.clear();
  constexpr size_t kChunk = 4608;
  std::vector<int16_t> Chunk(kChunk * 2);
  while (true) {
    const size_t Got = D->Read(Chunk.data(), kChunk);
    if (Got == 0) break;
    if (Sound.Frames() + Got > kMaxPcmFrames) {
      Error = "sound too long";
      return false;
    }
    Sound.Samples.insert(Sound.Samples.end(), Chunk.begin(), Chunk.begin() + static_cast<long>(Got * 2));
  }
  if (Sound.Samples.empty()) {
    Error = "no sound decoded";
    return false;
  }
  // A file whose rate changes midway plays at the rate it started with.
  return true;
}
