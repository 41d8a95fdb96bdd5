#pragma once
// A 640x480 window under the dummy video driver, a fresh setup-string store
// and a collection of nine small test fonts, each in its own colour, for the
// component tests. The globals they replace come back afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/setup_command.h"
#include "graphics/font_collection.h"
#include "graphics/image.h"
#include "graphics/surface.h"
#include "graphics/video.h"
#include "tests/support/scope_guard.h"

namespace ui_test {

// Colour of test font N: distinct and far from black.
struct TRGBColor {
  uint8_t R, G, B;
  uint32_t Raw() const { return (uint32_t{R} << 16) | (uint32_t{G} << 8) | B; }
};
TRGBColor FontColor(int N);
// A test font: every printable character a solid block 10 high, 3 to 6 wide.
std::unique_ptr<TFont> MakeFont(TRGBColor Color);
// Nine test fonts, font N in FontColor(N).
std::unique_ptr<TFontCollection> TestFonts();

// The window, opened for the lifetime of the object.
class TTestWindow {
 public:
  TTestWindow();
  ~TTestWindow();
  TTestWindow(const TTestWindow&) = delete;
  TTestWindow& operator=(const TTestWindow&) = delete;
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opened first and closed last: the fonts' images need the video layer.
  TTestWindow FWindow;
  TRestore<std::unique_ptr<TSetupCommandHandler>> FSetup{SetupCommands, std::make_unique<TSetupCommandHandler>()};
  TRestore<std::unique_ptr<TFontCollection>> FFonts{FontCollection, TestFonts()};

  // Raw pixel of the back surface.
  static uint32_t Pixel(int X, int Y);
  // How many pixels of a box (inclusive) have that raw value.
  static int CountPixels(int X1, int Y1, int X2, int Y2, uint32_t Raw);
  // Leftmost and rightmost column of a box holding that value; -1 when none.
  static std::pair<int, int> Columns(int X1, int Y1, int X2, int Y2, uint32_t Raw);
  static void ClearBack() { VX_SDL::Clear(0, 0, 0); }
  static void Press(int Key) { VX_SDL::Keys[static_cast<size_t>(Key)] = true; }
  static void Release(int Key) { VX_SDL::Keys[static_cast<size_t>(Key)] = false; }
  // Typed characters go through SDL's queue and the video layer's pump.
  static void Type(const std::string& Text, bool Shift = false);
  static void PushKey(int Sym, bool Down, bool Shift = false);
  // Each character as a US keyboard types it, with SDL's translation: the
  // key's own symbol, Shift where the character needs it, and the character.
  static void TypeAsKeyboard(const std::string& Text);
  static uint32_t Rgb(uint8_t R, uint8_t G, uint8_t B) { return (uint32_t{R} << 16) | (uint32_t{G} << 8) | B; }
};

}  // namespace ui_test
