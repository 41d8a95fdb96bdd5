#pragma once
// A small world for rule tests: a 20x12 map drawn from text (everything not
// given is steel), block images made in memory, effects recorded.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/image.h"
#include "graphics/image_collection.h"
#include "graphics/sprite.h"
#include "graphics/video.h"
#include "shell/memory_stream.h"
#include "world/effects.h"
#include "world/map_runner.h"
#include "world/maps.h"

class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Blocks = std::make_unique<TImageCollection>();
    // Still 32x32 blocks, and strips where the game animates.
    for (const char* Name : {"#", "%", ".", "$", "@", "&", "0", "=", "<", ">", "<2", ">2", "*U", "*D", "*L", "*R"})
      AddBlock(Name, 1);
    AddBlock("!", 2);
    AddBlock("!1", 3);
    AddBlock("!2", 2);
    AddBlock("X", 4);
    Target = std::make_unique<TImage>(640, 480);
    SetDefaultSpriteTarget(Target.get());
    SetEffectListener([this](const std::string& Name) { Effects.push_back(Name); });
    VX_SDL::ClearKeys();
  }

  void TearDown() override {
    SetEffectListener({});
    World.reset();
    SetDefaultSpriteTarget(nullptr);
    Blocks.reset();
    VX_SDL::ClearKeys();
  }

  void AddBlock(const std::string& Name, int Frames) {
    Blocks->AddImage(std::make_unique<TImage>(32 * Frames, 32), Name);
  }

  // Rows from the top; missing rows and columns are steel.
  void Load(const std::vector<std::string>& Rows) {
    std::string Text = "MAPT\r\nWI20\r\nHE12\r\n";
    for (size_t Y = 0; Y < 12; ++Y) {
      std::string Row = Y < Rows.size() ? Rows[Y] : "";
      Row.resize(20, '%');
      Text += "MP" + Row + "\r\n";
    }
    Text += "XX\r\n";
    World = std::make_unique<TMaps>();
    auto Map = std::make_unique<TXMap>();
    TMemoryStream S(Text.data(), Text.size());
    Map->Load(S);
    World->Maps.push_back(std::move(Map));
    Run = TMapRun{};
    StartMapRun(*World, Run);
    Effects.clear();
  }

  // One step with the arrow keys named in Keys ("L", "R", "U", "D", "" none).
  void Step(const std::string& Keys = "") {
    TElfKeys Held;
    Held.Left = Keys.find('L') != std::string::npos;
    Held.Right = Keys.find('R') != std::string::npos;
    Held.Up = Keys.find('U') != std::string::npos;
    Held.Down = Keys.find('D') != std::string::npos;
    RunMapStep(*World, Run, Held);
  }
  void Steps(int N) {
    for (int I = 0; I < N; ++I) Step();
  }
  // Frames as the play screen runs them (a step every seventh).
  void Frames(int N) {
    for (int I = 0; I < N; ++I) RunMapFrame(*World, Run, *Target);
  }

  int32_t At(int X, int Y) const { return World->Code(X, Y); }
  int Count(const std::string& Effect) const {
    int N = 0;
    for (const auto& E : Effects) N += E == Effect;
    return N;
  }

  std::unique_ptr<TMaps> World;
  std::unique_ptr<TImage> Target;
  TMapRun Run;
  std::vector<std::string> Effects;
};
