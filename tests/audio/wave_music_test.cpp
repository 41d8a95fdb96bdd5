#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "audio/music.h"
#include "audio/music_collection.h"
#include "audio/wave.h"
#include "tests/audio/audio_fixture.h"
#include "tests/support/scope_guard.h"

using namespace TestSounds;

namespace {
class WaveTest : public AudioFixture {};
class MusicTest : public AudioFixture {};
class VXAudioTest : public AudioFixture {};

float SampleVolume(const TWave& W) {
  TSampleInfo Info;
  SoundSystem->GetSampleInfo(W.Handle(), Info);
  return Info.Volume;
}
}  // namespace

TEST_F(WaveTest, LoadsAFileOnDiskInPlaceAndPlays) {
  const std::string Path = File("tone.wav", Wav(Sine(440, 0.2, 44100), 44100));
  {
    TWave W(Path, false, 1);
    ASSERT_NE(W.Handle(), 0u);
    EXPECT_EQ(W.BufferSize(), -1);
    W.Play();
    EXPECT_GT(Rms(Render(4410), 0, 4410), 10000);
    EXPECT_TRUE(Logged("<WaveUnit, TWave.Create> Not compressed"));
    EXPECT_TRUE(Logged("<WaveUnit, TWave.Create> BASS: Loading " + Path +
                       " was successful. (fWave=" + std::to_string(W.Handle()) + ")"));
  }
  EXPECT_TRUE(Logged("(WaveUnit, TWave.Destroy) BASS: Wave freed."));
}

TEST_F(WaveTest, CompressedResourceIsCopiedIntoMemory) {
  const auto Mp3Bytes = Mp3(Sine(440, 0.3, 44100), 44100);
  const std::string Path = ZlFile("tone.mp3.ZL", Mp3Bytes);
  TWave W(Path, false, 1);
  ASSERT_NE(W.Handle(), 0u);
  EXPECT_EQ(W.BufferSize(), static_cast<int32_t>(Mp3Bytes.size()));
  EXPECT_TRUE(Logged("<WaveUnit, TWave.Create> Compressed"));
  W.Play();
  EXPECT_GT(Rms(Render(8000), 2000, 8000), 5000);
}

TEST_F(WaveTest, MissingOrBrokenFileLeavesASilentWave) {
  {
    TWave W(Dir.File("missing.wav"), false, 1);
    EXPECT_EQ(W.Handle(), 0u);
    W.Play();
    W.SetVolume(1);
    W.SetPan(0);
    W.SetFrequency(1000);
    EXPECT_EQ(Rms(Render(100), 0, 100), 0);
  }
  EXPECT_TRUE(Logged("{WaveUnit, TWave.Create} BASS: Loading " + Dir.File("missing.wav") + " failed"));
  EXPECT_EQ(LogText().find("Could not play"), std::string::npos) << "a silent wave does not try";
  EXPECT_TRUE(Logged("(WaveUnit, TWave.Destroy) BASS: Wave freed."));

  const std::string Broken = File("broken.mp3.ZL", {1, 2, 3});  // not even zlib
  TWave B(Broken, false, 1);
  EXPECT_EQ(B.Handle(), 0u);
}

TEST_F(WaveTest, NoDeviceMeansNoSample) {
  SoundSystem = std::make_unique<TSoundSystem>();  // never started
  const std::string Path = File("tone.wav", Wav(Sine(440, 0.2, 44100), 44100));
  TWave W(Path, false, 1);
  EXPECT_EQ(W.Handle(), 0u);
  W.Play();
  W.SetVolume(0.5f);
  EXPECT_TRUE(Logged("{WaveUnit, TWave.Create} BASS: Loading " + Path + " failed"));
}

