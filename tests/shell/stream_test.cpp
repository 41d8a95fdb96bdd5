#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "shell/file_stream.h"
#include "shell/memory_stream.h"
#include "tests/support/test_support.h"

TEST(Streams, MemoryStreamShortReadsNeverPassTheEnd) {
  TMemoryStream S(std::vector<uint8_t>{1, 2, 3});
  uint8_t Buffer[8] = {};
  EXPECT_EQ(S.Read(Buffer, 8), 3u);
  EXPECT_EQ(S.Read(Buffer, 8), 0u);
  S.Seek(10);
  EXPECT_EQ(S.Read(Buffer, 1), 0u);
  EXPECT_FALSE(S.Seek(-1));
  uint32_t V;
  S.Seek(0);
  EXPECT_FALSE(S.ReadU32(V));
}

TEST(Streams, MemoryStreamWritesGrowAndLittleEndianRoundTrips) {
  TMemoryStream S;
  S.WriteU32(0x11223344);
  S.WriteU16(0xABCD);
  EXPECT_EQ(S.Size(), 6);
  EXPECT_EQ(S.Data()[0], 0x44);
  S.Seek(0);
  uint32_t A;
  uint16_t B;
  ASSERT_TRUE(S.ReadU32(A));
  ASSERT_TRUE(S.ReadU16(B));
  EXPECT_EQ(A, 0x11223344u);
  EXPECT_EQ(B, 0xABCD);
  S.Seek(8);
  S.WriteU8(9);
  EXPECT_EQ(S.Size(), 9);
  EXPECT_EQ(S.Data()[7], 0) << "a gap left by seeking past the end is zero";
}

TEST(Streams, FileStreamModes) {
  TTempDir Dir;
  const std::string Name = Dir.File("f.bin");
  EXPECT_EQ(TFileStream::Open(Name, TFileStream::TMode::Read), nullptr);
  {
    auto W = TFileStream::Open(Name, TFileStream::TMode::Create);
    ASSERT_NE(W, nullptr);
    W->WriteString("hello");
    W->Seek(1);
    char C;
    ASSERT_EQ(W->Read(&C, 1), 1u) << "a read after a write sees the written bytes";
    EXPECT_EQ(C, 'e');
  }
  auto R = TFileStream::Open(Name, TFileStream::TMode::Read);
  ASSERT_NE(R, nullptr);
  EXPECT_EQ(R->Size(), 5);
  EXPECT_EQ(R->Write("x", 1), 0u) << "read-only";
  auto All = R->ReadAll();
  EXPECT_EQ(std::string(All.begin(), All.end()), "hello");
  EXPECT_EQ(TFileStream::Open(Dir.Path(), TFileStream::TMode::Read), nullptr) << "folders are not files";
  auto T = TFileStream::Open(Name, TFileStream::TMode::Create);
  EXPECT_EQ(T->Size(), 0) << "create truncates";
}

// Opening a FIFO for reading waits until something writes into it: a file
// stream opens regular files only, at once, in every mode.
TEST(Streams, FileStreamOpensRegularFilesOnlyAndNeverWaits) {
  TTempDir Dir;
  ASSERT_EQ(mkfifo(Dir.File("pipe.sq").c_str(), 0600), 0);
  for (const auto Mode : {TFileStream::TMode::Read, TFileStream::TMode::ReadWrite, TFileStream::TMode::Create})
    EXPECT_EQ(TFileStream::Open(Dir.File("pipe.sq"), Mode), nullptr);
  EXPECT_EQ(TFileStream::Open(Dir.Path(), TFileStream::TMode::Read), nullptr);
  EXPECT_EQ(errno, EISDIR);
  WriteFileText(Dir.File("real.sq"), "abc");
  ASSERT_EQ(symlink("real.sq", Dir.File("link.sq").c_str()), 0);
  auto Linked = TFileStream::Open(Dir.File("link.sq"), TFileStream::TMode::Read);
  ASSERT_NE(Linked, nullptr);
  EXPECT_EQ(Linked->Size(), 3);
}
