// The game's sound content: the effects and songs that controls.ini names,
// loaded from the built data archive and rendered through our mixer; and
// the two tools that make them, sqsynth and sqtracker.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <libopenmpt/libopenmpt.hpp>
#include <map>
#include <set>
#include <sstream>

#include "audio/music.h"
#include "audio/music_collection.h"
#include "audio/play_lists.h"
#include "audio/sound_system.h"
#include "audio/vx_audio.h"
#include "audio/wave.h"
#include "audio/wave_collection.h"
#include "config/ini_file.h"
#include "storage/stream_opener.h"
#include "tests/support/data_folder.h"
#include "tests/support/sqtool_runner.h"
#include "tests/support/test_support.h"

namespace {

constexpr int kRate = TSoundSystem::kRate;
// -1 dBFS on the 16-bit scale.
const int kMaxPeak = static_cast<int>(32768.0 * std::pow(10.0, -1.0 / 20.0));

std::string BuildDir() { return PlayDir() + "../"; }

// One line of a made_files_AREA.txt: the tool, its sources and the file it made.
struct TMadeFile {
  std::string Tool, Sources, Output;
};

std::vector<TMadeFile> MadeFiles(const std::string& Area) {
  std::vector<TMadeFile> Result;
  std::istringstream In(ReadFileText(BuildDir() + "assets/made_files_" + Area + ".txt"));
  std::string Line;
  while (std::getline(In, Line)) {
    std::istringstream L(Line);
    TMadeFile F;
    if (std::getline(L, F.Tool, '\t') && std::getline(L, F.Sources, '\t') && std::getline(L, F.Output))
      Result.push_back(F);
  }
  return Result;
}

// Left channel of interleaved stereo frames, as doubles.
std::vector<double> Left(const std::vector<int16_t>& Frames) {
  std::vector<double> L(Frames.size() / 2);
  for (size_t I = 0; I < L.size(); ++I) L[I] = Frames[2 * I];
  return L;
}

int Peak(const std::vector<int16_t>& Frames) {
  int P = 0;
  for (int16_t S : Frames) P = std::max(P, std::abs(static_cast<int>(S)));
  return P;
}

// First and last frame louder than Threshold (16-bit units); -1 when none is.
std::pair<long, long> AudibleSpan(const std::vector<int16_t>& Frames, int Threshold) {
  long First = -1, Last = -1;
  for (size_t I = 0; I < Frames.size(); ++I)
    if (std::abs(static_cast<int>(Frames[I])) > Threshold) {
      if (First < 0) First = static_cast<long>(I / 2);
      Last = static_cast<long>(I / 2);
    }
  return {First, Last};
}

// Frequency from rising zero crossings over [From, To) seconds.
double Frequency(const std::vector<double>& L, double From, double To) {
  const size_t A = static_cast<size_t>(From * kRate), B = std::min(L.size(), static_cast<size_t>(To * kRate));
  size_t First = 0, Last = 0, Count = 0;
  for (size_t I = A + 1; I < B; ++I)
    if (L[I - 1] < 0 && L[I] >= 0) {
      if (Count == 0) First = I;
      Last = I;
      ++Count;
    }
  return Count < 2 ? 0.0 : static_cast<double>(Count - 1) * kRate / static_cast<double>(Last - First);
}

std::vector<int16_t> Render(TSoundSystem& System, size_t Frames) {
  std::vector<int16_t> Out(Frames * 2);
  System.Render(Out.data(), Frames);
  return Out;
}

// The song's first pass and the length of the part that repeats (from its
// restart position to the end), by libopenmpt's own reckoning.
struct TSongTimes {
  double Duration = 0, Loop = 0;
};

TSongTimes SongTimes(const std::vector<uint8_t>& Xm) {
  openmpt::module M(Xm);
  TSongTimes T;
  T.Duration = M.get_duration_seconds();
  const int Restart = Xm.size() > 68 ? Xm[66] | Xm[67] << 8 : 0;  // XM header: restart position
  T.Loop = T.Duration - M.set_position_order_row(Restart, 0);
  return T;
}

// The archive the build appends to the game, mounted as the game mounts it,
// with the sound collections loaded from its controls.ini.
class SoundContentTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Data = std::make_unique<TDataFolder>(DataArchive());
    ASSERT_TRUE(Data->Mounted()) << "the data archive is built with the game";
    SoundSystem = std::make_unique<TSoundSystem>();
    ASSERT_TRUE(SoundSystem->Start(kNoOutputDevice, 0));
    WaveCollection = std::make_unique<TWaveCollection>();
    WaveCollection->LoadFromFile("controls.ini", "Waves");
    MusicCollection = std::make_unique<TMusicCollection>();
    MusicCollection->LoadFromFile("controls.ini", "Music");
    PlayLists = std::make_unique<TPlayLists>();
    PlayLists->LoadFromFile("controls.ini", "PlayLists");
    Ini = TIniFile::Create("controls.ini");
  }
  static void TearDownTestSuite() {
    Ini.reset();
    PlayLists.reset();
    MusicCollection.reset();
    WaveCollection.reset();
    SoundSystem.reset();
    Data.reset();
  }

  // Section name and file of each song, by song name.
  static std::map<std::string, std::string> SongFiles() {
    std::map<std::string, std::string> Files;
    const int N = Ini->ReadInteger("Music", "NumberOfSongs", 0);
    for (int I = 1; I <= N; ++I) {
      const std::string S = "Music.Song" + std::to_string(I);
      Files[Ini->ReadString(S, "Name", "")] = Ini->ReadString(S, "File", "*");
    }
    return Files;
  }

  static std::unique_ptr<TDataFolder> Data;
  static std::unique_ptr<TIniFile> Ini;
};

