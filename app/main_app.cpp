#include "app/main_app.h"

#include <chrono>
#include <iostream>
#include <stdexcept>
#include <thread>

#include "app/coder.h"
#include "app/modules.h"
#include "audio/music_collection.h"
#include "audio/play_lists.h"
#include "audio/vx_audio.h"
#include "audio/wave_collection.h"
#include "editor/edit_pack_check.h"
#include "editor/editor_screen.h"
#include "game/game_flow.h"
#include "game/options_screen.h"
#include "game/settings.h"
#include "game/splash_screen.h"
#include "graphics/font_collection.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "shell/logger.h"
#include "shell/parameters.h"
#include "shell/random.h"
#include "shell/toolbox.h"
#include "shell/web_bridge.h"
#include "storage/mad4_high_level.h"
#include "storage/stream_opener.h"

namespace {
constexpr const char* kCreateHeading = "SQMainUnit, TMain.Create";
// Font of the "Press Space!" prompt per eight frames: white, flashing red twice.
constexpr int kPromptFonts[16] = {7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 4, 7, 4};
}  // namespace

std::string TMain::Caption(const std::string& Version, const std::string& Build, const std::string& Date) {
  return "Starquarry V" + Version + " Build " + Build + " (" + Date + ")";
}

TMain::TMain(const std::string& Version, const std::string& Build, const std::string& Date) {
  if (StreamOpener) StreamOpener->CacheEnabled = false;
  VXRandom::Seed(static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count()));
  const std::string Title = Caption(Version, Build, Date);
  Log->Banner(Title, kCreateHeading);
  HandleParameters();
  RefuseUneditablePack();

  // -scale N (1 to 4) or auto: the window N times as large, the picture enlarged.
  if (const std::string Scale = Parameters ? Parameters->SwitchValue("scale", false) : ""; !Scale.empty())
    VX_SDL::SetWindowScale(VXToolbox::SameText(Scale, "auto") ? VX_SDL::DesktopScale(640, 480)
                                                              : static_cast<int>(VXToolbox::StrToIntDef(Scale, 1)));
  VX_SDL::Initialize(640, 480, 32, VX_SDL::kUseSecondary | (FullScreen ? VX_SDL::kFullScreen : 0));
  VXAudio::Init_Audio();
  VX_SDL::SetCaption(Title);
  VX_SDL::ShowCursor(false);
  VX_SDL::SetFrameRate(60);

  const std::string Program = Parameters ? Parameters->Get(0) : ExecutablePath();
  const std::string Archive = VXToolbox::ExtractFileDir(Program) + "Starquarry.mad4";
  if (VolumeManager) VolumeManager->Mount(VXToolbox::FileExists(Archive) ? Archive : Program, 100, true);
  // A test run leaves the audio device to the process's end.
  if (TestMapIndex != -1) VXAudio::AudioInitialized = false;

  if (FontCollection) FontCollection->LoadFromFile("controls.ini", "Game.Fonts");
  Splash = std::make_unique<TSplashScreen>(Version, Build);
  Splash->Draw();
  VXWeb::NoteScreen("splash");
  VX_SDL::Flip();

  if (WaveCollection) WaveCollection->LoadFromFile("controls.ini", "Waves");
  if (PlayLists) PlayLists->LoadFromFile("controls.ini", "PlayLists");
  if (MusicCollection) {
    MusicCollection->LoadFromFile("controls.ini", "Music");
    MusicCollection->ListSongs();
  }
  // Last: its menu takes its fonts from the collection loaded above.
  Options = std::make_unique<TOptions>();
}

void TMain::RefuseUneditablePack() {
  const std::string Pack = Parameters ? Parameters->SwitchValue("edit", false) : "";
  const std::string Problem = Pack.empty() ? "" : EditPackProblem(Pack);
  if (Problem.empty()) return;
  // Known before a window opens: said where the command was typed.
  Log->Error(Problem, kCreateHeading);
  std::cerr << "starquarry: " << Problem << "\n";
  ShutdownAndExit(1);
}

TMain::~TMain() {
  Options.reset();
  VX_SDL::Finalize();
}

