// The small file of what the game remembers between starts: read from bytes,
// written through the safe writer, never written over when unreadable.
#include "game/remembered.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "shell/memory_stream.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_support.h"

namespace {

class RememberedTest : public ::testing::Test {
 protected:
  static TRemembered Read(const std::string& Text) {
    TMemoryStream S;
    S.WriteString(Text);
    S.Seek(0);
    TRemembered R;
    R.ReadFrom(S);
    return R;
  }
  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  TLogCapture Captured;
};

TEST_F(RememberedTest, ReadsItsLinesAndSkipsWhatItDoesNotKnow) {
  const TRemembered R = Read("LastPlayer=Wren\r\nColour=blue\nnonsense\nLastPack=a=b.sq\nHelpSeen=Ada\nHelpSeen=ada\n");
  EXPECT_EQ(R.LastPlayer, "Wren");
  EXPECT_EQ(R.LastPack, "a=b.sq");
  EXPECT_EQ(R.HelpSeenBy(), std::vector<std::string>{"Ada"});
  EXPECT_TRUE(R.HelpSeen("ADA"));
  EXPECT_FALSE(R.HelpSeen("Wren"));
}

// A later version's keys outlive a save by this one, in their order, after
// the keys this one writes; lines that are no "Key=Value" do not.
TEST_F(RememberedTest, KeysOfALaterVersionAreKeptAcrossSaves) {
  WriteFileText(TRemembered::kFileName,
                "Colour=blue\r\nLastPlayer=Wren\nnonsense\nWindow=2=x\nHelpSeen=Ada\n=empty key\n");
  TRemembered R;
  R.Load();
  EXPECT_EQ(R.UnknownLines(), (std::vector<std::string>{"Colour=blue", "Window=2=x", "=empty key"}));
  R.LastPlayer = "Ada";
  ASSERT_TRUE(R.Save());
  EXPECT_EQ(ReadFileText(TRemembered::kFileName),
            "LastPlayer=Ada\nHelpSeen=Ada\nColour=blue\nWindow=2=x\n=empty key\n");
  TRemembered Again;
  Again.Load();
  ASSERT_TRUE(Again.Save());
  EXPECT_EQ(ReadFileText(TRemembered::kFileName),
            "LastPlayer=Ada\nHelpSeen=Ada\nColour=blue\nWindow=2=x\n=empty key\n");
}

TEST_F(RememberedTest, WhatIsSavedComesBackAndAMissingFileRemembersNothing) {
  TRemembered R;
  R.Load();
  EXPECT_EQ(R.LastPlayer, "");
  R.LastPlayer = "Wren";
  R.LastPack = "levels.sq";
  EXPECT_TRUE(R.MarkHelpSeen("Wren"));
  EXPECT_FALSE(R.MarkHelpSeen("wren"));
  EXPECT_FALSE(R.MarkHelpSeen(""));
  // A name that would break its line is left out rather than cut.
  R.MarkHelpSeen("two\nlines");
  ASSERT_TRUE(R.Save());
  TRemembered Again;
  Again.Load();
  EXPECT_EQ(Again.LastPlayer, "Wren");
  EXPECT_EQ(Again.LastPack, "levels.sq");
  EXPECT_EQ(Again.HelpSeenBy(), std::vector<std::string>{"Wren"});
}

TEST_F(RememberedTest, AFileThatCannotBeReadIsNeverReplaced) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  WriteFileText(TRemembered::kFileName, "LastPlayer=Wren\n");
  chmod(TRemembered::kFileName, 0);
  TRemembered R;
  R.Load();
  R.LastPlayer = "Ada";
  EXPECT_FALSE(R.Save());
  chmod(TRemembered::kFileName, 0600);
  EXPECT_EQ(ReadFileText(TRemembered::kFileName), "LastPlayer=Wren\n");
}

TEST_F(RememberedTest, APipeInItsPlaceIsNeitherReadNorReplaced) {
  ASSERT_EQ(mkfifo(TRemembered::kFileName, 0600), 0);
  TRemembered R;
  R.Load();  // must not wait for a writer
  R.LastPlayer = "Ada";
  EXPECT_FALSE(R.Save());
  struct stat Info {};
  ASSERT_EQ(stat(TRemembered::kFileName, &Info), 0);
  EXPECT_TRUE(S_ISFIFO(Info.st_mode));
}

}  // namespace
