#include "game/select_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/setup_command.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "registry/player_reg.h"
#include "registry/run_store.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"
#include "ui/sq_list_box.h"
#include "world/maps.h"

namespace {

constexpr const char* kPack = "test.sq";
constexpr const char* kPlayer = "Wren";

// A pack of named maps in the global Maps, and a fresh player registry in
// a temporary working folder; the globals come back afterwards.
class SelectMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PlayerRegistry->AddPlayer(kPlayer);
    PlayerRegistry->AddLevelPack(kPack);
    VX_SDL::ClearKeys();
  }
  void TearDown() override { VX_SDL::ClearKeys(); }

  void Pack(int Count) {
    Maps = std::make_unique<TMaps>();
    for (int I = 0; I < Count; ++I) {
      auto Map = std::make_unique<TXMap>();
      Map->MapName = "  Map " + std::to_string(I) + " ";
      Map->Author = " Author " + std::to_string(I);
      Maps->Maps.push_back(std::move(Map));
    }
  }
  void States(const std::vector<uint8_t>& S) {
    for (size_t I = 0; I < S.size(); ++I) PlayerRegistry->SetMapState(kPack, kPlayer, S[I], static_cast<int32_t>(I));
  }
  std::vector<int> Stored(int Count) {
    std::vector<int> S;
    for (int I = 0; I < Count; ++I) S.push_back(PlayerRegistry->GetMapState(kPack, kPlayer, I));
    return S;
  }
  static std::vector<int> Fonts(const TSelectMap& Screen) {
    std::vector<int> F;
    for (size_t I = 0; I < Screen.MapList->Items.size(); ++I) F.push_back(Screen.EntryFont(static_cast<int>(I)));
    return F;
  }
  static void Hold(std::initializer_list<int> Keys) {
    VX_SDL::ClearKeys();
    for (int K : Keys) VX_SDL::Keys[static_cast<size_t>(K)] = true;
  }

  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  TLogCapture Captured;
  TRestore<std::unique_ptr<TSetupCommandHandler>> Setups{SetupCommands, std::make_unique<TSetupCommandHandler>()};
  TRestore<std::unique_ptr<TPlayerReg>> Registry{PlayerRegistry, std::make_unique<TPlayerReg>()};
  TRestore<std::unique_ptr<TMaps>> PackGuard{Maps};
};

TEST_F(SelectMapTest, EntriesAreTheTrimmedMapNamesAndTheClosingEntry) {
  Pack(2);
  TSelectMap Screen(kPack, kPlayer);
  EXPECT_EQ(Screen.MapList->Items, (std::vector<std::string>{"\x04Map 0", "\x04Map 1",
                                                             "\x04"
                                                             "Congratulations"}));
  EXPECT_EQ(Screen.Authors, (std::vector<std::string>{"Author 0", "Author 1", TSelectMap::kClosingAuthor}));
}

TEST_F(SelectMapTest, AFreshPlayerFindsTheFirstThreeMapsOpen) {
  Pack(5);
  TSelectMap Screen(kPack, kPlayer);
  Screen.ShowProgress(-1);
  EXPECT_EQ(Fonts(Screen), (std::vector<int>{5, 5, 5, 4, 4, 4}));
  EXPECT_EQ(Screen.MapList->GetItemIndex(), 0);
  EXPECT_EQ(Stored(6), (std::vector<int>{1, 1, 1, 0, 0, 0}));
  // Written to the file at once.
  TPlayerReg Reread;
  EXPECT_EQ(Reread.GetMapState(kPack, kPlayer, 2), TPlayerReg::kOpen);
}

TEST_F(SelectMapTest, ACompletedMapOpensTheNextLockedOne) {
  Pack(5);
  States({2, 1, 1});
  TSelectMap Screen(kPack, kPlayer);
  Screen.ShowProgress(-1);
  EXPECT_EQ(Fonts(Screen), (std::vector<int>{6, 5, 5, 5, 4, 4}));
  EXPECT_EQ(Screen.MapList->GetItemIndex(), 1);
  EXPECT_EQ(Stored(6), (std::vector<int>{2, 1, 1, 1, 0, 0}));
}

TEST_F(SelectMapTest, WithEveryMapCompletedTheClosingEntryOpens) {
  Pack(3);
  States({2, 2, 2});
  TSelectMap Screen(kPack, kPlayer);
  Screen.ShowProgress(-1);
  EXPECT_EQ(Fonts(Screen), (std::vector<int>{6, 6, 6, 5}));
  EXPECT_EQ(Screen.MapList->GetItemIndex(), 3);
  Hold({VXKey::Return});
  EXPECT_EQ(Screen.Decision(), TSelectMap::kClosing);
}

