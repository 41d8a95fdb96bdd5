// A registry file that exists but cannot be read must survive every save.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "registry/player_reg.h"
#include "shell/toolbox.h"
#include "tests/support/bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_support.h"

namespace {
// A bound socket: a file that stat sees but nobody can open for reading.
class TSocketFile {
 public:
  explicit TSocketFile(const std::string& Path) : FFd(socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un A{};
    A.sun_family = AF_UNIX;
    std::strncpy(A.sun_path, Path.c_str(), sizeof A.sun_path - 1);
    Bound = FFd >= 0 && bind(FFd, reinterpret_cast<sockaddr*>(&A), sizeof A) == 0;
  }
  ~TSocketFile() {
    if (FFd >= 0) close(FFd);
  }
  bool Bound = false;

 private:
  int FFd;
};

bool IsSocket(const std::string& Path) {
  struct stat St;
  return stat(Path.c_str(), &St) == 0 && S_ISSOCK(St.st_mode);
}
}  // namespace

TEST(UnreadableRegistry, IsNeverReplacedAndNoCopyIsClaimed) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.vmu");
  TSocketFile Socket(File);
  ASSERT_TRUE(Socket.Bound);

  TPlayerReg R(File);
  EXPECT_TRUE(R.LoadedDamaged());
  EXPECT_TRUE(Capture.Contains("{PlayerRegistryUnit, TPlayerRegistry.Load} Cannot read " + File));
  R.AddPlayer("Ann");
  EXPECT_FALSE(R.LastSaveSucceeded());
  EXPECT_TRUE(IsSocket(File)) << "the file that could not be read is still there";
  EXPECT_FALSE(VXToolbox::FileExists(File + ".bad"));
  EXPECT_TRUE(R.KeptAs().empty());
  EXPECT_FALSE(Capture.Contains("Damaged file kept as")) << Capture.Text();
  EXPECT_TRUE(Capture.Contains("{PlayerRegistryUnit, TPlayerRegistry.Save} Not saved: " + File)) << Capture.Text();
  // Every later change is refused alike.
  R.AddLevelPack("Caves.sq");
  EXPECT_FALSE(R.LastSaveSucceeded());
  EXPECT_TRUE(IsSocket(File));
}

TEST(UnreadableRegistry, OnceReadableAgainItIsKeptAsideBeforeTheFirstSave) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.vmu");
  auto Socket = std::make_unique<TSocketFile>(File);
  ASSERT_TRUE(Socket->Bound);
  TPlayerReg R(File);
  ASSERT_TRUE(R.LoadedDamaged());
  // The file comes back readable (a disk that answers again): what it
  // holds is copied aside, then the new content goes in.
  Socket.reset();
  ASSERT_EQ(unlink(File.c_str()), 0);
  WriteFileText(File, "PREG unseen content");
  R.AddPlayer("Ann");
  EXPECT_TRUE(R.LastSaveSucceeded());
  EXPECT_EQ(R.KeptAs(), File + ".bad");
  EXPECT_EQ(ReadFileText(File + ".bad"), "PREG unseen content");
  EXPECT_TRUE(Capture.Contains("Damaged file kept as " + File + ".bad"));
}

TEST(RegistryCounter, AStoredCounterAtOrBelowAnIdentifierInUseIsRaised) {
  TTempDir Dir;
  TLogCapture Capture;
  const std::string File = Dir.File("Starquarry.vmu");
  // Counter 1, yet a player holds 5 and a deleted player's record holds 7.
  WriteFileBytes(File, TBytes()
                           .Text("PREG")
                           .I32(1)
                           .U16(2)
                           .I32(0)
                           .Str("Ann")
                           .Str("")
                           .I32(5)
                           .Str("Bo")
                           .Str("")
                           .U16(1)
                           .I32(2)
                           .Str("Caves.sq")
                           .U16(1)
                           .I32(7)
                           .I32(2)
                           .I32(1)
                           .U8(2)
                           .Get());
  TPlayerRegistry R;
  ASSERT_TRUE(R.Load(File));
  EXPECT_EQ(R.NextID, 8);
  EXPECT_TRUE(
      Capture.Contains("[PlayerRegistryUnit, TPlayerRegistry.Load] NextID 1 is not above the identifiers in use; "
                       "raised to 8"))
      << Capture.Text();
  ASSERT_TRUE(R.AddPlayer("Cy"));
  EXPECT_EQ(R.PlayerID("Cy"), 8) << "a new player never inherits another's progress";
  EXPECT_FALSE(R.LoadedDamaged()) << "a low counter is mended, not kept aside";

  // A counter above every identifier is kept as stored, silently.
  TPlayerRegistry Fine;
  Fine.AddPlayer("Ann");
  Fine.NextID = 30;
  ASSERT_TRUE(Fine.Save(Dir.File("fine.vmu")));
  TLogCapture Quiet;
  TPlayerRegistry Back;
  ASSERT_TRUE(Back.Load(Dir.File("fine.vmu")));
  EXPECT_EQ(Back.NextID, 30);
  EXPECT_FALSE(Quiet.Contains("raised"));
}
