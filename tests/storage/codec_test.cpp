#include <gtest/gtest.h>

#include <random>

#include "shell/memory_stream.h"
#include "storage/coding.h"
#include "storage/compressor.h"
#include "storage/huffman.h"
#include "storage/rle.h"
#include "storage/zstream.h"
#include "tests/storage/archive_bytes.h"

namespace {

using TByteVec = std::vector<uint8_t>;

TByteVec RLEStream(uint8_t Variant, const TByteVec& Packets) {
  TByteVec S = {Variant, 0, 0, 0, 0};
  S.insert(S.end(), Packets.begin(), Packets.end());
  const uint32_t N = static_cast<uint32_t>(S.size());
  for (int I = 0; I < 4; ++I) S[1 + static_cast<size_t>(I)] = static_cast<uint8_t>(N >> (8 * I));
  return S;
}

// Data shaped like the game's: text, picture rows with runs, noise, 7-bit.
std::vector<TByteVec> Samples() {
  std::mt19937 Random(7);
  TByteVec Noise(5000), Seven(3000), Picture, Text;
  for (auto& B : Noise) B = static_cast<uint8_t>(Random());
  for (auto& B : Seven) B = static_cast<uint8_t>(Random() % 4 == 0 ? Random() % 128 : 65);
  for (int Y = 0; Y < 64; ++Y)
    for (int X = 0; X < 96; ++X)
      for (int C = 0; C < 3; ++C) Picture.push_back(static_cast<uint8_t>(X < 40 ? 10 * C : X * Y + C));
  for (int I = 0; I < 200; ++I) Text.insert(Text.end(), {'[', 'F', 'o', 'n', 't', ']', '\r', '\n'});
  TByteVec Long(70000);  // more than one Huffman block
  for (size_t I = 0; I < Long.size(); ++I) Long[I] = static_cast<uint8_t>((I / 300) % 5 + Random() % 3);
  return {{}, {42}, TByteVec(1000, 0xFF), Noise, Seven, Picture, Text, Long};
}

}  // namespace

TEST(RunLength, VariantFivePacketsAndHeaderTotal) {
  EXPECT_EQ(DecodeRLEBytes(RLEStream(5, {0x83, 0x41})), TByteVec(4, 0x41));
  EXPECT_EQ(DecodeRLEBytes(RLEStream(5, {0x01, 0x41, 0x42})), (TByteVec{0x41, 0x42}));
  EXPECT_EQ(DecodeRLEBytes(RLEStream(5, {0xFF, 7})).size(), 128u);
  // Bytes beyond the header's total are not decoded.
  TByteVec S = RLEStream(5, {0x81, 1});
  S.insert(S.end(), {0x83, 2});
  EXPECT_EQ(DecodeRLEBytes(S), (TByteVec{1, 1}));
}

TEST(RunLength, VariantSixAndUnknownVariants) {
  EXPECT_EQ(DecodeRLEBytes(RLEStream(6, {0xC1, 0x02})), TByteVec(3, 0x41));
  EXPECT_EQ(DecodeRLEBytes(RLEStream(6, {0x41})), TByteVec(1, 0x41));
  EXPECT_EQ(DecodeRLEBytes(RLEStream(6, {0x80, 0xFF})), TByteVec(256, 0));
  EXPECT_TRUE(DecodeRLEBytes(RLEStream(7, {0x41})).empty());
  EXPECT_THROW(EncodeRLE(TByteVec{1, 200}, 6), EEncode);
}

TEST(RunLength, StreamsThatClaimMoreThanTheyHoldFail) {
  TByteVec S = RLEStream(5, {0x83, 0x41});
  S[1] = 200;  // total past the end
  EXPECT_THROW(DecodeRLEBytes(S), EDecompress);
  EXPECT_THROW(DecodeRLEBytes(TByteVec{5, 9, 0}), EDecompress);
  TByteVec Literal = RLEStream(5, {0x7F, 1, 2});
  EXPECT_THROW(DecodeRLEBytes(Literal), EDecompress);
  // 0xFF runs of 128 bytes: the cap is checked while decoding.
  TByteVec Big;
  for (int I = 0; I < 100; ++I) Big.insert(Big.end(), {0xFF, 9});
  EXPECT_THROW(DecodeRLEBytes(RLEStream(5, Big), 1000), EDecompress);
}

TEST(ByteTransforms, DecodersMatchTheirDefinitions) {
  TByteVec Mtf = {1, 1, 0};
  MoveToFrontDecodeBytes(Mtf);
  EXPECT_EQ(Mtf, (TByteVec{1, 0, 0}));
  EXPECT_EQ(DeinterleaveBytes(Bytes("abcdef"), 3), Bytes("acebdf"));
  EXPECT_EQ(DeinterleaveBytes(Bytes("abcde"), 2), Bytes("adbec"));
  TByteVec Delta = {10, 1, 255, 0};
  DeltaDecodeBytes(Delta);
  EXPECT_EQ(Delta, (TByteVec{10, 11, 10, 10}));
  // The running value is carried across the 4096-byte blocks.
  TMemoryStream Ones(TByteVec(9000, 1));
  TVXStreamPtr Sum = DeltaDecode(Ones);
  EXPECT_EQ(Sum->ReadAll()[8999], static_cast<uint8_t>(9000 % 256));
  EXPECT_EQ(Sum->Position(), 0);
}

