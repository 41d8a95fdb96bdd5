#include "storage/stream_opener.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "shell/logger.h"
#include "shell/memory_stream.h"
#include "storage/compressor.h"
#include "storage/disk_lookup.h"
#include "storage/mad4_high_level.h"
#include "storage/zstream.h"
#include "tests/storage/archive_bytes.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace {

std::string Content(TVXStreamPtr S) {
  const auto B = S->ReadAll();
  return std::string(B.begin(), B.end());
}

// A working folder, a program folder with Data/, and a volume holding
// "controls.ini" and "music.mo3" (compressed).
class StreamOpenerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(Dir.File("work"));
    std::filesystem::create_directories(Dir.File("prog/Data/Sub"));
    TCompressor C;
    WriteFileBytes(Dir.File("res.mad4"), TArchiveBytes()
                                             .Member("RAWD", "controls.ini", Bytes("archive"))
                                             .Member("COMP", "music.mo3", C.Compress(Bytes("MO3 tune"), 0x41))
                                             .Member("COMP", "broken.tga", {0x40, 0x78, 0x9C, 0xFF})
                                             .Finish());
    VolumeManager->Mount(Dir.File("res.mad4"), 100, true);
    Opener = std::make_unique<TVXStreamOpener>(Dir.File("prog/Data/"));
  }

  TTempDir Dir;
  // The test's own volume manager; the process's comes back afterwards.
  TRestore<std::unique_ptr<TMAD4HighLevel>> Volumes{VolumeManager, std::make_unique<TMAD4HighLevel>()};
  std::unique_ptr<TVXStreamOpener> Opener;
};

}  // namespace

TEST_F(StreamOpenerTest, DiskThenDataFolderThenVolumes) {
  TChangeDir Work(Dir.File("work"));
  Opener->CacheEnabled = false;
  EXPECT_EQ(Content(Opener->OpenStream("controls.ini")), "archive");
  WriteFileText(Dir.File("prog/Data/controls.ini"), "data folder");
  EXPECT_EQ(Content(Opener->OpenStream("controls.ini")), "data folder");
  WriteFileText(Dir.File("work/controls.ini"), "working folder");
  auto Loose = Opener->OpenStream("controls.ini");
  EXPECT_EQ(Loose->Position(), 0);
  EXPECT_EQ(Content(std::move(Loose)), "working folder");
  EXPECT_EQ(Content(Opener->OpenStream("music.mo3")), "MO3 tune");
  // A member that fails to decode is reported like a missing one.
  EXPECT_THROW(Opener->OpenStream("broken.tga"), EOpenStream);
  try {
    Opener->OpenStream("nothing.tga");
    FAIL() << "no error raised";
  } catch (const EOpenStream& E) { EXPECT_STREQ(E.what(), "OpenStream failed: nothing.tga"); }
}

TEST_F(StreamOpenerTest, BackslashesAndCaseOnDisk) {
  TChangeDir Work(Dir.File("work"));
  WriteFileText(Dir.File("prog/Data/Sub/Elf.TGA"), "elf");
  EXPECT_EQ(Content(Opener->OpenStream("sub\\elf.tga")), "elf");
  EXPECT_EQ(Content(Opener->OpenStream("\\SUB\\ELF.tga")), "elf");
  EXPECT_EQ(FindOnDisk(Dir.File("PROG/data/sub/elf.tga")), Dir.File("prog/Data/Sub/Elf.TGA"));
  EXPECT_EQ(FindOnDisk(Dir.File("prog/Data/Sub")), "") << "folders are not resources";
  EXPECT_EQ(FindOnDisk(""), "");
}

