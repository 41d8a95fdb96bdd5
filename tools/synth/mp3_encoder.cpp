#include "tools/synth/mp3_encoder.h"

#include <lame/lame.h>

#include <memory>

namespace {

struct TLameCloser {
  void operator()(lame_global_flags* Flags) const { lame_close(Flags); }
};
using TLamePtr = std::unique_ptr<lame_global_flags, TLameCloser>;

}  // namespace

std::vector<uint8_t> EncodeMp3(const std::vector<int16_t>& Samples, int SampleRate, int KBitsPerSecond) {
  TLamePtr Lame(lame_init());
  if (!Lame) throw EMp3Encode("lame_init failed");
  lame_global_flags* G = Lame.get();
  lame_set_num_channels(G, 1);
  lame_set_in_samplerate(G, SampleRate);
  lame_set_out_samplerate(G, SampleRate);
  lame_set_mode(G, MONO);
  lame_set_VBR(G, vbr_off);
  lame_set_brate(G, KBitsPerSecond);
  lame_set_quality(G, 2);
  lame_set_bWriteVbrTag(G, 1);
  lame_set_write_id3tag_automatic(G, 0);
  if (lame_init_params(G) < 0) throw EMp3Encode("lame_init_params refused the settings");

  // Worst case from lame.h: 1.25 * samples + 7200.
  std::vector<uint8_t> Out(Samples.size() * 5 / 4 + 7200);
  const int Written = lame_encode_buffer(G, Samples.data(), Samples.data(), static_cast<int>(Samples.size()),
                                         Out.data(), static_cast<int>(Out.size()));
  if (Written < 0) throw EMp3Encode("lame_encode_buffer failed (" + std::to_string(Written) + ")");
  size_t Size = static_cast<size_t>(Written);
  Out.resize(Size + 7200);
  const int Flushed = lame_encode_flush(G, Out.data() + Size, static_cast<int>(Out.size() - Size));
  if (Flushed < 0) throw EMp3Encode("lame_encode_flush failed (" + std::to_string(Flushed) + ")");
  Size += static_cast<size_t>(Flushed);
  Out.resize(Size);

  // The encoder left an empty first frame for the info tag; fill it in.
  unsigned char Tag[2880];
  const size_t TagSize = lame_get_lametag_frame(G, Tag, sizeof Tag);
  if (TagSize > sizeof Tag || TagSize > Out.size()) throw EMp3Encode("LAME info frame does not fit");
  std::copy(Tag, Tag + TagSize, Out.begin());
  return Out;
}
