#include "game/settings.h"

#include <gtest/gtest.h>

#include "shell/memory_stream.h"
#include "shell/toolbox.h"
#include "storage/stream_opener.h"
#include "tests/support/scope_guard.h"
#include "tests/support/test_support.h"

namespace {
const std::vector<uint8_t> kFull = {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x80, 0x3F};

// The settings module runs in a folder of its own, with the stream opener up.
class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { StartStreamOpener(); }
  void TearDown() override { StopStreamOpener(); }
  TTempDir Dir;
  TChangeDir Here{Dir.Path()};
  // Whatever a test leaves in the settings goes when it ends.
  TRestore<std::unique_ptr<TConfig>> KeepConfig{Config};
};

TConfig FromBytes(std::vector<uint8_t> Bytes) {
  TConfig C;
  TMemoryStream S(std::move(Bytes));
  C.ReadFrom(S);
  return C;
}
}  // namespace

TEST_F(SettingsTest, FreshStartPlaysAtFullVolumeAndWritesTheFileAtStop) {
  StartConfig();
  ASSERT_TRUE(Config);
  EXPECT_EQ(Config->MusicVolume, 1.0f);
  EXPECT_EQ(Config->EffectsVolume, 1.0f);
  StopConfig();
  EXPECT_FALSE(Config);
  EXPECT_EQ(ReadFileBytes(Dir.File("Starquarry.cfg")), kFull);
  EXPECT_EQ(TempFilesIn(Dir.Path()), std::vector<std::string>{});
}

TEST_F(SettingsTest, VolumesSurviveARestartMusicFirst) {
  StartConfig();
  Config->MusicVolume = 0.7f;
  Config->EffectsVolume = 0.25f;
  StopConfig();
  EXPECT_EQ(ReadFileBytes(Dir.File("Starquarry.cfg")),
            std::vector<uint8_t>({0x33, 0x33, 0x33, 0x3F, 0x00, 0x00, 0x80, 0x3E}));
  StartConfig();
  EXPECT_EQ(Config->MusicVolume, 0.7f);
  EXPECT_EQ(Config->EffectsVolume, 0.25f);

  // The tool starts the same modules and must leave the file alone.
  Config->MusicVolume = 0.1f;
  Config->SaveAtStop = false;
  StopConfig();
  EXPECT_EQ(ReadFileBytes(Dir.File("Starquarry.cfg"))[0], 0x33);
}

TEST_F(SettingsTest, ShortOrUnusableFilesGiveTheDocumentedVolumes) {
  const TConfig Half = FromBytes({0x00, 0x00, 0x00, 0x3F});
  EXPECT_EQ(Half.MusicVolume, 0.5f);
  EXPECT_EQ(Half.EffectsVolume, 0.0f) << "a missing value reads as 0.0";
  const TConfig Empty = FromBytes({});
  EXPECT_EQ(Empty.MusicVolume, 0.0f);
  EXPECT_EQ(Empty.EffectsVolume, 0.0f);
  // Out of range is passed on (the collections clamp), not a number is not.
  const TConfig Odd = FromBytes({0x00, 0x00, 0xC0, 0x7F, 0x00, 0x00, 0x00, 0x40});
  EXPECT_EQ(Odd.MusicVolume, 1.0f);
  EXPECT_EQ(Odd.EffectsVolume, 2.0f);

  // A folder where the file should be cannot be read: full volume.
  ASSERT_EQ(RunCommand("mkdir '" + Dir.File("Starquarry.cfg") + "'"), 0);
  TConfig C;
  C.MusicVolume = 0.3f;
  C.Load();
  EXPECT_EQ(C.MusicVolume, 1.0f);
  EXPECT_EQ(C.EffectsVolume, 1.0f);
}

TEST_F(SettingsTest, AFailedSaveKeepsTheOldFile) {
  WriteFileBytes(Dir.File("Starquarry.cfg"), kFull);
  TConfig C;
  C.MusicVolume = 0.0f;
  {
    TFileSizeLimit Full(2);
    EXPECT_FALSE(C.Save());
  }
  EXPECT_EQ(ReadFileBytes(Dir.File("Starquarry.cfg")), kFull);
}
