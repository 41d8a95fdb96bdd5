#include "storage/huffman.h"

#include <algorithm>
#include <array>
#include <queue>
#include <string>

namespace {

constexpr uint16_t kEmpty = THuffman::kMaxNodes;
constexpr size_t kBlockSymbols = 65535;

struct TNode {
  uint16_t Child[2] = {kEmpty, kEmpty};
  uint8_t Symbol = 0;
  bool Leaf = false;
};

// Most significant bit first; every block starts on a fresh byte.
class TBitReader {
 public:
  explicit TBitReader(std::span<const uint8_t> In) : FIn(In) {}
  size_t BytePos() const { return FPos; }
  void Align(size_t Pos) {
    FPos = Pos;
    FBits = 0;
  }
  int Bit() {
    if (FBits == 0) {
      if (FPos >= FIn.size()) throw EDecompress("Huffman stream ends early");
      FCurrent = FIn[FPos++];
      FBits = 8;
    }
    --FBits;
    return (FCurrent >> FBits) & 1;
  }
  uint8_t Byte() {
    int V = 0;
    for (int I = 0; I < 8; ++I) V = (V << 1) | Bit();
    return static_cast<uint8_t>(V);
  }

 private:
  std::span<const uint8_t> FIn;
  size_t FPos = 0;
  uint8_t FCurrent = 0;
  int FBits = 0;
};

class TBitWriter {
 public:
  explicit TBitWriter(std::vector<uint8_t>& Out) : FOut(Out) {}
  void Bit(int B) {
    FCurrent = static_cast<uint8_t>((FCurrent << 1) | (B & 1));
    if (++FBits == 8) Flush();
  }
  void Byte(uint8_t V) {
    for (int I = 7; I >= 0; --I) Bit((V >> I) & 1);
  }
  void Flush() {
    if (FBits == 0) return;
    FOut.push_back(static_cast<uint8_t>(FCurrent << (8 - FBits)));
    FCurrent = 0;
    FBits = 0;
  }

 private:
  std::vector<uint8_t>& FOut;
  uint8_t FCurrent = 0;
  int FBits = 0;
};

// Reads a pre-order tree into Nodes[0..]; children take the lowest free
// nodes from 1 upwards, first subtree before the second.
void ReadTree(TBitReader& Bits, std::array<TNode, THuffman::kMaxNodes>& Nodes) {
  Nodes.fill(TNode{});
  int NextFree = 1;
  std::vector<uint16_t> Pending = {0};
  while (!Pending.empty()) {
    TNode& N = Nodes[Pending.back()];
    Pending.pop_back();
    if (Bits.Bit()) {
      N.Leaf = true;
      N.Symbol = Bits.Byte();
      continue;
    }
    if (NextFree + 2 > THuffman::kMaxNodes) throw EDecompress("Huffman tree has more than 512 nodes");
    N.Child[0] = static_cast<uint16_t>(NextFree++);
    N.Child[1] = static_cast<uint16_t>(NextFree++);
    Pending.push_back(N.Child[1]);
    Pending.push_back(N.Child[0]);
  }
}

// Code tree built from symbol counts; leaves and inner nodes in one table.
struct TBuildNode {
  uint64_t Weight;
  int Child[2];
  int Symbol;  // -1 for inner nodes
};

void WriteTree(const std::vector<TBuildNode>& Tree, int Node, TBitWriter& Bits,
               std::array<std::vector<uint8_t>, 256>& Codes, std::vector<uint8_t>& Path) {
  const TBuildNode& N = Tree[static_cast<size_t>(Node)];
  if (N.Symbol >= 0) {
    Bits.Bit(1);
    Bits.Byte(static_cast<uint8_t>(N.Symbol));
    Codes[static_cast<size_t>(N.Symbol)] = Path;
    return;
  }
  Bits.Bit(0);
  for (int Side = 0; Side < 2; ++Side) {
    Path.push_back(static_cast<uint8_t>(Side));
    WriteTree(Tree, N.Child[Side], Bits, Codes, Path);
    Path.pop_back();
  }
}

void EncodeBlock(std::span<const uint8_t> Block, std::vector<uint8_t>& Out) {
  Out.push_back(static_cast<uint8_t>(Block.size()));
  Out.push_back(static_cast<uint8_t>(Block.size() >> 8));
  std::array<uint64_t, 256> Counts{};
  for (uint8_t B : Block) ++Counts[B];
  std::vector<TBuildNode> Tree;
  using TItem = std::pair<uint64_t, int>;  // weight, node; ties go to the older node
  std::priority_queue<TItem, std::vector<TItem>, std::greater<>> Queue;
  for (int S = 0; S < 256; ++S)
    if (Counts[static_cast<size_t>(S)] > 0) {
      Tree.push_back({Counts[static_cast<size_t>(S)], {-1, -1}, S});
      Queue.push({Tree.back().Weight, static_cast<int>(Tree.size()) - 1});
    }
  while (Queue.size() > 1) {
    const TItem A = Queue.top();
    Queue.pop();
    const TItem B = Queue.top();
    Queue.pop();
    Tree.push_back({A.first + B.first, {A.second, B.second}, -1});
    Queue.push({Tree.back().Weight, static_cast<int>(Tree.size()) - 1});
  }
  // A block of one distinct symbol is a lone leaf: its code has no bits.
  TBitWriter Bits(Out);
  std::array<std::vector<uint8_t>, 256> Codes;
  std::vector<uint8_t> Path;
  WriteTree(Tree, Queue.top().second, Bits, Codes, Path);
  for (uint8_t B : Block)
    for (uint8_t Bit : Codes[B]) Bits.Bit(Bit);
  Bits.Flush();
}

}  // namespace

