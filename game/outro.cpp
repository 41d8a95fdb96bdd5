#include "game/outro.h"

#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

#include "game/songs.h"
#include "graphics/font_collection.h"
#include "graphics/image.h"
#include "graphics/image_collection.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "maps/xmap.h"
#include "shell/logger.h"
#include "shell/random.h"
#include "shell/web_bridge.h"
#include "storage/stream_opener.h"
#include "world/maps.h"

namespace {

constexpr int kCols = 20;
constexpr int kRows = 12;
// Where the speech bubbles point: above the boss, and above the elf.
constexpr int kSpeechX = 368;
constexpr int kBossLine = 148;
constexpr int kElfLine = 244;

std::string Switch(int Font) { return std::string(1, static_cast<char>(Font)); }

// The closing title: every letter in its own colour.
std::string RainbowTitle() {
  static constexpr int kFonts[16] = {1, 4, 0, 5, 2, 3, 6, 1, 4, 0, 5, 2, 3, 6, 1, 4};
  const std::string Title = "Congratulations!";
  std::string Text;
  for (size_t I = 0; I < Title.size(); ++I) Text += Switch(kFonts[I]) + Title[I];
  return Text;
}

void DrawInFont(int Font, const std::string& Text, int X, int Y) {
  if (!FontCollection) return;
  if (TFont* F = FontCollection->Font(Font)) F->DrawText(Text, X, Y, kAlignCenter);
}

// The rest of the running frame, slept away.
void WaitFrameTime() {
  for (uint32_t Left = VX_SDL::TimeLeft(); Left > 0; Left = VX_SDL::TimeLeft())
    std::this_thread::sleep_for(std::chrono::milliseconds(Left));
}

}  // namespace

TOutro::TOutro() = default;
TOutro::~TOutro() = default;

const std::array<int, 97>& TOutro::Sine() {
  static const std::array<int, 97> Table = [] {
    std::array<int, 97> T{};
    // Halves (i = 16 and 80, where the sine is exactly 1/2) come out a hair
    // below .5 in floating point; the nudge rounds them up as they should.
    for (int I = 0; I <= 96; ++I)
      T[static_cast<size_t>(I)] = static_cast<int>(std::lround(255.0 * std::sin(I * std::numbers::pi / 96.0) + 1e-9));
    return T;
  }();
  return Table;
}

bool TOutro::SpaceHeld() { return VX_SDL::Keys[VXKey::Space]; }

void TOutro::ProcessEvents() {
  VX_SDL::PollEvents();
  if (AfterEvents) AfterEvents();
}

void TOutro::Show() {
  VX_SDL::Flip();
  ++Frames;
}

TImage* TOutro::Image(const std::string& Name) const {
  if (!Images) return nullptr;
  TImage* I = Images->FindImage(Name);
  return I && I->HasSurface() ? I : nullptr;
}

void TOutro::Draw(const std::string& Name, int X, int Y) {
  if (TImage* I = Image(Name)) VX_SDL::PutImage(X, Y, *I);
}

void TOutro::SaveBackdrop() {
  if (Backdrop) VX_SDL::GrabImage(0, 0, *Backdrop);
}

void TOutro::RestoreBackdrop() {
  if (Backdrop) VX_SDL::PutImage(0, 0, *Backdrop);
}

void TOutro::RestoreBackdrop(int X1, int Y1, int X2, int Y2) {
  if (Backdrop) VX_SDL::DrawImagePart(X1, Y1, X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1, *Backdrop);
}

void TOutro::Wait(int Count) {
  for (int I = 0; I < Count; ++I) {
    WaitFrameTime();
    ++Frames;
    ProcessEvents();
    if (SpaceHeld()) return;
  }
}

void TOutro::Walk(const std::string& Name, int X1, int Y1, int X2, int Y2, int Count) {
  TImage* Figure = Image(Name);
  for (int I = 1; I <= Count; ++I) {
    // Integer division truncating toward zero, so a figure walking up or
    // left lags by at most a pixel.
    const int X = X1 + (X2 - X1) * I / Count;
    const int Y = Y1 + (Y2 - Y1) * I / Count;
    if (Figure) VX_SDL::PutImage(X, Y, *Figure);
    Show();
    if (Figure) RestoreBackdrop(X, Y, X + Figure->Width() - 1, Y + Figure->Height() - 1);
    ProcessEvents();
    if (SpaceHeld()) return;
  }
}

