#include "graphics/video.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "graphics/image.h"
#include "graphics/key_codes.h"
#include "graphics/video_gamepad.h"
#include "graphics/video_scale.h"
#include "shell/logger.h"
#include "shell/web_bridge.h"

namespace VX_SDL {

// The engine's full-screen bit is SDL 1.2's own; an SDL that numbers it
// otherwise (the browser's) gets its own bit.
constexpr uint32_t SdlFlags(uint32_t Flags) {
  return Flags & kFullScreen ? (Flags & ~kFullScreen) | SDL_FULLSCREEN : Flags;
}

std::array<bool, kKeyCount> Keys{};

namespace {
constexpr const char* kInitHeading = "VX_SDL, Initialize";

struct TState {
  SDL_Surface* Screen = nullptr;  // SDL's own; freed when video shuts down
  TSurfacePtr Secondary;
  std::unique_ptr<TImage> ScreenImage, SecondaryImage;
  bool UseSecondary = false;
  bool P2x2 = false;
  int Scale = 1;                 // window pixels per back-surface pixel
  int RequestedScale = 1;        // for the next Initialize
  int AskedScale = 1;            // what the open window asked for
  bool WarnFit = true;           // a window smaller than asked is logged
  int OffsetX = 0, OffsetY = 0;  // the picture's corner in the window
  int DesktopWidth = 0, DesktopHeight = 0;
  bool DesktopGiven = false;
  // The window is sent whole at the next flip (a new mode, black borders).
  bool WholeWindow = false;
  uint32_t Flags = 0;  // SDL's flags of the open window
  int Bpp = 0;
  // What was drawn on the back surface since the last flip.
  TDirtyRects Changes;
  bool WholeFrames = false;
  TPresentHook PresentHook;
  uint32_t ScreenWidth = 0, ScreenHeight = 0, BitDepth = 0;
  uint16_t MouseX = 0, MouseY = 0;
  uint8_t MouseButton = 0;
  std::vector<TEventHandlerProc> EventHandlers;
  uint32_t NextFrameTime = 0;
  uint32_t FrameInterval = 25;
  uint32_t FrameCount = 0;
  uint32_t TimeLeftSum = 0;
  // Ring of typed characters: empty when Write == Read, so 254 are held at most.
  std::array<uint8_t, kKeyBufferSlots> KeyBuffer{};
  uint8_t KeyWrite = 0, KeyRead = 0;
  std::vector<int> Presses;
};

TState State;
TQuitHook QuitHook = nullptr;

// Video down; SDL as a whole only when no other part (the sound device) still
// uses it, so closing the window never cuts the sound off mid-shutdown.
void QuitVideo() {
  VXGamepad::Close();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

[[noreturn]] void EndProcess(int Code) {
  if (QuitHook) QuitHook(Code);
  std::exit(Code);
}

[[noreturn]] void Fatal(const std::string& Text) {
  Log->Error(Text, kInitHeading);
  QuitVideo();
  EndProcess(1);
}

// Drops the images and surfaces; SDL itself stays up.
void ReleaseSurfaces() {
  State.SecondaryImage.reset();
  State.ScreenImage.reset();
  State.Secondary.reset();
  State.Screen = nullptr;
}

// The desktop's size: given by SetDesktopSize, else what SDL reports before
// the first video mode (0 x 0 when it cannot tell).
void LearnDesktop() {
  if (State.DesktopGiven) return;
  const SDL_VideoInfo* Info = SDL_GetVideoInfo();
  State.DesktopWidth = Info ? Info->current_w : 0;
  State.DesktopHeight = Info ? Info->current_h : 0;
}

// The window for the back surface with SDL's Flags (full screen or not),
// black around the picture; null when SDL refuses the mode.
SDL_Surface* SetBackMode(uint32_t Flags) {
  const int BackWidth = static_cast<int>(State.ScreenWidth), BackHeight = static_cast<int>(State.ScreenHeight);
  const TWindowFit Fit = ChooseWindow(BackWidth, BackHeight, State.AskedScale, Flags & SDL_FULLSCREEN,
                                      State.DesktopWidth, State.DesktopHeight);
  if (State.WarnFit && !(Flags & SDL_FULLSCREEN) && Fit.Scale < State.AskedScale) {
    State.WarnFit = false;
    Log->Warning("Scale " + std::to_string(State.AskedScale) + " does not fit the desktop (" +
                     std::to_string(State.DesktopWidth) + "x" + std::to_string(State.DesktopHeight) +
                     "): the window opens at scale " + std::to_string(Fit.Scale),
                 kInitHeading);
  }
  SDL_Surface* Screen = SDL_SetVideoMode(Fit.Width, Fit.Height, State.Bpp, Flags);
  if (!Screen) return nullptr;
  State.Scale = Fit.Scale;
  State.OffsetX = Fit.OffsetX;
  State.OffsetY = Fit.OffsetY;
  // Scale 2 is the doubled mode of the mouse's coordinates.
  State.P2x2 = Fit.Scale == 2;
  State.Flags = Flags;
  SDL_FillRect(Screen, nullptr, 0);
  State.WholeWindow = true;
  return Screen;
}

void OpenBackSurface(int Bpp) {
  State.Secondary = TSurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, static_cast<int>(State.ScreenWidth),
                                                     static_cast<int>(State.ScreenHeight), Bpp, 0, 0, 0, 0));
  if (!State.Secondary) {
    const std::string Error = SDL_GetError();
    ReleaseSurfaces();
    Fatal("Couldn't create secondary surface: " + Error);
  }
  State.SecondaryImage = std::make_unique<TImage>();
  State.SecondaryImage->WrapSurface(State.Secondary.get());
  State.SecondaryImage->TrackChanges(&State.Changes);
  State.Changes.SetBounds(static_cast<int>(State.ScreenWidth), static_cast<int>(State.ScreenHeight));
  State.Changes.AddAll();
}

void Open(int Width, int Height, int Bpp, uint32_t Flags) {
  const bool Doubled = Flags & kP2x2;
  Flags &= ~kP2x2;
  if (SDL_Init(SDL_INIT_VIDEO) == -1) Fatal(std::string("Could not initialize SDL : ") + SDL_GetError());
  // Typed characters come from SDL's translation: shift, AltGr and the layout.
  SDL_EnableUNICODE(1);
  LearnDesktop();
  State.Bpp = Bpp;
  State.OffsetX = State.OffsetY = 0;
  if (State.UseSecondary) {
    // The back surface has the asked size (half of it in the doubled mode);
    // the window shows it enlarged as far as the scale and the desktop allow.
    State.AskedScale = Doubled ? 2 : State.RequestedScale;
    State.ScreenWidth = static_cast<uint32_t>(Doubled ? Width / 2 : Width);
    State.ScreenHeight = static_cast<uint32_t>(Doubled ? Height / 2 : Height);
    State.Screen = SetBackMode(Flags);
  } else {
    // Without a back surface there is nothing to enlarge.
    State.P2x2 = Doubled;
    State.Scale = 1;
    State.Flags = Flags;
    State.ScreenWidth = static_cast<uint32_t>(Width);
    State.ScreenHeight = static_cast<uint32_t>(Height);
    State.Screen = SDL_SetVideoMode(Width, Height, Bpp, Flags | SDL_DOUBLEBUF | SDL_HWSURFACE);
  }
  if (!State.Screen)
    Fatal("Couldn't set " + std::to_string(Width) + "x" + std::to_string(Height) + "x" + std::to_string(Bpp) +
          " video mode : " + SDL_GetError());
  State.ScreenImage = std::make_unique<TImage>();
  State.ScreenImage->WrapSurface(State.Screen);
  if (State.UseSecondary) OpenBackSurface(Bpp);
  State.BitDepth = static_cast<uint32_t>(Bpp);
  SDL_WM_SetCaption("Kestrel SDL Application", nullptr);
  State.FrameCount = 0;
  State.TimeLeftSum = 0;
}

// Rows of R that are the same on the back surface and on the screen need
// not be sent again (a sprite redrawn in place, a counter that kept its
// value). Only at scale 1, where the screen holds the back surface as is.
bool TrimUnchanged(SDL_Surface* Back, SDL_Surface* Screen, TDirtyRect& R) {
  const int Bpp = Back->format->BytesPerPixel;
  if (Screen->format->BytesPerPixel != Bpp || Back->w != Screen->w || Back->h != Screen->h) return true;
  TSurfaceLock LockBack(Back), LockScreen(Screen);
  if (!LockBack.Ok() || !LockScreen.Ok()) return true;
  const auto Same = [&](int Y) {
    const size_t Offset = static_cast<size_t>(R.X) * Bpp;
    return std::memcmp(static_cast<const uint8_t*>(Back->pixels) + static_cast<size_t>(Y) * Back->pitch + Offset,
                       static_cast<const uint8_t*>(Screen->pixels) + static_cast<size_t>(Y) * Screen->pitch + Offset,
                       static_cast<size_t>(R.W) * Bpp) == 0;
  };
  while (R.H > 0 && Same(R.Y)) {
    ++R.Y;
    --R.H;
  }
  while (R.H > 0 && Same(R.Y + R.H - 1)) --R.H;
  return R.H > 0;
}

// Copies what changed on the back surface to the screen; the parts of the
// screen that now differ from what the window shows go into Sent.
void CopyChanges(std::vector<TDirtyRect>& Sent) {
  SDL_Surface* Back = State.Secondary.get();
  if (State.WholeFrames) State.Changes.AddAll();
  for (TDirtyRect R : State.Changes.Rects()) {
    if (State.Scale == 1) {
      if (!State.WholeFrames && !TrimUnchanged(Back, State.Screen, R)) continue;
      SDL_Rect From{static_cast<Sint16>(R.X), static_cast<Sint16>(R.Y), static_cast<Uint16>(R.W),
                    static_cast<Uint16>(R.H)};
      SDL_Rect To{static_cast<Sint16>(R.X + State.OffsetX), static_cast<Sint16>(R.Y + State.OffsetY), 0, 0};
      if (SDL_BlitSurface(Back, &From, State.Screen, &To) != 0) Log->Warning("Flip Blit failed...", "VX_SDL, Flip");
    } else {
      CopyScaled(Back, State.Screen, State.Scale, R, State.OffsetX, State.OffsetY);
    }
    Sent.push_back(
        {R.X * State.Scale + State.OffsetX, R.Y * State.Scale + State.OffsetY, R.W * State.Scale, R.H * State.Scale});
  }
  State.Changes.Clear();
}

// Updates the parts of the window in Sent: the whole window for whole
// frames and for drawing without a back surface, as SDL_Flip always did.
void Present(std::vector<TDirtyRect>& Sent) {
  if (State.WholeWindow && State.UseSecondary && !State.WholeFrames) {
    // A new mode: its black borders are shown once with the picture.
    SDL_UpdateRect(State.Screen, 0, 0, 0, 0);
    Sent.assign(1, TDirtyRect{0, 0, State.Screen->w, State.Screen->h});
  } else if (!State.UseSecondary || State.WholeFrames) {
    SDL_Flip(State.Screen);
    Sent.assign(1, TDirtyRect{0, 0, State.Screen->w, State.Screen->h});
  } else if (!Sent.empty()) {
    std::vector<SDL_Rect> Rects;
    Rects.reserve(Sent.size());
    for (const TDirtyRect& R : Sent)
      Rects.push_back(SDL_Rect{static_cast<Sint16>(R.X), static_cast<Sint16>(R.Y), static_cast<Uint16>(R.W),
                               static_cast<Uint16>(R.H)});
    SDL_UpdateRects(State.Screen, static_cast<int>(Rects.size()), Rects.data());
  }
  State.WholeWindow = false;
  if (State.PresentHook) State.PresentHook(Sent);
}

// A window position in back-surface pixels; on the border around the
// picture it is off the back surface (below 0 or past its size).
int ToBack(int V, int Offset) { return V < Offset ? -1 : (V - Offset) / State.Scale; }
int BackX(int X) { return ToBack(X, State.OffsetX); }
int BackY(int Y) { return ToBack(Y, State.OffsetY); }
// The same kept on the picture, for the mouse state.
uint16_t OnBack(int V, uint32_t Size) {
  return static_cast<uint16_t>(std::clamp(V, 0, std::max(0, static_cast<int>(Size) - 1)));
}

// The engine's key codes are SDL 1.2's symbols; an SDL that numbers the
// keys beyond ASCII otherwise (the browser's) has its symbols renamed.
int EngineKey(int Sym) {
  switch (Sym) {
    case SDLK_UP: return VXKey::Up;
    case SDLK_DOWN: return VXKey::Down;
    case SDLK_RIGHT: return VXKey::Right;
    case SDLK_LEFT: return VXKey::Left;
    case SDLK_INSERT: return VXKey::Insert;
    case SDLK_HOME: return VXKey::Home;
    case SDLK_END: return VXKey::End;
    case SDLK_PAGEUP: return VXKey::PageUp;
    case SDLK_PAGEDOWN: return VXKey::PageDown;
    case SDLK_F1: return VXKey::F1;
    case SDLK_F2: return VXKey::F2;
    case SDLK_F3: return VXKey::F3;
    case SDLK_F4: return VXKey::F4;
    case SDLK_F5: return VXKey::F5;
    case SDLK_F6: return VXKey::F6;
    case SDLK_F7: return VXKey::F7;
    case SDLK_F8: return VXKey::F8;
    case SDLK_F9: return VXKey::F9;
    case SDLK_F10: return VXKey::F10;
    case SDLK_F11: return VXKey::F11;
    case SDLK_F12: return VXKey::F12;
    case SDLK_RSHIFT: return VXKey::RightShift;
    case SDLK_LSHIFT: return VXKey::LeftShift;
    case SDLK_RCTRL: return VXKey::RightCtrl;
    case SDLK_LCTRL: return VXKey::LeftCtrl;
    case SDLK_RALT: return VXKey::RightAlt;
    case SDLK_LALT: return VXKey::LeftAlt;
    default: return Sym;
  }
}

bool IsAltReturn(const SDL_Event& Event) {
  return Event.type == SDL_KEYDOWN && Event.key.keysym.sym == SDLK_RETURN && (Event.key.keysym.mod & KMOD_ALT);
}

// The character a key-down types: what the keyboard's layout and shift made
// of it, when SDL translated it to printable ASCII; the editing keys by their
// own codes. A key event that comes untranslated (pushed by a program, not
// typed) falls back to its symbol, a letter shifted by Shift. -1 for none.
int TypedCharacter(const SDL_keysym& Key) {
  const int Sym = Key.sym;
  if (Sym == SDLK_BACKSPACE || Sym == SDLK_TAB || Sym == SDLK_RETURN || Sym == SDLK_ESCAPE) return Sym;
  if (Key.unicode >= 32 && Key.unicode < 127) return Key.unicode;
  if (Key.unicode != 0) return -1;
  if (Sym >= 'a' && Sym <= 'z') return Key.mod & KMOD_SHIFT ? Sym - 'a' + 'A' : Sym;
  return Sym >= 0 && Sym < 127 ? Sym : -1;
}

void PutKey(uint8_t Ch) {
  State.KeyBuffer[State.KeyWrite] = Ch;
  State.KeyWrite = static_cast<uint8_t>((State.KeyWrite + 1) % kKeyBufferSlots);
  if (State.KeyWrite == State.KeyRead) State.KeyRead = static_cast<uint8_t>((State.KeyRead + 1) % kKeyBufferSlots);
}

void LatchPress(int Key) {
  if (State.Presses.size() >= kPressesKept) State.Presses.erase(State.Presses.begin());
  State.Presses.push_back(Key);
}

// The pad reports directions and buttons, not keys: its presses are the keys
// it turned from up to down.
void HandlePadEvent(const SDL_Event& Event) {
  const std::array<bool, kKeyCount> Before = Keys;
  if (!VXGamepad::HandleEvent(Event, Keys)) return;
  for (int K = 0; K < kKeyCount; ++K)
    if (Keys[static_cast<size_t>(K)] && !Before[static_cast<size_t>(K)]) LatchPress(K);
}

void HandleOwnEvent(const SDL_Event& Event) {
  switch (Event.type) {
    case SDL_KEYDOWN: {
      const int Sym = Event.key.keysym.sym;
      if (Sym >= 0 && Sym < kKeyCount) {
        Keys[static_cast<size_t>(Sym)] = true;
        LatchPress(Sym);
      }
      if (const int Ch = TypedCharacter(Event.key.keysym); Ch >= 0) PutKey(static_cast<uint8_t>(Ch));
      break;
    }
    case SDL_KEYUP: {
      const int Sym = Event.key.keysym.sym;
      if (Sym >= 0 && Sym < kKeyCount) Keys[static_cast<size_t>(Sym)] = false;
      break;
    }
    case SDL_MOUSEMOTION:
      State.MouseX = OnBack(BackX(Event.motion.x), State.ScreenWidth);
      State.MouseY = OnBack(BackY(Event.motion.y), State.ScreenHeight);
      break;
    case SDL_MOUSEBUTTONDOWN: State.MouseButton = 1; break;
    case SDL_MOUSEBUTTONUP: State.MouseButton = 0; break;
    case SDL_QUIT:
      // The window is gone with SDL; the shutdown that follows must not touch it.
      ReleaseSurfaces();
      QuitVideo();
      EndProcess(2);
    default: HandlePadEvent(Event); break;
  }
}
}  // namespace

