#include "graphics/sprite.h"

#include "graphics/image.h"
#include "graphics/video.h"
#include "shell/random.h"

namespace {
// Per thread: a search on a worker thread gives its sprites a target of its
// own without the screen's sprites ever seeing it.
thread_local TImage* GDefaultTarget = nullptr;

TImage* NewSpriteTarget() {
  if (GDefaultTarget) return GDefaultTarget;
  if (TImage* Back = VX_SDL::SecondaryImage()) return Back;
  return VX_SDL::ScreenImage();
}

uint32_t RandomFrame(uint32_t Count) {
  return Count > 0 ? static_cast<uint32_t>(VXRandom::Next(static_cast<int32_t>(Count))) : 0;
}
}  // namespace

void SetDefaultSpriteTarget(TImage* Target) { GDefaultTarget = Target; }
TImage* DefaultSpriteTarget() { return GDefaultTarget; }
void StartSpriteUnit() { GDefaultTarget = nullptr; }
void StopSpriteUnit() { GDefaultTarget = nullptr; }

TSprite::TSprite(int AX, int AY, TImage* AImage) : X(AX), Y(AY), Image(AImage), Target(NewSpriteTarget()) {
  const int W = Image ? Image->Width() : 0;
  if (Image && Image->Animated && Image->FrameCount > 0) {
    Animated = true;
    FrameCount = static_cast<uint32_t>(Image->FrameCount);
    FrameWidth = static_cast<uint32_t>(W) / FrameCount;
    CurrentFrame = Image->RandomStartFrame ? RandomFrame(FrameCount) : Image->StartFrame;
    Looping = Image->Looping;
    Paused = Image->StartPaused;
    FrameDelay = Image->FrameDelay;
    EndPause = Image->EndPause;
  } else {
    FrameWidth = static_cast<uint32_t>(W);
    FrameCount = W > 0 ? 1 : 0;
  }
}

TSprite::TSprite(int AX, int AY, int AFrameWidth, uint32_t Flags, TImage* AImage)
    : X(AX), Y(AY), Image(AImage), Target(NewSpriteTarget()) {
  const uint32_t W = Image ? static_cast<uint32_t>(Image->Width()) : 0;
  FrameWidth = AFrameWidth > 0 ? static_cast<uint32_t>(AFrameWidth) : W;
  FrameCount = FrameWidth > 0 ? W / FrameWidth : 0;
  Looping = Flags & kLooping;
  Paused = Flags & kPaused;
  Reverse = Flags & kReverse;
  CurrentFrame = (Flags & kRandomStart) ? RandomFrame(FrameCount) : 0;
  Animated = true;
}

void TSprite::SetImage(TImage* AImage) {
  Image = AImage;
  const uint32_t W = Image ? static_cast<uint32_t>(Image->Width()) : 0;
  FrameCount = FrameWidth > 0 ? W / FrameWidth : 0;
  if (CurrentFrame >= FrameCount) CurrentFrame = 0;
}

void TSprite::Draw() {
  if (Hidden || !Active || !Image || !Target) return;
  if (!Animated) {
    Target->Draw(X, Y, *Image);
    return;
  }
  Target->DrawPart(X, Y, static_cast<int>(CurrentFrame * FrameWidth), 0, static_cast<int>(FrameWidth), Image->Height(),
                   *Image);
  if (!Paused) Advance();
}

void TSprite::Tick() {
  if (Hidden || !Active || !Image || !Target || !Animated || Paused) return;
  Advance();
}

void TSprite::Advance() {
  ++TickCounter;
  if (TickCounter != static_cast<int32_t>(FrameDelay)) return;
  TickCounter = -1;
  if (FrameCount == 0) return;
  const uint32_t Last = Reverse ? 0 : FrameCount - 1;
  if (CurrentFrame != Last) {
    CurrentFrame = Reverse ? CurrentFrame - 1 : CurrentFrame + 1;
    // A frame beyond the strip (a start frame set too far) runs back in.
    if (CurrentFrame >= FrameCount) CurrentFrame = Reverse ? FrameCount - 1 : 0;
  } else if (Looping) {
    ++PauseCounter;
    if (PauseCounter == static_cast<int32_t>(EndPause)) {
      CurrentFrame = Reverse ? FrameCount - 1 : 0;
      PauseCounter = -1;
    }
  } else {
    Finished = true;
  }
}

void TSprite::Erase() {
  if (Hidden || !Active || !Image || !Target) return;
  const int W = Animated ? static_cast<int>(FrameWidth) : Image->Width();
  const int H = Image->Height();
  if (Background) Target->DrawPart(X, Y, X - BackgroundX, Y - BackgroundY, W, H, *Background);
  else Target->Bar(X, Y, W, H, 0, 0, 0);
}

void TSprite::SetPosition(int AX, int AY) {
  X = AX;
  Y = AY;
}

void TSprite::MoveBy(int DX, int DY) {
  X += DX;
  Y += DY;
}
