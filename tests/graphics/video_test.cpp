#include "graphics/video.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "graphics/image.h"
#include "graphics/video_gamepad.h"
#include "shell/memory_stream.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace {

// Each test opens its own window under the dummy video driver and closes it.
class VideoTest : public ::testing::Test {
 protected:
  void SetUp() override { VX_SDL::Start(); }
  void TearDown() override {
    VX_SDL::Finalize();
    VX_SDL::Stop();
  }

  void Open(uint32_t Flags = VX_SDL::kUseSecondary, int W = 64, int H = 48) { VX_SDL::Initialize(W, H, 32, Flags); }

  static void Push(SDL_Event Event) { ASSERT_EQ(SDL_PushEvent(&Event), 0); }
  static void Key(uint8_t Type, int Sym, int Mod = KMOD_NONE) {
    SDL_Event E{};
    E.type = Type;
    E.key.type = Type;
    E.key.keysym.sym = static_cast<SDLKey>(Sym);
    E.key.keysym.mod = static_cast<SDLMod>(Mod);
    Push(E);
  }
  static void Press(int Sym, int Mod = KMOD_NONE) {
    Key(SDL_KEYDOWN, Sym, Mod);
    Key(SDL_KEYUP, Sym, Mod);
  }
  static std::string Typed() {
    std::string S;
    for (uint8_t C = VX_SDL::ReadKey(); C != VX_SDL::kNoKey; C = VX_SDL::ReadKey()) S += static_cast<char>(C);
    return S;
  }
  static uint32_t BackPixel(int X, int Y) {
    TImage* Back = VX_SDL::DrawTarget();
    TSurfaceLock Lock(Back->Surface());
    return Back->Pixel(X, Y);
  }
};

TEST_F(VideoTest, OpensWithABackSurfaceAtTheDisplayDepth) {
  SetImageDepth(24);
  Open();
  ASSERT_TRUE(VX_SDL::IsOpen());
  ASSERT_NE(VX_SDL::SecondaryImage(), nullptr);
  EXPECT_EQ(VX_SDL::DrawTarget(), VX_SDL::SecondaryImage());
  EXPECT_EQ(VX_SDL::SecondaryImage()->Width(), 64);
  EXPECT_EQ(VX_SDL::ScreenImage()->Surface(), VX_SDL::Screen());
  EXPECT_EQ(ImageDepth(), 32);
  EXPECT_EQ(VX_SDL::BitDepth(), 32u);

  // Without the back-surface flag drawing goes straight to the screen;
  // full screen passes through a window first.
  VX_SDL::Finalize();
  Open(VX_SDL::kFullScreen);
  EXPECT_EQ(VX_SDL::SecondaryImage(), nullptr);
  EXPECT_EQ(VX_SDL::DrawTarget(), VX_SDL::ScreenImage());
  EXPECT_TRUE(VX_SDL::Screen()->flags & SDL_FULLSCREEN);
}

TEST_F(VideoTest, DoubledModeShowsEachPixelAsABlock) {
  Open(VX_SDL::kUseSecondary | VX_SDL::kP2x2);
  EXPECT_EQ(VX_SDL::ScreenWidth(), 32u);
  EXPECT_EQ(VX_SDL::ScreenHeight(), 24u);
  EXPECT_EQ(VX_SDL::SecondaryImage()->Width(), 32);
  EXPECT_EQ(VX_SDL::Screen()->w, 64);
  VX_SDL::SetFrameRate(0);
  VX_SDL::FillRect(1, 2, 1, 1, 255, 0, 0);
  VX_SDL::Flip();
  TImage& Screen = *VX_SDL::ScreenImage();
  TSurfaceLock Lock(Screen.Surface());
  for (auto [X, Y] : {std::pair{2, 4}, {3, 4}, {2, 5}, {3, 5}}) EXPECT_EQ(Screen.Pixel(X, Y), 0xFF0000u);
  EXPECT_EQ(Screen.Pixel(4, 4), 0u);
  EXPECT_EQ(Screen.Pixel(2, 6), 0u);
}

