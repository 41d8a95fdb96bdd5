#pragma once
// Sends the process log to a temporary file for one test and reads it back,
// so tests can check the warnings a loader gives.
#include <memory>
#include <string>

#include "shell/logger.h"
#include "tests/support/test_support.h"

class TLogCapture {
 public:
  TLogCapture() {
    Log.Reset(std::make_unique<TLogger>(FDir.File("capture.log"), false));
    Log->SetLevels("EWSD");
  }
  ~TLogCapture() { Log.Reset(); }
  TLogCapture(const TLogCapture&) = delete;
  TLogCapture& operator=(const TLogCapture&) = delete;

  std::string Text() const { return ReadFileText(FDir.File("capture.log")); }
  bool Contains(const std::string& Part) const { return Text().find(Part) != std::string::npos; }
  // How often Part occurs in the log.
  size_t Count(const std::string& Part) const {
    const std::string T = Text();
    size_t N = 0;
    for (size_t P = T.find(Part); P != std::string::npos; P = T.find(Part, P + 1)) ++N;
    return N;
  }

 private:
  TTempDir FDir;
};
