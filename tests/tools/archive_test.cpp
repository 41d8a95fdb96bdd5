#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "storage/compressor.h"
#include "storage/mad4_mid_level.h"
#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

TEST(SqtoolArchive, CreateListExtractAndAdd) {
  const TSqtool Sqtool;
  TTempDir Dir;
  WriteFileText(Dir.File("controls.ini"), "[Game]\r\nFonts=Gold\r\n");
  std::string Picture;
  for (int I = 0; I < 3000; ++I) Picture += static_cast<char>(I % 3 == 0 ? I / 40 : 7);
  WriteFileText(Dir.File("elf.tga"), Picture);
  const std::string A = Dir.File("pack.sq");
  ASSERT_EQ(Sqtool.RunJoined("archive create " + ShellQuote(A) + " " + ShellQuote(Dir.File("controls.ini")) +
                             " --method 00 --as info " + ShellQuote(Dir.File("controls.ini")) + " --method 46 " +
                             ShellQuote(Dir.File("elf.tga"))),
            0);
  std::string Listing;
  ASSERT_EQ(Sqtool.RunJoined("archive list " + ShellQuote(A), &Listing), 0);
  TMAD4MidLevel M;
  M.Mount(A, true);
  ASSERT_EQ(M.FileCount(), 3);
  EXPECT_EQ(Listing, "controls.ini\tCOMP:40\t" + std::to_string(M.GetFile(0)->DataSize) + "\ninfo\tRAWD\t20\n" +
                         "elf.tga\tCOMP:46\t" + std::to_string(M.GetFile(2)->DataSize) + "\n");
  M.Unmount();

  ASSERT_EQ(Sqtool.RunJoined("archive extract " + ShellQuote(A) + " ELF.TGA " + ShellQuote(Dir.File("out.tga"))), 0);
  EXPECT_EQ(ReadFileText(Dir.File("out.tga")), Picture);

  WriteFileText(Dir.File("001.mpp"), "MAPT");
  ASSERT_EQ(Sqtool.RunJoined("archive add " + ShellQuote(A) + " --method 00 " + ShellQuote(Dir.File("001.mpp"))), 0);
  ASSERT_EQ(Sqtool.RunJoined("archive extract " + ShellQuote(A) + " 001.mpp " + ShellQuote(Dir.File("map"))), 0);
  EXPECT_EQ(ReadFileText(Dir.File("map")), "MAPT");
  ASSERT_EQ(Sqtool.RunJoined("archive list " + ShellQuote(A), &Listing), 0);
  EXPECT_NE(Listing.find("001.mpp\tRAWD\t4\n"), std::string::npos);

  // auto picks some method that round-trips.
  const std::string B = Dir.File("auto.mad4");
  ASSERT_EQ(Sqtool.RunJoined("archive create " + ShellQuote(B) + " --method auto " + ShellQuote(Dir.File("elf.tga"))),
            0);
  ASSERT_EQ(Sqtool.RunJoined("archive extract " + ShellQuote(B) + " elf.tga " + ShellQuote(Dir.File("auto.tga"))), 0);
  EXPECT_EQ(ReadFileText(Dir.File("auto.tga")), Picture);
}

TEST(SqtoolArchive, FailuresGiveOneLineAndExitOne) {
  const TSqtool Sqtool;
  TTempDir Dir;
  WriteFileText(Dir.File("text"), "not an archive");
  const std::string A = Dir.File("a.mad4");
  WriteFileText(Dir.File("f"), "x");
  ASSERT_EQ(Sqtool.RunJoined("archive create " + ShellQuote(A) + " " + ShellQuote(Dir.File("f"))), 0);
  {
    // A member whose zlib stream is damaged.
    TMAD4MidLevel M;
    M.Mount(A, false);
    ASSERT_TRUE(M.AddMember(kFourCCComp, "broken", std::vector<uint8_t>{0x40, 0x78, 0x9C, 1, 2, 3}));
  }
  const std::vector<std::string> Bad = {
      "archive list " + ShellQuote(Dir.File("missing")),
      "archive list " + ShellQuote(Dir.File("text")),
      "archive extract " + ShellQuote(A) + " nothing " + ShellQuote(Dir.File("o")),
      "archive extract " + ShellQuote(A) + " broken " + ShellQuote(Dir.File("o")),
      "archive create " + ShellQuote(Dir.File("b.mad4")) + " " + ShellQuote(Dir.File("missing")),
      "archive create " + ShellQuote(Dir.File("b.mad4")) + " --method 58 " + ShellQuote(Dir.File("f")),
      "archive create " + ShellQuote(Dir.File("b.mad4")) + " --method xyz " + ShellQuote(Dir.File("f")),
      "archive add " + ShellQuote(Dir.File("text")) + " " + ShellQuote(Dir.File("f")),
      "archive add " + ShellQuote(Dir.File("missing")) + " " + ShellQuote(Dir.File("f")),
      "archive frobnicate",
  };
  for (const std::string& Command : Bad) {
    std::string Out;
    EXPECT_EQ(Sqtool.RunJoined(Command, &Out), 1) << Command;
    EXPECT_EQ(Out.rfind("sqtool: ", 0), 0u) << Command << ": " << Out;
    EXPECT_EQ(std::count(Out.begin(), Out.end(), '\n'), 1) << Command << ": " << Out;
  }
  EXPECT_FALSE(std::filesystem::exists(Dir.File("b.mad4"))) << "a failed create leaves nothing";
  EXPECT_FALSE(std::filesystem::exists(Dir.File("missing")));
  EXPECT_EQ(ReadFileText(Dir.File("text")), "not an archive");
}

TEST(SqtoolArchive, TheGameCarriesItsArchive) {
  const TSqtool Sqtool;
  std::string Listing;
  EXPECT_EQ(Sqtool.RunJoined("archive list " + ShellQuote(PlayDir() + "starquarry"), &Listing), 0) << Listing;
}
