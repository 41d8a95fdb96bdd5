#include "tools/artmaker/scene_art.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tools/artmaker/block_art.h"
#include "tools/artmaker/figure_art.h"
#include "tools/makerkit/tga_writer.h"

namespace Art {

using namespace Maker;

namespace {

TFigureLook GuardLook(const TPalette& P) {
  TFigureLook L;
  L.Head = TFigureLook::Helmet;
  L.Tunic = P("guard_tunic");
  L.Belt = Shade(P("elf_belt"), 0.8f);
  L.Legs = Shade(P("guard_armour"), 0.8f);
  L.Boots = Shade(P("boots"), 0.8f);
  L.Skin = Shade(P("skin"), 0.95f);
  L.Hair = P("hair_brown");
  L.Armour = true;
  L.Spear = true;
  return L;
}

TFigureLook BossLook(const TPalette& P) {
  TFigureLook L;
  L.Head = TFigureLook::Crown;
  L.Tunic = P("boss_robe");
  L.Belt = P("boss_trim");
  L.Legs = P("boss_robe");
  L.Boots = P("boots");
  L.Skin = P("skin");
  L.Hair = TRgb{220, 220, 215};
  L.Dress = true;
  L.Beard = true;
  return L;
}

TFigureLook MrsLook(const TPalette& P) {
  TFigureLook L;
  L.Head = TFigureLook::Bun;
  L.Tunic = P("mrs_dress");
  L.Belt = Shade(P("mrs_dress"), 0.6f);
  L.Legs = P("mrs_dress");
  L.Boots = P("boots");
  L.Skin = P("skin");
  L.Hair = P("mrs_hair");
  L.Dress = true;
  return L;
}

TFigureLook KidLook(const TPalette& P, const std::string& Color) {
  TFigureLook L = ElfLook(P);
  L.Hat = P(Color);
  L.Tunic = Shade(P(Color), 0.8f);
  L.Pack = false;
  L.Stride = 1.2f;
  return L;
}

TCanvas Figure(int W, int H, const TPen& Pen, const TFigureLook& L, TFacing F, const TPalette& P) {
  TCanvas C(W, H);
  DrawFigure(C, Pen, L, F, P);
  C.Outline(P("outline"));
  return C;
}

}  // namespace

std::vector<std::string> ParseHall(const std::string& Text) {
  std::vector<std::string> Rows;
  std::istringstream In(Text);
  std::string Line;
  while (std::getline(In, Line)) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    if (!Line.empty() && Line[0] == ';') continue;
    if (Line.empty() && Rows.empty()) continue;
    if (Line.empty()) break;
    if (Line.size() > 20)
      throw std::runtime_error("hall row " + std::to_string(Rows.size() + 1) + " is longer than 20 cells");
    Line.resize(20, ' ');
    if (Line.find_first_not_of("#.123b ") != std::string::npos)
      throw std::runtime_error("hall row " + std::to_string(Rows.size() + 1) +
                               " holds a character the scene does not draw");
    Rows.push_back(Line);
  }
  if (Rows.size() != 12) throw std::runtime_error("the hall needs 12 rows, found " + std::to_string(Rows.size()));
  return Rows;
}

std::string HallToMapt(const std::vector<std::string>& Rows) {
  std::string Out = "MAPT\r\nWI20\r\nHE" + std::to_string(Rows.size()) + "\r\nMNThe hall of the quarry master\r\n";
  for (const std::string& R : Rows) {
    std::string Row = R;
    while (!Row.empty() && Row.back() == ' ') Row.pop_back();
    Out += "MP" + Row + "\r\n";
  }
  return Out + "XX\r\n";
}

void MakeSceneImages(const TArtContext& A) {
  const TPalette& P = A.P;
  const float G = 36.f / 32;
  SaveFrames(A.Path("guard_front.tga"), {Figure(36, 36, TPen{G, 0, 0}, GuardLook(P), TFacing::Down, P)}, false);
  SaveFrames(A.Path("guard_left.tga"), {Figure(40, 36, TPen{G, 2, 0}, GuardLook(P), TFacing::Left, P)}, false);
  SaveFrames(A.Path("guard_right.tga"), {Figure(36, 36, TPen{G, 0, 0}, GuardLook(P), TFacing::Right, P)}, false);
  // The boss stands on a bare cell and is drawn unkeyed, so his two poses
  // replace each other cleanly.
  SaveFrames(
      A.Path("boss.tga"),
      {Figure(32, 32, TPen{}, BossLook(P), TFacing::Down, P), Figure(32, 32, TPen{}, BossLook(P), TFacing::Right, P)},
      true, 0);
  SaveFrames(A.Path("elfmrs.tga"), {Figure(32, 32, TPen{}, MrsLook(P), TFacing::Left, P)}, false);
  std::vector<TCanvas> Kids;
  for (const char* Color : {"kid_a", "kid_b", "kid_c", "kid_d"})
    Kids.push_back(Figure(24, 24, TPen{0.75f, 0, 0}, KidLook(P, Color), TFacing::Left, P));
  SaveFrames(A.Path("elfkids.tga"), Kids, true, 0);
  std::vector<TCanvas> Gems;
  for (const char* Tint : {"gem_ice", "gem_green", "gem_violet", "gem_gold"}) {
    TCanvas C(16, 16);
    DrawGem(C, P(Tint), 1, 2.5f, 14, 12);
    Gems.push_back(C);
  }
  SaveFrames(A.Path("gems.tga"), Gems, true, 0);
}

std::vector<std::string> LoadHall(const std::string& HallPath) {
  std::ifstream In(HallPath);
  if (!In) throw std::runtime_error("cannot read " + HallPath);
  std::stringstream S;
  S << In.rdbuf();
  return ParseHall(S.str());
}

void MakeOutroMap(const TArtContext& A, const std::vector<std::string>& Hall) {
  const std::string Text = HallToMapt(Hall);
  SaveBytes(A.Path("outro.mpt"), std::vector<uint8_t>(Text.begin(), Text.end()));
}

}  // namespace Art
