#include "storage/mad4_low_level.h"

#include <gtest/gtest.h>

#include "shell/memory_stream.h"
#include "shell/toolbox.h"
#include "storage/mad4_high_level.h"
#include "tests/storage/archive_bytes.h"
#include "tests/support/test_support.h"

namespace {

std::vector<uint32_t> Kinds(const TMAD4LowLevel& A) {
  std::vector<uint32_t> K;
  for (int I = 0; I < A.ChunkCount(); ++I) K.push_back(A.GetChunk(I)->FourCC);
  return K;
}

int32_t AddBytes(TMAD4LowLevel& A, size_t Count, uint8_t Fill = 7) {
  TMemoryStream Data(std::vector<uint8_t>(Count, Fill));
  return A.Add(kFourCCRawd, Data);
}

}  // namespace

TEST(MAD4LowLevel, LocatesArchivesAtStartOrFromTheTrailer) {
  TTempDir Dir;
  const auto Archive = TArchiveBytes().Member("RAWD", "a", {1, 2}).Finish();
  WriteFileBytes(Dir.File("plain.mad4"), Archive);
  std::vector<uint8_t> Exe(421888, 0x90);
  Exe.insert(Exe.end(), Archive.begin(), Archive.end());
  WriteFileBytes(Dir.File("game"), Exe);

  TMAD4LowLevel Plain, Appended;
  Plain.Mount(Dir.File("plain.mad4"), true);
  EXPECT_EQ(Plain.Status(), 0);
  EXPECT_EQ(Plain.BaseOffset(), 0);
  EXPECT_EQ(Kinds(Plain), (std::vector<uint32_t>{kFourCCRawd, kFourCCEnds}));
  Appended.Mount(Dir.File("game"), true);
  EXPECT_EQ(Appended.Status(), 0);
  EXPECT_EQ(Appended.BaseOffset(), 421888);
  ASSERT_EQ(Appended.ChunkCount(), 2);
  EXPECT_EQ(Appended.GetChunk(0)->Start, 421888 + 8);
  int32_t Size = 0;
  auto Chunk = Appended.OpenChunkStream(421888 + 8, Size);
  ASSERT_TRUE(Chunk);
  EXPECT_EQ(Size, 4);
  EXPECT_EQ(Chunk->Position(), 421888 + 16);
  EXPECT_FALSE(Appended.OpenChunkStream(421888 + 9, Size));
  Appended.Unmount();
  EXPECT_EQ(ReadFileBytes(Dir.File("game")), Exe) << "a read-only mount writes nothing";
}

TEST(MAD4LowLevel, BadTrailersAndMagic) {
  TTempDir Dir;
  // A trailer claiming more than the file: the archive starts at 0.
  auto Long = TArchiveBytes().Finish();
  Long[Long.size() - 4] = 0xFF;
  WriteFileBytes(Dir.File("long"), Long);
  TMAD4LowLevel A;
  A.Mount(Dir.File("long"), true);
  EXPECT_EQ(A.Status(), 0);
  EXPECT_EQ(A.BaseOffset(), 0);
  // A trailer length of 0 points at the file's end: nothing there.
  auto Zero = TArchiveBytes().Finish();
  Zero[Zero.size() - 4] = 0;
  WriteFileBytes(Dir.File("zero"), Zero);
  TMAD4LowLevel B;
  B.Mount(Dir.File("zero"), true);
  EXPECT_EQ(B.Status(), 2);
  EXPECT_FALSE(B.Mounted());
  auto Madu = TArchiveBytes().Finish();
  Madu[3] = 'U';
  WriteFileBytes(Dir.File("madu"), Madu);
  TMAD4LowLevel D;
  D.Mount(Dir.File("madu"), true);
  EXPECT_EQ(D.Status(), 0) << "MADU reads like MAD4";
  WriteFileText(Dir.File("text"), "MAD5 is not an archive");
  TMAD4LowLevel C;
  C.Mount(Dir.File("text"), false);
  EXPECT_EQ(C.Status(), 2);
  EXPECT_EQ(ReadFileText(Dir.File("text")), "MAD5 is not an archive");
}