void TOutro::Speech(const std::string& Text, int Y) {
  TFont* Anti = FontCollection ? FontCollection->Find("Anti") : nullptr;
  const int W = Anti ? Anti->TextWidth(Text) : 0;
  const int X = kSpeechX - W / 2;
  VX_SDL::FillBox(X, Y - 1, X + W - 1, Y + 16, 255, 255, 255);
  VX_SDL::FillBox(X - 1, Y, X + W, Y + 15, 255, 255, 255);
  if (Anti) Anti->DrawText(Text, X, Y, kAlignLeft);
  for (int I = 0; I < 8; ++I) VX_SDL::HorizontalLine(kSpeechX, Y + 17 + I, kSpeechX + 8 - I, 255, 255, 255);
}

void TOutro::DrawScene() {
  VX_SDL::FillBox(0, 0, 639, 479, 0, 0, 0);
  auto Hall = std::make_unique<TXMap>();
  Hall->LoadFromFile("outro.mpt");
  // The same frame as the play screen: borders fading outwards, the title.
  for (int I = 0; I < 4; ++I) {
    const uint8_t Grey = static_cast<uint8_t>(255 - 64 * I);
    VX_SDL::HorizontalLine(0, 432 + I, 639, Grey, Grey, Grey);
    VX_SDL::HorizontalLine(0, 47 - I, 639, Grey, Grey, Grey);
  }
  VX_SDL::ShowPictureFile(240, 7, "logolite.tga");
  for (int Y = 0; Y < kRows; ++Y) {
    for (int X = 0; X < kCols; ++X) {
      const int PX = TMaps::CellLeft(X), PY = TMaps::CellTop(Y);
      switch (Hall->GetTile(X, Y)) {
        case '#': Draw("Wall", PX, PY); break;
        case '.': Draw("Grass", PX, PY); break;
        case '1': Draw("ElfBad2", PX - 4, PY - 4); break;
        case '2': Draw("ElfBad2", PX - 4, PY); break;
        case '3': Draw("ElfBad1", PX - 2, PY - 4); break;
        case 'b': Draw("ElfBoss1", PX, PY); break;
        default: break;  // an empty cell stays black
      }
    }
  }
}

void TOutro::DiamondStream() {
  struct TDiamond {
    int C = kStreamStart;
    int Swing = 0;
    int Delay = 0;
    TImage* Image = nullptr;
    bool Done = false;
  };
  std::vector<TDiamond> Stream(kStreamDiamonds);
  for (int K = 0; K < kStreamDiamonds; ++K) {
    TDiamond& D = Stream[static_cast<size_t>(K)];
    D.Swing = VXRandom::Next(100) - 50;
    D.Delay = 4 * K;
    D.Image = Image("Diam" + std::to_string(1 + VXRandom::Next(4)));
  }
  const auto& S = Sine();
  int Flying = kStreamDiamonds;
  while (Flying > 0) {
    for (TDiamond& D : Stream) {
      if (D.Done) continue;
      if (D.Delay > 0) {
        --D.Delay;
        continue;
      }
      --D.C;
      // The swing scales the sine by Swing/256, rounding down (an arithmetic shift).
      const int X = 360 + ((D.Swing * S[static_cast<size_t>(D.C - kStreamTop)]) >> 8);
      if (D.Image) VX_SDL::PutImage(X, D.C, *D.Image);
      if (D.C == kStreamTop) {
        D.Done = true;
        --Flying;
      }
    }
    Show();
    ProcessEvents();
    RestoreBackdrop(240, 184, 495, 295);
    if (SpaceHeld()) return;
  }
}

void TOutro::FamilyLeaving() {
  struct TWalker {
    int X = 640, Y = 312;
    int Delay = 0;
    TImage* Image = nullptr;
    bool Gone = false;
  };
  std::vector<TWalker> Family(kWalkers);
  Family[0] = {640, 304, 0, Image("ElfMrs2"), false};
  for (int K = 1; K < kWalkers; ++K)
    Family[static_cast<size_t>(K)] = {
        640, 312, 8 + 10 * K, Image(std::string("ElfKid") + static_cast<char>('A' + VXRandom::Next(4)) + "2"), false};
  int OnScreen = kWalkers;
  while (OnScreen > 0) {
    for (TWalker& W : Family) {
      if (W.Gone) continue;
      if (W.Delay > 0) {
        --W.Delay;
        continue;
      }
      W.X -= 2;
      if (W.X >= 256 && W.X <= 319) W.Y -= 2;  // the step up into the hall's door
      if (W.Image) VX_SDL::PutImage(W.X, W.Y, *W.Image);
      if (W.X == -32) {
        W.Gone = true;
        --OnScreen;
      }
    }
    Show();
    ProcessEvents();
    RestoreBackdrop(0, 240, 639, 336);
    if (SpaceHeld()) return;
  }
}