TEST_F(VideoTest, FrameRateAndPacing) {
  EXPECT_EQ(VX_SDL::FrameInterval(), 25u);
  VX_SDL::SetFrameRate(60);
  EXPECT_EQ(VX_SDL::FrameInterval(), 16u);
  Open();

  // The call that finds the frame over starts the next one.
  VX_SDL::SetFrameRate(50);
  while (VX_SDL::TimeLeft() > 0) SDL_Delay(1);
  const uint32_t Left = VX_SDL::TimeLeft();
  EXPECT_GT(Left, 0u);
  EXPECT_LE(Left, 20u);

  // Each flip waits out its frame: four of them take at least three frames.
  const uint32_t Start = SDL_GetTicks();
  for (int I = 0; I < 4; ++I) VX_SDL::Flip();
  EXPECT_GE(SDL_GetTicks() - Start, 60u);
  EXPECT_EQ(VX_SDL::FrameCount(), 4u);
}

TEST_F(VideoTest, KeyEventsFillTheKeyTableAndTheBuffer) {
  Open();
  Key(SDL_KEYDOWN, SDLK_SPACE);
  Key(SDL_KEYDOWN, SDLK_F12);
  VX_SDL::PollEvents();
  EXPECT_TRUE(VX_SDL::Keys[32]);
  EXPECT_TRUE(VX_SDL::Keys[293]);
  Key(SDL_KEYUP, SDLK_SPACE);
  VX_SDL::PollEvents();
  EXPECT_FALSE(VX_SDL::Keys[32]);
  EXPECT_TRUE(VX_SDL::Keys[293]);
  VX_SDL::ClearKeys();
  EXPECT_FALSE(VX_SDL::Keys[293]);
  EXPECT_EQ(Typed(), " ");  // F12 is not a character

  // Events without SDL's translation (pushed by a program): only letters are
  // shifted; Return, Escape and Backspace come as their codes.
  Press('a', KMOD_LSHIFT);
  Press('b', KMOD_RSHIFT);
  Press('c');
  Press('1', KMOD_LSHIFT);
  Press(SDLK_RETURN);
  Press(SDLK_ESCAPE);
  Press(SDLK_BACKSPACE);
  Press(SDLK_DELETE);
  Press(SDLK_UP);
  Press('a', KMOD_CAPS);
  VX_SDL::PollEvents();
  EXPECT_EQ(Typed(), "ABc1\r\x1b\ba");
  EXPECT_EQ(VX_SDL::ReadKey(), VX_SDL::kNoKey);
}

TEST_F(VideoTest, TypedCharactersAreWhatTheKeyboardMadeOfTheKeys) {
  Open();
  EXPECT_EQ(SDL_EnableUNICODE(-1), 1) << "the window asks SDL to translate keys";
  const auto Translated = [](int Sym, int Mod, int Unicode) {
    SDL_Event E{};
    E.type = E.key.type = SDL_KEYDOWN;
    E.key.keysym.sym = static_cast<SDLKey>(Sym);
    E.key.keysym.mod = static_cast<SDLMod>(Mod);
    E.key.keysym.unicode = static_cast<Uint16>(Unicode);
    Push(E);
  };
  Translated('-', KMOD_LSHIFT, '_');
  Translated('4', KMOD_RSHIFT, '$');
  Translated('8', KMOD_LSHIFT, '*');
  Translated('.', KMOD_LSHIFT, '>');
  Translated('q', KMOD_RALT, '@');    // AltGr on a German layout
  Translated('7', KMOD_LSHIFT, '/');  // Shift+7 on a German layout
  Translated(SDLK_KP1, KMOD_NUM, '1');
  VX_SDL::PollEvents();
  EXPECT_EQ(Typed(), "_$*>@/1");
  // The editing keys keep their codes; control characters and what lies
  // beyond ASCII type nothing.
  Translated(SDLK_BACKSPACE, KMOD_NONE, 8);
  Translated(SDLK_TAB, KMOD_NONE, 9);
  Translated(SDLK_RETURN, KMOD_NONE, 13);
  Translated(SDLK_ESCAPE, KMOD_NONE, 27);
  Translated('s', KMOD_LCTRL, 19);
  Translated('e', KMOD_NONE, 0xE9);
  Translated(SDLK_DELETE, KMOD_NONE, 127);
  VX_SDL::PollEvents();
  EXPECT_EQ(Typed(), "\b\t\r\x1b");
}