void Start() {
  ReleaseSurfaces();
  State = TState{};
  Keys.fill(false);
  VXGamepad::Reset();
}

void Stop() {
  if (IsOpen()) {
    ReleaseSurfaces();
    QuitVideo();
  }
  State.EventHandlers.clear();
  State.PresentHook = nullptr;
  State.WholeFrames = false;
}

TQuitHook SetQuitHook(TQuitHook Hook) {
  TQuitHook Old = QuitHook;
  QuitHook = Hook;
  return Old;
}

void Initialize(int Width, int Height, int BitsPerPixel, uint32_t Flags) {
  if (IsOpen()) Finalize();
  State.UseSecondary = Flags & kUseSecondary;
  Flags &= ~kUseSecondary;
  // The window opened on the way to full screen says nothing of its fit.
  State.WarnFit = !(Flags & kFullScreen);
  Open(Width, Height, BitsPerPixel, Flags & ~kFullScreen);
  // Full screen is reached by opening a window first and reopening.
  if (Flags & kFullScreen) {
    Finalize();
    Open(Width, Height, BitsPerPixel, SdlFlags(Flags));
  }
  SetImageDepth(BitsPerPixel);
  VXGamepad::Open();
}

void Finalize() {
  if (!IsOpen()) return;
  ReleaseSurfaces();
  QuitVideo();
  if (State.FrameCount > 0)
    Log->Status("VX_SDL: Average ms remaining in each frame: " + std::to_string(State.TimeLeftSum / State.FrameCount),
                "VX_SDL, Finalize");
}

