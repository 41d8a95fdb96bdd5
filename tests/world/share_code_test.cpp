// Share codes: what goes in comes out exactly, and a damaged code is
// refused with the player's message, never read as another map.
#include "world/share_code.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "shell/toolbox.h"
#include "tests/support/data_folder.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_support.h"
#include "world/maps.h"

namespace {

constexpr const char* kDamaged = "The code is damaged or cut short.";
constexpr const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

TXMap MapOf(const std::vector<std::string>& Rows, const std::string& Name = "Two Rooms",
            const std::string& Author = "Ida Vell") {
  TXMap M;
  M.SetSize(static_cast<int32_t>(Rows[0].size()), static_cast<int32_t>(Rows.size()));
  for (size_t Y = 0; Y < Rows.size(); ++Y)
    for (size_t X = 0; X < Rows[Y].size(); ++X)
      M.Tiles[Y * Rows[0].size() + X] = M.LogicalTiles[Y * Rows[0].size() + X] = static_cast<uint8_t>(Rows[Y][X]);
  M.MapName = Name;
  M.Author = Author;
  return M;
}

TShareCode Sample(TShareKind Kind = TShareKind::Map) {
  TShareCode C;
  C.Kind = Kind;
  C.Map = MapOf({"%%%%%%", "%*.$!%", "%@.&0%", "%%%%%%"});
  C.Keys = "RR..R";
  if (Kind == TShareKind::Run) C.Player = "Pip";
  return C;
}

std::string Encoded(const TShareCode& C) {
  std::string Error;
  const std::string Code = EncodeShareCode(C, Error);
  EXPECT_EQ(Error, "");
  return Code;
}

void ExpectSame(const TShareCode& A, const TShareCode& B, const std::string& What) {
  EXPECT_EQ(A.Kind, B.Kind) << What;
  EXPECT_EQ(A.Map.Width, B.Map.Width) << What;
  EXPECT_EQ(A.Map.Height, B.Map.Height) << What;
  EXPECT_EQ(A.Map.Tiles, B.Map.Tiles) << What;
  EXPECT_EQ(A.Map.LogicalTiles, B.Map.LogicalTiles) << What;
  EXPECT_EQ(A.Map.MapName, B.Map.MapName) << What;
  EXPECT_EQ(A.Map.Author, B.Map.Author) << What;
  EXPECT_EQ(A.Keys, B.Keys) << What;
  EXPECT_EQ(A.Player, B.Player) << What;
}

// Refused with the damage message, the code it was given left alone.
void ExpectRefused(const std::string& Text, const std::string& What) {
  TShareCode Out = Sample();
  std::string Error;
  EXPECT_FALSE(DecodeShareCode(Text, Out, Error)) << What << ": " << Text;
  EXPECT_EQ(Error, kDamaged) << What;
  EXPECT_EQ(Out.Keys, "RR..R") << What;
}

std::string ShippedKeys(const std::string& Pack, int MapNo) {
  std::ifstream In(PlayDir() + "../levels/" + Pack + "/" + VXToolbox::PaddedNumber(MapNo + 1, 3, '0') + ".keys");
  std::string Keys;
  for (char C; In.get(C);)
    if (C > ' ') Keys += static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
  return Keys;
}

}  // namespace

// Every shipped map, with its way and without, comes back exactly; the
// codes with the way stay short enough for a chat message.
TEST(ShareCodeTest, EveryShippedMapAndItsWayRoundTrip) {
  TLogCapture Log;
  TDataFolder Data;
  ASSERT_TRUE(Data.Mounted());
  int Maps = 0;
  size_t Longest = 0;
  for (const char* Pack : {"quarry_basics", "deep_shafts", "quarry_mix"}) {
    TMaps Loaded;
    ASSERT_TRUE(Loaded.Load(PlayDir() + Pack + ".sq")) << Pack;
    for (int N = 0; N < Loaded.MapCount(); ++N, ++Maps) {
      const std::string What = std::string(Pack) + " map " + std::to_string(N + 1);
      TShareCode In;
      In.Map = *Loaded.Maps[static_cast<size_t>(N)];
      In.Keys = ShippedKeys(Pack, N);
      ASSERT_FALSE(In.Keys.empty()) << What;
      for (bool Way : {true, false}) {
        if (!Way) In.Keys.clear();
        const std::string Code = Encoded(In);
        if (Way) Longest = std::max(Longest, Code.size());
        TShareCode Out;
        std::string Error;
        ASSERT_TRUE(DecodeShareCode(Code, Out, Error)) << What << ": " << Error;
        ExpectSame(In, Out, What);
      }
    }
  }
  EXPECT_EQ(Maps, 60);
  EXPECT_LT(Longest, 600u);
}