TEST_F(VideoTest, KeyBufferKeepsTheLast254) {
  Open();
  // SDL's queue is smaller than 255 events: poll as we go.
  for (int I = 0; I < 255; ++I) {
    Key(SDL_KEYDOWN, 'a' + I % 26);
    if (I % 50 == 49) VX_SDL::PollEvents();
  }
  VX_SDL::PollEvents();
  const std::string Got = Typed();
  ASSERT_EQ(Got.size(), 254u);
  EXPECT_EQ(Got.front(), 'b');  // the first press was dropped
  EXPECT_EQ(Got.back(), 'a' + 254 % 26);

  Press('x');
  VX_SDL::PollEvents();
  VX_SDL::ClearKeyBuffer();
  EXPECT_EQ(VX_SDL::ReadKey(), VX_SDL::kNoKey);

  Press('q');
  EXPECT_EQ(VX_SDL::GetKey(false), 'q');
  EXPECT_EQ(VX_SDL::GetKey(false), VX_SDL::kNoKey);
  Press('w');
  EXPECT_EQ(VX_SDL::GetKey(true), 'w');
}

TEST_F(VideoTest, HandlersTakeEventsFirst) {
  Open(VX_SDL::kUseSecondary | VX_SDL::kP2x2);
  std::vector<int> Seen;
  VX_SDL::AddEventHandler([&](const SDL_Event& E, bool P2x2) {
    EXPECT_TRUE(P2x2);
    Seen.push_back(E.type);
    return E.type == SDL_KEYDOWN && E.key.keysym.sym == 'z';
  });
  VX_SDL::AddEventHandler([&](const SDL_Event& E, bool) {
    Seen.push_back(-E.type);
    return false;
  });
  Key(SDL_KEYDOWN, 'z');
  Key(SDL_KEYDOWN, 'y');
  VX_SDL::PollEvents();
  EXPECT_FALSE(VX_SDL::Keys['z']);
  EXPECT_TRUE(VX_SDL::Keys['y']);
  EXPECT_EQ(Typed(), "y");
  EXPECT_EQ(Seen, (std::vector<int>{SDL_KEYDOWN, SDL_KEYDOWN, -SDL_KEYDOWN}));

  // Mouse state, halved in the doubled mode.
  SDL_Event M{};
  M.type = SDL_MOUSEMOTION;
  M.motion.x = 41;
  M.motion.y = 20;
  Push(M);
  SDL_Event B{};
  B.type = SDL_MOUSEBUTTONDOWN;
  B.button.button = SDL_BUTTON_RIGHT;
  Push(B);
  VX_SDL::PollEvents();
  EXPECT_EQ(VX_SDL::MouseX(), 20);
  EXPECT_EQ(VX_SDL::MouseY(), 10);
  EXPECT_EQ(VX_SDL::MouseButton(), 1);
  B.type = SDL_MOUSEBUTTONUP;
  Push(B);
  VX_SDL::PollEvents();
  EXPECT_EQ(VX_SDL::MouseButton(), 0);

  // Stopping the module empties the handler list.
  VX_SDL::Stop();
  Seen.clear();
  Open();
  Key(SDL_KEYDOWN, 'z');
  VX_SDL::PollEvents();
  EXPECT_TRUE(Seen.empty());
  EXPECT_TRUE(VX_SDL::Keys['z']);
}

