#include "game/help_keys.h"

#include <algorithm>

#include "graphics/key_codes.h"
#include "world/tile_table.h"

namespace {

using namespace VXKey;

const THelpKey kHelp{"H", "this help; H or Escape closes it", {Letter('h')}};
const THelpKey kOptions{"F12", "options: music and effect volumes", {F12}};
const THelpKey kUpDown{"Up/Down", "move the cursor", {Up, Down}};

// The editor types the tiles of the palette by their characters (empty has
// a key of its own).
THelpKey TypedTiles() {
  THelpKey Key{"", "type that tile and step on", {}, false, true};
  for (const TTileRow& Row : kTileRows) {
    if (Row.Char == Tile::Empty) continue;
    if (!Key.Name.empty()) Key.Name += ' ';
    Key.Name += Row.Char;
    Key.Codes.push_back(static_cast<uint8_t>(Row.Char));
  }
  return Key;
}

std::vector<THelpPage> MakePages() {
  return {
      {THelpScreen::Players,
       "Select player",
       {kUpDown,
        {"Return", "play as this player, or make a new one", {Return}},
        {"Delete", "erase the player under the cursor (asks first)", {Delete}},
        {"Escape", "leave the game", {Escape}},
        kOptions,
        kHelp}},
      {THelpScreen::ErasePlayer,
       "Erase player",
       {kUpDown,
        {"Return", "do as the highlighted line says", {Return}},
        {"Escape", "keep the player", {Escape}},
        kOptions,
        kHelp}},
      {THelpScreen::LevelPacks,
       "Select level pack",
       {kUpDown,
        {"Return", "play this level pack", {Return}},
        {"Escape", "go back without changing the pack", {Escape}},
        kOptions,
        kHelp}},
      {THelpScreen::MapSelection,
       "Map selection",
       {kUpDown,
        {"Return/Space", "play the highlighted map", {Return, Space}},
        {"W", "watch your best run of the map", {Letter('w')}},
        {"E", "open the map in the level editor", {Letter('e')}},
        {"F1", "change the player", {F1}},
        {"F2", "change the level pack", {F2}},
        {"Escape", "leave the game", {Escape}},
        kOptions,
        kHelp}},
      {THelpScreen::Play,
       "Play",
       {{"Arrows", "move the elf; push a boulder, barrel or balloon", {Up, Down, Left, Right}},
        {"Backspace", "hold: the map runs backwards, step by step", {Backspace}},
        {"Escape", "start the map again", {Escape}},
        {"F10", "leave the map", {F10}},
        {"P", "pause", {Letter('p')}},
        {"F3", "a hint: the solver marks the next step", {F3}},
        {"Space/F2", "skip the end-of-map picture", {Space, F2}},
        kOptions,
        kHelp}},
      {THelpScreen::Watching,
       "Watching a run",
       {{"Right/F", "hold: four times as fast", {Right, Letter('f')}},
        {"P", "pause", {Letter('p')}},
        {"Any other key", "stop watching", {}},
        kOptions,
        kHelp}},
      {THelpScreen::Editor,
       "Level editor",
       {{"Arrows", "move the cursor", {Up, Down, Left, Right}},
        {"Return", "put the chosen tile at the cursor", {Return}},
        TypedTiles(),
        {"-", "clear the cell and step on", {'-'}, false, true},
        {"PageUp/PageDown", "previous or next map", {PageUp, PageDown}},
        {"Insert", "add a map after this one", {Insert}},
        {"Delete", "delete this map (asks first)", {Delete}},
        {"F2/F3", "map name, map author", {F2, F3}},
        {"F4/F8", "pack name, pack author", {F4, F8}},
        {"F5", "play the map (Escape comes back)", {F5}},
        {"F6", "the solver tries the map (any key stops it)", {F6}},
        {"F7", "watch the solver's way through", {F7}},
        {"F9", "share the map: its code (the page copies a link)", {F9}},
        {"Ctrl+Z/Ctrl+Y", "undo, redo", {Letter('z'), Letter('y')}, true},
        {"Ctrl+PageUp/PageDown", "move the map one place", {PageUp, PageDown}, true},
        {"Ctrl+S", "save the pack", {Letter('s')}, true},
        {"Mouse", "left paints, right clears, the palette picks", {}},
        {"Escape", "leave (asks about unsaved changes)", {Escape}},
        kHelp}},
      {THelpScreen::Options,
       "Options",
       {kUpDown,
        {"Left/Right", "turn the volume down or up", {Left, Right}},
        {"Return", "on Back: close the options", {Return}},
        {"Escape", "close the options", {Escape}},
        kHelp}},
  };
}

}  // namespace

const std::vector<THelpPage>& HelpPages() {
  static const std::vector<THelpPage> Pages = MakePages();
  return Pages;
}

const THelpPage& HelpPage(THelpScreen Screen) {
  const auto& Pages = HelpPages();
  return *std::find_if(Pages.begin(), Pages.end(), [Screen](const THelpPage& P) { return P.Screen == Screen; });
}

const THelpKey* HelpKeyFor(const THelpPage& Page, int Code, bool Ctrl) {
  for (const THelpKey& K : Page.Keys)
    if (!K.Typed && K.Ctrl == Ctrl && std::find(K.Codes.begin(), K.Codes.end(), Code) != K.Codes.end()) return &K;
  return nullptr;
}

const THelpKey* HelpCharFor(const THelpPage& Page, char C) {
  for (const THelpKey& K : Page.Keys)
    if (K.Typed && std::find(K.Codes.begin(), K.Codes.end(), static_cast<uint8_t>(C)) != K.Codes.end()) return &K;
  return nullptr;
}