std::unique_ptr<TDataFolder> SoundContentTest::Data;
std::unique_ptr<TIniFile> SoundContentTest::Ini;

TEST_F(SoundContentTest, EveryEffectSongAndPlaylistIsThereAndLoads) {
  const std::vector<std::string> Effects = {"EatSand",   "BoulderDown", "DiamondDown", "DiamondPickup",
                                            "Explosion", "TunnelStart", "TunnelEnd",   "TunnelItem",
                                            "BalloonUp", "Pushing",     "ExitOpen"};
  ASSERT_EQ(WaveCollection->Count(), static_cast<int>(Effects.size()));
  for (const auto& Name : Effects) {
    const TWaveCollectionItem* Item = WaveCollection->ItemByName(Name);
    ASSERT_NE(Item, nullptr) << Name;
    EXPECT_NE(Item->Wave->Handle(), 0u) << Name;
    EXPECT_GT(Item->Volume, 0.0f) << Name;
    EXPECT_LE(Item->Volume, 1.0f) << Name;
  }
  // Frequent sounds sit below the rare ones.
  for (const char* Frequent : {"EatSand", "BoulderDown", "DiamondDown", "BalloonUp"})
    for (const char* Rare : {"DiamondPickup", "Explosion", "ExitOpen"})
      EXPECT_LT(WaveCollection->ItemByName(Frequent)->Volume, WaveCollection->ItemByName(Rare)->Volume)
          << Frequent << " against " << Rare;

  // The counted form lists the last song section first.
  ASSERT_EQ(MusicCollection->Count(), 8);
  const std::string Order = "hgfedcba";
  for (int I = 0; I < 8; ++I) {
    const TMusicCollectionItem* Song = MusicCollection->Get(I);
    EXPECT_EQ(Song->Name, std::string(1, Order[static_cast<size_t>(I)]));
    EXPECT_NE(Song->Music->Handle(), 0u) << Song->Name;
    EXPECT_FALSE(Song->Music->IsStream()) << Song->Name;
    EXPECT_FALSE(Song->Title.empty());
    EXPECT_NE(Song->Author, "Mr.Anonymous") << Song->Name;
  }

  const std::map<std::string, std::vector<std::string>> Expected = {
      {"List", {"a"}}, {"InGame", {"b", "c", "d", "e", "f"}}, {"MapEnd", {"g"}}, {"GameEnd", {"h"}}};
  for (const auto& [Name, Songs] : Expected) {
    const TPlayList* List = PlayLists->ByName(Name);
    ASSERT_NE(List, nullptr) << Name;
    EXPECT_EQ(List->Songs(), Songs) << Name;
  }
}

