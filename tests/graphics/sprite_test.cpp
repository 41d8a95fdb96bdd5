#include "graphics/sprite.h"

#include <gtest/gtest.h>

#include "graphics/mask.h"
#include "tests/graphics/image_test_util.h"

namespace {

// A strip of frames 2 pixels wide, frame k painted FrameColor(k), drawn onto
// a target of its own; each draw is read back to tell which frame it showed.
class SpriteTest : public ::testing::Test {
 protected:
  SpriteTest() : Target(8, 2) { SetDefaultSpriteTarget(&Target); }
  ~SpriteTest() override { SetDefaultSpriteTarget(nullptr); }

  std::unique_ptr<TImage> Strip(int Frames) {
    auto Image = std::make_unique<TImage>(Frames * 2, 2);
    for (int K = 0; K < Frames; ++K) {
      const TColor C = FrameColor(K);
      Image->Bar(K * 2, 0, 2, 2, C.R, C.G, C.B);
    }
    Image->Animated = true;
    Image->FrameCount = Frames;
    return Image;
  }

  int Shown() {
    const TColor C = ColorAt(Target, 0, 0);
    for (int K = 0; K < 16; ++K)
      if (C == FrameColor(K)) return K;
    return -1;
  }

  std::vector<int> Run(TSprite& Sprite, int Draws) {
    std::vector<int> Frames;
    for (int I = 0; I < Draws; ++I) {
      Sprite.Draw();
      Frames.push_back(Shown());
    }
    return Frames;
  }