TEST_F(SelectMapTest, TheClosingEntryStaysLockedWhileMapsArePending) {
  // In a pack of two maps the closing entry is among the first three not
  // completed: recorded open, but shown locked and not choosable.
  Pack(2);
  TSelectMap Screen(kPack, kPlayer);
  Screen.ShowProgress(-1);
  EXPECT_EQ(Fonts(Screen), (std::vector<int>{5, 5, 4}));
  EXPECT_EQ(Stored(3), (std::vector<int>{1, 1, 1}));
  Screen.MapList->SetItemIndex(2);
  Hold({VXKey::Return});
  EXPECT_EQ(Screen.Decision(), TSelectMap::kUndecided);
}

TEST_F(SelectMapTest, UnknownStatesShowLockedAndAGivenEntryTakesTheCursor) {
  Pack(5);
  States({7, 1, 1, 1});
  TSelectMap Screen(kPack, kPlayer);
  Screen.ShowProgress(4);
  EXPECT_EQ(Fonts(Screen), (std::vector<int>{4, 5, 5, 5, 4, 4}));
  EXPECT_EQ(Screen.MapList->GetItemIndex(), 4);
  // The cursor stays where it was for any other command code.
  Screen.ShowProgress(TSelectMap::kClosing);
  EXPECT_EQ(Screen.MapList->GetItemIndex(), 4);
}

TEST_F(SelectMapTest, EscapeOverF2OverF1OverAChoice) {
  Pack(5);
  TSelectMap Screen(kPack, kPlayer);
  Screen.ShowProgress(-1);
  Screen.MapList->SetItemIndex(1);
  Hold({});
  EXPECT_EQ(Screen.Decision(), TSelectMap::kUndecided);
  Hold({VXKey::Return});
  EXPECT_EQ(Screen.Decision(), 1);
  Hold({VXKey::Space});
  EXPECT_EQ(Screen.Decision(), 1);
  Hold({VXKey::Return, VXKey::F1});
  EXPECT_EQ(Screen.Decision(), TSelectMap::kChangePlayer);
  Hold({VXKey::F1, VXKey::F2});
  EXPECT_EQ(Screen.Decision(), TSelectMap::kChangePack);
  Hold({VXKey::F1, VXKey::Escape});
  EXPECT_EQ(Screen.Decision(), TSelectMap::kLeave);
  Hold({VXKey::Return, VXKey::F1, VXKey::F2, VXKey::Escape});
  EXPECT_EQ(Screen.Decision(), TSelectMap::kLeave);
  // A locked map cannot be chosen.
  Screen.MapList->SetItemIndex(4);
  Hold({VXKey::Return});
  EXPECT_EQ(Screen.Decision(), TSelectMap::kUndecided);
}

TEST_F(SelectMapTest, AMapCompletedWithAHintShowsTheMarkAfterItsName) {
  Pack(4);
  States({2, 2, 2});
  ASSERT_EQ(PlayerRegistry->KeepRun(kPack, kPlayer, 0, "RRDD", true), TRunKept::Kept);
  ASSERT_EQ(PlayerRegistry->KeepRun(kPack, kPlayer, 1, "RRDD"), TRunKept::Kept);
  // A later run done alone takes the mark away, however long it is.
  ASSERT_EQ(PlayerRegistry->KeepRun(kPack, kPlayer, 2, "RR", true), TRunKept::Kept);
  ASSERT_EQ(PlayerRegistry->KeepRun(kPack, kPlayer, 2, "RRDDLL"), TRunKept::Kept);
  TSelectMap Screen(kPack, kPlayer);
  Screen.ShowProgress(-1);
  EXPECT_EQ(Screen.ShownEntry(0), "\x06Map 0\x03 (hint)");
  EXPECT_EQ(Screen.ShownEntry(1), "\x06Map 1");
  EXPECT_EQ(Screen.ShownEntry(2), "\x06Map 2");
  EXPECT_EQ(Screen.ShownEntry(3), "\x05Map 3");
  // Only the row's drawing carries the mark; the entry itself keeps the name.
  EXPECT_EQ(Screen.MapList->Items[0], "\x06Map 0");
}

TEST_F(SelectMapTest, TheHintMarkStaysOffMapsNotCompleted) {
  // A kept run with a hint on a map the registry still holds open (a
  // registry file replaced under the runs file) shows no mark.
  Pack(3);
  ASSERT_EQ(PlayerRegistry->KeepRun(kPack, kPlayer, 0, "RRDD", true), TRunKept::Kept);
  TSelectMap Screen(kPack, kPlayer);
  Screen.ShowProgress(-1);
  EXPECT_EQ(Screen.ShownEntry(0), "\x05Map 0");
}

}  // namespace
