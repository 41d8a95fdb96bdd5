#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "maps/xmap.h"
#include "shell/memory_stream.h"
#include "shell/random.h"
#include "solver/generator.h"
#include "world/map_runner.h"
#include "world/maps.h"

namespace {

constexpr int kCols = TMaps::kCols;
constexpr int kRows = TMaps::kRows;
using TGrid = std::array<std::array<char, kCols>, kRows>;

// A generator of our own: the standard distributions differ between
// libraries, and a seed must make the same map everywhere.
class TDice {
 public:
  explicit TDice(uint32_t Seed) : FState(Seed) {}
  uint32_t Next() {
    FState += 0x9E3779B9u;
    uint32_t Z = FState;
    Z = (Z ^ (Z >> 16)) * 0x85EBCA6Bu;
    Z = (Z ^ (Z >> 13)) * 0xC2B2AE35u;
    return Z ^ (Z >> 16);
  }
  // 0 .. N - 1.
  int Below(int N) { return N <= 1 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(N)); }
  int Between(int Low, int High) { return Low + Below(High - Low + 1); }
  bool Chance(int Percent) { return Below(100) < Percent; }

 private:
  uint32_t FState;
};

bool Inside(int X, int Y) { return X >= 1 && X < kCols - 1 && Y >= 1 && Y < kRows - 1; }

// A free inner cell (grass or empty), or false after many tries.
bool FreeCell(TDice& Dice, const TGrid& G, int& X, int& Y, int Top = 1, int Bottom = kRows - 2) {
  for (int Try = 0; Try < 200; ++Try) {
    X = Dice.Between(1, kCols - 2);
    Y = Dice.Between(Top, Bottom);
    if (G[Y][X] == '.' || G[Y][X] == ' ') return true;
  }
  return false;
}

void AddWalls(TDice& Dice, TGrid& G, int Count) {
  for (int I = 0; I < Count; ++I) {
    const bool Across = Dice.Chance(60);
    const int Length = Dice.Between(3, Across ? 9 : 6);
    const int X0 = Dice.Between(1, kCols - 2), Y0 = Dice.Between(2, kRows - 2);
    // Mostly wall (rounded: things roll off it); some steel and plasma.
    const int Kind = Dice.Below(100);
    const char Block = Kind < 78 ? '#' : Kind < 93 ? '%' : '=';
    for (int K = 0; K < Length; ++K) {
      const int X = Across ? X0 + K : X0, Y = Across ? Y0 : Y0 - K;
      if (Inside(X, Y)) G[Y][X] = Block;
    }
  }
}

// A tunnel through a short wall: the elf crosses it only riding the tunnel.
void AddTunnel(TDice& Dice, TGrid& G) {
  const int X = Dice.Between(3, kCols - 4), Y = Dice.Between(2, kRows - 3);
  const bool Rightward = Dice.Chance(50);
  for (int DY = -2; DY <= 2; ++DY)
    if (Inside(X, Y + DY)) G[Y + DY][X] = '#';
  G[Y][X] = Rightward ? '>' : '<';
  G[Y][X - 1] = '.';
  G[Y][X + 1] = '.';
}

void Scatter(TDice& Dice, TGrid& G, char Block, int Count, int Top = 1) {
  for (int I = 0; I < Count; ++I) {
    int X, Y;
    if (FreeCell(Dice, G, X, Y, Top)) G[Y][X] = Block;
  }
}

// The rows before settling: steel around, grass within, walls, the things
// that move, the diamonds, the elf and the exit.
bool Layout(uint32_t Seed, int Difficulty, TGrid& G) {
  TDice Dice(Seed);
  // A layout a level up rates about one higher: half the candidates for a
  // difficulty are drawn a level up, as its maps rate from D - 0.5 to D + 0.5.
  const int D = Difficulty >= 1 && Difficulty <= 5 ? std::min(5, Difficulty + Dice.Below(2)) : Dice.Between(1, 5);
  for (int Y = 0; Y < kRows; ++Y)
    for (int X = 0; X < kCols; ++X) G[Y][X] = Inside(X, Y) ? (Dice.Chance(7) ? ' ' : '.') : '%';
  AddWalls(Dice, G, 2 + D + Dice.Below(3));
  if (Dice.Chance(15 + 10 * D)) AddTunnel(Dice, G);
  Scatter(Dice, G, '@', 5 + 2 * D + Dice.Below(4));
  Scatter(Dice, G, '&', D >= 2 ? Dice.Below(D + 1) : 0, 2);
  Scatter(Dice, G, '0', Dice.Below(2) + (D >= 3));
  Scatter(Dice, G, '$', 2 + 2 * D + Dice.Below(3));
  int ElfX, ElfY, ExitX, ExitY;
  if (!FreeCell(Dice, G, ElfX, ElfY)) return false;
  G[ElfY][ElfX] = '*';
  for (int Try = 0;; ++Try) {
    if (Try == 50 || !FreeCell(Dice, G, ExitX, ExitY)) return false;
    if (std::abs(ExitX - ElfX) + std::abs(ExitY - ElfY) >= 10) break;
  }
  G[ExitY][ExitX] = '!';
  return true;
}

std::shared_ptr<TXMap> MapOf(const TGrid& G, const std::string& Name) {
  std::string Text = "MAPT\r\nWI20\r\nHE12\r\nAUQuarry Engine\r\nMN" + Name + "\r\n";
  for (const auto& Row : G) Text += "MP" + std::string(Row.begin(), Row.end()) + "\r\n";
  Text += "XX\r\n";
  auto Map = std::make_shared<TXMap>();
  TMemoryStream In(Text.data(), Text.size());
  Map->Load(In);
  return Map;
}

