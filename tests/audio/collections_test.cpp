#include <gtest/gtest.h>

#include "audio/music_collection.h"
#include "audio/play_lists.h"
#include "audio/wave_collection.h"
#include "config/ini_file.h"
#include "tests/audio/audio_fixture.h"

using namespace TestSounds;

namespace {

class WaveCollectionTest : public AudioFixture {
 protected:
  void SetUp() override {
    AudioFixture::SetUp();
    Tone = File("tone.wav", Wav(Sine(440, 0.1, 44100), 44100));
  }
  float Volume(const TWaveCollectionItem* Item) {
    TSampleInfo Info;
    SoundSystem->GetSampleInfo(Item->Wave->Handle(), Info);
    return Info.Volume;
  }
  std::string Tone;
};

class MusicCollectionTest : public AudioFixture {};
class PlayListsTest : public AudioFixture {};

std::unique_ptr<TIniFile> Ini(const std::string& Text) { return TIniFile::CreateFromText(Text); }

}  // namespace

TEST_F(WaveCollectionTest, LoadsInOrderWithSettingsAndLooksUpByExactName) {
  const std::string LongName(70, 'n');
  auto I =
      Ini("[*Waves]\nEatSand\nBoom\nGhost\nLong\n"
          "[Waves.EatSand]\nFile=" +
          Tone +
          "\nVolume=60\nLooped=No\n"
          "[Waves.Boom]\nFile=" +
          Tone +
          "\nName=Explosion\nMax=3\nFrequency=22050\nPan=-50\n"
          "[Waves.Long]\nFile=" +
          Tone + "\nName=" + LongName + "\n");
  TWaveCollection C;
  C.Load(*I, "Waves");
  ASSERT_EQ(C.Count(), 3);
  EXPECT_EQ(C.Get(0)->Name, "EatSand");
  EXPECT_FLOAT_EQ(C.Get(0)->Volume, 0.6f);
  EXPECT_EQ(C.Get(1)->Name, "Explosion");
  EXPECT_EQ(C.Get(2)->Name, LongName.substr(0, 64));
  EXPECT_EQ(C.Get(3), nullptr);
  EXPECT_EQ(C.Get(-1), nullptr);

  EXPECT_EQ(C.ItemByName("Explosion"), C.Get(1));
  EXPECT_EQ(C.ItemByName("explosion"), nullptr) << "letter case counts";
  EXPECT_EQ(C.ItemByName("Boom"), nullptr) << "only the Name value";

  TSampleInfo Info;
  ASSERT_TRUE(SoundSystem->GetSampleInfo(C.Get(1)->Wave->Handle(), Info));
  EXPECT_EQ(Info.Frequency, 22050);
  EXPECT_FLOAT_EQ(Info.Pan, -0.5f);
  EXPECT_EQ(Info.Max, 3);
  EXPECT_FLOAT_EQ(Volume(C.Get(0)), 0.6f) << "own volume at load, no master yet";
  EXPECT_FLOAT_EQ(C.MasterVolume(), 0.0f);

  EXPECT_TRUE(Logged("[WaveCollectionUnit, TWaveCollection.LoadItem] Item not found! (Waves.Ghost)"));
  EXPECT_TRUE(Logged("[WaveCollectionUnit, TWaveCollection.LoadItem] File not specified! (Waves.Ghost)"));
}

TEST_F(WaveCollectionTest, MasterVolumeScalesEachEffectAndIsClamped) {
  auto I = Ini("[*Waves]\nA\nB\n[Waves.A]\nFile=" + Tone + "\nVolume=60\n[Waves.B]\nFile=" + Tone + "\n");
  TWaveCollection C;
  C.Load(*I, "Waves");
  C.SetMasterVolume(0.5f);
  EXPECT_FLOAT_EQ(Volume(C.Get(0)), 0.3f);
  EXPECT_FLOAT_EQ(Volume(C.Get(1)), 0.5f);
  C.SetMasterVolume(2);
  EXPECT_FLOAT_EQ(C.MasterVolume(), 1.0f);
  EXPECT_FLOAT_EQ(Volume(C.Get(0)), 0.6f);
  C.SetMasterVolume(-1);
  EXPECT_FLOAT_EQ(C.MasterVolume(), 0.0f);
  // The master volume reaches the mix.
  C.SetMasterVolume(0.5f);
  C.Get(1)->Wave->Play();
  const auto Half = Render(2000);
  C.SetMasterVolume(1);
  C.Get(1)->Wave->Play();
  const auto Full = Render(2000);
  EXPECT_NEAR(Rms(Half, 0, 2000) * 2, Rms(Full, 0, 2000), 2);
}

