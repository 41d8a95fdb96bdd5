#pragma once
// VX_SDL: the window, the back surface every screen draws to, the flip that
// shows a frame and holds the frame rate, the event pump with held keys, the
// typed-character buffer and the mouse state, and thin drawing operations on
// the back surface. A module of plain procedures and module-level state.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/dirty_rects.h"

class TImage;
class TMemoryStream;
// SDL's own types, declared here so that includers need not see SDL's headers.
struct SDL_Surface;
union SDL_Event;

namespace VX_SDL {

inline constexpr const char* kVersion = "VX_SDL, version 1.2.0b";

// Our own bits of Initialize's flags; SDL never sees them.
inline constexpr uint32_t kUseSecondary = 0x04000000;  // draw to a software back surface
inline constexpr uint32_t kP2x2 = 0x08000000;          // back surface half size, shown doubled
inline constexpr uint32_t kFullScreen = 0x80000000;    // SDL's SDL_FULLSCREEN, passed through

inline constexpr int kKeyCount = 512;
// ReadKey's answer when no character is buffered.
inline constexpr uint8_t kNoKey = 255;
inline constexpr int kKeyBufferSlots = 255;

// Takes an event before the layer's own handling; true consumes it.
using TEventHandlerProc = std::function<bool(const SDL_Event& Event, bool P2x2)>;
// The same event in a plain form, for code that stays clear of SDL's types
// (the UI components). Positions are back-surface pixels, whatever the
// window's scale and borders; the handler is told the mode is not doubled.
enum class TInputKind { Other, KeyDown, KeyUp, MouseDown, MouseUp, MouseMotion };
struct TInputEvent {
  TInputKind Kind = TInputKind::Other;
  int Key = 0;  // key symbol of key events
  int X = 0;    // mouse position of mouse events
  int Y = 0;
  int Button = 0;  // button of button events
  int State = 0;   // button state of motion events
};
using TInputHandlerProc = std::function<bool(const TInputEvent& Event, bool P2x2)>;
// Ends the process with the code after an orderly shutdown; does not return.
using TQuitHook = void (*)(int ExitCode);

// Module start and stop: state back to its defaults; stop also empties the
// handler list and closes a window that is still open.
void Start();
void Stop();
// What ends the process on SDL's quit event (code 2) and on a failed start
// (code 1). Without a hook the process simply exits. Returns the old hook.
TQuitHook SetQuitHook(TQuitHook Hook);

// Window and frame.
void Initialize(int Width, int Height, int BitsPerPixel, uint32_t Flags);
void Finalize();
bool IsOpen();
void Flip();
// Milliseconds until the frame may end; the call that finds it over starts
// the next frame and returns 0.
uint32_t TimeLeft();
// Frame length 1000 div fps; 0 (or less) switches the pacing off.
void SetFrameRate(int FramesPerSecond);
uint32_t FrameInterval();
uint32_t FrameCount();
void SetCaption(const std::string& Text);
// Shows or hides the mouse cursor over the window.
void ShowCursor(bool Show);

// Window scale: the window is Scale times the requested size and shows the
// back surface enlarged by whole pixels (1 to 4; others are taken as 1),
// made smaller (with a warning in the log) until it fits the desktop. Full
// screen keeps the desktop's size and shows the picture at the largest whole
// scale that fits, centred on black. Takes effect at the next Initialize;
// the doubled mode (kP2x2) is scale 2 of a half-size back surface.
void SetWindowScale(int Scale);
// The desktop's size as the layer takes it, instead of asking SDL (which
// cannot tell under some drivers); 0 x 0 asks SDL again.
void SetDesktopSize(int Width, int Height);
// Pixels of the window per pixel of the back surface.
int WindowScale();
// The largest scale (1 to 4) at which a window of that size fits the
// desktop; 1 when the desktop size is unknown.
int DesktopScale(int Width, int Height);
// Between window and full screen (Alt+Return does it from the event pump).
void ToggleFullScreen();
bool IsFullScreen();

// Each flip sends to the window only what was drawn on the back surface
// since the last one, and nothing when nothing was drawn. Whole frames
// (copy and show the whole back surface every frame) remain for comparison.
void SetWholeFrames(bool Whole);
// Called at each flip with the parts of the window that were updated, in
// window pixels (empty when nothing was sent).
using TPresentHook = std::function<void(const std::vector<TDirtyRect>& Rects)>;
void SetPresentHook(TPresentHook Hook);

// Input.
void PollEvents();
uint8_t ReadKey();
uint8_t GetKey(bool Wait);
void ClearKeyBuffer();
void ClearKeys();
void AddEventHandler(TEventHandlerProc Handler);
// Registers a handler that sees each event in the plain form.
void AddInputHandler(TInputHandlerProc Handler);
// Held state per SDL key symbol, true from key-down to key-up.
extern std::array<bool, kKeyCount> Keys;
// The keys that went down since the last call, oldest first, whether or not
// they are still held: a reader that looks less often than every frame (the
// play screen, once a step) still sees a tap that was over between two of
// its looks. ClearKeys forgets them too; the latest kPressesKept are kept.
inline constexpr size_t kPressesKept = 32;
std::vector<int> TakePresses();
// Puts presses taken earlier back in front of any made since: a screen that
// waited on its own (a pause) hands back the taps made before it.
void RestorePresses(const std::vector<int>& Earlier);
uint16_t MouseX();
uint16_t MouseY();
uint8_t MouseButton();

// Surfaces and their images; null while closed.
SDL_Surface* Screen();
TImage* ScreenImage();
TImage* SecondaryImage();
// Where the drawing operations go: the back surface, else the screen.
TImage* DrawTarget();
bool UseSecondary();
bool P2x2();
uint32_t ScreenWidth();
uint32_t ScreenHeight();
uint32_t BitDepth();

// Drawing onto the back surface. Boxes given by corners are inclusive.
void PutImage(int X, int Y, const TImage& Image);
// Copies the back surface at (X, Y), the image's size, into the image at (0, 0).
void GrabImage(int X, int Y, TImage& Image);
void DrawImagePart(int X, int Y, int SourceX, int SourceY, int Width, int Height, const TImage& Image);
void DrawImageCorners(int X, int Y, int X1, int Y1, int X2, int Y2, const TImage& Image);
void ShowPictureFile(int X, int Y, const std::string& Name);
void FillBox(int X1, int Y1, int X2, int Y2, uint8_t Red, uint8_t Green, uint8_t Blue);
void FillBoxRaw(int X1, int Y1, int X2, int Y2, uint32_t Pixel);
void FillRect(int X, int Y, int Width, int Height, uint8_t Red, uint8_t Green, uint8_t Blue);
void FrameRect(int X, int Y, int Width, int Height, uint8_t Red, uint8_t Green, uint8_t Blue);
void HorizontalLine(int X1, int Y, int X2, uint8_t Red, uint8_t Green, uint8_t Blue);
void Clear(uint8_t Red, uint8_t Green, uint8_t Blue);

// u16 width, u16 height (little-endian), then one grey byte per pixel, rows
// top down: (red*30 + green*59 + blue*11) div 100 of the raw pixel's bits.
std::unique_ptr<TMemoryStream> GrayscaleStream(const TImage& Image);

}  // namespace VX_SDL
