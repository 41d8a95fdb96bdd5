#include "game/options_screen.h"

#include <gtest/gtest.h>

#include "audio/music_collection.h"
#include "audio/wave_collection.h"
#include "config/setup_command.h"
#include "game/settings.h"
#include "graphics/font.h"
#include "graphics/font_collection.h"
#include "graphics/image.h"
#include "graphics/key_codes.h"
#include "graphics/surface.h"
#include "graphics/video.h"
#include "shell/memory_stream.h"
#include "tests/support/scope_guard.h"

namespace {

// An 8x8 one-bit font whose printable characters are solid blocks.
std::unique_ptr<TFont> BlockFont(uint8_t R, uint8_t G, uint8_t B) {
  std::vector<uint8_t> V = {'V', 'X', 'A', 'R', 0, 8, 8};
  for (int C = 0; C < 256; ++C)
    for (int Row = 0; Row < 8; ++Row) V.push_back(C > 32 && C < 127 ? 0xFF : 0);
  TMemoryStream S(std::move(V));
  auto Font = std::make_unique<TVXRFont>(S);
  Font->SetColor(R, G, B);
  return Font;
}

std::unique_ptr<TFontCollection> Fonts() {
  auto C = std::make_unique<TFontCollection>();
  for (int N = 0; N < 9; ++N) C->Add(BlockFont(255, static_cast<uint8_t>(20 * N), 0), "F" + std::to_string(N));
  return C;
}

std::unique_ptr<TConfig> Volumes(float Music, float Effects) {
  auto C = std::make_unique<TConfig>();
  C->MusicVolume = Music;
  C->EffectsVolume = Effects;
  C->SaveAtStop = false;
  return C;
}

class TWindow {
 public:
  TWindow() {
    VX_SDL::Start();
    VX_SDL::Initialize(640, 480, 32, VX_SDL::kUseSecondary);
    VX_SDL::SetFrameRate(0);
    VX_SDL::ClearKeys();
  }
  ~TWindow() {
    VX_SDL::ClearKeys();
    VX_SDL::Finalize();
    VX_SDL::Stop();
  }
};

class OptionsScreen : public ::testing::Test {
 protected:
  // One frame of the screen with a key held.
  bool StepWith(TOptions& O, int Key) {
    VX_SDL::Keys[static_cast<size_t>(Key)] = true;
    const bool Stays = O.Step();
    VX_SDL::Keys[static_cast<size_t>(Key)] = false;
    return Stays;
  }
  static std::vector<uint32_t> Screen() {
    TImage* Back = VX_SDL::DrawTarget();
    TSurfaceLock Lock(Back->Surface());
    std::vector<uint32_t> P;
    for (int Y = 0; Y < 480; ++Y)
      for (int X = 0; X < 640; ++X) P.push_back(Back->Pixel(X, Y) & 0xFFFFFF);
    return P;
  }
  // Every pixel different: a gradient of all three components.
  static void PaintPattern() {
    for (int Y = 0; Y < 480; ++Y)
      for (int X = 0; X < 640; X += 8)
        VX_SDL::FillRect(X, Y, 8, 1, static_cast<uint8_t>(X / 3), static_cast<uint8_t>(Y / 2),
                         static_cast<uint8_t>((X + Y) % 256));
  }

