#include <gtest/gtest.h>

#include "storage/compressor.h"
#include "storage/mad4_high_level.h"
#include "tests/storage/archive_bytes.h"
#include "tests/support/test_support.h"

namespace {

std::string Content(TVXStreamPtr S) {
  if (!S) return "<none>";
  const auto B = S->ReadAll();
  return std::string(B.begin(), B.end());
}

std::vector<uint8_t> LinkTo(const std::string& Name, uint32_t Target) {
  std::vector<uint8_t> D = {static_cast<uint8_t>(Name.size())};
  D.insert(D.end(), Name.begin(), Name.end());
  for (int I = 0; I < 4; ++I) D.push_back(static_cast<uint8_t>(Target >> (8 * I)));
  return D;
}

}  // namespace

TEST(MAD4MidLevel, MembersLinksAndVersionTexts) {
  TTempDir Dir;
  TCompressor C;
  TArchiveBytes B;
  B.Member("COMP", "controls.ini", C.Compress(Bytes("[Game]"), 0x40));
  const uint32_t Second = static_cast<uint32_t>(B.Size());
  B.Member("RAWD", "Controls.INI", Bytes("second"));
  B.Chunk("LINK", LinkTo("alias", 8));
  B.Chunk("FVER", {2, 'v', '1', 3, 'a', 'b', 'c'});
  B.Chunk("LINK", LinkTo("loop", static_cast<uint32_t>(B.Size())));
  B.Chunk("LINK", LinkTo("nowhere", 9));
  B.Chunk("LINK", LinkTo("second", Second));
  WriteFileBytes(Dir.File("a.mad4"), B.Finish());

  TMAD4MidLevel A;
  A.Mount(Dir.File("a.mad4"), true);
  ASSERT_EQ(A.FileCount(), 7);
  EXPECT_EQ(Content(A.OpenFile("CONTROLS.ini")), "[Game]") << "the first of equal names is served";
  EXPECT_EQ(Content(A.OpenFile("alias")), "[Game]");
  EXPECT_EQ(Content(A.OpenFile("second")), "second");
  EXPECT_EQ(Content(A.OpenFile("loop")), "<none>");
  EXPECT_EQ(Content(A.OpenFile("nowhere")), "<none>");
  EXPECT_EQ(Content(A.OpenFile("*V")), "<none>");
  EXPECT_EQ(Content(A.OpenFile("missing")), "<none>");
  EXPECT_EQ(A.VersionText(0), "v1");
  EXPECT_EQ(A.VersionText(1), "abc");
  EXPECT_EQ(A.GetFile(3)->Name, "*V");
  EXPECT_EQ(A.GetFile(3)->DataSize, 7);
  EXPECT_EQ(A.GetFile(1)->DataStart, static_cast<int32_t>(Second) + 8 + 1 + 12);

  std::string Name = "alias";
  int32_t Start = 0, Size = 0;
  bool Compressed = true;
  A.GetFileInfo(Name, Start, Size, Compressed);
  EXPECT_EQ(Name, Dir.File("a.mad4"));
  // A link reports its target, as opening it serves the target: a sound
  // stored as a link loads from where the target's bytes lie.
  EXPECT_TRUE(Compressed);
  EXPECT_EQ(Start, 8 + 8 + 13);
  Name = "second";
  A.GetFileInfo(Name, Start, Size, Compressed);
  EXPECT_FALSE(Compressed);
  EXPECT_EQ(Start, static_cast<int32_t>(Second) + 8 + 1 + 12);
  EXPECT_EQ(Size, 6);
  // Only one step is followed, and a link into nothing gives nothing.
  for (const char* Dead : {"loop", "nowhere"}) {
    Name = Dead;
    Start = 0;
    A.GetFileInfo(Name, Start, Size, Compressed);
    EXPECT_EQ(Start, -1) << Dead;
    EXPECT_EQ(Name, Dead) << "the rest stays as given";
  }
  Name = "controls.ini";
  A.GetFileInfo(Name, Start, Size, Compressed);
  EXPECT_TRUE(Compressed);
  EXPECT_EQ(Start, 8 + 8 + 13);
}

