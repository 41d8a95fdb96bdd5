#pragma once
// Lookups of block images in the Blocks collection for the map state, with
// each missing name reported once per map start instead of every frame.
#include <string>

class TImage;
struct TTileRow;

// Empties Blocks.
void ClearBlockImages();
// Reloads Blocks from the list section "Blocks" of "controls.ini".
void LoadBlockImages();
// The image named Name, or null. Report logs a missing name (once per map start).
TImage* FindBlockImage(const std::string& Name, bool Report);
// The picture of a tile in the editor's palette and the help's legend: its
// block image, else its first numbered look; null when there is neither.
TImage* TilePicture(const TTileRow& Row);
// Forgets which names were reported missing (a new map start).
void ResetMissingImageReports();
