// sqtracker: composes a song source (data/music/*.tune) into an XM module.
#include <cstdio>
#include <string>

#include "shell/file_stream.h"
#include "tools/tracker/tune.h"
#include "tools/tracker/tune_composer.h"
#include "tools/tracker/xm_writer.h"

namespace {

int Fail(const std::string& Message) {
  std::fprintf(stderr, "sqtracker: %s\n", Message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: sqtracker OUTPUT.xm SOURCE... (a shared kit first, then the song)\n");
    return 1;
  }
  const std::string Output = argv[1];
  TTune Tune;
  for (int I = 2; I < argc; ++I) {
    const std::string Source = argv[I];
    auto In = TFileStream::Open(Source, TFileStream::TMode::Read);
    if (!In) return Fail("cannot open " + Source);
    const auto Bytes = In->ReadAll();
    try {
      ParseTuneInto(std::string(Bytes.begin(), Bytes.end()), Tune);
    } catch (const std::exception& E) { return Fail(Source + ": " + E.what()); }
  }
  try {
    const auto File = WriteXm(ComposeTune(Tune));
    auto Out = TFileStream::Open(Output, TFileStream::TMode::Create);
    if (!Out || !Out->WriteExact(File.data(), File.size())) return Fail("cannot write " + Output);
  } catch (const std::exception& E) { return Fail(Output + ": " + E.what()); }
  return 0;
}
