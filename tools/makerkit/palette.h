#pragma once
// Named colours kept in a reviewable text file: one "name RRGGBB" per line,
// ";" starts a comment.
#include <map>
#include <string>

#include "tools/makerkit/canvas.h"

namespace Maker {

class TPalette {
 public:
  // Raises std::runtime_error naming the line of a malformed entry.
  static TPalette Parse(const std::string& Text);
  static TPalette Load(const std::string& Path);

  // Raises std::out_of_range for an unknown name, so a typo stops the build.
  TRgb operator()(const std::string& Name) const;
  bool Has(const std::string& Name) const { return FColors.count(Name) != 0; }
  size_t Size() const { return FColors.size(); }

 private:
  std::map<std::string, TRgb> FColors;
};

}  // namespace Maker