TEST_F(WaveTest, SettersChangeLaterPlaybacksAndPlayingOverItselfTakesOver) {
  const std::string Path = File("level.wav", Wav(std::vector<int16_t>(88200 * 2, 10000), 44100));
  TWave W(Path, false, 2);
  W.SetVolume(0.5f);
  W.SetPan(1);
  EXPECT_FLOAT_EQ(SampleVolume(W), 0.5f);
  W.Play();
  auto Out = Render(1);
  EXPECT_EQ(Out[0], 0);
  EXPECT_EQ(Out[1], 5000);
  W.SetPan(0);
  W.Play();
  W.Play();  // third playback with room for two: the first starts over
  Out = Render(1);
  EXPECT_EQ(Out[0], 10000) << "two centred voices at half volume";
  EXPECT_EQ(Out[1], 10000);
  W.SetFrequency(88200);  // double speed: the two-second sound lasts one
  W.Play();
  W.Play();
  Render(44100 - 1);
  EXPECT_GT(Rms(Render(10), 0, 10), 0);
  EXPECT_EQ(Rms(Render(10), 0, 10), 0);
}

TEST_F(MusicTest, Mp3NamesInAnyCaseAreStreamsThatLoop) {
  const auto Bytes = Mp3(Sine(440, 0.25, 44100), 44100);
  const std::string Lower = File("song.mp3", Bytes);
  const std::string Upper = File("SONG2.MP3", Bytes);
  TMusic A(Lower), B(Upper);
  EXPECT_TRUE(A.IsStream());
  EXPECT_TRUE(B.IsStream());
  ASSERT_NE(A.Handle(), 0u);
  EXPECT_EQ(A.BufferSize(), -1);
  EXPECT_TRUE(Logged("(MusicUnit, TMusic.Create) BASS: Loading " + Lower +
                     " was successful. (fMusic=" + std::to_string(A.Handle()) + ")"));
  A.Play();
  EXPECT_TRUE(Logged("(MusicUnit, TMusic.Play) BASS: Music started."));
  const auto Out = Render(44100);
  EXPECT_GT(Rms(Out, 40000, 44100), 5000) << "four times its length and still playing";
  A.Stop();
  EXPECT_TRUE(Logged("(MusicUnit, TMusic.Stop) BASS: Music stopped."));
  EXPECT_EQ(Rms(Render(100), 0, 100), 0);
}

TEST_F(MusicTest, OnlyTheExtensionIsNotAnMp3Name) {
  EXPECT_FALSE(TMusic::IsMp3Name(".MP3"));
  EXPECT_FALSE(TMusic::IsMp3Name("song.mp3.ZL"));
  EXPECT_TRUE(TMusic::IsMp3Name("a.Mp3"));
  {
    TMusic M(".MP3");  // a module, and no such resource
    EXPECT_FALSE(M.IsStream());
    EXPECT_EQ(M.Handle(), 0u);
    M.Play();
    M.Stop();
    M.SetVolume(1);
  }
  EXPECT_TRUE(Logged("{MusicUnit, TMusic.Create} BASS: Loading .MP3 failed"));
  EXPECT_EQ(LogText().find("Music started"), std::string::npos);
  EXPECT_TRUE(Logged("(MusicUnit, TMusic.Destroy) BASS: Music freed."));
}

TEST_F(MusicTest, ModuleIsCopiedAndItsVolumeClamped) {
  const auto Bytes = Xm();
  TMusic M(File("song.xm", Bytes));
  ASSERT_NE(M.Handle(), 0u);
  EXPECT_FALSE(M.IsStream());
  EXPECT_EQ(M.BufferSize(), static_cast<int32_t>(Bytes.size()));
  float V = -1;
  M.SetVolume(1.5f);
  SoundSystem->GetAttribute(M.Handle(), TSoundAttribute::Volume, V);
  EXPECT_EQ(V, 1.0f);
  M.SetVolume(-0.2f);
  SoundSystem->GetAttribute(M.Handle(), TSoundAttribute::Volume, V);
  EXPECT_EQ(V, 0.0f);
  M.SetVolume(0.25f);
  SoundSystem->GetAttribute(M.Handle(), TSoundAttribute::Volume, V);
  EXPECT_EQ(V, 0.25f);
}