std::vector<uint8_t> THuffman::Decode(std::span<const uint8_t> In, int64_t Limit) {
  if (In.size() < 5) throw EDecompress("Huffman stream ends early");
  int64_t Total = static_cast<int64_t>(In[1]) | (static_cast<int64_t>(In[2]) << 8) |
                  (static_cast<int64_t>(In[3]) << 16) | (static_cast<int64_t>(In[4]) << 24);
  if (Total > Limit) throw EDecompress("Huffman stream claims " + std::to_string(Total) + " bytes, over the limit");
  std::vector<uint8_t> Out;
  std::array<TNode, kMaxNodes> Nodes;
  TBitReader Bits(In);
  size_t Pos = 5;
  while (Total > 0) {
    if (In.size() - Pos < 2) throw EDecompress("Huffman stream ends early");
    const int64_t N = In[Pos] | (In[Pos + 1] << 8);
    Bits.Align(Pos + 2);
    ReadTree(Bits, Nodes);
    // A lone leaf takes no bits per symbol: the block's count alone decides.
    if (static_cast<int64_t>(Out.size()) + N > Limit) throw EDecompress("Huffman output exceeds the size limit");
    for (int64_t I = 0; I < N; ++I) {
      const TNode* Node = &Nodes[0];
      while (!Node->Leaf) Node = &Nodes[Node->Child[Bits.Bit()]];
      Out.push_back(Node->Symbol);
    }
    Pos = Bits.BytePos();
    Total -= N;
  }
  return Out;
}

void THuffman::HuffmanDecode(TVXStreamBase& Input, TVXStreamBase& Output) {
  const std::vector<uint8_t> In = Input.ReadRest();
  const std::vector<uint8_t> Out = Decode(In);
  Output.WriteExact(Out.data(), Out.size());
}

std::vector<uint8_t> THuffman::Encode(std::span<const uint8_t> Data) {
  if (Data.size() > UINT32_MAX) throw EEncode("Huffman input too long");
  std::vector<uint8_t> Out = {0, static_cast<uint8_t>(Data.size()), static_cast<uint8_t>(Data.size() >> 8),
                              static_cast<uint8_t>(Data.size() >> 16), static_cast<uint8_t>(Data.size() >> 24)};
  Out.reserve(Data.size() + Data.size() / 8 + 64);
  for (size_t I = 0; I < Data.size(); I += kBlockSymbols)
    EncodeBlock(Data.subspan(I, std::min(kBlockSymbols, Data.size() - I)), Out);
  return Out;
}
