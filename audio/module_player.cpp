#include "audio/module_player.h"

#include <libopenmpt/libopenmpt.h>

void TModulePlayer::TModuleDeleter::operator()(openmpt_module* M) const { openmpt_module_destroy(M); }

TModulePlayer::~TModulePlayer() = default;

namespace {

// Cubic: see the header.
constexpr int kInterpolationTaps = 4;

openmpt_module* Open(const void* Data, size_t Size, const openmpt_module_initial_ctl* Controls, std::string& Error) {
  if (!Data || Size == 0) {
    Error = "no data";
    return nullptr;
  }
  int Code = 0;
  const char* Message = nullptr;
  openmpt_module* M = openmpt_module_create_from_memory2(Data, Size, openmpt_log_func_silent, nullptr,
                                                         openmpt_error_func_ignore, nullptr, &Code, &Message, Controls);
  if (!M) Error = Message && *Message ? Message : "not a module";
  if (Message) openmpt_free_string(Message);
  return M;
}

}  // namespace

bool TModulePlayer::Check(const void* Data, size_t Size, std::string& Error) {
  const openmpt_module_initial_ctl Controls[] = {{"load.skip_samples", "1"}, {nullptr, nullptr}};
  openmpt_module* M = Open(Data, Size, Controls, Error);
  if (!M) return false;
  openmpt_module_destroy(M);
  return true;
}

std::unique_ptr<TModulePlayer> TModulePlayer::Load(const void* Data, size_t Size, bool Loop, std::string& Error) {
  openmpt_module* M = Open(Data, Size, nullptr, Error);
  if (!M) return nullptr;
  openmpt_module_set_render_param(M, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH, kInterpolationTaps);
  std::unique_ptr<TModulePlayer> P(new TModulePlayer);
  P->FModule.reset(M);
  P->FLoop = Loop;
  openmpt_module_set_repeat_count(M, Loop ? -1 : 0);
  return P;
}

void TModulePlayer::Restart() { openmpt_module_set_position_order_row(FModule.get(), 0, 0); }

bool TModulePlayer::MixInto(float* Mix, size_t Frames, int Rate, float LeftGain, float RightGain) {
  float Block[2 * 512];
  while (Frames > 0) {
    const size_t Want = Frames < 512 ? Frames : 512;
    size_t Got = openmpt_module_read_interleaved_float_stereo(FModule.get(), Rate, Want, Block);
    if (Got == 0) {
      if (!FLoop) return false;
      // A song that ends despite looping (one that stops itself, say) starts
      // over; if that gives nothing either, it stays silent.
      Restart();
      Got = openmpt_module_read_interleaved_float_stereo(FModule.get(), Rate, Want, Block);
      if (Got == 0) return true;
    }
    for (size_t I = 0; I < Got; ++I) {
      Mix[I * 2] += Block[I * 2] * LeftGain;
      Mix[I * 2 + 1] += Block[I * 2 + 1] * RightGain;
    }
    Mix += Got * 2;
    Frames -= Got;
  }
  return true;
}