TEST_F(VideoTest, DrawingGoesToTheBackSurface) {
  Open();
  VX_SDL::Clear(0, 0, 255);
  EXPECT_EQ(BackPixel(63, 47), 0x0000FFu);
  VX_SDL::FillBox(2, 2, 4, 3, 255, 0, 0);  // corners inclusive
  EXPECT_EQ(BackPixel(4, 3), 0xFF0000u);
  EXPECT_EQ(BackPixel(5, 3), 0x0000FFu);
  EXPECT_EQ(BackPixel(4, 4), 0x0000FFu);
  VX_SDL::FillBoxRaw(10, 10, 10, 10, 0x123456);
  EXPECT_EQ(BackPixel(10, 10), 0x123456u);
  // Grab what lies under (2, 2) and put it back elsewhere.
  TImage Saved(3, 2);
  VX_SDL::GrabImage(2, 2, Saved);
  VX_SDL::PutImage(40, 0, Saved);
  EXPECT_EQ(BackPixel(42, 1), 0xFF0000u);
  VX_SDL::DrawImageCorners(50, 0, 1, 1, 2, 1, Saved);  // the 2x1 part at (1, 1)
  EXPECT_EQ(BackPixel(50, 0), 0xFF0000u);
  EXPECT_EQ(BackPixel(50, 1), 0x0000FFu);

  // The flip copies the back surface to the screen.
  VX_SDL::SetFrameRate(0);
  VX_SDL::Flip();
  TSurfaceLock Lock(VX_SDL::Screen());
  EXPECT_EQ(VX_SDL::ScreenImage()->Pixel(4, 3), 0xFF0000u);
}

TEST_F(VideoTest, OnlyWhatChangedReachesTheWindow) {
  std::vector<std::vector<TDirtyRect>> Sent;
  VX_SDL::SetPresentHook([&](const std::vector<TDirtyRect>& Rects) { Sent.push_back(Rects); });
  VX_SDL::SetFrameRate(0);
  Open();
  VX_SDL::Clear(0, 0, 255);
  VX_SDL::Flip();
  VX_SDL::FillRect(10, 10, 4, 4, 255, 0, 0);
  VX_SDL::FillRect(30, 40, 50, 50, 0, 255, 0);  // clipped at the edge
  VX_SDL::Flip();
  VX_SDL::Flip();  // nothing drawn: nothing sent
  // Drawn again, but the same pixels: only the row that differs goes.
  VX_SDL::FillRect(10, 10, 4, 4, 255, 0, 0);
  VX_SDL::FillRect(10, 12, 1, 1, 0, 0, 0);
  VX_SDL::Flip();
  EXPECT_EQ(Sent, (std::vector<std::vector<TDirtyRect>>{
                      {{0, 0, 64, 48}}, {{10, 10, 4, 4}, {30, 40, 34, 8}}, {}, {{10, 12, 4, 1}}}));
  {
    TSurfaceLock Lock(VX_SDL::Screen());
    EXPECT_EQ(VX_SDL::ScreenImage()->Pixel(11, 12), 0xFF0000u);
    EXPECT_EQ(VX_SDL::ScreenImage()->Pixel(10, 12), 0u);
    EXPECT_EQ(VX_SDL::ScreenImage()->Pixel(63, 47), 0x00FF00u);
  }

  // Whole frames send everything, drawn or not.
  Sent.clear();
  VX_SDL::SetWholeFrames(true);
  VX_SDL::Flip();
  EXPECT_EQ(Sent, (std::vector<std::vector<TDirtyRect>>{{{0, 0, 64, 48}}}));
}