bool IsOpen() { return State.Screen != nullptr; }

uint32_t TimeLeft() {
  const uint32_t Now = SDL_GetTicks();
  if (State.NextFrameTime > Now) return State.NextFrameTime - Now;
  State.NextFrameTime = Now + State.FrameInterval;
  return 0;
}

void Flip() {
  if (!IsOpen()) return;
  std::vector<TDirtyRect> Sent;
  if (State.UseSecondary) CopyChanges(Sent);
  State.TimeLeftSum += TimeLeft();
  // One reading per round: a second one could re-arm the frame and wait it whole.
  bool Waited = false;
  for (uint32_t Left = TimeLeft(); Left > 0; Left = TimeLeft()) {
    SDL_Delay(Left);
    Waited = true;
  }
  // A late frame still lets the browser show it and hand over input.
  if (!Waited) VXWeb::Yield();
  Present(Sent);
  ++State.FrameCount;
  VXWeb::NoteFrame();
}

void SetWindowScale(int Scale) { State.RequestedScale = Scale >= 1 && Scale <= 4 ? Scale : 1; }
int WindowScale() { return State.Scale; }

int DesktopScale(int Width, int Height) {
  // Before the first video mode SDL reports the desktop's size.
  if (Width <= 0 || Height <= 0) return 1;
  if (!State.DesktopGiven && !IsOpen()) {
    if (SDL_Init(SDL_INIT_VIDEO) == -1) return 1;
    LearnDesktop();
    QuitVideo();
  }
  return FitScale(Width, Height, State.DesktopWidth, State.DesktopHeight, kMaxWindowScale);
}

