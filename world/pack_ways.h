#pragma once
// The ways a level pack carries beside its maps: a member NNN.keys holding a
// key script that completes map NNN.mpp (sqtool generate, the Daily Quarry
// and the shared maps store them; sqtool pack check --solutions replays them).
#include <string>
#include <vector>

#include "world/pack_reader.h"
#include "world/pack_writer.h"

// The member holding Keys as the way through map Number (1 for 001.mpp),
// 60 keys a line as the shipped solutions are written.
TPackMember WayMember(int Number, const std::string& Keys);

// The keys of the way a pack's Extras carry for map Number: one of 'U', 'D',
// 'L', 'R', '.' per step. "" when they hold none, or its member is no key
// script.
std::string CarriedWay(const std::vector<TPackMember>& Extras, int Number);