TEST(ShareCodeTest, RunsNamesAndLinksRoundTrip) {
  TShareCode Run = Sample(TShareKind::Run);
  Run.Map.MapName = "Unknown";  // as an unnamed map reads
  Run.Player = "";
  TShareCode Out;
  std::string Error;
  ASSERT_TRUE(DecodeShareCode(Encoded(Run), Out, Error)) << Error;
  ExpectSame(Run, Out, "a run by no name on an unnamed map");

  Run.Player = std::string(kMaxShareName, 'p');
  Run.Map.Author = "Zoë Ä";  // bytes of a wider encoding pass as they are
  const std::string Code = Encoded(Run);
  EXPECT_EQ(Code[0], kShareCodeVersion);
  EXPECT_EQ(Code.find_first_not_of(std::string(kDigits) + kShareCodeVersion), std::string::npos) << Code;
  // A code pasted with the link around it, or with blanks, still reads.
  ASSERT_TRUE(DecodeShareCode("  " + Code + "\r\n", Out, Error)) << Error;
  ExpectSame(Run, Out, "a long player name");
  EXPECT_EQ(ShareCodeOfLink("https://example.org/sq/#run=" + Code), Code);
  EXPECT_EQ(ShareCodeOfLink("#map=" + Code), Code);
  EXPECT_EQ(ShareCodeOfLink(Code), Code);

  // A map with wraps travels as it is played.
  TShareCode Wrapped = Sample();
  Wrapped.Map.Tiles[7] = 'x';
  Wrapped.Map.AddLogicalWrap('x', '.');
  ASSERT_TRUE(DecodeShareCode(Encoded(Wrapped), Out, Error)) << Error;
  EXPECT_EQ(Out.Map.Tiles, Sample().Map.Tiles);
  EXPECT_TRUE(Out.Map.LogicalWraps.empty());
}

TEST(ShareCodeTest, WhatCannotTravelIsRefusedWhenEncoding) {
  const auto Refusal = [](const TShareCode& C) {
    std::string Error;
    const std::string Code = EncodeShareCode(C, Error);
    EXPECT_EQ(Code, "");
    return Error;
  };
  TShareCode C = Sample();
  C.Map.Tiles[3] = C.Map.LogicalTiles[3] = 300;
  EXPECT_EQ(Refusal(C), "the map holds a tile above 255");
  C = Sample();
  C.Map.MapName = "two\nlines";
  EXPECT_NE(Refusal(C).find("control character"), std::string::npos);
  C = Sample(TShareKind::Run);
  C.Player = std::string(kMaxShareName + 1, 'p');
  EXPECT_NE(Refusal(C).find("longer than 255 bytes"), std::string::npos);
  C = Sample(TShareKind::Run);
  C.Keys.clear();
  EXPECT_EQ(Refusal(C), "the run has no steps");
  C = Sample();
  C.Keys = "RRx";
  EXPECT_EQ(Refusal(C), "a key is none of U, D, L, R and .");
  C.Keys = std::string(kMaxShareSteps + 1, '.');
  EXPECT_EQ(Refusal(C), "the way is longer than 65535 steps");
  C = Sample();
  C.Map = TXMap();
  EXPECT_EQ(Refusal(C), "the map is empty");
  C.Map.SetSize(kMaxShareSide + 1, 2);
  EXPECT_EQ(Refusal(C), "the map is larger than 255 cells a side");
}

// Every cut and every single character changed, and random damage beyond
// that, is refused: never read as another map.
TEST(ShareCodeTest, DamagedCodesAreRefused) {
  for (TShareKind Kind : {TShareKind::Map, TShareKind::Run}) {
    const std::string Code = Encoded(Sample(Kind));
    for (size_t N = 1; N < Code.size(); ++N) ExpectRefused(Code.substr(0, N), "cut to " + std::to_string(N));
    for (size_t I = 1; I < Code.size(); ++I)
      for (const char* D = kDigits; *D; ++D)
        if (*D != Code[I]) {
          std::string Changed = Code;
          Changed[I] = *D;
          ExpectRefused(Changed, "character " + std::to_string(I) + " changed");
        }
    std::mt19937 Random(Kind == TShareKind::Map ? 1 : 2);
    for (int T = 0; T < 2000; ++T) {
      std::string Damaged = Code;
      const int Changes = 2 + static_cast<int>(Random() % 6);
      for (int K = 0; K < Changes; ++K) {
        const size_t At = 1 + Random() % (Damaged.size() - 1);
        switch (Random() % 3) {
          case 0: Damaged[At] = kDigits[Random() % 64]; break;
          case 1: Damaged.erase(At, 1); break;
          default: Damaged.insert(At, 1, kDigits[Random() % 64]); break;
        }
      }
      if (Damaged != Code) ExpectRefused(Damaged, "random damage");
    }
    // Characters no code holds (a link's '=' or '+' of plain base64).
    ExpectRefused(Code + "=", "padding");
    ExpectRefused(Code.substr(0, 5) + "+" + Code.substr(6), "a '+'");
  }
}

TEST(ShareCodeTest, OtherTextsAndVersionsAreNamedForWhatTheyAre) {
  TShareCode Out;
  std::string Error;
  EXPECT_FALSE(DecodeShareCode("   ", Out, Error));
  EXPECT_EQ(Error, "There is no code.");
  EXPECT_FALSE(DecodeShareCode("hello there", Out, Error));
  EXPECT_EQ(Error, "This is not a Starquarry code.");
  std::string Later = Encoded(Sample());
  Later[0] = '2';
  EXPECT_FALSE(DecodeShareCode(Later, Out, Error));
  EXPECT_EQ(Error, "The code was made by a newer version of Starquarry.");
  EXPECT_FALSE(DecodeShareCode("1", Out, Error));
  EXPECT_EQ(Error, kDamaged);
}
