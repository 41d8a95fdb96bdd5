#include "game/splash_screen.h"

#include "graphics/font_collection.h"
#include "graphics/video.h"

namespace {
void Text(TImage& Image, const char* FontName, const std::string& Line, int X, int Y, int Align) {
  // A missing font leaves its line out; the splash still shows.
  if (TFont* F = FontCollection ? FontCollection->Find(FontName) : nullptr) F->DrawTextOn(Image, Line, X, Y, Align);
}
}  // namespace

TSplashScreen::TSplashScreen(const std::string& Version, const std::string& Build)
    : Image(std::make_unique<TImage>(640, 480)) {
  Image->DrawNamed(80, 24, "vxlogo.tga");
  Text(*Image, "Anti", "in association with", 320, 104, kAlignCenter);
  Text(*Image, "Gold", kMusicCredit, 320, 128, kAlignCenter);
  Text(*Image, "Anti", "presents", 320, 164, kAlignCenter);
  Image->DrawNamed(20, 194, "logo.tga");
  Text(*Image, "Anti", "V" + Version + "." + Build, 620, 296, kAlignRight);
  Text(*Image, "Anti", "a remake of", 320, 318, kAlignCenter);
  Text(*Image, "Magenta", kRemadeGame, 320, 342, kAlignCenter);
  if (FontCollection)
    FontCollection->DrawTextOn(*Image, std::string(1, '\0') + "by " + std::string(1, '\1') + kRemadePublisher, 320, 370,
                               kAlignCenter);
}

void TSplashScreen::Draw() const { VX_SDL::PutImage(0, 0, *Image); }

void TSplashScreen::Hide() const { VX_SDL::Clear(0, 0, 0); }