TEST_F(SoundContentTest, EffectsAreShortPromptAndBelowClipping) {
  for (int I = 0; I < WaveCollection->Count(); ++I) {
    TWaveCollectionItem* Item = WaveCollection->Get(I);
    SCOPED_TRACE(Item->Name);
    // At full volume: the loudest the game can play one of them.
    Item->Wave->SetVolume(1.0f);
    Item->Wave->Play();
    const auto Frames = Render(*SoundSystem, static_cast<size_t>(2.5 * kRate));
    Item->Wave->SetVolume(Item->Volume);
    EXPECT_LE(Peak(Frames), kMaxPeak);
    // Audible: above -50 dBFS.
    const auto [First, Last] = AudibleSpan(Frames, 104);
    ASSERT_GE(First, 0) << "silent";
    EXPECT_LE(First, kRate / 100) << "starts later than 10 ms";
    const double Seconds = static_cast<double>(Last - First) / kRate;
    EXPECT_GE(Seconds, 0.05);
    EXPECT_LE(Seconds, 2.0);
  }
}

TEST_F(SoundContentTest, SongsStayBelowClippingNeverFallSilentAndLoopCleanly) {
  for (const auto& [Name, File] : SongFiles()) {
    SCOPED_TRACE(Name + " (" + File + ")");
    const TMusicCollectionItem* Song = MusicCollection->ItemByName(Name);
    ASSERT_NE(Song, nullptr);
    const TSongTimes Times = SongTimes(StreamOpener->OpenStream(File)->ReadAll());
    if (Name >= "b" && Name <= "f") { EXPECT_GE(Times.Loop, 60.0) << "an in-game song repeats too soon"; }

    // The first pass, the jump back and well into the second pass.
    const double Seconds = Times.Duration + std::max(6.0, 5.0 - Times.Loop + 1.0);
    Song->Music->SetVolume(1.0f);
    Song->Music->Play();
    const auto Frames = Render(*SoundSystem, static_cast<size_t>(Seconds * kRate));
    Song->Music->Stop();
    EXPECT_LE(Peak(Frames), kMaxPeak);

    // Not silent (below -50 dBFS RMS) in any five-second window.
    const auto L = Left(Frames);
    const size_t Window = 5 * kRate;
    double Quietest = 1e9;
    for (size_t Start = 0; Start + Window <= L.size(); Start += kRate / 2) {
      double Energy = 0;
      for (size_t I = Start; I < Start + Window; ++I) Energy += L[I] * L[I];
      Quietest = std::min(Quietest, std::sqrt(Energy / Window));
    }
    EXPECT_GT(20 * std::log10(Quietest / 32768.0 + 1e-12), -50.0);

    // At the loop point no sample-to-sample step beats the largest one the
    // music makes itself in the second around it.
    const long LoopFrame = std::lround(Times.Duration * kRate);
    const long Near = 64, Around = kRate;
    ASSERT_LT(static_cast<size_t>(LoopFrame + Around), L.size());
    double AtLoop = 0, Elsewhere = 0;
    for (long I = LoopFrame - Around; I < LoopFrame + Around; ++I) {
      const double Step = std::fabs(L[static_cast<size_t>(I)] - L[static_cast<size_t>(I - 1)]);
      double& Max = std::labs(I - LoopFrame) <= Near ? AtLoop : Elsewhere;
      Max = std::max(Max, Step);
    }
    EXPECT_LE(AtLoop, Elsewhere);
  }
}

TEST(SoundContentBuild, TheSameSourcesGiveTheSameFiles) {
  TTempDir Dir;
  size_t Checked = 0;
  for (const char* Area : {"sounds", "music"}) {
    for (const TMadeFile& F : MadeFiles(Area)) {
      SCOPED_TRACE(F.Output);
      const std::string Again = Dir.File("again");
      std::string Sources;
      std::istringstream In(F.Sources);
      std::string S;
      while (In >> S) Sources += " " + ShellQuote(S);
      // sqsynth takes the source first, sqtracker the output first.
      const bool Synth = F.Tool.find("sqsynth") != std::string::npos;
      const std::string Command = ShellQuote(F.Tool) +
                                  (Synth ? Sources + " " + ShellQuote(Again) : " " + ShellQuote(Again) + Sources) +
                                  " 2>&1";
      ASSERT_EQ(RunCommand(Command), 0) << Command;
      EXPECT_EQ(ReadFileBytes(Again), ReadFileBytes(F.Output));
      ++Checked;
    }
  }
  EXPECT_EQ(Checked, 11u + 8u);
}

