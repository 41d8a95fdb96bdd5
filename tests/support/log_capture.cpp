#include "tests/support/log_capture.h"

#include <memory>

#include "shell/logger.h"

namespace test_support {

TLogCapture::TLogCapture() : FFile(FDir.File("capture.log")) {
  Log.Reset(std::make_unique<TLogger>(FFile, false));
  Log->SetLevels("EWSD");
}

TLogCapture::~TLogCapture() { Log.Reset(); }

std::string TLogCapture::Text() const { return ReadFileText(FFile); }

bool TLogCapture::Contains(const std::string& Part) const { return Text().find(Part) != std::string::npos; }

bool TLogCapture::HasLine(const std::string& Line) const { return Contains(Line + "\r\n"); }

size_t TLogCapture::Count(const std::string& Part) const {
  const std::string T = Text();
  size_t N = 0;
  for (size_t At = T.find(Part); At != std::string::npos; At = T.find(Part, At + 1)) ++N;
  return N;
}

}  // namespace test_support
