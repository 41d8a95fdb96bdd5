// Every screen a player meets, walked in the whole program with the game's
// own data and shipped packs, keys pushed as SDL events: no text may leave
// the screen or be drawn over another text still on show.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/main_app.h"
#include "app/modules.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "registry/player_reg.h"
#include "storage/mad4_high_level.h"
#include "tests/app/text_layout_check.h"
#include "tests/storage/archive_bytes.h"
#include "tests/support/data_folder.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"
#include "world/maps.h"

namespace {

// One key as a player presses it: down for Held frames, then up, then
// After frames before the next. Scene names what should be on screen.
struct TPress {
  std::string Scene;
  int Key = 0;
  int Held = 3;
  int After = 10;
  bool Ctrl = false;
};

struct TWalkStuck {};

void PushKey(Uint8 Type, int Key, bool Ctrl) {
  SDL_Event E{};
  E.type = Type;
  E.key.type = Type;
  E.key.state = Type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  E.key.keysym.sym = static_cast<SDLKey>(Key);
  E.key.keysym.mod = Ctrl ? KMOD_LCTRL : KMOD_NONE;
  E.key.keysym.unicode = Key < 127 ? static_cast<Uint16>(Key) : 0;
  SDL_PushEvent(&E);
}

// Plays the presses one after the other, a step each frame shown; once they
// are done it presses Escape now and then, and gives up (throws) when the
// program still runs long after.
class TKeyWalk {
 public:
  TKeyWalk(std::vector<TPress> Presses, TTextLayoutCheck& Check) : FPresses(std::move(Presses)), FCheck(Check) {}

  void Frame() {
    FCheck.FrameShown();
    if (FWait > 0) {
      --FWait;
      return;
    }
    if (FDown) {
      const TPress& P = FPresses[FNext - 1];
      PushKey(SDL_KEYUP, P.Key, false);
      if (P.Ctrl) PushKey(SDL_KEYUP, VXKey::LeftCtrl, false);
      FDown = false;
      FWait = P.After;
      // What the key led to is the screen the next press is meant for.
      if (FNext < FPresses.size()) FCheck.SetScene(FPresses[FNext].Scene);
      return;
    }
    if (FNext < FPresses.size()) {
      const TPress& P = FPresses[FNext++];
      FCheck.SetScene(P.Scene);
      if (P.Ctrl) PushKey(SDL_KEYDOWN, VXKey::LeftCtrl, false);
      PushKey(SDL_KEYDOWN, P.Key, P.Ctrl);
      FDown = true;
      FWait = P.Held;
      return;
    }
    // Past the walk: Escape now and then, until the program ends or it is
    // plain that it will not.
    if (++FExtra > 15) throw TWalkStuck{};
    FPresses.push_back({"after the walk", VXKey::Escape, 3, 40});
  }
  // True once every press of the walk was made without any extra Escape.
  bool Done() const { return FNext >= FPresses.size() && FExtra == 0; }

