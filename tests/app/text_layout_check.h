#pragma once
// Hears every text drawn while it lives and collects the layout faults: a
// text whose glyphs leave the picture they were drawn on (the 640 x 480 back
// surface, or an image such as the splash), and a text drawn over another
// that is still on show. A text is on show while the pixels its glyphs
// covered stay as they were; drawn again in the same place, it replaces
// itself.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/text_listener.h"

class TTextLayoutCheck {
 public:
  TTextLayoutCheck();
  // Puts back the listener that was installed before.
  ~TTextLayoutCheck();
  TTextLayoutCheck(const TTextLayoutCheck&) = delete;
  TTextLayoutCheck& operator=(const TTextLayoutCheck&) = delete;

  // The screen the faults found from now on are told under.
  void SetScene(std::string Name) { FScene = std::move(Name); }
  // A frame went to the window: the last text heard is on it by now.
  void FrameShown() { TakePending(); }
  // One line per fault, each told once.
  const std::set<std::string>& Faults() const { return FFaults; }
  // The texts heard, without font switches, in the order first drawn.
  const std::vector<std::string>& Texts() const { return FTexts; }

 private:
  struct TShown {
    std::string Text;
    TTextBox Box;
    const TImage* Target = nullptr;
    std::vector<uint32_t> Pixels;
  };
  void Heard(std::string_view Text, const TTextBox& Box, const TImage* Target);
  // Takes what the last text heard left on its target (it was heard before
  // its glyphs were drawn).
  void TakePending();
  static std::vector<uint32_t> Grab(const TImage& Target, const TTextBox& Box);
  static std::string Describe(const std::string& Text, const TTextBox& Box);

  std::vector<TShown> FShown;
  bool FPending = false;  // the last of FShown still waits for its pixels
  std::set<std::string> FFaults;
  std::vector<std::string> FTexts;
  std::set<std::string> FTextsSeen;
  std::string FScene;
  TTextListener FOld;
};