TEST_F(VideoTest, WindowScaleShowsEachPixelAsABlock) {
  std::vector<TDirtyRect> Sent;
  VX_SDL::SetPresentHook([&](const std::vector<TDirtyRect>& Rects) { Sent = Rects; });
  VX_SDL::SetFrameRate(0);
  VX_SDL::SetWindowScale(3);
  Open();
  EXPECT_EQ(VX_SDL::WindowScale(), 3);
  EXPECT_EQ(VX_SDL::Screen()->w, 192);
  EXPECT_EQ(VX_SDL::Screen()->h, 144);
  EXPECT_EQ(VX_SDL::ScreenWidth(), 64u);
  EXPECT_EQ(VX_SDL::SecondaryImage()->Height(), 48);
  VX_SDL::Flip();
  VX_SDL::FillRect(1, 2, 1, 1, 255, 0, 0);
  VX_SDL::FillRect(63, 47, 1, 1, 0, 0, 255);
  VX_SDL::Flip();
  EXPECT_EQ(Sent, (std::vector<TDirtyRect>{{3, 6, 3, 3}, {189, 141, 3, 3}}));
  {
    TImage& Screen = *VX_SDL::ScreenImage();
    TSurfaceLock Lock(Screen.Surface());
    for (int Y = 6; Y < 9; ++Y)
      for (int X = 3; X < 6; ++X) EXPECT_EQ(Screen.Pixel(X, Y), 0xFF0000u) << X << "," << Y;
    EXPECT_EQ(Screen.Pixel(6, 6), 0u);
    EXPECT_EQ(Screen.Pixel(3, 9), 0u);
    EXPECT_EQ(Screen.Pixel(191, 143), 0x0000FFu);
  }
  // The mouse in back-surface pixels.
  SDL_Event M{};
  M.type = SDL_MOUSEMOTION;
  M.motion.x = 11;
  M.motion.y = 30;
  Push(M);
  VX_SDL::PollEvents();
  EXPECT_EQ(VX_SDL::MouseX(), 3);
  EXPECT_EQ(VX_SDL::MouseY(), 10);

  // Out of range means 1; without a back surface there is nothing to enlarge.
  VX_SDL::Finalize();
  VX_SDL::SetWindowScale(5);
  Open();
  EXPECT_EQ(VX_SDL::Screen()->w, 64);
  VX_SDL::Finalize();
  VX_SDL::SetWindowScale(2);
  Open(0);
  EXPECT_EQ(VX_SDL::Screen()->w, 64);
  EXPECT_EQ(VX_SDL::DesktopScale(0, 0), 1);
}