  TImageFolder Folder;
  TImage Target;
};

TEST_F(SpriteTest, FrameDelaySetsTheDrawsPerFrame) {
  auto Image = Strip(4);
  TSprite Fast(0, 0, Image.get());
  EXPECT_EQ(Fast.Target, &Target);
  EXPECT_TRUE(Fast.Animated);
  EXPECT_EQ(Fast.FrameWidth, 2u);
  EXPECT_EQ(Run(Fast, 4), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(Fast.Finished);

  Image->FrameDelay = 2;
  TSprite Slow(0, 0, Image.get());
  EXPECT_EQ(Run(Slow, 8), (std::vector<int>{0, 0, 0, 1, 1, 1, 2, 2}));
}

TEST_F(SpriteTest, LoopingHoldsTheLastFrameForTheEndPause) {
  auto Image = Strip(4);
  Image->Looping = true;
  TSprite NoPause(0, 0, Image.get());
  EXPECT_EQ(Run(NoPause, 9), (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0}));
  EXPECT_FALSE(NoPause.Finished);

  Image->EndPause = 2;
  TSprite Pause(0, 0, Image.get());
  EXPECT_EQ(Run(Pause, 8), (std::vector<int>{0, 1, 2, 3, 3, 3, 0, 1}));
}

TEST_F(SpriteTest, NonLoopingFinishesOnTheLastFrame) {
  auto Image = Strip(3);
  TSprite Sprite(0, 0, Image.get());
  EXPECT_EQ(Run(Sprite, 2), (std::vector<int>{0, 1}));
  EXPECT_FALSE(Sprite.Finished);
  EXPECT_EQ(Run(Sprite, 3), (std::vector<int>{2, 2, 2}));
  EXPECT_TRUE(Sprite.Finished);
}

TEST_F(SpriteTest, ExplicitSettingsReversePauseAndRandomStart) {
  auto Image = Strip(4);
  TSprite Back(0, 0, 2, TSprite::kLooping | TSprite::kReverse, Image.get());
  EXPECT_EQ(Back.FrameCount, 4u);
  Back.CurrentFrame = 3;
  EXPECT_EQ(Run(Back, 6), (std::vector<int>{3, 2, 1, 0, 3, 2}));

  TSprite Paused(0, 0, 2, TSprite::kPaused, Image.get());
  EXPECT_EQ(Run(Paused, 3), (std::vector<int>{0, 0, 0}));
  Paused.Paused = false;
  EXPECT_EQ(Run(Paused, 2), (std::vector<int>{0, 1}));

  // Frame width 0 is the whole image: one frame that never moves on.
  TSprite Whole(0, 0, 0, TSprite::kLooping, Image.get());
  EXPECT_EQ(Whole.FrameCount, 1u);
  EXPECT_EQ(Whole.FrameWidth, 8u);
}

TEST_F(SpriteTest, SetImageWithFewerFramesRestarts) {
  auto Four = Strip(4), Two = Strip(2);
  TSprite Sprite(0, 0, Four.get());
  Run(Sprite, 3);
  EXPECT_EQ(Sprite.CurrentFrame, 3u);
  Sprite.SetImage(Two.get());
  EXPECT_EQ(Sprite.FrameCount, 2u);
  EXPECT_EQ(Sprite.CurrentFrame, 0u);
  Sprite.SetImage(Four.get());
  Sprite.CurrentFrame = 1;
  Sprite.SetImage(Two.get());
  EXPECT_EQ(Sprite.CurrentFrame, 1u);
}

TEST_F(SpriteTest, StillImagesAndImagesWithoutSurfaces) {
  TImage Still(3, 2);
  Still.Bar(0, 0, 3, 2, 5, 6, 7);
  TSprite Sprite(1, 0, &Still);
  EXPECT_FALSE(Sprite.Animated);
  EXPECT_EQ(Sprite.FrameWidth, 3u);
  Sprite.Draw();
  EXPECT_EQ(ColorAt(Target, 3, 1), (TColor{5, 6, 7}));

  TImage Empty;
  TSprite Nothing(0, 0, 0, TSprite::kRandomStart | TSprite::kLooping, &Empty);
  EXPECT_EQ(Nothing.FrameCount, 0u);
  Nothing.Draw();
  Nothing.Erase();
  Nothing.SetImage(&Empty);
}

TEST_F(SpriteTest, EraseRestoresTheBackgroundOrBlack) {
  auto Image = Strip(2);
  TImage Background(8, 2);
  Background.Bar(0, 0, 8, 2, 90, 80, 70);
  Background.Bar(4, 0, 2, 2, 1, 2, 3);

  TSprite Sprite(4, 0, Image.get());
  Sprite.Draw();
  EXPECT_EQ(ColorAt(Target, 4, 0), FrameColor(0));
  Sprite.Erase();
  EXPECT_EQ(ColorAt(Target, 4, 0), TColor{});

  Sprite.Background = &Background;
  Sprite.BackgroundX = 2;  // background's left edge at target x = 2
  Sprite.Draw();
  Sprite.Erase();
  EXPECT_EQ(ColorAt(Target, 4, 0), (TColor{90, 80, 70}));
  EXPECT_EQ(ColorAt(Target, 5, 1), (TColor{90, 80, 70}));
}

TEST(MaskTest, SolidPixelsGetTheValue) {
  TImageFolder Folder;
  TImage Image(2, 1);
  Image.Bar(1, 0, 1, 1, 255, 0, 0);
  TMask Mask(Image, 1);
  EXPECT_EQ(Mask.Width, 2);
  EXPECT_EQ(Mask.Height, 1);
  EXPECT_EQ(Mask.Data, (std::vector<uint8_t>{0, 1}));

  // Keyed surfaces are run-length coded and must be locked to be read.
  TImage Keyed(3, 2);
  Keyed.Bar(0, 1, 2, 1, 0, 0, 1);
  Keyed.SetColorKey();
  TImage Scratch(3, 2);
  Scratch.Draw(0, 0, Keyed);  // makes SDL code the surface
  TMask KeyedMask(Keyed, 7);
  EXPECT_EQ(KeyedMask.Data, (std::vector<uint8_t>{0, 0, 0, 7, 7, 0}));
  EXPECT_EQ(KeyedMask.At(1, 1), 7);
  EXPECT_EQ(KeyedMask.At(5, 5), 0);

  TImage None;
  EXPECT_TRUE(TMask(None, 1).Data.empty());
}

}  // namespace
