#include "game/shared_opening.h"

#include "game/shared_maps.h"
#include "game/shared_screens.h"
#include "shell/logger.h"
#include "shell/web_bridge.h"
#include "world/block_images.h"
#include "world/map_check.h"
#include "world/maps.h"

namespace {

TSharedOpening Refuse(const std::string& Why) {
  VXWeb::NoteShared("refused", Why);
  ShowSharedRefusal(Why);
  return {};
}

}  // namespace

TSharedOpening OpenSharedCode(const std::string& Code) {
  TShareCode Read;
  std::string Error;
  if (!DecodeShareCode(ShareCodeOfLink(Code), Read, Error)) return Refuse(Error);
  // Checked against the game's own blocks before the map joins the pack.
  LoadBlockImages();
  TMaps Blocks;
  Blocks.CountVariants();
  const TMapCheck Checked = CheckMap(Blocks, Read.Map);
  if (!Checked.Ok()) return Refuse("The map cannot be played: " + Checked.Problem() + ".");
  TSharedOpening Opened;
  Opened.MapNo = KeepSharedMap(Read.Map, Read.Kind == TShareKind::Map ? Read.Keys : "", Error);
  if (Opened.MapNo < 0) {
    Log->Error("A shared map cannot be kept: " + Error, "SQGameUnit, OpenSharedCode");
    return Refuse("The map cannot be kept: " + Error + ".");
  }
  Log->Status("Shared " + std::string(Read.Kind == TShareKind::Run ? "run" : "map") + " opened: \"" + Read.Map.MapName +
                  "\", map " + std::to_string(Opened.MapNo + 1) + " of " + kSharedPackFile,
              "SQGameUnit, OpenSharedCode");
  Opened.Kind = Read.Kind;
  Opened.Keys = Read.Keys;
  Opened.Player = Read.Player;
  return Opened;
}
