#pragma once
// TImage: one SDL surface plus the frame description that came with the
// picture. Every tile, sprite, title picture and font page is one. Images
// load by name ("elf.tga[1..2][0]:HV"), draw onto each other and read pixels.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "graphics/surface.h"
#include "shell/stream.h"

class TDirtyRects;
class TRawPicture;
class TMemoryStream;

// Raised when a surface of a given size cannot be created.
class ECreateSurface : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One selection of frames from a name: First..Last inclusive, 0-based.
struct TFrameCut {
  int32_t First = -1;
  int32_t Last = -1;
  bool operator==(const TFrameCut&) const = default;
};
using TFrameList = std::vector<TFrameCut>;

class TImage {
 public:
  static constexpr const char* kVersion = "ImageUnit, version 1.12";

  // No surface; the owner installs one (the video layer wraps its surfaces).
  TImage() = default;
  // A black surface of that size at the image depth. Raises ECreateSurface
  // when SDL cannot make it; a zero or negative size gives no surface.
  TImage(int Width, int Height);
  // Loads by name with frame cuts and a transformation string. On failure
  // the image has no surface.
  explicit TImage(const std::string& Name);
  ~TImage();
  TImage(const TImage&) = delete;
  TImage& operator=(const TImage&) = delete;

  // From a picture whose transformations are already applied.
  static std::unique_ptr<TImage> CreateFromRawPicture(const TRawPicture& Picture);
  // A tinted image from a greyscale stream in GSD layout (u16 width, u16
  // height, one byte per pixel); the stream's position is kept. No surface
  // when the stream is too short for the size it announces.
  static std::unique_ptr<TImage> CreateFromGSD(TVXStreamBase& Stream, uint8_t Red, uint8_t Green, uint8_t Blue);

  // Splits "name[cut]...:transform" into its parts: Name loses the cuts
  // and the transformation; a colon counts only from the third character on.
  static void ParseName(std::string& Name, TFrameList& Cuts, std::string& Transform);

  SDL_Surface* Surface() const { return FSurface; }
  bool HasSurface() const { return FSurface != nullptr; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Installs a surface the image owns / one it only observes.
  void SetSurface(TSurfacePtr Surface);
  void WrapSurface(SDL_Surface* Surface);
  // Every drawing onto this image from now on marks its part in Changes
  // (null stops it); the video layer follows its back surface this way.
  void TrackChanges(TDirtyRects* Changes) { FChanges = Changes; }

  // Frame description (read by sprites).
  bool Animated = false;
  bool RandomStartFrame = false;
  bool Looping = false;
  bool StartPaused = false;
  bool ColorKeyed = false;
  int32_t FrameCount = 0;
  uint32_t FrameDelay = 0;
  uint32_t EndPause = 0;
  uint32_t StartFrame = 0;

  // Width of one frame: the surface width divided among the frames.
  int FrameWidth() const;
  // Takes the frame description from a picture's information block.
  void SetFrameInfo(const TRawPicture& Picture);
  // Black becomes transparent when this image is drawn.
  void SetColorKey();
  // Surface alpha when this image is drawn: below 255 it is blended over
  // what lies beneath (a dimmed copy of the screen); 255 copies it unchanged.
  void SetAlpha(uint8_t Alpha);
  // Keeps only the listed frames, in list order.
  void CutFrames(const TFrameList& Cuts);

  // Drawing onto this image; everything clips to the surface.
  void Draw(int X, int Y, const TImage& Source);
  void DrawNamed(int X, int Y, const std::string& Name);
  void DrawPart(int X, int Y, int SourceX, int SourceY, int Width, int Height, const TImage& Source);
  void Bar(int X, int Y, int Width, int Height, uint8_t Red, uint8_t Green, uint8_t Blue);
  void FillRaw(int X, int Y, int Width, int Height, uint32_t Pixel);
  void FrameRect(int X, int Y, int Width, int Height, uint8_t Red, uint8_t Green, uint8_t Blue);
  void VerticalLine(int X, int Y, int Height, uint8_t Red, uint8_t Green, uint8_t Blue);
  // Raw pixel value; 0 outside the surface. The caller locks (TSurfaceLock).
  uint32_t Pixel(int X, int Y) const { return ReadRawPixel(FSurface, X, Y); }
  // The pixel as 8-bit red, green, blue (locks by itself).
  void PixelRGB(int X, int Y, uint8_t& Red, uint8_t& Green, uint8_t& Blue) const;

 private:
  void Load(const std::string& Name);
  bool ConvertPicture(const TRawPicture& Picture);

  TSurfacePtr FOwned;
  SDL_Surface* FSurface = nullptr;
  // The surface's size, kept here so that callers need not see SDL's types.
  int FWidth = 0;
  int FHeight = 0;
  TDirtyRects* FChanges = nullptr;
};

// Bit depth of every surface the graphics code creates: 24 until the video
// mode sets the display depth.
int ImageDepth();
void SetImageDepth(int Depth);

// Module start and stop of the image unit.
void StartImageUnit();
void StopImageUnit();

// Blits part of Source onto Dest with clipping done in 64-bit arithmetic, so
// far-off coordinates never wrap in SDL's 16-bit rectangles.
void BlitClipped(SDL_Surface* Source, int SourceX, int SourceY, int Width, int Height, SDL_Surface* Dest, int X, int Y);
// Fills a clipped rectangle with a raw pixel value.
void FillClipped(SDL_Surface* Dest, int X, int Y, int Width, int Height, uint32_t Pixel);
