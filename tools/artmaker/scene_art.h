#pragma once
// The outro: its figures, the small gems of the diamond stream and the hall
// map written in the MAPT text format.
#include <string>
#include <vector>

#include "tools/artmaker/art_kit.h"

namespace Art {

// Reads the hall source: lines starting with ";" are comments, the rest are
// exactly 12 rows of 20 cells using only "#", ".", "1", "2", "3", "b" and
// space. Raises std::runtime_error naming the fault.
std::vector<std::string> ParseHall(const std::string& Text);
// The MAPT text of a hall (CR LF line ends).
std::string HallToMapt(const std::vector<std::string>& Rows);

void MakeSceneImages(const TArtContext& A);
// Reads and checks the hall source file.
std::vector<std::string> LoadHall(const std::string& HallPath);
void MakeOutroMap(const TArtContext& A, const std::vector<std::string>& Hall);

}  // namespace Art