TEST(MAD4MidLevel, DamagedMembersAreSkippedOrOpenNothing) {
  TTempDir Dir;
  TArchiveBytes B;
  B.Chunk("RAWD", {40, 'a', 'b'});  // name runs past its chunk
  B.Chunk("COMP", {});
  B.Chunk("LINK", {1, 'x', 0});  // link value cut short
  B.Member("COMP", "broken", {0x40, 1, 2, 3});
  B.Member("COMP", "bomb", TCompressor().Compress(std::vector<uint8_t>(1 << 20, 0), 0x40));
  B.Member("RAWD", "fine", Bytes("ok"));
  WriteFileBytes(Dir.File("d.mad4"), B.Finish());
  TMAD4MidLevel A;
  A.Mount(Dir.File("d.mad4"), true);
  ASSERT_EQ(A.FileCount(), 3);
  EXPECT_EQ(Content(A.OpenFile("broken")), "<none>");
  EXPECT_EQ(Content(A.OpenFile("fine")), "ok");
  EXPECT_EQ(A.OpenFile("bomb")->Size(), 1 << 20);
}

TEST(MAD4MidLevel, AddedMembersAreListedInChunkOrder) {
  TTempDir Dir;
  WriteFileBytes(Dir.File("w.mad4"), TArchiveBytes().Null(40).Member("RAWD", "last", Bytes("z")).Finish());
  TMAD4MidLevel A;
  A.Mount(Dir.File("w.mad4"), false);
  EXPECT_TRUE(A.AddMember(kFourCCRawd, "first", Bytes("fits")));
  EXPECT_TRUE(A.AddMember(kFourCCComp, "end", TCompressor().Compress(Bytes("zz"), 0x48)));
  EXPECT_TRUE(A.AddLink("again", "first"));
  EXPECT_FALSE(A.AddMember(kFourCCRawd, std::string(256, 'n'), Bytes("x")));
  A.Unmount();
  TMAD4MidLevel B;
  B.Mount(Dir.File("w.mad4"), true);
  std::vector<std::string> Names;
  for (const auto& F : B.Files()) Names.push_back(F.Name);
  // The link fits the free space left behind "first".
  EXPECT_EQ(Names, (std::vector<std::string>{"first", "again", "last", "end"}));
  EXPECT_EQ(Content(B.OpenFile("again")), "fits");
  EXPECT_EQ(Content(B.OpenFile("END")), "zz");
}

TEST(MAD4HighLevel, PriorityOrderAndNames) {
  TTempDir Dir;
  WriteFileBytes(Dir.File("low"), TArchiveBytes().Member("RAWD", "controls.ini", Bytes("low")).Finish());
  WriteFileBytes(Dir.File("high"), TArchiveBytes().Member("RAWD", "controls.ini", Bytes("high")).Finish());
  WriteFileBytes(Dir.File("same"), TArchiveBytes().Member("RAWD", "controls.ini", Bytes("same")).Finish());
  WriteFileText(Dir.File("junk"), "not an archive at all");
  TMAD4HighLevel H;
  EXPECT_TRUE(H.Mount(Dir.File("low"), 100, true));
  EXPECT_TRUE(H.Mount(Dir.File("high"), 1000, true));
  EXPECT_FALSE(H.Mount(Dir.File("junk"), 2000, true));
  EXPECT_EQ(H.Volumes().size(), 2u);
  EXPECT_EQ(Content(H.OpenFile("controls.ini")), "high");
  EXPECT_EQ(Content(H.OpenFile("\\CONTROLS.INI")), "high");
  EXPECT_EQ(Content(H.OpenFile("..\\..\\controls.ini")), "high");
  EXPECT_FALSE(H.IsExists(""));
  EXPECT_FALSE(H.OpenFile(""));
  H.Unmount(Dir.Path() + "/HIGH");
  EXPECT_EQ(Content(H.OpenFile("controls.ini")), "low");
  EXPECT_TRUE(H.Mount(Dir.File("same"), 100, true));
  EXPECT_EQ(Content(H.OpenFile("controls.ini")), "same") << "the newest of equal priorities is asked first";
  H.CurrentDir = "maps\\set1\\";
  EXPECT_EQ(H.ExpandName("..\\x"), "maps\\x");
  EXPECT_EQ(H.ExpandName("..\\..\\..\\x"), "x");
}
