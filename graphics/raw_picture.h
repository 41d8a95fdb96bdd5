#pragma once
// The in-memory picture every image and font passes through before it
// becomes a surface: 24-bit pixels (blue, green, red) plus the information
// bytes the file carried (animation record or glyph table).
#include <cstdint>
#include <string>
#include <vector>

#include "shell/stream.h"

// What Info holds.
enum : int32_t {
  kInfoNone = 0,
  kInfoAnimation = 1,      // 2 bytes: frame count and flags
  kInfoAnimationLong = 2,  // 16 bytes: as 1, plus frame delay, end pause, vertical strip flag
  kInfoGlyphs = 3,         // 32-byte presence set + 8 bytes per present code
  kInfoOther = 255,        // any other length, as stored
};

class TRawPicture {
 public:
  static constexpr const char* kVersion = "RawPictureUnit, version 1.31";
  // A picture is refused (left empty, problem reported) beyond these.
  static constexpr int32_t kMaxSide = 16384;
  static constexpr int64_t kMaxDataBytes = 256ll * 1024 * 1024;

  // Empty: 0x0, no Data, InfoKind 0, no Info.
  TRawPicture() = default;
  // Black picture of that size (no Info). Sizes beyond the caps give an empty picture.
  TRawPicture(int32_t AWidth, int32_t AHeight);

  int32_t Width = 0;
  int32_t Height = 0;
  // Width*Height*3 bytes, rows top to bottom, no padding; empty when absent.
  std::vector<uint8_t> Data;
  int32_t InfoKind = kInfoNone;
  std::vector<uint8_t> Info;

  // Info[Position], or 0 outside Info.
  uint8_t InfoByte(int Position) const;
  // Frame count of an animation record (InfoKind 1 or 2), else 0.
  int FrameCount() const;
  bool Empty() const { return Data.empty(); }

  // Replaces Data with a black buffer of the given size; false (and an empty
  // picture) when the size is negative or beyond the caps.
  bool SetSize(int32_t AWidth, int32_t AHeight);
  void Clear();  // back to the empty state, Info included
  uint8_t* PixelAt(int32_t X, int32_t Y) { return Data.data() + (static_cast<size_t>(Y) * Width + X) * 3; }
  const uint8_t* PixelAt(int32_t X, int32_t Y) const { return Data.data() + (static_cast<size_t>(Y) * Width + X) * 3; }

  // Picks a reader by extension (a trailing ".ZL" is looked through).
  // Every reader returns true when the picture was read without a reported
  // problem; none of them throws.
  bool ReadFile(const std::string& FileName);

  // File readers: complete the name's extension, open it through the stream
  // opener and run the stream reader.
  bool ReadBMP(const std::string& Name, bool LoadPalette = false);
  bool ReadCEL(const std::string& Name, bool LoadPalette = false);
  bool ReadMI(const std::string& Name);
  bool ReadTGA(const std::string& Name, bool LoadPalette = false);
  bool ReadKEP(const std::string& Name);
  bool ReadK16(const std::string& Name);
  bool ReadGSD(const std::string& Name);
  bool ReadBMF(const std::string& Name);
  bool ReadTXF(const std::string& Name);

  // Stream readers, from the stream's current position.
  bool ReadBMPStream(TVXStreamBase& Stream, bool LoadPalette = false);
  bool ReadCELStream(TVXStreamBase& Stream, bool LoadPalette = false);
  bool ReadMIStream(TVXStreamBase& Stream);
  bool ReadTGAStream(TVXStreamBase& Stream, bool LoadPalette = false);
  bool ReadKEPStream(TVXStreamBase& Stream);
  bool ReadK16Stream(TVXStreamBase& Stream);
  bool ReadGSDStream(TVXStreamBase& Stream);
  bool ReadBMFStream(TVXStreamBase& Stream);
  bool ReadTXFStream(TVXStreamBase& Stream);

  // Writes the picture as an uncompressed 24-bit BMP; false when empty or
  // the stream refuses the bytes.
  bool SaveBMPStream(TVXStreamBase& Stream) const;

  // Transformations: a string of one-letter commands H V I R r D.
  // MultiTransform handles frames of animated pictures and doubling;
  // MultiTransformEx applies the commands to the whole picture.
  void MultiTransform(const std::string& Commands);
  void MultiTransformEx(const std::string& Commands);

  // The single commands.
  void MirrorHorizontal();        // H
  void MirrorVertical();          // V
  void Invert();                  // I
  void RotateClockwise();         // R
  void RotateCounterClockwise();  // r
  bool DoubleSize();              // D; false (unchanged) when the result would pass the caps

 private:
  void SetInfo(const std::vector<uint8_t>& Bytes);
  void RearrangeVerticalStrip();
};