// The tools on small sources of our own, checked through the mixer.
class SoundMakersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* Area : {"sounds", "music"}) {
      const auto Made = MadeFiles(Area);
      ASSERT_FALSE(Made.empty());
      (std::string(Area) == "sounds" ? Synth : Tracker) = Made.front().Tool;
    }
    ASSERT_TRUE(System.Start(kNoOutputDevice, 0));
  }

  // Runs a tool; its exit code, with its error output in Errors.
  int Run(const std::string& Tool, const std::string& Args, std::string* Errors = nullptr) {
    return RunCommand(ShellQuote(Tool) + " " + Args + " 2>&1", Errors);
  }

  std::vector<int16_t> RenderModule(const std::string& Source, double Seconds) {
    WriteFileText(Dir.File("song.tune"), Source);
    std::string Errors;
    EXPECT_EQ(Run(Tracker, ShellQuote(Dir.File("song.xm")) + " " + ShellQuote(Dir.File("song.tune")), &Errors), 0)
        << Errors;
    Bytes = ReadFileBytes(Dir.File("song.xm"));
    TSoundLocation Where{true, Bytes.data(), "", 0, static_cast<int64_t>(Bytes.size())};
    const TSoundHandle M = System.LoadModule(Where, SoundFlags::Loop, 0);
    EXPECT_NE(M, 0u);
    System.Play(M, true);
    return Render(System, static_cast<size_t>(Seconds * kRate));
  }

  TTempDir Dir;
  std::string Synth, Tracker;
  TSoundSystem System;
  std::vector<uint8_t> Bytes;
};

TEST_F(SoundMakersTest, SynthKeepsTheDeclaredLengthPeakAndPitchThroughMp3) {
  WriteFileText(Dir.File("tone.sfx"),
                "; a test tone\nsound length=0.3 peak=-6\nlayer wave=sine freq=1000 attack=0.001\n");
  std::string Errors;
  ASSERT_EQ(Run(Synth, ShellQuote(Dir.File("tone.sfx")) + " " + ShellQuote(Dir.File("tone.mp3")), &Errors), 0)
      << Errors;
  Bytes = ReadFileBytes(Dir.File("tone.mp3"));
  ASSERT_GT(Bytes.size(), 10u);
  EXPECT_NE(std::string(Bytes.begin(), Bytes.begin() + 3), "ID3") << "no tag";
  TSoundLocation Where{true, Bytes.data(), "", 0, static_cast<int64_t>(Bytes.size())};
  const TSoundHandle S = System.LoadSample(Where, 1, 0);
  ASSERT_NE(S, 0u);
  ASSERT_TRUE(System.Play(System.SampleChannel(S, false), false));
  const auto Frames = Render(System, kRate);
  const auto [First, Last] = AudibleSpan(Frames, 104);
  // The encoder's delay is taken off again by the decoder.
  EXPECT_LE(First, kRate / 500);
  EXPECT_NEAR(static_cast<double>(Last + 1 - First) / kRate, 0.3, 0.005);
  EXPECT_NEAR(20 * std::log10(Peak(Frames) / 32768.0), -6.0, 0.5);
  EXPECT_NEAR(Frequency(Left(Frames), 0.05, 0.25), 1000.0, 5.0);
}

TEST_F(SoundMakersTest, TrackerNotesAndDrumsSoundAtTheirPitch) {
  const auto Frames = RenderModule(
      "bpm 125\n"
      "instrument tone env=0,0,1,0.05\n  layer wave=sine\n"
      "instrument low period=400 env=0,0,1,0.05\n  layer wave=sine\n"
      "drum beep length=0.6\n  layer wave=sine freq=1000\n"
      "melody m inst=tone\n  a4 . . . . . . . . . . . . . . .\n  e5 . . . . . . . . . . . . . . .\n"
      "melody n inst=low\n  a2 . . . . . . . . . . . . . . .\n"
      "drums d\n  beep x . . . . . . . . . . . . . . .\n"
      "section s bars=2 lead=m\nsection t bars=1 lead=n\nsection u bars=1 drums=d\n"
      "play s t u\n",
      8.0);
  const double Bar = 16 * 6 * 2.5 / 125;  // seconds
  const auto L = Left(Frames);
  EXPECT_NEAR(Frequency(L, 0.2, Bar - 0.2), 440.0, 2.0);
  EXPECT_NEAR(Frequency(L, Bar + 0.2, 2 * Bar - 0.2), 659.26, 3.0);
  EXPECT_NEAR(Frequency(L, 2 * Bar + 0.2, 3 * Bar - 0.2), 110.0, 1.0);
  EXPECT_NEAR(Frequency(L, 3 * Bar + 0.05, 3 * Bar + 0.5), 1000.0, 5.0);
}

