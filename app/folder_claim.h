#pragma once
// One game per player's folder: the game (but not the editor alone, which
// writes no progress) holds the folder's lock from before its first file is
// read until it ends. A second copy started there, by a double click or from
// another terminal, says so and ends without writing anything.
#include <string>
#include <vector>

class TFolderLock;

// Whether the command line Args (without the program's name) runs a game
// that writes the player's files.
bool ClaimsPlayerFolder(const std::vector<std::string>& Args);

// Takes Lock for the game: "" when this copy may go on (it holds the
// folder, or the folder cannot be locked at all and nothing stops it as
// before: Warning then says why), else why it may not, in one line.
std::string ClaimPlayerFolder(TFolderLock& Lock, std::string* Warning = nullptr);

// What the refused copy's window says, one line each.
std::vector<std::string> AlreadyRunningLines();
