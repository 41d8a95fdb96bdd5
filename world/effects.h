#pragma once
// Sound effects of the world, played by name from the wave collection.
#include <functional>
#include <string>

// Plays the effect; nothing when the collection or the effect is missing.
void PlayEffect(const std::string& Name);

// Sees every effect the world asks for (tests and tools); empty to stop.
void SetEffectListener(std::function<void(const std::string&)> Listener);