TEST_F(SoundMakersTest, HeldNotesLoopTheirSampleWithoutASeam) {
  // Two slightly detuned sines: smooth, so a seam in the sample loop would
  // be the largest step by far. The second one's ratio must be rounded to
  // whole cycles per loop (102 in 100) for the loop to join; it then beats
  // twice per loop, so the first loop shows the largest honest step.
  const auto Frames = RenderModule(
      "bpm 125\n"
      "instrument pad env=0,0,1,0.1 cycles=100\n  layer wave=sine\n  layer wave=sine ratio=1.0213\n"
      "melody m inst=pad\n  a4 . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . .\n"
      "section s bars=2 lead=m\nplay s\n",
      3.0);
  const auto L = Left(Frames);
  double FirstLoop = 0, Held = 0;
  for (size_t I = 500; I < L.size() - 2000; ++I) {
    double& Max = I < 9900 ? FirstLoop : Held;
    Max = std::max(Max, std::fabs(L[I] - L[I - 1]));
  }
  ASSERT_GT(FirstLoop, 100.0);
  EXPECT_LE(Held, FirstLoop * 1.05);
}

TEST_F(SoundMakersTest, BadSourcesFailWithTheFileAndLine) {
  const std::map<std::string, std::string> BadTunes = {
      {"instrument x vol=65\n  layer wave=sine\n", "line 1"},
      {"chords c C Xm\nmelody m\n  c5\nsection s chords=c pad=m\nplay s\n", "cannot play"},
      {"instrument lead\n  layer wave=sine\nmelody m\n  c5 h5\nsection s lead=m\nplay s\n", "not a note"},
      {"instrument lead\n  layer wave=sine\nmelody m\n  c5\nsection s bars=17 lead=m\nplay s\n", "256 rows"},
      {"instrument lead\n  layer wave=sine\nmelody m\n  c9\nsection s lead=m\nplay s\n", "not a note"},
      {"instrument lead\n  layer wave=sine\nmelody m\n  c5\nsection s lead=m\nplay s t\n", "unknown section"},
      {"instrument lead\n  layer wave=sine\n  layer decay=-1\n", "line 3"},
  };
  for (const auto& [Source, Message] : BadTunes) {
    WriteFileText(Dir.File("bad.tune"), Source);
    std::string Errors;
    EXPECT_EQ(Run(Tracker, ShellQuote(Dir.File("bad.xm")) + " " + ShellQuote(Dir.File("bad.tune")), &Errors), 1)
        << Source;
    EXPECT_NE(Errors.find("sqtracker: "), std::string::npos) << Errors;
    EXPECT_NE(Errors.find(Message), std::string::npos) << Source << " gave " << Errors;
  }
  const std::map<std::string, std::string> BadSounds = {
      {"layer wave=sine\n", "no 'sound' line"},
      {"sound length=0.2\nlayer wave=hum\n", "line 2: unknown wave"},
      {"sound length=0.2\nlayer duty=1\n", "duty"},
      {"sound length=0\nlayer wave=sine\n", "length"},
      {"sound length=0.2\nlayer cutoff=abc\n", "not a number"},
  };
  for (const auto& [Source, Message] : BadSounds) {
    WriteFileText(Dir.File("bad.sfx"), Source);
    std::string Errors;
    EXPECT_EQ(Run(Synth, ShellQuote(Dir.File("bad.sfx")) + " " + ShellQuote(Dir.File("bad.mp3")), &Errors), 1)
        << Source;
    EXPECT_NE(Errors.find(Message), std::string::npos) << Source << " gave " << Errors;
  }
}

}  // namespace
