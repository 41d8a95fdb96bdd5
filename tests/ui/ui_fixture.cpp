#include "tests/ui/ui_fixture.h"

#include <SDL.h>

#include <algorithm>

#include "graphics/font.h"
#include "shell/memory_stream.h"

namespace ui_test {

namespace {

// One row of glyphs, so the page (and so the font) is 10 pixels high.
constexpr int kFirst = 33, kLast = 126, kPerRow = kLast - kFirst + 1;

// An 8-bit greyscale TGA page, lit inside each glyph, with its glyph table
// in the image ID field and after the pixels.
std::vector<uint8_t> FontPage() {
  const int W = kPerRow * 8, H = 10;
  std::vector<uint8_t> T = {32, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int V : {W, H}) {
    T.push_back(static_cast<uint8_t>(V));
    T.push_back(static_cast<uint8_t>(V >> 8));
  }
  T.push_back(8);
  T.push_back(0x20);
  std::vector<uint8_t> Presence(32, 0);
  for (int C = kFirst; C <= kLast; ++C) Presence[C / 8] |= static_cast<uint8_t>(0x80 >> (C % 8));
  T.insert(T.end(), Presence.begin(), Presence.end());
  struct TRect {
    int L, T, R, B;
  };
  std::vector<TRect> Rects;
  std::vector<uint8_t> Page(static_cast<size_t>(W * H), 0);
  for (int C = kFirst; C <= kLast; ++C) {
    const int I = C - kFirst, L = (I % kPerRow) * 8, Top = 0;
    const TRect R{L, Top, L + 3 + C % 4 - 1, Top + 9};
    Rects.push_back(R);
    for (int Y = R.T; Y <= R.B; ++Y)
      for (int X = R.L; X <= R.R; ++X) Page[static_cast<size_t>(Y * W + X)] = 255;
  }
  T.insert(T.end(), Page.begin(), Page.end());
  for (const TRect& R : Rects)
    for (int V : {R.L, R.T, R.R, R.B}) {
      T.push_back(static_cast<uint8_t>(V));
      T.push_back(static_cast<uint8_t>(V >> 8));
    }
  return T;
}

}  // namespace

TRGBColor FontColor(int N) {
  static const TRGBColor Colors[] = {{255, 200, 0}, {0, 0, 255}, {255, 0, 255},   {0, 200, 160},  {255, 0, 0},
                                     {255, 255, 0}, {0, 255, 0}, {255, 255, 255}, {128, 128, 255}};
  return Colors[N % 9];
}

std::unique_ptr<TFont> MakeFont(TRGBColor Color) {
  static const std::vector<uint8_t> Page = FontPage();
  TMemoryStream Stream;
  Stream.Write(Page.data(), Page.size());
  Stream.Seek(0);
  auto Font = std::make_unique<TTGAFont>(Stream);
  Font->SetColor(Color.R, Color.G, Color.B);
  Font->SetColorKey(0, 0, 0);
  return Font;
}

std::unique_ptr<TFontCollection> TestFonts() {
  auto Fonts = std::make_unique<TFontCollection>();
  for (int N = 0; N < 9; ++N) Fonts->Add(MakeFont(FontColor(N)), "Font" + std::to_string(N));
  return Fonts;
}

TTestWindow::TTestWindow() {
  VX_SDL::Start();
  VX_SDL::Initialize(640, 480, 32, VX_SDL::kUseSecondary);
  VX_SDL::SetFrameRate(0);
}

TTestWindow::~TTestWindow() {
  VX_SDL::Finalize();
  VX_SDL::Stop();
}

void UiTest::SetUp() {
  VX_SDL::ClearKeys();
  VX_SDL::ClearKeyBuffer();
}

void UiTest::TearDown() { VX_SDL::ClearKeys(); }

uint32_t UiTest::Pixel(int X, int Y) {
  TImage* Back = VX_SDL::DrawTarget();
  TSurfaceLock Lock(Back->Surface());
  return Back->Pixel(X, Y) & 0xFFFFFF;
}

int UiTest::CountPixels(int X1, int Y1, int X2, int Y2, uint32_t Raw) {
  TImage* Back = VX_SDL::DrawTarget();
  TSurfaceLock Lock(Back->Surface());
  int N = 0;
  for (int Y = Y1; Y <= Y2; ++Y)
    for (int X = X1; X <= X2; ++X) N += (Back->Pixel(X, Y) & 0xFFFFFF) == Raw;
  return N;
}

std::pair<int, int> UiTest::Columns(int X1, int Y1, int X2, int Y2, uint32_t Raw) {
  TImage* Back = VX_SDL::DrawTarget();
  TSurfaceLock Lock(Back->Surface());
  int L = -1, R = -1;
  for (int Y = Y1; Y <= Y2; ++Y)
    for (int X = X1; X <= X2; ++X)
      if ((Back->Pixel(X, Y) & 0xFFFFFF) == Raw) {
        if (L < 0 || X < L) L = X;
        R = std::max(R, X);
      }
  return {L, R};
}

void UiTest::PushKey(int Sym, bool Down, bool Shift) {
  SDL_Event E{};
  E.type = Down ? SDL_KEYDOWN : SDL_KEYUP;
  E.key.type = E.type;
  E.key.keysym.sym = static_cast<SDLKey>(Sym);
  E.key.keysym.mod = Shift ? KMOD_LSHIFT : KMOD_NONE;
  ASSERT_EQ(SDL_PushEvent(&E), 0);
}

void UiTest::Type(const std::string& Text, bool Shift) {
  for (char Ch : Text) {
    PushKey(static_cast<uint8_t>(Ch), true, Shift);
    PushKey(static_cast<uint8_t>(Ch), false, Shift);
  }
}

void UiTest::TypeAsKeyboard(const std::string& Text) {
  // Shifted characters and the key under each, on a US layout.
  static const std::string Shifted = "~!@#$%^&*()_+{}|:\"<>?", Unshifted = "`1234567890-=[]\\;',./";
  for (char Ch : Text) {
    int Sym = static_cast<uint8_t>(Ch);
    bool Shift = false;
    if (Ch >= 'A' && Ch <= 'Z') {
      Sym = Ch - 'A' + 'a';
      Shift = true;
    } else if (const size_t At = Shifted.find(Ch); At != std::string::npos) {
      Sym = static_cast<uint8_t>(Unshifted[At]);
      Shift = true;
    }
    SDL_Event E{};
    E.type = E.key.type = SDL_KEYDOWN;
    E.key.keysym.sym = static_cast<SDLKey>(Sym);
    E.key.keysym.mod = Shift ? KMOD_LSHIFT : KMOD_NONE;
    E.key.keysym.unicode = static_cast<uint8_t>(Ch);
    ASSERT_EQ(SDL_PushEvent(&E), 0);
    E.type = E.key.type = SDL_KEYUP;
    E.key.keysym.unicode = 0;
    ASSERT_EQ(SDL_PushEvent(&E), 0);
  }
}

}  // namespace ui_test