TLaunchRequest ReadLaunchRequest(TParameters& Params) {
  TLaunchRequest R;
  for (int I = 0; I < Params.Count(); ++I) Log->Trace(std::to_string(I) + ". " + Params.Get(I));
  R.FullScreen = Params.Exists("FullScreen");
  const int I = Params.FindSwitch("testmap", false);
  if (I > -1 && Params.Count() >= I + 3) {
    R.TestMapPack = Params.Get(I + 2);
    Log->Trace(R.TestMapPack);
    // A code that is not hexadecimal raises here and ends the start-up.
    const int32_t N = TCoder1732().Decode(Params.Get(I + 1));
    Log->TraceNumber(N);
    R.TestMapIndex = TCoder1732::MapIndex(N);
    if (R.TestMapIndex < 0) R.TestMapPack.clear();
  }
  return R;
}

void TMain::HandleParameters() {
  TestMapPack.clear();
  TestMapIndex = -1;
  if (!Parameters) return;
  const TLaunchRequest R = ReadLaunchRequest(*Parameters);
  FullScreen = R.FullScreen;
  TestMapPack = R.TestMapPack;
  TestMapIndex = R.TestMapIndex;
}

void TMain::ShowRefusal(const std::string& Reason, const std::vector<std::string>& Lines) {
  Log->Error("Not started: " + Reason, "SQMainUnit, TMain.Run");
  // Nothing of the other copy's may be written over, the settings neither.
  if (Config) Config->SaveAtStop = false;
  // The window's close button ends this copy as a key does, with code 1.
  VX_SDL::SetQuitHook([](int) { ShutdownAndExit(1); });
  // Below the splash's version line, in place of its closing credits.
  VX_SDL::FillBox(0, 312, 639, 479, 0, 0, 0);
  VXWeb::NoteScreen("refused");
  constexpr int kFirstY = 320, kLineStep = 30, kPromptY = 436;
  for (size_t I = 0; I + 1 < Lines.size() && FontCollection; ++I)
    FontCollection->DrawText(std::string(1, static_cast<char>(I == 0 ? 4 : 7)) + Lines[I], 320,
                             kFirstY + static_cast<int>(I) * kLineStep, kAlignCenter);
  VX_SDL::ClearKeys();
  const auto Until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (int Frame = 0; std::chrono::steady_clock::now() < Until; Frame = (Frame + 1) % 128) {
    if (FontCollection && !Lines.empty())
      FontCollection->DrawText(std::string(1, static_cast<char>(kPromptFonts[Frame / 8])) + Lines.back(), 320, kPromptY,
                               kAlignCenter);
    VX_SDL::Flip();
    std::this_thread::sleep_for(std::chrono::milliseconds(VX_SDL::TimeLeft()));
    VX_SDL::PollEvents();
    if (!VX_SDL::TakePresses().empty()) break;
  }
}

void TMain::Run() {
  if (MusicCollection && Config) MusicCollection->SetMasterVolume(Config->MusicVolume);
  if (WaveCollection && Config) WaveCollection->SetMasterVolume(Config->EffectsVolume);
  // -edit PACK.sq: the level editor instead of the game.
  if (const std::string Pack = Parameters ? Parameters->SwitchValue("edit", false) : ""; !Pack.empty()) {
    if (Splash) Splash->Hide();
    Splash.reset();
    TEditorScreen Editor(Pack, 0);
    if (!Editor.Run()) {
      std::cerr << "starquarry: " << Editor.Status() << "\n";
      throw std::runtime_error("cannot edit " + Pack + ": " + Editor.Status());
    }
    return;
  }
  // A shared map or run opens at once, as a link is expected to.
  const std::string Shared = Parameters ? Parameters->SwitchValue("shared", false) : "";
  if (TestMapIndex == -1 && Shared.empty()) {
    VX_SDL::FillBox(0, 436, 639, 463, 0, 0, 0);
    int Frame = 0;
    do {
      if (FontCollection)
        FontCollection->DrawText(std::string(1, static_cast<char>(kPromptFonts[Frame / 8])) + "Press Space!", 320, 436,
                                 kAlignCenter);
      VX_SDL::Flip();
      Frame = (Frame + 1) % 128;
      // Flip has just started the next frame: waiting it out too halves the prompt's pace.
      std::this_thread::sleep_for(std::chrono::milliseconds(VX_SDL::TimeLeft()));
      VX_SDL::PollEvents();
    } while (!VX_SDL::Keys[VXKey::Space]);
  }
  if (Splash) Splash->Hide();
  Splash.reset();
  TGame Game;
  Game.EditPack = &TEditorScreen::EditLoadedPack;
  Game.SharedCode = Shared;
  if (TestMapIndex == -1) Game.Run();
  else Game.PlayTestMap(TestMapPack, TestMapIndex);
}
