#include "shell/logger.h"

#include <gtest/gtest.h>

#include "shell/parameters.h"
#include "shell/toolbox.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace {
// Runs Body with a parameter list of a program in Dir and the given switches.
class LoggerTest : public ::testing::Test {
 protected:
  void TearDown() override { Log.Reset(); }
  void Args(std::vector<std::string> A) {
    Parameters = std::make_unique<TParameters>(Dir.File("starquarry.bin"), std::move(A));
  }
  TTempDir Dir;
  TRestore<std::unique_ptr<TParameters>> FSaved{Parameters};
};
}  // namespace

TEST_F(LoggerTest, DefaultNameIsProgramNameUpToFirstDotAndRunsRecreateIt) {
  Args({});
  StartLogger();
  EXPECT_EQ(Log->FileName(), Dir.File("starquarry.log"));
  StopLogger();
  const std::string First = ReadFileText(Dir.File("starquarry.log"));
  EXPECT_EQ(First.rfind("(..system..) Starting Application. ", 0), 0u);
  EXPECT_NE(First.find("\r\n(..system..) (Status) [Warning] {Error} <Debug>\r\n(uses) Logger, version 1.13a\r\n"),
            std::string::npos);
  EXPECT_NE(First.find("(..system..) Terminating Application. "), std::string::npos);

  Args({});
  StartLogger();
  StopLogger();
  const std::string Second = ReadFileText(Dir.File("starquarry.log"));
  EXPECT_EQ(Second.size(), First.size()) << "a second run recreates the file";
}

TEST_F(LoggerTest, AppendLogKeepsThePreviousRunAndIsConsumed) {
  Args({});
  StartLogger();
  StopLogger();
  const size_t One = ReadFileText(Dir.File("starquarry.log")).size();
  Args({"-APPENDLOG"});
  StartLogger();
  EXPECT_EQ(Parameters->Count(), 1) << "the switch is consumed";
  StopLogger();
  EXPECT_EQ(ReadFileText(Dir.File("starquarry.log")).size(), 2 * One);
}

TEST_F(LoggerTest, MainLogNamesTheFileAndSafeLogWins) {
  Args({"-mainlog", Dir.File("other.txt")});
  StartLogger();
  StopLogger();
  EXPECT_GT(ReadFileText(Dir.File("other.txt")).size(), 0u);
  EXPECT_EQ(Parameters->Count(), 3) << "mainlog stays for others to see";

  Args({"-mainlog", Dir.File("other2.txt"), "/safelog"});
  StartLogger();
  EXPECT_EQ(Log->FileName(), Dir.File("run.log"));
  StopLogger();
  EXPECT_FALSE(VXToolbox::FileExists(Dir.File("other2.txt")));
}

TEST_F(LoggerTest, NoLogCreatesNothing) {
  Args({"-nolog", "-appendlog"});
  StartLogger();
  EXPECT_FALSE(Log->Enabled());
  EXPECT_EQ(Parameters->Count(), 2) << "nolog is consumed, later switches are not looked at";
  Log->Error("x", "y");
  StopLogger();
  EXPECT_FALSE(VXToolbox::FileExists(Dir.File("starquarry.log")));
}

TEST_F(LoggerTest, EntryFormatsBannerAndLevels) {
  Args({"-mainlog", Dir.File("e.log")});
  Log.Reset(std::make_unique<TLogger>("", false));
  Log->Error("e", "H");
  Log->Warning("w", "H");
  Log->Status("s", "H");
  Log->Debug("d", "H");
  Log->Trace("t");
  Log->Banner("ab", "h");
  Log->SetLevels("e");
  Log->Warning("no", "H");
  Log->Status("no", "H");
  Log->Debug("no", "H");
  Log->Error("yes", "H");
  Log->Banner("b", "h");
  Log->WriteLine("raw");
  Log.Reset();
  EXPECT_EQ(ReadFileText(Dir.File("e.log")),
            "{H} e\r\n[H] w\r\n(H) s\r\n<H> d\r\n< Trace > t\r\n------\r\n<h> ab\r\n------\r\n"
            "{H} yes\r\n-----\r\n<h> b\r\n-----\r\nraw\r\n");
}

TEST_F(LoggerTest, SecondWriterIsDeniedAndRunsDisabled) {
  Args({"-mainlog", Dir.File("locked.log")});
  TLogger First("", false);
  EXPECT_TRUE(First.Enabled());
  Args({"-mainlog", Dir.File("locked.log"), "-appendlog"});
  TLogger Second("", false);
  EXPECT_FALSE(Second.Enabled());
}

TEST(LogHandle, CallsWithoutALoggerAreHarmless) {
  TLogHandle H;
  EXPECT_FALSE(static_cast<bool>(H));
  H->Error("nothing", "nowhere");
  EXPECT_FALSE(H->Enabled());
}
