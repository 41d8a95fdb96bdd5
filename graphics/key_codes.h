#pragma once
// The engine's named key codes: the index of a key in the held-key table and
// the code of a typed character. The values are SDL 1.2's key symbols, so the
// video layer stores events as they come, but nothing that reads keys needs
// SDL's headers.
namespace VXKey {

inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Delete = 127;

inline constexpr int Up = 273;
inline constexpr int Down = 274;
inline constexpr int Right = 275;
inline constexpr int Left = 276;
inline constexpr int Insert = 277;
inline constexpr int Home = 278;
inline constexpr int End = 279;
inline constexpr int PageUp = 280;
inline constexpr int PageDown = 281;

inline constexpr int F1 = 282;
inline constexpr int F2 = 283;
inline constexpr int F3 = 284;
inline constexpr int F4 = 285;
inline constexpr int F5 = 286;
inline constexpr int F6 = 287;
inline constexpr int F7 = 288;
inline constexpr int F8 = 289;
inline constexpr int F9 = 290;
inline constexpr int F10 = 291;
inline constexpr int F11 = 292;
inline constexpr int F12 = 293;

inline constexpr int RightShift = 303;
inline constexpr int LeftShift = 304;
inline constexpr int RightCtrl = 305;
inline constexpr int LeftCtrl = 306;
inline constexpr int RightAlt = 307;
inline constexpr int LeftAlt = 308;

// Letters and digits are their lower-case character codes ('a' = 97, '0' = 48).
constexpr int Letter(char C) { return C >= 'A' && C <= 'Z' ? C - 'A' + 'a' : C; }

}  // namespace VXKey