// Runs the map with no keys until nothing moves, so that a map starts still
// (what the player sees is what there is). False when it does not come to
// rest, or the elf or a diamond is lost on the way.
bool Settle(TGrid& G) {
  TMaps W;
  W.Maps.push_back(MapOf(G, "settling"));
  W.CountVariants();
  W.Effects = {};
  W.AnimateLooks = false;
  VXRandom::Seed(0);
  TMapRun Run;
  StartMapRun(W, Run);
  const int Diamonds = W.DiamondsLeft;
  constexpr int kSteps = 40, kStill = 3;
  auto Before = W.Cells();
  int Still = 0;
  for (int Step = 0; Step < kSteps && Still < kStill; ++Step) {
    RunMapStep(W, Run, TElfKeys{});
    if (W.ElfDead) return false;
    Still = W.Cells() == Before ? Still + 1 : 0;
    Before = W.Cells();
  }
  if (Still < kStill || W.DiamondsLeft != Diamonds) return false;
  int Left = 0;
  for (int Y = 0; Y < kRows; ++Y)
    for (int X = 0; X < kCols; ++X) {
      const int32_t C = W.Code(X, Y);
      if (C == Tile::Vacated || C == Tile::Left) G[Y][X] = ' ';
      else if (!IsTile(C)) return false;  // an explosion, a tunnel ride
      else G[Y][X] = static_cast<char>(C);
      Left += C == Tile::Diamond;
    }
  return Left == Diamonds;
}

const char* const kFirst[] = {"Crooked", "Hollow",  "Silent", "Broken", "Narrow", "Sunken", "Amber", "Restless",
                              "Hidden",  "Tangled", "Lonely", "Copper", "Rusty",  "Cold",   "Steep", "Crumbling"};
const char* const kSecond[] = {"Seam", "Shaft", "Gallery", "Pit",   "Vein",    "Ledge",  "Drift",  "Cavern",
                               "Rift", "Heap",  "Hollows", "Stope", "Chamber", "Tunnel", "Quarry", "Face"};

}  // namespace

uint32_t NextCandidateSeed(uint32_t Seed) {
  // One step of a full-period mixing walk: every 32-bit seed comes round.
  return Seed * 1664525u + 1013904223u;
}

std::string GeneratedMapName(uint32_t Seed) {
  TDice Dice(Seed ^ 0x5EA5EEDu);
  const std::string First = kFirst[Dice.Below(16)];
  return First + " " + kSecond[Dice.Below(16)];
}

std::shared_ptr<TXMap> CandidateMap(uint32_t Seed, int Difficulty) {
  TGrid G;
  if (!Layout(Seed, Difficulty, G) || !Settle(G)) return nullptr;
  return MapOf(G, GeneratedMapName(Seed));
}

bool NeedsMoreThanDigging(const TXMap& Map) {
  auto Code = [&Map](int X, int Y) { return TileChar(Map.GetTile(X, Y)); };
  std::array<bool, kCols * kRows> Seen{};
  std::vector<int> Todo;
  for (int X = 0; X < kCols; ++X)
    for (int Y = 0; Y < kRows; ++Y)
      if (Code(X, Y) == Tile::Elf) {
        Seen[static_cast<size_t>(Y * kCols + X)] = true;
        Todo.push_back(Y * kCols + X);
      }
  bool ExitReached = false;
  while (!Todo.empty()) {
    const int Cell = Todo.back();
    Todo.pop_back();
    const int X = Cell % kCols, Y = Cell / kCols;
    const int Near[4][2] = {{X - 1, Y}, {X + 1, Y}, {X, Y - 1}, {X, Y + 1}};
    for (const auto& N : Near) {
      if (N[0] < 0 || N[0] >= kCols || N[1] < 0 || N[1] >= kRows) continue;
      const int C = Code(N[0], N[1]);
      ExitReached = ExitReached || C == Tile::ExitClosed;
      const bool Walk = TileIs(C, kWalkable);
      bool& S = Seen[static_cast<size_t>(N[1] * kCols + N[0])];
      if (!Walk || S) continue;
      S = true;
      Todo.push_back(N[1] * kCols + N[0]);
    }
  }
  if (!ExitReached) return true;
  for (int Y = 0; Y < kRows; ++Y)
    for (int X = 0; X < kCols; ++X)
      if (Code(X, Y) == Tile::Diamond && !Seen[static_cast<size_t>(Y * kCols + X)]) return true;
  return false;
}

bool GenerateMap(uint32_t& Seed, const TGenerateOptions& Options, TGeneratedMap& Out,
                 const std::function<bool(int Tried)>& Progress) {
  for (int Tried = 0; Tried < Options.MaxCandidates; ++Tried) {
    const uint32_t Candidate = Seed;
    Seed = NextCandidateSeed(Seed);
    if (Progress && !Progress(Tried)) return false;
    std::shared_ptr<TXMap> Map = CandidateMap(Candidate, Options.Difficulty);
    if (!Map || !NeedsMoreThanDigging(*Map)) continue;
    TMaps Pack;
    Pack.Maps.push_back(Map);
    Pack.CountVariants();
    Pack.Effects = {};
    TSolveOptions Solve;
    Solve.MaxStates = Options.MaxStates;
    Solve.MaxSteps = 600;
    const TSolveResult R = SolveMap(Pack, 0, Solve);
    if (R.Status != TSolveResult::TStatus::Solved || static_cast<int>(R.Keys.size()) < Options.MinSteps) continue;
    TMapRating Rating;
    RateMap(Pack, 0, Rating, &R);
    if (Options.Difficulty >= 1 && std::lround(Rating.Value) != Options.Difficulty) continue;
    Out.Map = Map;
    Out.Keys = R.Keys;
    Out.Seed = Candidate;
    Out.Rating = Rating;
    return true;
  }
  return false;
}
