#pragma once
// Songs of the music collection and the playlists, by name.
#include <string>

// The song at Index (wrapped to the list's length) of a playlist; "" when
// the list is missing or empty.
std::string PlaylistSong(const std::string& List, int Index);
// Start and stop a song of the music collection; nothing for a missing one.
void PlaySong(const std::string& Name);
// Stopping a song and resuming it goes on where it stopped (a pause).
void StopSong(const std::string& Name);
void ResumeSong(const std::string& Name);