bool IsFullScreen() { return IsOpen() && (State.Screen->flags & SDL_FULLSCREEN); }

void ToggleFullScreen() {
  if (!IsOpen()) return;
  // The mode is set again with the other flag and the geometry that suits
  // it (switching the open window alone would crop an enlarged picture);
  // the back surface, with the picture, stays as it is.
  const uint32_t Flags = State.Flags ^ SDL_FULLSCREEN;
  SDL_Surface* Screen = nullptr;
  if (State.UseSecondary) {
    Screen = SetBackMode(Flags);
  } else {
    Screen = SDL_SetVideoMode(State.Screen->w, State.Screen->h, State.Bpp, Flags | SDL_DOUBLEBUF | SDL_HWSURFACE);
    if (Screen) State.Flags = Flags;
  }
  if (!Screen) {
    Log->Warning(std::string("Full screen switch failed: ") + SDL_GetError(), "VX_SDL, ToggleFullScreen");
    Screen = State.UseSecondary ? SetBackMode(State.Flags)
                                : SDL_SetVideoMode(State.Screen->w, State.Screen->h, State.Bpp,
                                                   State.Flags | SDL_DOUBLEBUF | SDL_HWSURFACE);
    if (!Screen) Fatal(std::string("Couldn't set the video mode again : ") + SDL_GetError());
  }
  State.Screen = Screen;
  State.ScreenImage->WrapSurface(Screen);
  if (State.UseSecondary) State.Changes.AddAll();
}

