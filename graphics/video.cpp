#include "graphics/video.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/image.h"
#include "shell/logger.h"
#include "shell/memory_stream.h"

namespace VX_SDL {

static_assert(kFullScreen == SDL_FULLSCREEN);

std::array<bool, kKeyCount> Keys{};

namespace {
constexpr const char* kInitHeading = "VX_SDL, Initialize";

struct TState {
  SDL_Surface* Screen = nullptr;  // SDL's own; freed when video shuts down
  TSurfacePtr Secondary;
  std::unique_ptr<TImage> ScreenImage, SecondaryImage;
  bool UseSecondary = false;
  bool P2x2 = false;
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
};

TState State;
TQuitHook QuitHook = nullptr;

// Video down; SDL as a whole only when no other part (the sound device) still
// uses it, so closing the window never cuts the sound off mid-shutdown.
void QuitVideo() {
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

void Open(int Width, int Height, int Bpp, uint32_t Flags) {
  State.P2x2 = Flags & kP2x2;
  Flags &= ~kP2x2;
  if (SDL_Init(SDL_INIT_VIDEO) == -1) Fatal(std::string("Could not initialize SDL : ") + SDL_GetError());
  State.ScreenWidth = static_cast<uint32_t>(Width);
  State.ScreenHeight = static_cast<uint32_t>(Height);
  State.Screen = State.UseSecondary ? SDL_SetVideoMode(Width, Height, Bpp, Flags)
                                    : SDL_SetVideoMode(Width, Height, Bpp, Flags | SDL_DOUBLEBUF | SDL_HWSURFACE);
  if (!State.Screen)
    Fatal("Couldn't set " + std::to_string(Width) + "x" + std::to_string(Height) + "x" + std::to_string(Bpp) +
          " video mode : " + SDL_GetError());
  State.ScreenImage = std::make_unique<TImage>();
  State.ScreenImage->WrapSurface(State.Screen);
  if (State.UseSecondary) {
    if (State.P2x2) {
      State.ScreenWidth >>= 1;
      State.ScreenHeight >>= 1;
    }
    State.Secondary = TSurfacePtr(SDL_CreateRGBSurface(SDL_SWSURFACE, static_cast<int>(State.ScreenWidth),
                                                       static_cast<int>(State.ScreenHeight), Bpp, 0, 0, 0, 0));
    if (!State.Secondary) {
      const std::string Error = SDL_GetError();
      ReleaseSurfaces();
      Fatal("Couldn't create secondary surface: " + Error);
    }
    State.SecondaryImage = std::make_unique<TImage>();
    State.SecondaryImage->WrapSurface(State.Secondary.get());
  }
  State.BitDepth = static_cast<uint32_t>(Bpp);
  SDL_WM_SetCaption("Kestrel SDL Application", nullptr);
  State.FrameCount = 0;
  State.TimeLeftSum = 0;
}

// Each source pixel becomes a 2x2 block; only when the screen is exactly
// twice the back surface.
void CopyDoubled(SDL_Surface* Source, SDL_Surface* Dest) {
  if (Dest->w != Source->w * 2 || Dest->h != Source->h * 2) return;
  const int Bpp = Source->format->BytesPerPixel;
  if (Bpp < 1 || Bpp > 4 || Dest->format->BytesPerPixel != Bpp) return;
  TSurfaceLock LockSource(Source), LockDest(Dest);
  if (!LockSource.Ok() || !LockDest.Ok()) return;
  for (int Y = 0; Y < Source->h; ++Y) {
    const uint8_t* S = static_cast<const uint8_t*>(Source->pixels) + static_cast<size_t>(Y) * Source->pitch;
    uint8_t* D0 = static_cast<uint8_t*>(Dest->pixels) + static_cast<size_t>(2 * Y) * Dest->pitch;
    uint8_t* D1 = D0 + Dest->pitch;
    for (int X = 0; X < Source->w; ++X, S += Bpp) {
      // Three-byte pixels keep the byte after each one, so copy by size.
      for (int Half = 0; Half < 2; ++Half) {
        std::memcpy(D0 + (2 * X + Half) * Bpp, S, static_cast<size_t>(Bpp));
        std::memcpy(D1 + (2 * X + Half) * Bpp, S, static_cast<size_t>(Bpp));
      }
    }
  }
}

void PutKey(uint8_t Ch) {
  State.KeyBuffer[State.KeyWrite] = Ch;
  State.KeyWrite = static_cast<uint8_t>((State.KeyWrite + 1) % kKeyBufferSlots);
  if (State.KeyWrite == State.KeyRead) State.KeyRead = static_cast<uint8_t>((State.KeyRead + 1) % kKeyBufferSlots);
}

void HandleOwnEvent(const SDL_Event& Event) {
  switch (Event.type) {
    case SDL_KEYDOWN: {
      const int Sym = Event.key.keysym.sym;
      if (Sym >= 0 && Sym < kKeyCount) Keys[static_cast<size_t>(Sym)] = true;
      if (Sym >= 'a' && Sym <= 'z') {
        const bool Shift = Event.key.keysym.mod & (KMOD_LSHIFT | KMOD_RSHIFT);
        PutKey(static_cast<uint8_t>(Shift ? Sym - 'a' + 'A' : Sym));
      } else if (Sym >= 0 && Sym < 127) {
        PutKey(static_cast<uint8_t>(Sym));
      }
      break;
    }
    case SDL_KEYUP: {
      const int Sym = Event.key.keysym.sym;
      if (Sym >= 0 && Sym < kKeyCount) Keys[static_cast<size_t>(Sym)] = false;
      break;
    }
    case SDL_MOUSEMOTION:
      State.MouseX = State.P2x2 ? Event.motion.x >> 1 : Event.motion.x;
      State.MouseY = State.P2x2 ? Event.motion.y >> 1 : Event.motion.y;
      break;
    case SDL_MOUSEBUTTONDOWN: State.MouseButton = 1; break;
    case SDL_MOUSEBUTTONUP: State.MouseButton = 0; break;
    case SDL_QUIT:
      // The window is gone with SDL; the shutdown that follows must not touch it.
      ReleaseSurfaces();
      QuitVideo();
      EndProcess(2);
    default: break;
  }
}
}  // namespace

void Start() {
  ReleaseSurfaces();
  State = TState{};
  Keys.fill(false);
}

void Stop() {
  if (IsOpen()) {
    ReleaseSurfaces();
    QuitVideo();
  }
  State.EventHandlers.clear();
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
  Open(Width, Height, BitsPerPixel, Flags & ~kFullScreen);
  // Full screen is reached by opening a window first and reopening.
  if (Flags & kFullScreen) {
    Finalize();
    Open(Width, Height, BitsPerPixel, Flags);
  }
  SetImageDepth(BitsPerPixel);
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
  if (State.UseSecondary) {
    if (State.P2x2) {
      CopyDoubled(State.Secondary.get(), State.Screen);
    } else if (SDL_BlitSurface(State.Secondary.get(), nullptr, State.Screen, nullptr) != 0) {
      Log->Warning("Flip Blit failed...", "VX_SDL, Flip");
    }
  }
  State.TimeLeftSum += TimeLeft();
  // One reading per round: a second one could re-arm the frame and wait it whole.
  for (uint32_t Left = TimeLeft(); Left > 0; Left = TimeLeft()) SDL_Delay(Left);
  SDL_Flip(State.Screen);
  ++State.FrameCount;
}

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
void ClearKeys() { Keys.fill(false); }
void AddEventHandler(TEventHandlerProc Handler) { State.EventHandlers.push_back(std::move(Handler)); }

void AddInputHandler(TInputHandlerProc Handler) {
  AddEventHandler([Handler = std::move(Handler)](const SDL_Event& Event, bool P2x2) {
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
        Plain.X = Event.button.x;
        Plain.Y = Event.button.y;
        Plain.Button = Event.button.button;
        break;
      case SDL_MOUSEMOTION:
        Plain.Kind = TInputKind::MouseMotion;
        Plain.X = Event.motion.x;
        Plain.Y = Event.motion.y;
        Plain.State = Event.motion.state;
        break;
      default: break;
    }
    return Handler(Plain, P2x2);
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

void PutImage(int X, int Y, const TImage& Image) {
  if (TImage* T = DrawTarget()) T->Draw(X, Y, Image);
}

void GrabImage(int X, int Y, TImage& Image) {
  if (TImage* T = DrawTarget()) BlitClipped(T->Surface(), X, Y, Image.Width(), Image.Height(), Image.Surface(), 0, 0);
}

void DrawImagePart(int X, int Y, int SourceX, int SourceY, int Width, int Height, const TImage& Image) {
  if (TImage* T = DrawTarget()) T->DrawPart(X, Y, SourceX, SourceY, Width, Height, Image);
}

void DrawImageCorners(int X, int Y, int X1, int Y1, int X2, int Y2, const TImage& Image) {
  DrawImagePart(X, Y, X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1, Image);
}

void ShowPictureFile(int X, int Y, const std::string& Name) {
  if (TImage* T = DrawTarget()) T->DrawNamed(X, Y, Name);
}

void FillBox(int X1, int Y1, int X2, int Y2, uint8_t Red, uint8_t Green, uint8_t Blue) {
  if (TImage* T = DrawTarget()) T->Bar(X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1, Red, Green, Blue);
}

void FillBoxRaw(int X1, int Y1, int X2, int Y2, uint32_t Pixel) {
  if (TImage* T = DrawTarget()) T->FillRaw(X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1, Pixel);
}

void FillRect(int X, int Y, int Width, int Height, uint8_t Red, uint8_t Green, uint8_t Blue) {
  if (TImage* T = DrawTarget()) T->Bar(X, Y, Width, Height, Red, Green, Blue);
}

void FrameRect(int X, int Y, int Width, int Height, uint8_t Red, uint8_t Green, uint8_t Blue) {
  if (TImage* T = DrawTarget()) T->FrameRect(X, Y, Width, Height, Red, Green, Blue);
}

void HorizontalLine(int X1, int Y, int X2, uint8_t Red, uint8_t Green, uint8_t Blue) {
  if (TImage* T = DrawTarget()) T->Bar(X1, Y, X2 - X1 + 1, 1, Red, Green, Blue);
}

void Clear(uint8_t Red, uint8_t Green, uint8_t Blue) {
  TImage* T = DrawTarget();
  if (T && T->Surface()) SDL_FillRect(T->Surface(), nullptr, SDL_MapRGB(T->Surface()->format, Red, Green, Blue));
}

std::unique_ptr<TMemoryStream> GrayscaleStream(const TImage& Image) {
  auto Stream = std::make_unique<TMemoryStream>();
  const int W = Image.Width(), H = Image.Height();
  Stream->WriteU16(static_cast<uint16_t>(W));
  Stream->WriteU16(static_cast<uint16_t>(H));
  std::vector<uint8_t> Row(static_cast<size_t>(W));
  TSurfaceLock Lock(Image.Surface());
  for (int Y = 0; Y < H; ++Y) {
    for (int X = 0; X < W; ++X) {
      const uint32_t P = Lock.Ok() ? Image.Pixel(X, Y) : 0;
      const uint32_t R = (P >> 16) & 0xFF, G = (P >> 8) & 0xFF, B = P & 0xFF;
      Row[static_cast<size_t>(X)] = static_cast<uint8_t>((R * 30 + G * 59 + B * 11) / 100);
    }
    Stream->WriteExact(Row.data(), Row.size());
  }
  Stream->Seek(0);
  return Stream;
}

}  // namespace VX_SDL