TEST_F(VideoTest, FullScreenFillsTheDesktopWithTheLargestWholeScaleCentred) {
  std::vector<TDirtyRect> Sent;
  VX_SDL::SetPresentHook([&](const std::vector<TDirtyRect>& Rects) { Sent = Rects; });
  VX_SDL::SetFrameRate(0);
  // A 64 x 48 picture on a 200 x 150 desktop: scale 3 leaves 8 x 6 of border.
  VX_SDL::SetDesktopSize(200, 150);
  Open(VX_SDL::kUseSecondary | VX_SDL::kFullScreen);
  ASSERT_TRUE(VX_SDL::IsFullScreen());
  EXPECT_EQ(VX_SDL::Screen()->w, 200);
  EXPECT_EQ(VX_SDL::Screen()->h, 150);
  EXPECT_EQ(VX_SDL::WindowScale(), 3);
  EXPECT_EQ(VX_SDL::ScreenWidth(), 64u);
  VX_SDL::Clear(255, 255, 255);
  VX_SDL::Flip();
  EXPECT_EQ(Sent, (std::vector<TDirtyRect>{{0, 0, 200, 150}})) << "the borders are shown with the first picture";
  VX_SDL::FillRect(0, 0, 1, 1, 255, 0, 0);
  VX_SDL::Flip();
  EXPECT_EQ(Sent, (std::vector<TDirtyRect>{{4, 3, 3, 3}}));
  const auto Count = [](uint32_t Raw) {
    TSurfaceLock Lock(VX_SDL::Screen());
    int N = 0;
    for (int Y = 0; Y < 150; ++Y)
      for (int X = 0; X < 200; ++X) N += (VX_SDL::ScreenImage()->Pixel(X, Y) & 0xFFFFFF) == Raw;
    return N;
  };
  EXPECT_EQ(Count(0xFF0000), 9);
  EXPECT_EQ(Count(0xFFFFFF), 192 * 144 - 9);
  EXPECT_EQ(Count(0), 200 * 150 - 192 * 144) << "black all around";
  {
    TSurfaceLock Lock(VX_SDL::Screen());
    EXPECT_EQ(VX_SDL::ScreenImage()->Pixel(4, 3) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(VX_SDL::ScreenImage()->Pixel(3, 3) & 0xFFFFFF, 0u);
    EXPECT_EQ(VX_SDL::ScreenImage()->Pixel(195, 146) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(VX_SDL::ScreenImage()->Pixel(196, 147) & 0xFFFFFF, 0u);
  }
  // The mouse in picture pixels; on the border it is off the picture.
  std::vector<std::pair<int, int>> Seen;
  VX_SDL::AddInputHandler([&](const VX_SDL::TInputEvent& E, bool P2x2) {
    EXPECT_FALSE(P2x2);
    if (E.Kind == VX_SDL::TInputKind::MouseMotion) Seen.emplace_back(E.X, E.Y);
    return false;
  });
  for (const auto& [X, Y] : std::vector<std::pair<int, int>>{{4, 3}, {10, 11}, {2, 1}}) {
    SDL_Event M{};
    M.type = SDL_MOUSEMOTION;
    M.motion.x = static_cast<Uint16>(X);
    M.motion.y = static_cast<Uint16>(Y);
    Push(M);
  }
  VX_SDL::PollEvents();
  EXPECT_EQ(Seen, (std::vector<std::pair<int, int>>{{0, 0}, {2, 2}, {-1, -1}}));
  EXPECT_EQ(VX_SDL::MouseX(), 0);

  // Back to a window: the scale asked for, no border.
  VX_SDL::ToggleFullScreen();
  EXPECT_FALSE(VX_SDL::IsFullScreen());
  EXPECT_EQ(VX_SDL::Screen()->w, 64);
  EXPECT_EQ(VX_SDL::WindowScale(), 1);
  VX_SDL::Flip();
  TSurfaceLock Lock(VX_SDL::Screen());
  EXPECT_EQ(VX_SDL::ScreenImage()->Pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(VideoTest, AScaleTooLargeForTheDesktopOpensTheLargestThatFits) {
  TLogCapture Capture;
  VX_SDL::SetDesktopSize(200, 150);
  VX_SDL::SetWindowScale(4);
  Open();
  EXPECT_EQ(VX_SDL::WindowScale(), 3);
  EXPECT_EQ(VX_SDL::Screen()->w, 192);
  EXPECT_TRUE(
      Capture.Contains("[VX_SDL, Initialize] Scale 4 does not fit the desktop (200x150): the window opens at "
                       "scale 3"))
      << Capture.Text();
  // Alt+Return on the enlarged window: the whole picture, never a part of it.
  VX_SDL::FillRect(63, 47, 1, 1, 0, 0, 255);
  VX_SDL::ToggleFullScreen();
  VX_SDL::SetFrameRate(0);
  VX_SDL::Flip();
  EXPECT_EQ(VX_SDL::Screen()->w, 200);
  TSurfaceLock Lock(VX_SDL::Screen());
  EXPECT_EQ(VX_SDL::ScreenImage()->Pixel(4 + 189, 3 + 141) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(VX_SDL::ScreenImage()->Pixel(4 + 191, 3 + 143) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(VideoTest, AltReturnSwitchesFullScreenAndIsNoKey) {
  std::vector<TDirtyRect> Sent;
  VX_SDL::SetPresentHook([&](const std::vector<TDirtyRect>& Rects) { Sent = Rects; });
  VX_SDL::SetFrameRate(0);
  Open();
  VX_SDL::FillRect(0, 0, 2, 2, 255, 255, 255);
  VX_SDL::Flip();
  EXPECT_FALSE(VX_SDL::IsFullScreen());
  Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT);
  VX_SDL::PollEvents();
  EXPECT_TRUE(VX_SDL::IsFullScreen());
  EXPECT_FALSE(VX_SDL::Keys[SDLK_RETURN]);
  EXPECT_EQ(Typed(), "");
  // The picture survives the switch and the whole of it is shown again.
  VX_SDL::Flip();
  ASSERT_FALSE(Sent.empty());
  EXPECT_EQ(Sent[0].X, 0);
  EXPECT_EQ(Sent[0].Y, 0);
  EXPECT_EQ(VX_SDL::ScreenImage()->Surface(), VX_SDL::Screen());
  {
    TSurfaceLock Lock(VX_SDL::Screen());
    for (int Y = 0; Y < 48; Y += 3)
      for (int X = 0; X < 64; X += 3) ASSERT_EQ(VX_SDL::ScreenImage()->Pixel(X, Y), BackPixel(X, Y)) << X << "," << Y;
  }
  Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_RALT);
  VX_SDL::PollEvents();
  EXPECT_FALSE(VX_SDL::IsFullScreen());
  // Return alone is still Return.
  Press(SDLK_RETURN);
  VX_SDL::PollEvents();
  EXPECT_EQ(Typed(), "\r");
}

TEST_F(VideoTest, TheGamepadHoldsTheSameKeys) {
  Open();
  const auto Hat = [](int Value) {
    SDL_Event E{};
    E.type = SDL_JOYHATMOTION;
    E.jhat.value = static_cast<Uint8>(Value);
    Push(E);
    VX_SDL::PollEvents();
  };
  const auto Axis = [](int Which, int AxisNo, int Value) {
    SDL_Event E{};
    E.type = SDL_JOYAXISMOTION;
    E.jaxis.which = static_cast<Uint8>(Which);
    E.jaxis.axis = static_cast<Uint8>(AxisNo);
    E.jaxis.value = static_cast<Sint16>(Value);
    Push(E);
    VX_SDL::PollEvents();
  };
  const auto Button = [](int No, bool Down) {
    SDL_Event E{};
    E.type = Down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    E.jbutton.button = static_cast<Uint8>(No);
    E.jbutton.state = Down ? SDL_PRESSED : SDL_RELEASED;
    Push(E);
    VX_SDL::PollEvents();
  };
  using VX_SDL::Keys;
  Hat(SDL_HAT_RIGHTUP);
  EXPECT_TRUE(Keys[SDLK_RIGHT] && Keys[SDLK_UP]);
  EXPECT_FALSE(Keys[SDLK_LEFT] || Keys[SDLK_DOWN]);
  Hat(SDL_HAT_CENTERED);
  EXPECT_FALSE(Keys[SDLK_RIGHT] || Keys[SDLK_UP]);

  // The stick past its dead zone; a little travel is the stick at rest.
  Axis(0, 0, -20000);
  EXPECT_TRUE(Keys[SDLK_LEFT]);
  Axis(0, 0, -VXGamepad::kDeadZone);
  EXPECT_FALSE(Keys[SDLK_LEFT]);
  Axis(0, 1, 32767);
  EXPECT_TRUE(Keys[SDLK_DOWN]);
  // Held by stick and D-pad, a direction stays until both let go.
  Hat(SDL_HAT_DOWN);
  Hat(SDL_HAT_CENTERED);
  EXPECT_TRUE(Keys[SDLK_DOWN]);
  Axis(0, 1, 0);
  EXPECT_FALSE(Keys[SDLK_DOWN]);
  // Other sticks and other pads change nothing.
  Axis(0, 3, -32768);
  Axis(1, 0, -32768);
  EXPECT_FALSE(Keys[SDLK_LEFT]);

  Button(VXGamepad::kButtonConfirm, true);
  EXPECT_TRUE(Keys[SDLK_RETURN] && Keys[SDLK_SPACE]);
  Button(VXGamepad::kButtonBack, true);
  Button(VXGamepad::kButtonStart, true);
  EXPECT_TRUE(Keys[SDLK_ESCAPE] && Keys[SDLK_F12]);
  Button(VXGamepad::kButtonConfirm, false);
  Button(VXGamepad::kButtonBack, false);
  Button(VXGamepad::kButtonStart, false);
  Button(4, true);
  for (size_t I = 0; I < Keys.size(); ++I) EXPECT_FALSE(Keys[I]) << I;
  EXPECT_EQ(Typed(), "") << "the pad holds keys, it types nothing";
}

TEST_F(VideoTest, PressesAreLatchedUntilTaken) {
  Open();
  using Presses = std::vector<int>;
  // A tap over before anyone looked is still a press; so is a key held on.
  Press(SDLK_LEFT);
  Key(SDL_KEYDOWN, SDLK_UP);
  VX_SDL::PollEvents();
  EXPECT_FALSE(VX_SDL::Keys[SDLK_LEFT]);
  EXPECT_EQ(VX_SDL::TakePresses(), (Presses{SDLK_LEFT, SDLK_UP}));
  // Taken once: holding a key presses it no more.
  VX_SDL::PollEvents();
  EXPECT_EQ(VX_SDL::TakePresses(), Presses{});
  EXPECT_TRUE(VX_SDL::Keys[SDLK_UP]);

  Press(SDLK_RIGHT);
  VX_SDL::PollEvents();
  VX_SDL::ClearKeys();
  EXPECT_EQ(VX_SDL::TakePresses(), Presses{}) << "cleared keys leave no press behind";

  // Nobody taking them: the latest are kept, not all.
  for (int I = 0; I < 40; ++I) {
    Press(I % 2 ? SDLK_DOWN : SDLK_a);
    VX_SDL::PollEvents();
  }
  const Presses Kept = VX_SDL::TakePresses();
  ASSERT_EQ(Kept.size(), VX_SDL::kPressesKept);
  EXPECT_EQ(Kept.back(), SDLK_DOWN);

  // The pad presses the keys it turns down.
  SDL_Event E{};
  E.type = SDL_JOYHATMOTION;
  E.jhat.value = SDL_HAT_RIGHT;
  Push(E);
  E.jhat.value = SDL_HAT_CENTERED;
  Push(E);
  VX_SDL::PollEvents();
  EXPECT_EQ(VX_SDL::TakePresses(), Presses{SDLK_RIGHT});
}

TEST_F(VideoTest, DrawingWhileClosedDoesNothing) {
  TImage Image;
  VX_SDL::PutImage(0, 0, Image);
  VX_SDL::FillBox(0, 0, 5, 5, 1, 2, 3);
  VX_SDL::Clear(1, 2, 3);
  VX_SDL::Flip();
  VX_SDL::PollEvents();
  EXPECT_EQ(VX_SDL::DrawTarget(), nullptr);
}

TEST(VideoGrayscaleTest, WeighsTheRawPixelBits) {
  TScopeGuard Depth([Old = ImageDepth()] { SetImageDepth(Old); });
  SetImageDepth(32);
  TImage Image(3, 2);
  Image.Bar(0, 0, 1, 1, 255, 255, 255);
  Image.Bar(1, 0, 1, 1, 100, 0, 0);
  Image.Bar(2, 1, 1, 1, 0, 100, 200);
  Image.SetColorKey();  // pixel reads go through the lock
  auto Stream = VX_SDL::GrayscaleStream(Image);
  EXPECT_EQ(Stream->Data(), (std::vector<uint8_t>{3, 0, 2, 0, 255, 30, 0, 0, 0, 81}));
}

TEST_F(VideoTest, FinalizeWritesTheFrameStatisticOnlyAfterFrames) {
  TLogCapture Capture;
  Open();
  VX_SDL::Finalize();
  EXPECT_FALSE(Capture.Contains("Average ms"));
  Open();
  VX_SDL::SetFrameRate(100);
  VX_SDL::Flip();
  VX_SDL::Flip();
  VX_SDL::Finalize();
  EXPECT_TRUE(Capture.Contains("(VX_SDL, Finalize) VX_SDL: Average ms remaining in each frame: "));
}

using VideoDeathTest = VideoTest;

TEST_F(VideoDeathTest, QuitEventEndsTheProcessWithCode2) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        Open();
        SDL_Event Q{};
        Q.type = SDL_QUIT;
        SDL_PushEvent(&Q);
        VX_SDL::PollEvents();
        std::exit(0);  // not reached
      },
      ::testing::ExitedWithCode(2), "");
}

}  // namespace
