#pragma once
// Writes an image's pixels as a binary PPM (P6, 8 bits per RGB channel):
// the review format of the designers' tools.
#include <string>

class TImage;
class TVXStreamBase;

// The whole image, or the part (X, Y, Width, Height) of it.
bool WriteImagePPM(const TImage& Image, TVXStreamBase& Stream);
bool WriteImagePPM(const TImage& Image, int X, int Y, int Width, int Height, TVXStreamBase& Stream);
// Creates the file; false when it cannot be written.
bool SaveImagePPM(const TImage& Image, const std::string& FileName);
