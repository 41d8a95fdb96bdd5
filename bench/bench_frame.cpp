// One frame of the play screen: a full 20x12 field of 32x32 sprites drawn
// onto the back surface, then the flip (dummy video driver, no pacing).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "graphics/image.h"
#include "graphics/sprite.h"
#include "graphics/video.h"

namespace {

// A 4-frame strip of 32x32 frames with a pattern, black corners for keying.
std::unique_ptr<TImage> MakeStrip(bool Keyed) {
  auto Image = std::make_unique<TImage>(128, 32);
  for (int K = 0; K < 4; ++K)
    for (int Y = 0; Y < 32; Y += 4)
      Image->Bar(K * 32 + 4, Y, 24, 3, static_cast<uint8_t>(60 * K), static_cast<uint8_t>(Y * 8), 200);
  Image->Animated = true;
  Image->FrameCount = 4;
  Image->Looping = true;
  Image->ColorKeyed = Keyed;
  if (Keyed) Image->SetColorKey();
  return Image;
}

// The window with pacing off and the field of sprites on one strip.
class TField {
 public:
  explicit TField(bool Keyed) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    VX_SDL::Start();
    VX_SDL::Initialize(640, 480, 32, VX_SDL::kUseSecondary);
    VX_SDL::SetFrameRate(0);
    FStrip = MakeStrip(Keyed);
    for (int X = 0; X < 20; ++X)
      for (int Y = 0; Y < 12; ++Y) FSprites.push_back(std::make_unique<TSprite>(32 * X, 32 * Y + 48, FStrip.get()));
  }
  ~TField() {
    FSprites.clear();
    VX_SDL::Finalize();
    VX_SDL::Stop();
  }
  void Draw() {
    for (auto& S : FSprites) S->Draw();
  }

 private:
  std::unique_ptr<TImage> FStrip;
  std::vector<std::unique_ptr<TSprite>> FSprites;
};

void BM_FieldFrame(benchmark::State& State) {
  TField Field(State.range(0) != 0);
  for (auto _ : State) {
    Field.Draw();
    VX_SDL::Flip();
  }
  State.SetLabel(State.range(0) ? "colour-keyed" : "opaque");
}
BENCHMARK(BM_FieldFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The two halves on their own.
void BM_FieldDrawOnly(benchmark::State& State) {
  TField Field(State.range(0) != 0);
  for (auto _ : State) Field.Draw();
  State.SetLabel(State.range(0) ? "colour-keyed" : "opaque");
}
BENCHMARK(BM_FieldDrawOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FlipOnly(benchmark::State& State) {
  TField Field(false);
  for (auto _ : State) VX_SDL::Flip();
}
BENCHMARK(BM_FlipOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