void SetDesktopSize(int Width, int Height) {
  State.DesktopGiven = Width > 0 && Height > 0;
  State.DesktopWidth = State.DesktopGiven ? Width : 0;
  State.DesktopHeight = State.DesktopGiven ? Height : 0;
}

void SetWholeFrames(bool Whole) { State.WholeFrames = Whole; }
void SetPresentHook(TPresentHook Hook) { State.PresentHook = std::move(Hook); }

void SetFrameRate(int FramesPerSecond) {
  State.FrameInterval = FramesPerSecond > 0 ? 1000u / static_cast<uint32_t>(FramesPerSecond) : 0;
}

uint32_t FrameInterval() { return State.FrameInterval; }
uint32_t FrameCount() { return State.FrameCount; }
void SetCaption(const std::string& Text) { SDL_WM_SetCaption(Text.c_str(), nullptr); }
void ShowCursor(bool Show) { SDL_ShowCursor(Show ? SDL_ENABLE : SDL_DISABLE); }

void PollEvents() {
  SDL_Event Event;
  while (SDL_PollEvent(&Event)) {
    if (Event.type == SDL_KEYDOWN || Event.type == SDL_KEYUP)
      Event.key.keysym.sym = static_cast<decltype(Event.key.keysym.sym)>(EngineKey(Event.key.keysym.sym));
    // Alt+Return belongs to the window at any moment; no screen sees it.
    if (IsAltReturn(Event)) {
      ToggleFullScreen();
      continue;
    }
    bool Consumed = false;
    for (const TEventHandlerProc& Handler : State.EventHandlers)
      if (Handler(Event, State.P2x2)) {
        Consumed = true;
        break;
      }
    if (!Consumed) HandleOwnEvent(Event);
  }
}

