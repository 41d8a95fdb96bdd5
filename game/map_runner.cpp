#include "game/map_runner.h"

#include "game/block_images.h"
#include "game/maps.h"
#include "graphics/image.h"
#include "graphics/video.h"

void StartMapRun(TMaps& M, TMapRun& Run) {
  M.ElfDead = 0;
  M.SetActive(static_cast<uint16_t>(Run.MapNo));
  M.FindElf();
  M.CountDiamonds();
  M.ElfImage = "*D";
  Run.Ticks = TMapRun::kFramesPerStep;
  if (M.DiamondsLeft == 0) M.OpenExit();
}

void RunMapStep(TMaps& M, TMapRun& Run) {
  if (M.ElfDead > 0) {
    ++M.ElfDead;
    VX_SDL::ClearKeys();
    M.ElfImage = TMaps::kHiddenElf;
  }
  for (uint8_t& F : M.Flags)
    if (F == CellState::Handled) F = CellState::Free;
  if (M.ElfImage != TMaps::kHiddenElf) {
    TElfKeys Keys;
    Keys.Up = VX_SDL::Keys[SDLK_UP];
    Keys.Down = VX_SDL::Keys[SDLK_DOWN];
    Keys.Left = VX_SDL::Keys[SDLK_LEFT];
    Keys.Right = VX_SDL::Keys[SDLK_RIGHT];
    M.ElfMove(Keys, Run.Completed);
  }
  Run.Ticks = TMapRun::kFramesPerStep;
  M.Step();
}

void DrawElf(TMaps& M, TImage& Target) {
  if (M.ElfImage == TMaps::kHiddenElf) return;
  if (TImage* Elf = FindBlockImage(M.ElfImage, true)) Target.Draw(32 * M.ElfX, 32 * M.ElfY + 48, *Elf);
}

bool RunMapFrame(TMaps& M, TMapRun& Run, TImage& Target, const std::function<void()>& BeforeStep) {
  bool Stepped = false;
  if (--Run.Ticks <= 0) {
    if (BeforeStep) BeforeStep();
    RunMapStep(M, Run);
    Stepped = true;
  }
  M.DrawMap();
  DrawElf(M, Target);
  return Stepped;
}
