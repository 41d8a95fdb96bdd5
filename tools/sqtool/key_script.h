#pragma once
// Key scripts: one character per step, 'U', 'D', 'L', 'R' (that arrow held)
// or '.' (none), as sqtool play takes them and replay export writes them.
// No script runs longer than the longest run the game keeps.
#include <cstddef>
#include <string>
#include <string_view>

#include "registry/run_store.h"

constexpr size_t kMaxScriptSteps = static_cast<size_t>(TRunStore::kMaxSteps);

// Turns a key script into keys: white space is ignored, letters may be lower
// case. False with Error set for any other character or past MaxSteps keys.
bool ParseKeyScript(const std::string& Text, std::string& Keys, std::string& Error, size_t MaxSteps = kMaxScriptSteps);

// Reads the script in File piece by piece, refusing it as soon as it holds
// more than MaxSteps keys (or its size alone says it must), so that a huge
// file is never held whole. False with Error set ("cannot read key file
// 'F'", a bad key, too long).
bool ReadKeyScriptFile(const std::string& File, std::string& Keys, std::string& Error,
                       size_t MaxSteps = kMaxScriptSteps);