  TWindow Window;
  TRestore<std::unique_ptr<TSetupCommandHandler>> Setup{SetupCommands, std::make_unique<TSetupCommandHandler>()};
  TRestore<std::unique_ptr<TFontCollection>> FontsInUse{FontCollection, Fonts()};
  TRestore<std::unique_ptr<TConfig>> Settings{Config, Volumes(1.0f, 1.0f)};
  TRestore<std::unique_ptr<TMusicCollection>> Music{MusicCollection, std::make_unique<TMusicCollection>()};
  TRestore<std::unique_ptr<TWaveCollection>> Waves{WaveCollection, std::make_unique<TWaveCollection>()};
};

TEST_F(OptionsScreen, MenuStartsFromTheSettings) {
  Config = Volumes(0.7f, 0.25f);
  TOptions A;
  EXPECT_EQ(A.Menu->GetOption("MV"), "7");
  EXPECT_EQ(A.Menu->GetOption("SV"), "3") << "rounded to the nearest tenth";
  EXPECT_EQ(A.Menu->Lines.size(), 4u);
  EXPECT_EQ(A.Menu->Left, 60);
  EXPECT_EQ(A.Menu->Bottom, 311);
  Config = Volumes(1.5f, -0.2f);
  TOptions B;
  EXPECT_EQ(B.Menu->GetOption("MV"), "0") << "out of range shows as 0%";
  EXPECT_EQ(B.Menu->GetOption("SV"), "0");
}

TEST_F(OptionsScreen, VolumesReachTheCollectionsWhileTheScreenRuns) {
  TOptions O;
  O.Begin();
  EXPECT_EQ(O.Menu->SelectedId(), "B");
  EXPECT_TRUE(StepWith(O, VXKey::Down));
  EXPECT_EQ(O.Menu->SelectedId(), "MV");
  EXPECT_TRUE(StepWith(O, VXKey::Right));
  EXPECT_EQ(O.Menu->GetOption("MV"), "10") << "no cycling past 100%";
  for (int I = 0; I < 3; ++I) EXPECT_TRUE(StepWith(O, VXKey::Left));
  EXPECT_FLOAT_EQ(MusicCollection->MasterVolume(), 0.7f);
  EXPECT_EQ(Config->MusicVolume, 0.7f);
  EXPECT_EQ(Config->EffectsVolume, 1.0f);
  EXPECT_TRUE(StepWith(O, VXKey::Return)) << "Return on a volume row stays";
  EXPECT_TRUE(StepWith(O, VXKey::Down));
  for (int I = 0; I < 12; ++I) EXPECT_TRUE(StepWith(O, VXKey::Left));
  EXPECT_EQ(O.Menu->GetOption("SV"), "0");
  EXPECT_EQ(WaveCollection->MasterVolume(), 0.0f);
  EXPECT_EQ(Config->EffectsVolume, 0.0f);
  EXPECT_FALSE(StepWith(O, VXKey::Escape)) << "Escape leaves from any row";
  O.End();

  // The menu keeps its values; a second run starts on Back again.
  O.Begin();
  EXPECT_EQ(O.Menu->SelectedId(), "B");
  EXPECT_EQ(O.Menu->GetOption("MV"), "7");
  EXPECT_FALSE(StepWith(O, VXKey::Return)) << "Return on Back leaves";
  O.End();
}

TEST_F(OptionsScreen, ScreenBehindIsDimmedThenRestoredPixelForPixel) {
  PaintPattern();
  const std::vector<uint32_t> Before = Screen();
  TOptions O;
  O.Begin();
  O.Step();
  const std::vector<uint32_t> During = Screen();
  // Outside the box the screen shows at half brightness.
  for (auto [X, Y] : {std::pair{0, 0}, {639, 479}, {59, 200}, {300, 100}, {300, 400}}) {
    const uint32_t P = Before[static_cast<size_t>(Y * 640 + X)];
    EXPECT_EQ(During[static_cast<size_t>(Y * 640 + X)], (P & 0xFEFEFE) >> 1) << X << "," << Y;
  }
  EXPECT_EQ(During[168 * 640 + 60], 0x707070u) << "the grey frame";
  EXPECT_EQ(During[169 * 640 + 61], 0u) << "the black box";
  O.End();
  EXPECT_TRUE(Screen() == Before);

  // Run itself, left at once by a held Escape.
  VX_SDL::Keys[VXKey::Escape] = true;
  O.Run();
  EXPECT_TRUE(Screen() == Before);
  EXPECT_FALSE(VX_SDL::Keys[VXKey::Escape]) << "the menu took the press";
}

}  // namespace