TEST(MAD4LowLevel, ChunkRunningPastTheEndStopsTheWalkAndBlocksWriting) {
  TTempDir Dir;
  // No trailer (the archive starts at 0); the last chunk claims 2 GiB.
  auto Bytes = TArchiveBytes().Member("RAWD", "ok", {1}).Bytes;
  const std::vector<uint8_t> Broken = {'R', 'A', 'W', 'D', 0xF0, 0xFF, 0xFF, 0x7F, 1, 2};
  Bytes.insert(Bytes.end(), Broken.begin(), Broken.end());
  WriteFileBytes(Dir.File("bad"), Bytes);
  TMAD4LowLevel A;
  A.Mount(Dir.File("bad"), false);
  EXPECT_EQ(A.Status(), 0);
  EXPECT_EQ(Kinds(A), (std::vector<uint32_t>{kFourCCRawd}));
  EXPECT_FALSE(A.Writable());
  EXPECT_EQ(AddBytes(A, 10), -1);
  A.Unmount();
  EXPECT_EQ(ReadFileBytes(Dir.File("bad")), Bytes);
}

TEST(MAD4LowLevel, MissingFileBecomesTheEmptyArchiveOnlyWhenWritable) {
  TTempDir Dir;
  TMAD4LowLevel A;
  A.Mount(Dir.File("new.mad4"), false);
  EXPECT_EQ(A.Status(), 0);
  ASSERT_EQ(A.ChunkCount(), 1);
  EXPECT_EQ(A.GetChunk(0)->FourCC, kFourCCEnds);
  EXPECT_EQ(A.GetChunk(0)->Start, 8);
  A.Unmount();
  EXPECT_EQ(ReadFileBytes(Dir.File("new.mad4")), TArchiveBytes().Finish());
  EXPECT_EQ(TArchiveBytes().Finish().size(), 20u);

  // Read-only means nothing is written, a new file least of all.
  TMAD4LowLevel R;
  R.Mount(Dir.File("absent.mad4"), true);
  EXPECT_EQ(R.Status(), TMAD4LowLevel::kNotMAD4);
  EXPECT_FALSE(R.Mounted());
  EXPECT_EQ(R.ChunkCount(), 0);
  R.Unmount();
  EXPECT_FALSE(VXToolbox::FileExists(Dir.File("absent.mad4")));
  TMAD4HighLevel Volumes;
  EXPECT_FALSE(Volumes.Mount(Dir.File("absent.mad4"), 100, true));
  EXPECT_FALSE(VXToolbox::FileExists(Dir.File("absent.mad4")));
}

TEST(MAD4LowLevel, AddReusesFreeSpace) {
  TTempDir Dir;
  // Exact fit: a 100-byte member takes a 100-byte free chunk in place.
  WriteFileBytes(Dir.File("exact"), TArchiveBytes().Null(100).Member("RAWD", "z", {1}).Finish());
  TMAD4LowLevel A;
  A.Mount(Dir.File("exact"), false);
  EXPECT_EQ(AddBytes(A, 100), 8);
  EXPECT_EQ(Kinds(A), (std::vector<uint32_t>{kFourCCRawd, kFourCCRawd, kFourCCEnds}));
  A.Unmount();
  EXPECT_EQ(U32At(ReadFileBytes(Dir.File("exact")), 8), kFourCCRawd);

  // Split: a 200-byte free chunk keeps a 92-byte free chunk behind.
  WriteFileBytes(Dir.File("split"), TArchiveBytes().Null(200).Member("RAWD", "z", {1}).Finish());
  TMAD4LowLevel B;
  B.Mount(Dir.File("split"), false);
  EXPECT_EQ(AddBytes(B, 100), 8);
  ASSERT_EQ(B.ChunkCount(), 4);
  EXPECT_EQ(B.GetChunk(1)->FourCC, kFourCCNull);
  EXPECT_EQ(B.GetChunk(1)->Start, 116);
  EXPECT_EQ(B.GetChunk(1)->Size, 92);
  B.Unmount();
  const auto Split = ReadFileBytes(Dir.File("split"));
  EXPECT_EQ(U32At(Split, 116), kFourCCNull);
  EXPECT_EQ(U32At(Split, 120), 92u);

  // Too small a free chunk before the end: the member replaces it and the trailer.
  WriteFileBytes(Dir.File("end"), TArchiveBytes().Member("RAWD", "z", {1}).Null(50).Finish());
  TMAD4LowLevel C;
  C.Mount(Dir.File("end"), false);
  const int32_t Start = AddBytes(C, 100);
  EXPECT_EQ(Start, 8 + 8 + 3);
  EXPECT_EQ(Kinds(C), (std::vector<uint32_t>{kFourCCRawd, kFourCCRawd, kFourCCEnds}));
  C.Unmount();
  const auto End = ReadFileBytes(Dir.File("end"));
  ASSERT_EQ(End.size(), static_cast<size_t>(Start + 108 + 12));
  EXPECT_EQ(U32At(End, End.size() - 12), kFourCCEnds);
  EXPECT_EQ(U32At(End, End.size() - 4), End.size());
  EXPECT_EQ(U32At(End, 4), End.size() - 8);
}