TEST_F(WaveCollectionTest, WrongOrMissingListSectionLoadsNothing) {
  auto I = Ini("[Waves]\nA=1\n");
  TWaveCollection C;
  C.Load(*I, "Waves");
  C.Load(*I, "Sounds");
  EXPECT_EQ(C.Count(), 0);
  EXPECT_TRUE(Logged("{WaveCollectionUnit, TWaveCollection.Load} Section type must be List! (Waves)"));
  EXPECT_TRUE(Logged("{WaveCollectionUnit, TWaveCollection.Load} Section not found in INI file+ (Sounds)"));
}

TEST_F(WaveCollectionTest, LoadFromFileAndItemsLogTheirEnd) {
  const std::string IniPath = File("controls.ini", {});
  WriteFileText(IniPath, "[*Waves]\r\nEatSand\r\n[Waves.EatSand]\r\nFile=" + Tone + "\r\n");
  {
    TWaveCollection C;
    C.LoadFromFile(IniPath, "Waves");
    ASSERT_EQ(C.Count(), 1);
    EXPECT_NE(C.Get(0)->Wave->Handle(), 0u);
  }
  EXPECT_TRUE(Logged("<WaveCollectionUnit, TWaveCollectionItem.Destroy> Destroying wave EatSand"));
  TWaveCollection C;
  EXPECT_THROW(C.LoadFromFile(Dir.File("nothing.ini"), "Waves"), EOpenStream);
}

TEST_F(MusicCollectionTest, CountedFormComesInReverseWithDefaults) {
  const std::string Song = File("song.xm", Xm());
  std::string Text = "[Music]\nNumberOfSongs=8\n";
  const std::string Names = "abcdefgh";
  for (int N = 1; N <= 8; ++N)
    Text += "[Music.Song" + std::to_string(N) + "]\nFile=" + Song + "\nName=" + Names[N - 1] + "\nAuthor=Someone\n";
  Text += "[Music.Song9]\nFile=" + Song + "\n";  // beyond the count
  auto I = Ini(Text);
  TMusicCollection C;
  C.Load(*I, "Music");
  ASSERT_EQ(C.Count(), 8);
  for (int K = 0; K < 8; ++K) EXPECT_EQ(C.Get(K)->Name, std::string(1, Names[7 - K]));
  EXPECT_EQ(C.Get(0)->Author, "Someone");
  EXPECT_EQ(C.Get(0)->Title, "Song8");
  EXPECT_EQ(C.Get(0)->OriginalFilename, "Song8");
  EXPECT_NE(C.Get(0)->Music->Handle(), 0u);
  EXPECT_EQ(C.IndexOfName("c"), 5);
  EXPECT_EQ(C.IndexOfName("C"), -1);
  EXPECT_EQ(C.ItemByName("h"), C.Get(0));

  C.ListSongs();
  EXPECT_NE(LogText().find("< Trace > MusicCollection listing starts.\r\n< Trace > 1. h\r\n< Trace > 2. g\r\n"),
            std::string::npos);
  EXPECT_TRUE(Logged("< Trace > 8. a\r\n< Trace > MusicCollection listing ends."));
}

TEST_F(MusicCollectionTest, CountedFormSkipsAndDefaults) {
  auto I =
      Ini("[Music]\nNumberOfSongs=2000000000\n"
          "[Music.Song3]\nFile=" +
          File("song.xm", Xm()) +
          "\nTitle=A rather long title for a song\n"
          "[Music.Song2]\nFile=*\n"
          "[Music.Song1]\nFile=" +
          Dir.File("missing.xm") + "\n");
  TMusicCollection C;
  C.Load(*I, "Music");
  ASSERT_EQ(C.Count(), 2);
  EXPECT_EQ(C.Get(0)->Name, "A rather long title for ") << "the title cut to 24";
  EXPECT_EQ(C.Get(0)->Title, "A rather long title for a song");
  EXPECT_EQ(C.Get(1)->Name, "Song1");
  EXPECT_EQ(C.Get(1)->Author, "Mr.Anonymous");
  EXPECT_EQ(C.Get(1)->Music->Handle(), 0u) << "a failed song stays, silent";

  TMusicCollection Empty;
  Empty.Load(*I, "NoSuchSection");
  EXPECT_EQ(Empty.Count(), 0);
}

