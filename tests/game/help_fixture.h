#pragma once
// A window to draw in and a script of held keys, one step per flip: the
// screens under test run their own frame loops, and the script plays the
// player's hands.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <vector>

#include "config/setup_command.h"
#include "game/options_screen.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "shell/memory_stream.h"
#include "tests/support/scope_guard.h"

class HelpFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    VX_SDL::Start();
    VX_SDL::Initialize(640, 480, 32, VX_SDL::kUseSecondary);
    VX_SDL::SetFrameRate(0);
    VX_SDL::ClearKeys();
  }
  void TearDown() override {
    VX_SDL::SetPresentHook(nullptr);
    VX_SDL::ClearKeys();
    VX_SDL::Finalize();
    VX_SDL::Stop();
  }
  static void Hold(std::initializer_list<int> Keys) {
    VX_SDL::ClearKeys();
    for (int K : Keys) VX_SDL::Keys[static_cast<size_t>(K)] = true;
  }
  // Script(frame) runs at every flip from now on.
  void OnFrames(std::function<void(int)> Script) {
    Frame = 0;
    VX_SDL::SetPresentHook([this, Script](const std::vector<TDirtyRect>&) { Script(Frame++); });
  }
  // The player presses Key, lets go, then taps Escape until the screen
  // under test is gone (Escape also closes the help and the options).
  void PressThenEscape(int Key) {
    OnFrames([Key](int F) {
      if (F == 0) Hold({Key});
      else if (F == 1 || F % 2 == 1) VX_SDL::ClearKeys();
      else Hold({VXKey::Escape});
    });
  }
  static std::vector<uint8_t> Picture() {
    auto Grey = VX_SDL::GrayscaleStream(*VX_SDL::DrawTarget());
    return Grey->Data();
  }

  int Frame = 0;
  TRestore<std::unique_ptr<TSetupCommandHandler>> Setups{SetupCommands, std::make_unique<TSetupCommandHandler>()};
  TRestore<std::unique_ptr<TOptions>> OptionsGuard{Options};
};
