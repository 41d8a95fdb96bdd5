#include <cstdlib>
#include <exception>

#include "app/coder.h"
#include "app/modules.h"
#include "audio/music.h"
#include "audio/music_collection.h"
#include "audio/play_lists.h"
#include "audio/vx_audio.h"
#include "audio/wave.h"
#include "audio/wave_collection.h"
#include "config/ini_file.h"
#include "config/key_names.h"
#include "config/setup_command.h"
#include "game/settings.h"
#include "graphics/font.h"
#include "graphics/font_collection.h"
#include "graphics/image.h"
#include "graphics/image_collection.h"
#include "graphics/mask.h"
#include "graphics/picture_palette.h"
#include "graphics/picture_rle_reader.h"
#include "graphics/raw_picture.h"
#include "graphics/sprite.h"
#include "graphics/video.h"
#include "maps/tile_map.h"
#include "maps/xmap.h"
#include "registry/player_reg.h"
#include "shell/logger.h"
#include "shell/parameters.h"
#include "shell/toolbox.h"
#include "storage/coding.h"
#include "storage/compressor.h"
#include "storage/mad4_high_level.h"
#include "storage/rle.h"
#include "storage/stream_opener.h"
#include "storage/zstream.h"
#include "ui/edit_box.h"
#include "ui/list_box.h"
#include "ui/menu.h"
#include "ui/mouse_objects.h"
#include "ui/stack.h"
#include "ui/visual_component.h"

namespace {
bool Started = false;
size_t StartedCount = 0;
}  // namespace

const std::vector<TModule>& ModuleList() {
  // Modules that log only their "uses" line have no start or stop function.
  static const std::vector<TModule> List = {
      {"VXToolbox", VXToolbox::kVersion, nullptr, nullptr},
      {"MAD4LowLevelUnit", TMAD4LowLevel::kVersion, nullptr, nullptr},
      {"ZLib", kZLibVersion, nullptr, nullptr},
      {"MyZStreamUnit", kZStreamVersion, nullptr, nullptr},
      {"RLEUnit", kRLEVersion, nullptr, nullptr},
      {"HuffmanUnit", THuffman::kVersion, nullptr, nullptr},
      {"CodingUnit", kCodingVersion, nullptr, nullptr},
      {"CompressorUnit", TCompressor::kVersion, StartCompressor, StopCompressor},
      {"MAD4MidLevelUnit", TMAD4MidLevel::kVersion, nullptr, nullptr},
      {"MAD4HighLevelUnit", TMAD4HighLevel::kVersion, StartVolumeManager, StopVolumeManager},
      {"VXStream", TVXStreamOpener::kVersion, StartStreamOpener, StopStreamOpener},
      {"RawPictureReaderFASTUnit", TFastRleReader::kVersion, nullptr, nullptr},
      {"FastPaletteUnit", TFastPalette::kVersion, StartFastPalette, StopFastPalette},
      {"RawPictureUnit", TRawPicture::kVersion, nullptr, nullptr},
      {"ImageUnit", TImage::kVersion, StartImageUnit, StopImageUnit},
      // The quit event and a failed video start end the process through an orderly shutdown.
      {"VX_SDL", VX_SDL::kVersion,
       [] {
         VX_SDL::Start();
         VX_SDL::SetQuitHook(ShutdownAndExit);
       },
       VX_SDL::Stop},
      {"VXINIFile", TIniFile::kVersion, nullptr, nullptr},
      {"VXFonts", TFont::kVersion, nullptr, nullptr},
      {"FontCollectionUnit", TFontCollection::kVersion, StartFontCollection, StopFontCollection},
      {"Code1732Unit", TCoder1732::kVersion, StartCoder, StopCoder},
      {"VXAudio", VXAudio::kVersion, StartAudio, StopAudio},
      {"WaveUnit", TWave::kVersion, nullptr, nullptr},
      {"WaveCollectionUnit", TWaveCollection::kVersion, StartWaveCollection, StopWaveCollection},
      {"MusicUnit", TMusic::kVersion, nullptr, nullptr},
      {"MusicCollectionUnit", TMusicCollection::kVersion, StartMusicCollection, StopMusicCollection},
      {"MaskUnit", TMask::kVersion, nullptr, nullptr},
      {"ImageCollectionUnit", TImageCollection::kVersion, StartImageCollection, StopImageCollection},
      {"PlaylistUnit", TPlayLists::kVersion, StartPlayLists, StopPlayLists},
      {"StackUnit", TStack::kVersion, nullptr, nullptr},
      {"VXMouse", TMouseObject::kVersion, StartMouse, StopMouse},
      {"SDLKeyNames", TKeyNameTable::kVersion, StartKeyNames, StopKeyNames},
      {"SetupCommandUnit", TSetupCommandHandler::kVersion, StartSetupCommands, StopSetupCommands},
      {"VisualComponentUnit", TVisualComponent::kVersion, nullptr, nullptr},
      {"vcc_EditBox", TEditBox::kVersion, nullptr, nullptr},
      {"vcc_ListBox", TListBox::kVersion, nullptr, nullptr},
      {"SpriteUnit", TSprite::kVersion, StartSpriteUnit, StopSpriteUnit},
      {"TileMapUnit", TTileMap::kVersion, nullptr, nullptr},
      {"XMapUnit", TXMap::kVersion, nullptr, nullptr},
      {"vcc_Menu", TMenu::kVersion, nullptr, nullptr},
      {"SQConfigUnit", TConfig::kVersion, StartConfig, StopConfig},
      {"PlayerRegistryUnit", TPlayerRegistry::kVersion, nullptr, nullptr},
      {"SQPlayerRegistryUnit", TPlayerReg::kVersion, StartPlayerRegistry, StopPlayerRegistry},
  };
  return List;
}

void StartModules(int Argc, char** Argv) {
  Parameters = TParameters::FromCommandLine(Argc, Argv);
  StartLogger();
  Started = true;
  StartedCount = 0;
  for (const TModule& M : ModuleList()) {
    Log->Uses(M.Version);
    if (M.Start) M.Start();
    ++StartedCount;
  }
}

void StopModules() {
  if (!Started) return;
  Started = false;
  const auto& List = ModuleList();
  for (size_t I = StartedCount; I-- > 0;)
    if (List[I].Stop) List[I].Stop();
  StartedCount = 0;
  StopLogger();
  Parameters.reset();
}

int RunWithModules(int Argc, char** Argv, const std::function<void()>& Body) {
  constexpr const char* kHeading = "Starquarry, main";
  int Code = 0;
  try {
    StartModules(Argc, Argv);
    Body();
  } catch (const std::exception& E) {
    Log->Error(std::string("Ended by an error: ") + E.what(), kHeading);
    Code = 1;
  } catch (...) {
    Log->Error("Ended by an unknown error.", kHeading);
    Code = 1;
  }
  StopModules();
  return Code;
}

void ShutdownAndExit(int ExitCode) {
  StopModules();
  std::exit(ExitCode);
}