TEST_F(MusicTest, ASongIsReadAgainEachTimeItStarts) {
  const std::string Path = File("song.xm", Xm());
  TMusic M(Path);
  ASSERT_NE(M.Handle(), 0u);
  // Gone by the time it is to play: it stays silent, and the next start
  // finds it again.
  std::remove(Path.c_str());
  M.Play();
  EXPECT_FALSE(SoundSystem->IsPlaying(M.Handle()));
  EXPECT_EQ(Rms(Render(4000), 0, 4000), 0);
  File("song.xm", Xm());
  M.Play();
  EXPECT_TRUE(SoundSystem->IsPlaying(M.Handle()));
  EXPECT_GT(Rms(Render(8000), 0, 8000), 300);
}

TEST_F(MusicTest, SongsThatArriveLateLoadAndPlayAsAsked) {
  // The page fetches the songs after the game has started: the collection
  // is loaded before their files are there.
  const std::string Path = Dir.File("late.xm"), Other = Dir.File("later.xm");
  TMusicCollection Songs;
  Songs.Add(std::make_unique<TMusicCollectionItem>("a", std::make_unique<TMusic>(Path)));
  Songs.Add(std::make_unique<TMusicCollectionItem>("b", std::make_unique<TMusic>(Other)));
  TMusic& A = *Songs.Get(0)->Music;
  TMusic& B = *Songs.Get(1)->Music;
  ASSERT_EQ(A.Handle(), 0u);
  Songs.SetMasterVolume(0.5f);
  A.Play();  // the screen's song: it is to start once it is there
  B.Play();
  B.Stop();  // another screen's, over by then
  EXPECT_EQ(Songs.LoadLate(), 0) << "nothing there yet";

  File("late.xm", Xm());
  File("later.xm", Xm());
  EXPECT_EQ(Songs.LoadLate(), 2);
  ASSERT_NE(A.Handle(), 0u);
  EXPECT_TRUE(SoundSystem->IsPlaying(A.Handle()));
  EXPECT_FALSE(SoundSystem->IsPlaying(B.Handle()));
  float V = -1;
  SoundSystem->GetAttribute(A.Handle(), TSoundAttribute::Volume, V);
  EXPECT_EQ(V, 0.5f) << "the collection's volume, set before the song was there";
  EXPECT_GT(Rms(Render(8000), 0, 8000), 300);
  EXPECT_EQ(Songs.LoadLate(), 0) << "loaded once";
  EXPECT_TRUE(A.LoadLate());
}

TEST_F(VXAudioTest, InitOpensTheDeviceOrLogsWhyNot) {
  VXAudio::Init_Audio();
  EXPECT_TRUE(Logged("(VXAudio, Init_Audio) BASS V2.4 loaded."));
  if (VXAudio::AudioInitialized) {
    EXPECT_TRUE(Logged("(VXAudio, Init_Audio) BASS: Device initialized."));
    VXAudio::Finalize();
    EXPECT_TRUE(Logged("(VXAudio, Finalize) BASS: Shutdown..."));
  } else {
    EXPECT_TRUE(Logged("{VXAudio, Init_Audio} BASS: Can't initialize device!"));
  }
  EXPECT_FALSE(VXAudio::AudioInitialized);
}

TEST_F(VXAudioTest, UnavailableDriverIsNoDeviceAndLoadsFail) {
  {
    const char* Old = std::getenv("SDL_AUDIODRIVER");
    TScopeGuard Driver([Saved = std::string(Old ? Old : "")] { setenv("SDL_AUDIODRIVER", Saved.c_str(), 1); });
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SoundSystem = std::make_unique<TSoundSystem>();
    VXAudio::Init_Audio();
  }
  EXPECT_FALSE(VXAudio::AudioInitialized);
  EXPECT_TRUE(Logged("{VXAudio, Init_Audio} BASS: Can't initialize device!"));
  TMusic M(File("song.xm", Xm()));
  EXPECT_EQ(M.Handle(), 0u);
  VXAudio::Finalize();
  EXPECT_EQ(LogText().find("Shutdown"), std::string::npos) << "nothing to shut down";
}