void TOutro::ClosingScreen() {
  VX_SDL::FillBox(0, 0, 639, 479, 0, 0, 0);
  // The Space held to skip the scene must not also close this screen.
  VX_SDL::ClearKeys();
  if (FontCollection) FontCollection->DrawText(RainbowTitle(), 320, 180, kAlignCenter);
  DrawInFont(5, "You completed all maps", 320, 240);
  DrawInFont(5, "in this level pack!", 320, 280);
  DrawInFont(0, "Press Space!", 320, 430);
  do {
    Show();
    ProcessEvents();
  } while (!SpaceHeld());
}

// The elf arrives, is asked for the diamonds and hands them over.
void TOutro::HandOver() {
  Walk("Elf4", -32, 240, 128, 240, 160);
  Walk("Elf4", 128, 240, 352, 272, 224);

  Wait(30);
  Draw("Elf3", 352, 272);
  Show();
  SaveBackdrop();
  Wait(60);

  Speech("Do you have the diamonds?", kBossLine);
  Show();
  Wait(420);
  RestoreBackdrop();
  Speech("Yes.", kElfLine);
  Show();
  Wait(300);
  RestoreBackdrop();
  Speech("Hand them over!", kBossLine);
  Show();
  Wait(420);
  RestoreBackdrop();

  DiamondStream();
  RestoreBackdrop();
  Show();
  Wait(120);
}

// The family is let go, walks out through the door, and the elf follows.
void TOutro::Release() {
  Speech("And now my family!", kElfLine);
  Show();
  Wait(420);
  RestoreBackdrop();
  Draw("ElfBoss4", 352, 176);
  Show();
  Wait(15);
  Speech("Let them go!", kBossLine);
  Show();
  Wait(300);
  RestoreBackdrop();

  // The guard beside the boss steps over to the door and opens it.
  VX_SDL::FillBox(414, 172, 449, 207, 0, 0, 0);
  SaveBackdrop();
  Walk("ElfBad4", 414, 172, 572, 268, 158);
  Wait(30);
  Draw("ElfBad4", 572, 268);
  VX_SDL::FillBox(608, 304, 639, 335, 0, 0, 0);
  Show();
  RestoreBackdrop();
  Wait(15);
  VX_SDL::FillBox(608, 304, 639, 335, 0, 0, 0);
  Draw("ElfBad2", 572, 268);
  SaveBackdrop();
  Show();

  FamilyLeaving();

  Wait(60);
  VX_SDL::FillBox(352, 272, 383, 303, 0, 0, 0);
  SaveBackdrop();
  Walk("Elf2", 352, 272, 128, 240, 224);
  Walk("Elf2", 128, 240, -32, 240, 160);
  Wait(120);
}

void TOutro::Run() {
  VXWeb::NoteScreen("outro");
  FSong = PlaylistSong("GameEnd", 0);
  PlaySong(FSong);
  Images = std::make_unique<TImageCollection>();
  // Without "controls.ini" the scene still runs to its closing screen, only
  // without figures: the player must be able to leave it.
  try {
    Images->Load("controls.ini", "Outro");
  } catch (const EOpenStream&) { Log->Error("No outro images: controls.ini not found", "SQGameUnit, TOutro.Run"); }
  DrawScene();
  Backdrop = std::make_unique<TImage>(640, 480);
  SaveBackdrop();
  if (FontCollection)
    if (TFont* Anti = FontCollection->Find("Anti")) Anti->SetColor(20, 20, 20);

  HandOver();
  Release();
  ClosingScreen();

  StopSong(FSong);
  Backdrop.reset();
  Images.reset();
  VX_SDL::FillBox(0, 0, 639, 479, 0, 0, 0);
}