uint8_t ReadKey() {
  if (State.KeyWrite == State.KeyRead) return kNoKey;
  const uint8_t Ch = State.KeyBuffer[State.KeyRead];
  State.KeyRead = static_cast<uint8_t>((State.KeyRead + 1) % kKeyBufferSlots);
  return Ch;
}

uint8_t GetKey(bool Wait) {
  for (;;) {
    PollEvents();
    const uint8_t Ch = ReadKey();
    if (!Wait || Ch != kNoKey) return Ch;
    SDL_Delay(1);
  }
}

void ClearKeyBuffer() { State.KeyWrite = State.KeyRead = 0; }
void ClearKeys() {
  Keys.fill(false);
  State.Presses.clear();
  VXGamepad::Reset();
}
std::vector<int> TakePresses() { return std::exchange(State.Presses, {}); }
void RestorePresses(const std::vector<int>& Earlier) {
  std::vector<int> All = Earlier;
  All.insert(All.end(), State.Presses.begin(), State.Presses.end());
  if (All.size() > kPressesKept) All.erase(All.begin(), All.end() - static_cast<std::ptrdiff_t>(kPressesKept));
  State.Presses = std::move(All);
}

void AddEventHandler(TEventHandlerProc Handler) { State.EventHandlers.push_back(std::move(Handler)); }

