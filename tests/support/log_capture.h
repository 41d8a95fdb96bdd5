#pragma once
// Sends the process log, every level, to a file of its own for the lifetime
// of the object and reads it back, so tests can check what was logged.
#include <cstddef>
#include <string>

#include "tests/support/test_support.h"

// The helpers live in namespace test_support, so that a test's own class of
// the same name never meets them when the program links; their names are
// exported.
namespace test_support {

class TLogCapture {
 public:
  TLogCapture();
  // Leaves the log unset, as the tests find it.
  ~TLogCapture();
  TLogCapture(const TLogCapture&) = delete;
  TLogCapture& operator=(const TLogCapture&) = delete;

  std::string Text() const;
  bool Contains(const std::string& Part) const;
  // Some entry ends with Line (entries begin with their kind's heading).
  bool HasLine(const std::string& Line) const;
  // How often Part occurs in the log.
  size_t Count(const std::string& Part) const;
  const std::string& FileName() const { return FFile; }

 private:
  TTempDir FDir;
  std::string FFile;
};

}  // namespace test_support

using test_support::TLogCapture;
