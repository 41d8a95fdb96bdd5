#include "graphics/ppm_writer.h"

#include <algorithm>

#include "graphics/image.h"
#include "graphics/surface.h"
#include "shell/file_stream.h"

bool WriteImagePPM(const TImage& Image, int X, int Y, int Width, int Height, TVXStreamBase& Stream) {
  if (!Image.HasSurface() || Width < 0 || Height < 0) return false;
  std::string Bytes = "P6\n" + std::to_string(Width) + " " + std::to_string(Height) + "\n255\n";
  const size_t Header = Bytes.size();
  Bytes.resize(Header + static_cast<size_t>(Width) * static_cast<size_t>(Height) * 3, 0);
  {
    TSurfaceLock Lock(Image.Surface());
    if (!Lock.Ok()) return false;
    char* P = Bytes.data() + Header;
    for (int Row = 0; Row < Height; ++Row)
      for (int Col = 0; Col < Width; ++Col, P += 3) {
        const int SX = X + Col, SY = Y + Row;
        if (SX < 0 || SY < 0 || SX >= Image.Width() || SY >= Image.Height()) continue;  // outside: black
        uint8_t R, G, B;
        Image.PixelRGB(SX, SY, R, G, B);
        P[0] = static_cast<char>(R);
        P[1] = static_cast<char>(G);
        P[2] = static_cast<char>(B);
      }
  }
  return Stream.WriteString(Bytes);
}

bool WriteImagePPM(const TImage& Image, TVXStreamBase& Stream) {
  return WriteImagePPM(Image, 0, 0, Image.Width(), Image.Height(), Stream);
}

bool SaveImagePPM(const TImage& Image, const std::string& FileName) {
  auto Out = TFileStream::Open(FileName, TFileStream::TMode::Create);
  return Out && WriteImagePPM(Image, *Out);
}