TEST(ByteTransforms, EncodersInvertDecoders) {
  for (const TByteVec& D : Samples()) {
    for (int Step : {2, 3}) EXPECT_EQ(DeinterleaveBytes(SplitPlanes(D, Step), Step), D);
    TByteVec X = D;
    DeltaEncodeBytes(X);
    DeltaDecodeBytes(X);
    EXPECT_EQ(X, D);
    MoveToFrontEncodeBytes(X);
    MoveToFrontDecodeBytes(X);
    EXPECT_EQ(X, D);
  }
}

TEST(Huffman, RoundTripsIncludingSingleSymbolBlocks) {
  THuffman H;
  for (const TByteVec& D : Samples()) EXPECT_EQ(H.Decode(H.Encode(D)), D) << D.size();
  // A block of one symbol is a lone leaf: the tree and no code bits.
  const TByteVec Encoded = H.Encode(TByteVec(10, 'A'));
  EXPECT_EQ(Encoded.size(), 5u + 2u + 2u);
}

TEST(Huffman, DamagedStreamsFail) {
  THuffman H;
  TByteVec Good = H.Encode(Bytes("hello huffman"));
  TByteVec Short(Good.begin(), Good.end() - 1);
  EXPECT_THROW(H.Decode(Short), EDecompress);
  // A total larger than the blocks hold runs out of input.
  TByteVec Greedy = Good;
  Greedy[1] = 0xFF;
  EXPECT_THROW(H.Decode(Greedy), EDecompress);
  // A tree of inner nodes only: more than 512 nodes before any leaf ends it.
  TByteVec Deep = {0, 10, 0, 0, 0, 10, 0};
  Deep.insert(Deep.end(), 100, 0x00);
  EXPECT_THROW(H.Decode(Deep), EDecompress);
  // Claims beyond the cap fail before decoding.
  TByteVec Huge = {0, 0, 0, 0, 0x40};
  EXPECT_THROW(H.Decode(Huge), EDecompress);
}

TEST(Compressor, KnownMethodChains) {
  TCompressor C;
  const TByteVec Text = Bytes("[Game]\r\nFonts=Gold,Blue\r\n");
  TByteVec M40 = {0x40};
  const TByteVec Z = DeflateBytes(Text);
  M40.insert(M40.end(), Z.begin(), Z.end());
  EXPECT_EQ(C.DecompressBytes(M40), Text);
  // 48: zlib, then run-length whose total is the inflated length.
  const TByteVec Runs = RLEStream(5, {0x83, 0x41, 0x01, 0x41, 0x42});
  TByteVec M48 = {0x48};
  const TByteVec ZR = DeflateBytes(Runs);
  M48.insert(M48.end(), ZR.begin(), ZR.end());
  EXPECT_EQ(C.DecompressBytes(M48), Bytes("AAAAAB"));
  // Stored: a 4-byte value that is not read, then the payload.
  TByteVec Stored = {0x03, 0xDE, 0xAD, 0xBE, 0xEF, 5, 1, 1};
  EXPECT_EQ(C.DecompressBytes(Stored), (TByteVec{5, 6, 7}));
  // Second stage 3 gives an empty member.
  EXPECT_TRUE(C.DecompressBytes(TByteVec{0x18, 0, 0, 0, 0, 1, 2, 3}).empty());
  EXPECT_THROW(C.Compress(Text, 0x58), EEncode);
}

TEST(Compressor, EveryDecodingMethodRoundTrips) {
  TCompressor C;
  const auto Data = Samples();
  int Methods = 0;
  for (int M = 0; M < 128; ++M) {
    if (!TCompressor::MethodDecodes(static_cast<uint8_t>(M))) continue;
    ++Methods;
    for (const TByteVec& D : Data) {
      const TByteVec Encoded = C.Compress(D, static_cast<uint8_t>(M));
      ASSERT_EQ(Encoded[0], M);
      ASSERT_EQ(C.DecompressBytes(Encoded), D) << "method " << M << ", " << D.size() << " bytes";
    }
  }
  EXPECT_EQ(Methods, 64);
  // Bit 7 is ignored.
  EXPECT_EQ(C.DecompressBytes(C.Compress(Data[6], 0xC3)), Data[6]);
}

TEST(Compressor, DamagedZlibAndOversizedOutputFail) {
  TCompressor C;
  TByteVec M = C.Compress(TByteVec(4000, 9), 0x40);
  TByteVec Cut(M.begin(), M.begin() + static_cast<std::ptrdiff_t>(M.size() / 2));
  EXPECT_THROW(C.DecompressBytes(Cut), EDecompress);
  TByteVec Bad = M;
  Bad[1] ^= 0xFF;  // zlib header
  EXPECT_THROW(C.DecompressBytes(Bad), EDecompress);
  EXPECT_THROW(C.DecompressBytes(TByteVec{}), EDecompress);
  const TByteVec Bomb = C.Compress(TByteVec(3 << 20, 0), 0x40);
  EXPECT_THROW(C.DecompressBytes(Bomb, 1 << 20), EDecompress);
  // The stream form inflates the same and stops at the cap too.
  TMemoryStream Source(TByteVec(Bomb.begin() + 1, Bomb.end())), Out;
  EXPECT_THROW(InflateStream(Source, Out, 1 << 20), EDecompress);
  Source.Seek(0);
  TMemoryStream Full;
  InflateStream(Source, Full);
  EXPECT_EQ(Full.Size(), 3 << 20);
}
