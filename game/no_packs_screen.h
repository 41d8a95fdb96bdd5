#pragma once
// What the pack list shows when the folder holds no level pack: that there
// is none, the folder the game looks in, and that Escape or Return leave.
#include <string>
#include <vector>

// Says on screen and in the log that Folder holds no level pack; runs until
// Escape or Return is held (F12 opens the options meanwhile).
void RunNoPacksScreen(const std::string& Folder);

// Folder written on lines no wider than Width in the game's fonts, broken
// after a "/" where it can be; at most MaxLines, the end of the path kept.
std::vector<std::string> FolderLines(const std::string& Folder, int Width, size_t MaxLines);