TEST(MAD4LowLevel, InvalidAddsWriteNothing) {
  TTempDir Dir;
  TMAD4LowLevel A;
  A.Mount(Dir.File("a.mad4"), false);
  TMemoryStream Data(std::vector<uint8_t>(4, 1));
  EXPECT_EQ(A.Add(kFourCCEnds, Data), -1);
  EXPECT_EQ(A.Add(kFourCCNull, Data), -1);
  EXPECT_EQ(A.Add(kFourCCRawd, "abc", 3), -1) << "the buffer form adds nothing";
  A.Unmount();
  EXPECT_EQ(ReadFileBytes(Dir.File("a.mad4")).size(), 20u);
  // A read-only archive ignores writes.
  TMAD4LowLevel B;
  B.Mount(Dir.File("a.mad4"), true);
  EXPECT_EQ(AddBytes(B, 4), -1);
}

TEST(MAD4LowLevel, UnmountMergesRunsOfFreeChunks) {
  TTempDir Dir;
  WriteFileBytes(Dir.File("n"), TArchiveBytes().Member("RAWD", "a", {1}).Null(10).Null(20).Null(30).Finish());
  TMAD4LowLevel A;
  A.Mount(Dir.File("n"), false);
  A.Unmount();
  TMAD4LowLevel B;
  B.Mount(Dir.File("n"), true);
  EXPECT_EQ(Kinds(B), (std::vector<uint32_t>{kFourCCRawd, kFourCCNull, kFourCCEnds}));
  EXPECT_EQ(B.GetChunk(1)->Size, 76);
}

TEST(MAD4LowLevel, AppendedArchiveKeepsItsOwnLengths) {
  TTempDir Dir;
  std::vector<uint8_t> File(1000, 0xAA);
  const auto Archive = TArchiveBytes().Finish();
  File.insert(File.end(), Archive.begin(), Archive.end());
  WriteFileBytes(Dir.File("exe"), File);
  TMAD4LowLevel A;
  A.Mount(Dir.File("exe"), false);
  EXPECT_GT(AddBytes(A, 30), 1000);
  A.Unmount();
  const auto After = ReadFileBytes(Dir.File("exe"));
  EXPECT_EQ(std::vector<uint8_t>(After.begin(), After.begin() + 1000), std::vector<uint8_t>(1000, 0xAA));
  EXPECT_EQ(U32At(After, After.size() - 4), After.size() - 1000);
  EXPECT_EQ(U32At(After, 1004), After.size() - 1008);
  TMAD4LowLevel B;
  B.Mount(Dir.File("exe"), true);
  EXPECT_EQ(B.BaseOffset(), 1000);
  EXPECT_EQ(B.ChunkCount(), 2);
}
