#include "game/options_screen.h"

#include <cmath>
#include <string>

#include "audio/music_collection.h"
#include "audio/wave_collection.h"
#include "game/help_overlay.h"
#include "game/settings.h"
#include "graphics/image.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "shell/toolbox.h"
#include "shell/web_bridge.h"

std::unique_ptr<TOptions> Options;

namespace {

// The box: centred in the 640 by 480 screen, four rows of 36 pixels.
constexpr int kBoxX = 60, kBoxY = 168, kBoxWidth = 520, kBoxHeight = 144;
constexpr uint8_t kHalfAlpha = 128, kOpaque = 255;

const char* const kPercentOptions = "{0%=0|10%=1|20%=2|30%=3|40%=4|50%=5|60%=6|70%=7|80%=8|90%=9|100%=10}";

// The option value of a volume: tenths, rounded.
std::string Tenths(float Volume) { return std::to_string(std::lround(Volume * 10)); }

}  // namespace

TOptions::TOptions() : Menu(std::make_unique<TMenu>()) {
  Menu->Setup("X=" + std::to_string(kBoxX + kBoxWidth / 2) + "|Y=" + std::to_string(kBoxY + kBoxHeight / 2) +
              "|Width=" + std::to_string(kBoxWidth) + "|Height=" + std::to_string(kBoxHeight) +
              "|AlignX=center|AlignY=center|CycleOptions=N|"
              "Font1=0|Font2=5|Font3=3|TextAlign=Center|TextOffsetY=0|RowHeight=36|"
              "KeyUp=Up|KeyDown=Down|KeyLeft=Left|KeyRight=Right|KeySelect=Return|KeyEscape=Escape");
  Menu->Setup(std::string("ItemExt=\"@OPTIONS\" \"Back=B\" \"%MV%Music volume: ") + kPercentOptions + "\"");
  Menu->Setup(std::string("ItemExt=\"%SV%Effects volume ") + kPercentOptions + "\"");
  const float Music = Config ? Config->MusicVolume : 1.0f;
  const float Effects = Config ? Config->EffectsVolume : 1.0f;
  Menu->SetOption("MV", Tenths(Music));
  Menu->SetOption("SV", Tenths(Effects));
}

TOptions::~TOptions() = default;

void TOptions::Run() {
  VXWeb::NoteScreen("options");
  Begin();
  while (Step()) {}
  End();
}

void TOptions::Begin() {
  Menu->Finished = false;
  Menu->SelectById("B");
  FSaved = std::make_unique<TImage>(640, 480);
  VX_SDL::GrabImage(0, 0, *FSaved);
  // Over black, half alpha shows the screen behind at half brightness.
  FSaved->SetAlpha(kHalfAlpha);
  VX_SDL::Clear(0, 0, 0);
  VX_SDL::PutImage(0, 0, *FSaved);
}

bool TOptions::Step() {
  Menu->Update();
  ApplyVolumes();
  VX_SDL::FillRect(kBoxX + 1, kBoxY + 1, kBoxWidth - 2, kBoxHeight - 2, 0, 0, 0);
  VX_SDL::FrameRect(kBoxX, kBoxY, kBoxWidth, kBoxHeight, 112, 112, 112);
  Menu->Draw();
  VX_SDL::Flip();
  VX_SDL::PollEvents();
  if (HelpOnH(THelpScreen::Options)) VX_SDL::ClearKeys();
  // Choosing a volume row does not leave the screen.
  const std::string Row = Menu->SelectedId();
  if (Menu->Finished && (Menu->ExitKey == VXKey::Return || Menu->ExitKey == VXKey::Space) &&
      (Row == "MV" || Row == "SV"))
    Menu->Finished = false;
  return !Menu->Finished;
}

void TOptions::End() {
  if (!FSaved) return;
  FSaved->SetAlpha(kOpaque);
  VX_SDL::PutImage(0, 0, *FSaved);
  FSaved.reset();
}

void TOptions::ApplyVolumes() {
  if (!Config) return;
  const auto Volume = [this](const char* Id) {
    return static_cast<float>(VXToolbox::StrToIntDef(Menu->GetOption(Id), 0) / 10.0);
  };
  const float Music = Volume("MV"), Effects = Volume("SV");
  if (Music != Config->MusicVolume) {
    Config->MusicVolume = Music;
    if (MusicCollection) MusicCollection->SetMasterVolume(Music);
  }
  if (Effects != Config->EffectsVolume) {
    Config->EffectsVolume = Effects;
    if (WaveCollection) WaveCollection->SetMasterVolume(Effects);
  }
}