TEST_F(MusicCollectionTest, ListFormKeepsOrderAndCutsNames) {
  const std::string Song = File("song.xm", Xm());
  auto I =
      Ini("[*Songs]\nIntro\nSkipped\nAVeryLongSongNameIndeedYesReally\n"
          "[Songs.Intro]\nFile=" +
          Song +
          "\nAuthor=Me\n"
          "[Songs.AVeryLongSongNameIndeedYesReally]\nFile=" +
          Song +
          "\n"
          "[*PlayLists]\nAll\n[*PlayLists.All]\nIntro\nAVeryLongSongNameIndeedY\nAVeryLongSongNameIndeedYesReally\n");
  TMusicCollection C;
  C.Load(*I, "Songs");
  ASSERT_EQ(C.Count(), 2);
  EXPECT_EQ(C.Get(0)->Name, "Intro");
  EXPECT_EQ(C.Get(0)->Title, "Intro");
  EXPECT_EQ(C.Get(0)->Author, "Me");
  EXPECT_EQ(C.Get(0)->OriginalFilename, "Unknown");
  EXPECT_EQ(C.Get(1)->Name, "AVeryLongSongNameIndeedY");
  EXPECT_EQ(C.Get(1)->Title, "AVeryLongSongNameIndeedY") << "the title defaults to the cut name";

  // A playlist entry must use the cut name.
  TPlayLists P;
  P.Load(*I, "PlayLists");
  const auto& Entries = P.ByName("All")->Songs();
  EXPECT_NE(C.ItemByName(Entries[1]), nullptr);
  EXPECT_EQ(C.ItemByName(Entries[2]), nullptr);
}

TEST_F(MusicCollectionTest, MasterVolumeReachesSongsOnlyWhenApplied) {
  auto I = Ini("[*Songs]\nA\n[Songs.A]\nFile=" + File("song.xm", Xm()) + "\n");
  TMusicCollection C;
  C.Load(*I, "Songs");
  EXPECT_FLOAT_EQ(C.MasterVolume(), 1.0f);
  const TSoundHandle H = C.Get(0)->Music->Handle();
  float V = -1;
  C.SetMasterVolume(0.4f);
  SoundSystem->GetAttribute(H, TSoundAttribute::Volume, V);
  EXPECT_FLOAT_EQ(V, 0.4f);
  C.ApplyVolume = false;
  C.SetMasterVolume(3);
  EXPECT_FLOAT_EQ(C.MasterVolume(), 1.0f);
  SoundSystem->GetAttribute(H, TSoundAttribute::Volume, V);
  EXPECT_FLOAT_EQ(V, 0.4f) << "stored only";
}

TEST_F(PlayListsTest, LoadsListsInOrderAndFindsThemByExactName) {
  auto I =
      Ini("[*PlayLists]\nList\nInGame\nEmpty\n"
          "[*PlayLists.List]\na\n[*PlayLists.InGame]\nb\nc\nd\ne\nf\n");
  TPlayLists P;
  P.Load(*I, "PlayLists");
  ASSERT_EQ(P.Count(), 3);
  EXPECT_EQ(P.Get(1)->Name, "InGame");
  EXPECT_EQ(P.ByName("InGame"), P.Get(1));
  EXPECT_EQ(P.ByName("ingame"), nullptr);
  EXPECT_EQ(P.ByName("Empty")->Count(), 0);
  EXPECT_TRUE(Logged("[VXINIFile, TIniFile.ListItemCount] Section not found! (PlayLists.Empty)"));
  EXPECT_EQ(P.Get(1)->Songs(), (std::vector<std::string>{"b", "c", "d", "e", "f"}));
}

TEST(PlayListTest, StepsWrapAtBothEnds) {
  TPlayList L("InGame");
  for (const char* S : {"b", "c", "d", "e", "f"}) L.Add(S);
  std::string Song;
  L.GetCurrentSong(Song);
  EXPECT_EQ(Song, "b");
  L.SetCurrentSong(4);
  L.Next();
  EXPECT_EQ(L.CurrentSong, 0);
  L.Previous();
  EXPECT_EQ(L.CurrentSong, 4);
  L.GetCurrentSong(Song);
  EXPECT_EQ(Song, "f");
  L.SetCurrentSong(5);
  EXPECT_EQ(L.CurrentSong, 4);
  L.SetCurrentSong(-1);
  EXPECT_EQ(L.CurrentSong, 4);
}

TEST(PlayListTest, EmptyListAlwaysGivesNoSong) {
  TPlayList L("Nothing");
  std::string Song = "x";
  for (int I = 0; I < 3; ++I) L.Next();
  L.GetCurrentSong(Song);
  EXPECT_EQ(Song, "");
  for (int I = 0; I < 5; ++I) L.Previous();
  Song = "x";
  L.GetCurrentSong(Song);
  EXPECT_EQ(Song, "");
}
