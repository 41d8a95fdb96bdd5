#pragma once
// The closing scene of a completed level pack: the elf walks into the hall,
// hands the diamonds over, the guards step aside, the family walks out, the
// elf leaves, and a closing screen says every map is done. Holding Space
// skips every wait and animation.
#include <array>
#include <functional>
#include <memory>
#include <string>

class TImage;
class TImageCollection;

class TOutro {
 public:
  static constexpr int kStreamDiamonds = 100;
  static constexpr int kWalkers = 16;
  // The diamond stream falls from this row up to kStreamTop.
  static constexpr int kStreamStart = 280;
  static constexpr int kStreamTop = 184;

  TOutro();
  ~TOutro();
  TOutro(const TOutro&) = delete;
  TOutro& operator=(const TOutro&) = delete;

  // The whole scene, from the song's start to the black screen after the
  // closing screen was left with Space.
  void Run();

  // The sideways swing of the diamond stream: 255 * sin(i * pi / 96),
  // rounded, for i = 0 .. 96.
  static const std::array<int, 97>& Sine();

  // Building blocks of the script. Each frame ends with the event poll and
  // then the hook; every one of them stops early while Space is held.
  void Wait(int Frames);
  void Walk(const std::string& Image, int X1, int Y1, int X2, int Y2, int Frames);
  void Speech(const std::string& Text, int Y);
  void DrawScene();
  void DiamondStream();
  void FamilyLeaving();
  // Draws the closing screen and waits for Space.
  void ClosingScreen();

  void SaveBackdrop();
  void RestoreBackdrop();
  void RestoreBackdrop(int X1, int Y1, int X2, int Y2);

  // The images of the list section "Outro" of "controls.ini", loaded by Run.
  std::unique_ptr<TImageCollection> Images;
  // A copy of the screen without the moving figures, which erase themselves
  // by drawing their rectangle of it back.
  std::unique_ptr<TImage> Backdrop;
  // Called after every event poll; tests hold keys through it.
  std::function<void()> AfterEvents;
  // Frames the scene has taken so far (waited or flipped).
  int Frames = 0;

 private:
  TImage* Image(const std::string& Name) const;
  void Draw(const std::string& Name, int X, int Y);
  void ProcessEvents();
  void Show();  // Flip, counted
  static bool SpaceHeld();
  // The script in two acts.
  void HandOver();
  void Release();

  std::string FSong;
};
