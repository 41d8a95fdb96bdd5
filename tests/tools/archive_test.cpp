#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "storage/compressor.h"
#include "storage/mad4_mid_level.h"
#include "tests/support/test_support.h"

namespace {

int Sqtool(const std::string& Args, std::string* Out = nullptr) {
  return RunCommand(PlayDir() + "sqtool " + Args + " 2>&1", Out);
}

std::string Q(const std::string& Path) { return "'" + Path + "'"; }

}  // namespace

TEST(SqtoolArchive, CreateListExtractAndAdd) {
  TTempDir Dir;
  WriteFileText(Dir.File("controls.ini"), "[Game]\r\nFonts=Gold\r\n");
  std::string Picture;
  for (int I = 0; I < 3000; ++I) Picture += static_cast<char>(I % 3 == 0 ? I / 40 : 7);
  WriteFileText(Dir.File("elf.tga"), Picture);
  const std::string A = Dir.File("pack.sq");
  ASSERT_EQ(Sqtool("archive create " + Q(A) + " " + Q(Dir.File("controls.ini")) + " --method 00 --as info " +
                   Q(Dir.File("controls.ini")) + " --method 46 " + Q(Dir.File("elf.tga"))),
            0);
  std::string Listing;
  ASSERT_EQ(Sqtool("archive list " + Q(A), &Listing), 0);
  TMAD4MidLevel M;
  M.Mount(A, true);
  ASSERT_EQ(M.FileCount(), 3);
  EXPECT_EQ(Listing, "controls.ini\tCOMP:40\t" + std::to_string(M.GetFile(0)->DataSize) + "\ninfo\tRAWD\t20\n" +
                         "elf.tga\tCOMP:46\t" + std::to_string(M.GetFile(2)->DataSize) + "\n");
  M.Unmount();

  ASSERT_EQ(Sqtool("archive extract " + Q(A) + " ELF.TGA " + Q(Dir.File("out.tga"))), 0);
  EXPECT_EQ(ReadFileText(Dir.File("out.tga")), Picture);

  WriteFileText(Dir.File("001.mpp"), "MAPT");
  ASSERT_EQ(Sqtool("archive add " + Q(A) + " --method 00 " + Q(Dir.File("001.mpp"))), 0);
  ASSERT_EQ(Sqtool("archive extract " + Q(A) + " 001.mpp " + Q(Dir.File("map"))), 0);
  EXPECT_EQ(ReadFileText(Dir.File("map")), "MAPT");
  ASSERT_EQ(Sqtool("archive list " + Q(A), &Listing), 0);
  EXPECT_NE(Listing.find("001.mpp\tRAWD\t4\n"), std::string::npos);

  // auto picks some method that round-trips.
  const std::string B = Dir.File("auto.mad4");
  ASSERT_EQ(Sqtool("archive create " + Q(B) + " --method auto " + Q(Dir.File("elf.tga"))), 0);
  ASSERT_EQ(Sqtool("archive extract " + Q(B) + " elf.tga " + Q(Dir.File("auto.tga"))), 0);
  EXPECT_EQ(ReadFileText(Dir.File("auto.tga")), Picture);
}

TEST(SqtoolArchive, FailuresGiveOneLineAndExitOne) {
  TTempDir Dir;
  WriteFileText(Dir.File("text"), "not an archive");
  const std::string A = Dir.File("a.mad4");
  WriteFileText(Dir.File("f"), "x");
  ASSERT_EQ(Sqtool("archive create " + Q(A) + " " + Q(Dir.File("f"))), 0);
  {
    // A member whose zlib stream is damaged.
    TMAD4MidLevel M;
    M.Mount(A, false);
    ASSERT_TRUE(M.AddMember(kFourCCComp, "broken", std::vector<uint8_t>{0x40, 0x78, 0x9C, 1, 2, 3}));
  }
  const std::vector<std::string> Bad = {
      "archive list " + Q(Dir.File("missing")),
      "archive list " + Q(Dir.File("text")),
      "archive extract " + Q(A) + " nothing " + Q(Dir.File("o")),
      "archive extract " + Q(A) + " broken " + Q(Dir.File("o")),
      "archive create " + Q(Dir.File("b.mad4")) + " " + Q(Dir.File("missing")),
      "archive create " + Q(Dir.File("b.mad4")) + " --method 58 " + Q(Dir.File("f")),
      "archive create " + Q(Dir.File("b.mad4")) + " --method xyz " + Q(Dir.File("f")),
      "archive add " + Q(Dir.File("text")) + " " + Q(Dir.File("f")),
      "archive add " + Q(Dir.File("missing")) + " " + Q(Dir.File("f")),
      "archive frobnicate",
  };
  for (const std::string& Command : Bad) {
    std::string Out;
    EXPECT_EQ(Sqtool(Command, &Out), 1) << Command;
    EXPECT_EQ(Out.rfind("sqtool: ", 0), 0u) << Command << ": " << Out;
    EXPECT_EQ(std::count(Out.begin(), Out.end(), '\n'), 1) << Command << ": " << Out;
  }
  EXPECT_FALSE(std::filesystem::exists(Dir.File("b.mad4"))) << "a failed create leaves nothing";
  EXPECT_FALSE(std::filesystem::exists(Dir.File("missing")));
  EXPECT_EQ(ReadFileText(Dir.File("text")), "not an archive");
}

TEST(SqtoolArchive, TheGameCarriesItsArchive) {
  std::string Listing;
  EXPECT_EQ(Sqtool("archive list " + Q(PlayDir() + "starquarry"), &Listing), 0) << Listing;
}