 private:
  std::vector<TPress> FPresses;
  TTextLayoutCheck& FCheck;
  size_t FNext = 0;
  int FWait = 30;
  bool FDown = false;
  int FExtra = 0;
};

// The presses of the walk: the splash, the player list and its questions,
// the pack list, the map selection of the pack of long names on its closing
// entry, the outro to its closing screen, its map with the options over it
// and won, the editor and its questions, then a shipped pack in the map
// selection and the editor, and out.
std::vector<TPress> Walk() {
  using namespace VXKey;
  return {
      {"splash", Space, 3, 20},
      {"player list", Letter('h'), 3, 20},
      {"help over the player list", Letter('h'), 3, 20},
      {"player list", Delete},
      {"erase question", Escape},
      {"player list", Down},
      {"player list", Return},
      {"new player name", Letter('q')},
      {"new player name", Escape},
      {"player list", Up},
      {"player list", Return},
      {"pack list", Return, 3, 20},
      {"map selection, closing entry", F12, 3, 20},
      {"options over the map selection", Escape, 3, 20},
      {"map selection, closing entry", Letter('h'), 3, 20},
      {"help over the map selection", Letter('h'), 3, 20},
      {"map selection, closing entry", Return, 3, 30},
      {"outro", Space, 60, 10},
      {"outro, closing screen", Space, 3, 20},
      {"map selection", Up},
      {"map selection", Return, 3, 30},
      {"play", F12, 3, 20},
      {"options over play", Escape, 3, 20},
      {"play", Letter('h'), 3, 20},
      {"help over play", Letter('h'), 3, 20},
      {"play", Letter('p'), 3, 10},
      {"paused", Letter('p'), 3, 10},
      {"play", Right, 8, 30},
      {"map completed", Space, 3, 20},
      {"map selection", Letter('w'), 3, 20},
      {"watching the best run", Letter('x'), 3, 20},
      {"map selection", Letter('e'), 3, 20},
      {"editor", Letter('h'), 3, 20},
      {"help over the editor", Letter('h'), 3, 20},
      {"editor", F2},
      {"editor, map name", Escape},
      {"editor", Delete},
      {"editor, delete question", Letter('n')},
      {"editor", Insert},
      {"editor", Letter('s'), 3, 10, true},
      {"editor, renumbered question", Letter('n')},
      {"editor", Escape},
      {"editor, save question", Escape},
      {"editor", Escape},
      {"editor, save question", Letter('n'), 3, 20},
      {"map selection", F1},
      {"player list", Escape},
      {"map selection", F2},
      {"pack list", Down},
      {"pack list", Letter('h'), 3, 20},
      {"help over the pack list", Letter('h'), 3, 20},
      {"pack list", Return, 3, 20},
      {"map selection, shipped pack", Letter('e'), 3, 20},
      {"editor, shipped pack", Escape, 3, 20},
      {"map selection, shipped pack", Escape},
  };
}

class TextLayoutTest : public ::testing::Test {
 protected:
  // The shipped packs in the working folder, and a player who has completed
  // every map of each: the closing entry stands open.
  void SetUp() override {
    namespace fs = std::filesystem;
    for (const auto& Entry : fs::directory_iterator(PlayDir()))
      if (Entry.path().extension() == ".sq") fs::copy_file(Entry.path(), Dir.File(Entry.path().filename().string()));
    // First in the list: names as long as a designer may make them, and a
    // map won in one step.
    TArchiveBytes Long;
    Long.Member("RAWD", "info",
                Bytes("Starquarry level pack\r\nThe Wonderfully Winding Workings of Wendelmoor Quarry\r\n"
                      "Wilhelmina Wendelmoor-Whitmore and Friends\r\n"));
    Long.Member("RAWD", "001.mpp",
                Bytes("MAPT\r\nWI20\r\nHE12\r\nMNWandering Westward With Wobbling Wagons and Weights\r\n"
                      "AUWilhelmina Wendelmoor-Whitmore of the Western Workings\r\nMP*!\r\nXX\r\n"));
    WriteFileBytes(Dir.File(kLongPack), Long.Finish());
  }
  static std::vector<uint8_t> Bytes(const std::string& Text) { return {Text.begin(), Text.end()}; }
  void CompleteEveryMap() {
    PlayerRegistry->AddPlayer(kPlayer);
    for (const auto& Entry : std::filesystem::directory_iterator(Dir.Path())) {
      if (Entry.path().extension() != ".sq") continue;
      const std::string Pack = Entry.path().filename().string();
      TMaps Loaded;
      ASSERT_TRUE(Loaded.Load(Pack)) << Pack;
      PlayerRegistry->AddLevelPack(Pack);
      for (int I = 0; I < Loaded.MapCount(); ++I) PlayerRegistry->SetMapState(Pack, kPlayer, TPlayerReg::kCompleted, I);
    }
  }

