#pragma once
// Lookups of block images in the Blocks collection for the map state, with
// each missing name reported once per map start instead of every frame.
#include <string>

class TImage;

// Empties Blocks.
void ClearBlockImages();
// Reloads Blocks from the list section "Blocks" of "controls.ini".
void LoadBlockImages();
// The image named Name, or null. Report logs a missing name (once per map start).
TImage* FindBlockImage(const std::string& Name, bool Report);
// Forgets which names were reported missing (a new map start).
void ResetMissingImageReports();
