#pragma once
// A started sound system without a device, the stream opener, a captured log
// and a folder of test-made sounds, for the tests of the sound classes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/vx_audio.h"
#include "storage/stream_opener.h"
#include "tests/audio/test_sounds.h"
#include "tests/support/log_capture.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

class AudioFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SoundSystem->Start(kNoOutputDevice, 0));
    if (!StreamOpener) {
      FOpener.emplace(StreamOpener);
      StartStreamOpener();
    }
    StreamOpener->CacheEnabled = false;
    FLog.emplace();
  }

  // Writes Bytes as Name in the test folder and gives its full path.
  std::string File(const std::string& Name, const std::vector<uint8_t>& Bytes) {
    const std::string Path = Dir.File(Name);
    WriteFileBytes(Path, Bytes);
    return Path;
  }
  // The same, zlib-compressed: the opener inflates names ending in ".ZL".
  std::string ZlFile(const std::string& Name, const std::vector<uint8_t>& Bytes) {
    uLongf Size = compressBound(static_cast<uLong>(Bytes.size()));
    std::vector<uint8_t> Packed(Size);
    compress2(Packed.data(), &Size, Bytes.data(), static_cast<uLong>(Bytes.size()), 9);
    Packed.resize(Size);
    return File(Name, Packed);
  }

  std::string LogText() const { return FLog->Text(); }
  bool Logged(const std::string& Line) const { return FLog->HasLine(Line); }

  std::vector<int16_t> Render(size_t Frames) {
    std::vector<int16_t> Out(Frames * 2);
    SoundSystem->Render(Out.data(), Frames);
    return Out;
  }

  TTempDir Dir;

 private:
  // Put back in the opposite order: the log, the sound system, the opener.
  std::optional<TRestore<std::unique_ptr<TVXStreamOpener>>> FOpener;
  TRestore<std::unique_ptr<TSoundSystem>> FSound{SoundSystem, std::make_unique<TSoundSystem>()};
  std::optional<TLogCapture> FLog;
};