  static constexpr const char* kLongPack = "0_the_wonderfully_winding_workings_of_wendelmoor.sq";
  // As wide as a player's name may be.
  static constexpr const char* kPlayer = "Wilhelmina Wendt";
  // Runs the whole program with the walk's presses, the layout checked
  // from the splash on; Prepare runs once the game's data is mounted.
  // False when the program did not end after the walk.
  bool RunWalk(std::vector<TPress> Presses, TTextLayoutCheck& Check, const std::function<void()>& Prepare = {}) {
    std::vector<std::string> Args = {GameProgram(), "-mainlog", Dir.File("run.log")};
    std::vector<char*> Argv;
    for (auto& A : Args) Argv.push_back(A.data());
    StartModules(static_cast<int>(Argv.size()), Argv.data());
    TScopeGuard Modules([] { StopModules(); });
    // The application mounts the program it runs as: here that is the test.
    EXPECT_TRUE(VolumeManager->Mount(GameProgram(), 100, true));
    Check.SetScene("splash");
    TKeyWalk Keys(std::move(Presses), Check);
    bool Stuck = false;
    {
      TMain Main("1.06", "0002", "2018.12.17");
      if (Prepare) Prepare();
      // The walk needs no real time between frames.
      VX_SDL::SetFrameRate(0);
      VX_SDL::SetPresentHook([&Keys](const std::vector<TDirtyRect>&) { Keys.Frame(); });
      TScopeGuard Unhook([] { VX_SDL::SetPresentHook(nullptr); });
      try {
        Main.Run();
      } catch (const TWalkStuck&) { Stuck = true; }
    }
    return !Stuck && Keys.Done();
  }
  static std::string Faults(const TTextLayoutCheck& Check) {
    std::string F;
    for (const std::string& Line : Check.Faults()) F += Line + "\n";
    return F;
  }
  // Each expected piece is part of some text drawn.
  static void ExpectDrawn(const TTextLayoutCheck& Check, std::initializer_list<const char*> Expected) {
    std::string Seen;
    for (const std::string& T : Check.Texts()) Seen += T + "\n";
    for (const char* E : Expected)
      EXPECT_NE(Seen.find(E), std::string::npos) << "no text with \"" << E << "\" was drawn; seen:\n" << Seen;
  }

  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
};

TEST_F(TextLayoutTest, EveryScreenShowsEveryTextWholeAndApart) {
  TTextLayoutCheck Check;
  EXPECT_TRUE(RunWalk(Walk(), Check, [this] { CompleteEveryMap(); })) << "the program did not end after the walk";
  EXPECT_TRUE(Check.Faults().empty()) << Faults(Check);
  // The walk reached every screen it means to look at.
  ExpectDrawn(Check, {"Press Space!",
                      "Select player",
                      "Really erase player?",
                      "Enter new player name",
                      "Select level pack",
                      "deep_shafts.sq",
                      "0_the_wonderfully",
                      "Wandering Westward",
                      "The Wonderfully Winding",
                      "Congratulations!",
                      "You completed all maps",
                      "Diamonds: ",
                      "Map Completed!",
                      "Best run of",
                      "Map 20/20",
                      "Yellow: open",
                      "survives every explosion",
                      "Delete map",
                      "Save changes before leaving?",
                      "Maps were added"});
}

}  // namespace

namespace {

// A new player starts the game in a folder without packs, deep enough that
// its name takes more than one line: the pack list says so and names the
// folder, Return leaves, and the log says it too.
TEST_F(TextLayoutTest, WithoutPacksThePackListSaysWhereTheyGo) {
  namespace fs = std::filesystem;
  const std::string Empty = Dir.File("a_folder_with_a_long_name/and_one_inside/no_packs_here");
  fs::create_directories(Empty);
  TChangeDir There(Empty);
  using namespace VXKey;
  TTextLayoutCheck Check;
  EXPECT_TRUE(RunWalk({{"splash", Space, 3, 20},
                       {"player list", Return},
                       {"new player name", Letter('w')},
                       {"new player name", Return, 3, 20},
                       {"player list", Return, 3, 20},
                       {"no packs", Return, 3, 20}},
                      Check))
      << "Return did not end the game";
  EXPECT_TRUE(Check.Faults().empty()) << Faults(Check);
  ExpectDrawn(Check, {"No level packs found!", "Escape or Return"});
  // The folder, whole, over the lines it takes.
  std::string Joined;
  for (const std::string& T : Check.Texts())
    if (T.starts_with("/") || (!Joined.empty() && Joined.back() == '/' && T.find(' ') == std::string::npos))
      Joined += T;
  EXPECT_EQ(Joined, fs::current_path().string());
  EXPECT_NE(ReadFileText(Dir.File("run.log")).find("No level packs (*.sq files) in " + fs::current_path().string()),
            std::string::npos);
}

}  // namespace
