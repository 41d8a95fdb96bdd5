#include "world/map_runner.h"

#include "graphics/image.h"
#include "world/block_images.h"

void StartMapRun(TMaps& M, TMapRun& Run) {
  M.ElfDead = 0;
  M.SetActive(static_cast<uint16_t>(Run.MapNo));
  M.FindElf();
  M.CountDiamonds();
  M.ElfImage = "*D";
  Run.Ticks = TMapRun::kFramesPerStep;
  if (M.DiamondsLeft == 0) M.OpenExit();
}

void RunMapStep(TMaps& M, TMapRun& Run, const TElfKeys& Keys) {
  if (M.ElfDead > 0) {
    ++M.ElfDead;
    M.ElfImage = TMaps::kHiddenElf;
  }
  M.ReleaseHandledCells();
  if (M.ElfImage != TMaps::kHiddenElf) M.ElfMove(Keys, Run.Completed);
  Run.Ticks = TMapRun::kFramesPerStep;
  M.Step();
}

void AdvanceMapStep(TMaps& M, TMapRun& Run, const TElfKeys& Keys) {
  if (Run.Ticks > 1) {
    M.TickCells(Run.Ticks - 1);
    Run.Ticks = 1;
  }
  AdvanceMapFrame(M, Run, Keys);
}

TElfKeys ElfKeysFor(char Key) {
  TElfKeys Keys;
  Keys.Up = Key == 'U';
  Keys.Down = Key == 'D';
  Keys.Left = Key == 'L';
  Keys.Right = Key == 'R';
  return Keys;
}

void DrawElf(TMaps& M, TImage& Target) {
  if (M.ElfImage == TMaps::kHiddenElf) return;
  if (TImage* Elf = FindBlockImage(M.ElfImage, true)) {
    Target.Draw(TMaps::CellLeft(M.ElfX), TMaps::CellTop(M.ElfY), *Elf);
    // The cell may hold more than the elf (an explosion that killed it): it
    // must be drawn afresh next frame, or the elf would stay there as a ghost.
    M.ForgetDrawnCell(M.ElfX, M.ElfY);
  }
}

bool RunMapFrame(TMaps& M, TMapRun& Run, TImage& Target, const std::function<TElfKeys()>& KeysForStep) {
  bool Stepped = false;
  if (--Run.Ticks <= 0) {
    RunMapStep(M, Run, KeysForStep ? KeysForStep() : TElfKeys{});
    Stepped = true;
  }
  M.DrawMap();
  DrawElf(M, Target);
  return Stepped;
}

bool AdvanceMapFrame(TMaps& M, TMapRun& Run, const TElfKeys& Keys) {
  bool Stepped = false;
  if (--Run.Ticks <= 0) {
    RunMapStep(M, Run, Keys);
    Stepped = true;
  }
  M.TickCells();
  return Stepped;
}