void AddInputHandler(TInputHandlerProc Handler) {
  // Positions are given in back-surface pixels, so the doubling is done.
  AddEventHandler([Handler = std::move(Handler)](const SDL_Event& Event, bool) {
    TInputEvent Plain;
    switch (Event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        Plain.Kind = Event.type == SDL_KEYDOWN ? TInputKind::KeyDown : TInputKind::KeyUp;
        Plain.Key = Event.key.keysym.sym;
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        Plain.Kind = Event.type == SDL_MOUSEBUTTONDOWN ? TInputKind::MouseDown : TInputKind::MouseUp;
        Plain.X = BackX(Event.button.x);
        Plain.Y = BackY(Event.button.y);
        Plain.Button = Event.button.button;
        break;
      case SDL_MOUSEMOTION:
        Plain.Kind = TInputKind::MouseMotion;
        Plain.X = BackX(Event.motion.x);
        Plain.Y = BackY(Event.motion.y);
        Plain.State = Event.motion.state;
        break;
      default: break;
    }
    return Handler(Plain, false);
  });
}
uint16_t MouseX() { return State.MouseX; }
uint16_t MouseY() { return State.MouseY; }
uint8_t MouseButton() { return State.MouseButton; }

SDL_Surface* Screen() { return State.Screen; }
TImage* ScreenImage() { return State.ScreenImage.get(); }
TImage* SecondaryImage() { return State.SecondaryImage.get(); }
TImage* DrawTarget() { return State.UseSecondary ? State.SecondaryImage.get() : State.ScreenImage.get(); }
bool UseSecondary() { return State.UseSecondary; }
bool P2x2() { return State.P2x2; }
uint32_t ScreenWidth() { return State.ScreenWidth; }
uint32_t ScreenHeight() { return State.ScreenHeight; }
uint32_t BitDepth() { return State.BitDepth; }

}  // namespace VX_SDL
