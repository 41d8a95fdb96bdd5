#pragma once
// TSprite: a positioned, optionally animated image that draws itself onto a
// target frame by frame and can erase itself from a background.
#include <cstdint>

class TImage;

class TSprite {
 public:
  static constexpr const char* kVersion = "SpriteUnit, version 1.04";

  // Flags of the explicit constructor.
  static constexpr uint32_t kLooping = 1;
  static constexpr uint32_t kRandomStart = 2;
  static constexpr uint32_t kPaused = 4;
  static constexpr uint32_t kReverse = 8;

  // Takes the animation settings of the image.
  TSprite(int AX, int AY, TImage* AImage);
  // Explicit settings; FrameWidth 0 means the whole image width.
  TSprite(int AX, int AY, int AFrameWidth, uint32_t Flags, TImage* AImage);
  virtual ~TSprite() = default;

  virtual void Draw();
  // What Draw does to the animation state, without drawing: for a caller
  // that knows the target already shows this very frame here.
  void Tick();
  virtual void Erase();
  virtual void SetPosition(int AX, int AY);
  virtual void MoveBy(int DX, int DY);
  virtual void Hide() { Hidden = true; }
  virtual void Show() { Hidden = false; }

  // Replaces the image; a frame that no longer exists restarts at 0.
  void SetImage(TImage* AImage);

  int32_t X = 0, Y = 0;
  int32_t BackgroundX = 0, BackgroundY = 0;
  uint32_t FrameWidth = 0;
  uint32_t FrameCount = 0;
  uint32_t CurrentFrame = 0;
  int32_t TickCounter = -1;
  int32_t PauseCounter = -1;
  uint32_t FrameDelay = 0;
  uint32_t EndPause = 0;
  TImage* Image = nullptr;       // not owned
  TImage* Background = nullptr;  // not owned
  TImage* Target = nullptr;      // not owned
  bool Hidden = false;
  bool Animated = false;
  bool Looping = false;
  bool Paused = false;
  bool Active = true;
  bool Finished = false;
  bool Reverse = false;

 private:
  void Advance();
};

// The target new sprites draw onto, set for the calling thread alone; null
// means the video layer's back surface (or its screen when there is none).
void SetDefaultSpriteTarget(TImage* Target);
TImage* DefaultSpriteTarget();

void StartSpriteUnit();
void StopSpriteUnit();