TEST_F(StreamOpenerTest, ZLFilesAreInflated) {
  TChangeDir Work(Dir.File("work"));
  const auto Z = DeflateBytes(Bytes("inflated"));
  WriteFileBytes(Dir.File("work/a.zl"), Z);
  WriteFileBytes(Dir.File("work/B.ZL"), Z);
  WriteFileBytes(Dir.File("work/.zl"), Z);
  WriteFileBytes(Dir.File("work/ZL"), Z);
  WriteFileText(Dir.File("work/bad.zl"), "not zlib");
  EXPECT_EQ(Content(Opener->OpenStream("a.zl")), "inflated");
  EXPECT_EQ(Content(Opener->OpenStream("B.ZL")), "inflated");
  EXPECT_EQ(Content(Opener->OpenStream(".zl")), std::string(Z.begin(), Z.end())) << "3 characters: not a .ZL name";
  EXPECT_EQ(Content(Opener->OpenStream("ZL")), std::string(Z.begin(), Z.end()));
  EXPECT_THROW(Opener->OpenStream("bad.zl"), EOpenStream);
  TVXFileInfo Info;
  Opener->GetFileInfo("a.zl", Info);
  EXPECT_TRUE(Info.Compressed);
  EXPECT_EQ(Info.Size, static_cast<int32_t>(Z.size()));
  EXPECT_EQ(Info.Offset, 0);
}

TEST_F(StreamOpenerTest, CacheServesCopiesAndDropsTheLeastRecentlyUsed) {
  TChangeDir Work(Dir.File("work"));
  WriteFileText(Dir.File("work/a.txt"), "first");
  EXPECT_EQ(Content(Opener->OpenStream("a.txt")), "first");
  WriteFileText(Dir.File("work/a.txt"), "changed");
  auto Two = Opener->OpenStream("A.TXT");
  auto Three = Opener->OpenStream("a.txt");
  Two->Write("XX", 2);
  EXPECT_EQ(Content(std::move(Three)), "first") << "served from the cache, an independent copy";

  for (int I = 0; I < 70; ++I) WriteFileText(Dir.File("work/f" + std::to_string(I)), std::to_string(I));
  for (int I = 0; I < 64; ++I) Opener->OpenStream("f" + std::to_string(I));
  ASSERT_EQ(Opener->Cache().size(), 65u);
  Opener->OpenStream("a.txt");  // now the most recently used
  Opener->OpenStream("f64");
  ASSERT_EQ(Opener->Cache().size(), 65u);
  EXPECT_EQ(Opener->Cache().front().Name, "f1");
  EXPECT_EQ(Opener->Cache().back().Name, "f64");
  EXPECT_EQ(Opener->Cache()[63].Name, "a.txt");

  Opener->CacheEnabled = false;
  EXPECT_EQ(Content(Opener->OpenStream("a.txt")), "changed");
  Opener->OpenStream("f65");
  EXPECT_EQ(Opener->Cache().size(), 65u);
}

TEST_F(StreamOpenerTest, FileInfoForLooseFilesAndMembers) {
  TChangeDir Work(Dir.File("work"));
  TVXFileInfo Info;
  Opener->GetFileInfo("music.mo3", Info);
  EXPECT_EQ(Info.Path, Dir.File("res.mad4"));
  EXPECT_TRUE(Info.Compressed);
  EXPECT_EQ(Info.Offset, 8 + 8 + 1 + 12 + 7 + 8 + 1 + 9);
  WriteFileText(Dir.File("prog/Data/music.mo3"), "loose!");
  Opener->GetFileInfo("music.mo3", Info);
  EXPECT_EQ(Info.Path, Dir.File("prog/Data/music.mo3"));
  EXPECT_EQ(Info.Size, 6);
  EXPECT_FALSE(Info.Compressed);
  TVXFileInfo Missing;
  Missing.Compressed = true;
  Opener->GetFileInfo("nothing", Missing);
  EXPECT_EQ(Missing.Path, "");
  EXPECT_EQ(Missing.Offset, -1);
  EXPECT_EQ(Missing.Size, -1);
  EXPECT_TRUE(Missing.Compressed) << "left as the caller set it";
}

TEST(StreamOpenerNames, Expansion) {
  TVXStreamOpener O("Data/");
  EXPECT_EQ(O.ExpandName("\\\\server\\x"), "\\\\server\\x");
  EXPECT_EQ(O.ExpandName("\\controls.ini"), "controls.ini");
  EXPECT_EQ(O.ExpandName("..\\..\\controls.ini"), "controls.ini");
  EXPECT_EQ(O.ExpandName("../a/b"), "a/b");
}
