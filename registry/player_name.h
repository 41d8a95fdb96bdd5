#pragma once
// What a player's name may be: what the name box takes, so that every name
// can be typed, drawn and printed on one line.
#include <cstddef>
#include <string>

// The longest name the name box takes.
constexpr size_t kMaxPlayerName = 16;

// Why Name cannot be a new player's name ("it is empty", "it is longer than
// 16 characters", "it holds a character that is not printable"); empty when
// it can.
std::string PlayerNameProblem(const std::string& Name);
