#pragma once
// The opening picture, composed once off screen and shown while the rest of
// the game loads.
#include <memory>
#include <string>

#include "graphics/image.h"

class TSplashScreen {
 public:
  // Credits of this build.
  static constexpr const char* kMusicCredit = "Music by Tamsin Vell";
  static constexpr const char* kRemadeGame = "Glimmerdelve";
  static constexpr const char* kRemadePublisher = "Brindlemoor Interactive";

  TSplashScreen(const std::string& Version, const std::string& Build);
  void Draw() const;
  void Hide() const;

  std::unique_ptr<TImage> Image;
};
