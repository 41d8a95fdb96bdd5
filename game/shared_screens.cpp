#include "game/shared_screens.h"

#include <chrono>
#include <memory>
#include <vector>

#include "game/list_screen.h"
#include "game/options_hotkey.h"
#include "graphics/font.h"
#include "graphics/font_collection.h"
#include "graphics/image.h"
#include "graphics/key_codes.h"
#include "graphics/video.h"
#include "shell/logger.h"
#include "shell/web_bridge.h"
#include "solver/solver.h"
#include "world/map_runner.h"
#include "world/maps.h"

namespace {

constexpr const char* kHeading = "SQGameUnit, SharedMap";
// The solver's time for a map that came without a way.
constexpr double kCheckSeconds = 30;
// Steps the last key of a way is held past its end.
constexpr size_t kHoldLastKey = 20;
// Frames the verdict stays before play begins (a key goes on at once).
constexpr int kVerdictFrames = 150;
constexpr int kLineWidth = 600;

std::string Switch(int Font) { return std::string(1, static_cast<char>(Font)); }

void Centred(int Font, const std::string& Text, int Y) {
  if (FontCollection) FontCollection->DrawText(Switch(Font) + Text, 320, Y, kAlignCenter);
}

int Width(int Font, const std::string& Text) {
  return FontCollection ? FontCollection->TextWidth(Switch(Font) + Text) : 0;
}

// Text in lines no wider than kLineWidth in Font: broken between words, or
// anywhere in a word (a code) that is wider on its own.
std::vector<std::string> Lines(int Font, const std::string& Text) {
  std::vector<std::string> Out(1);
  for (size_t At = 0; At < Text.size();) {
    const size_t Space = Text.find(' ', At);
    const std::string Word = Text.substr(At, Space == std::string::npos ? std::string::npos : Space - At + 1);
    At += Word.size();
    if (!Out.back().empty() && Width(Font, Out.back() + Word) > kLineWidth) Out.emplace_back();
    for (char C : Word) {
      if (!Out.back().empty() && Width(Font, Out.back() + C) > kLineWidth) Out.emplace_back();
      Out.back() += C;
    }
  }
  return Out;
}

// Lines centred from Y down, Step pixels apart; the y below the last.
int DrawLines(int Font, const std::string& Text, int Y, int Step) {
  for (const std::string& L : Lines(Font, Text)) {
    Centred(Font, L, Y);
    Y += Step;
  }
  return Y;
}

bool AnyKeyHeld() {
  for (bool Held : VX_SDL::Keys)
    if (Held) return true;
  return false;
}

// The head and foot strips of the check around the map drawn between them;
// the foot's two lines in the small font, as the play screen's notes.
void DrawCheckStrips(const std::string& Upper, const std::string& Lower, const std::string& Keys) {
  VX_SDL::FillBox(0, 0, 639, 47, 0, 0, 0);
  VX_SDL::FillBox(0, 432, 639, 479, 0, 0, 0);
  Centred(1, Upper, 8);
  TFont* Small = FontCollection ? FontCollection->Find("Anti") : nullptr;
  if (!Small) return;
  // The closing scene darkens this font for its own drawing.
  Small->SetColor(255, 255, 255);
  Small->DrawText(Lower, 320, 440, kAlignCenter);
  Small->DrawText(Keys, 320, 459, kAlignCenter);
}

TSharedCheck VerdictOf(const TSolveResult& R) {
  switch (R.Status) {
    case TSolveResult::TStatus::Solved: return {TSharedVerdict::Solved, static_cast<int>(R.Keys.size())};
    case TSolveResult::TStatus::Unsolvable: return {TSharedVerdict::Unsolvable, 0};
    case TSolveResult::TStatus::Unknown: break;
  }
  return {TSharedVerdict::Unknown, 0};
}

std::string VerdictSentence(const TSharedCheck& C) {
  switch (C.Verdict) {
    case TSharedVerdict::Proven: return "Proven: the way it came with wins it";
    case TSharedVerdict::Solved: return "Checked: the solver found a way of " + std::to_string(C.Steps) + " steps";
    case TSharedVerdict::Unsolvable: return "The solver found that it cannot be won";
    case TSharedVerdict::Unknown: return "Not proven: the solver found no way in time";
    case TSharedVerdict::Unchecked: break;
  }
  return "Not checked";
}

}  // namespace

std::string VerdictWord(TSharedVerdict Verdict) {
  switch (Verdict) {
    case TSharedVerdict::Proven: return "proven";
    case TSharedVerdict::Solved: return "solved";
    case TSharedVerdict::Unsolvable: return "unsolvable";
    case TSharedVerdict::Unknown: return "unknown";
    case TSharedVerdict::Unchecked: break;
  }
  return "unchecked";
}

std::string VerdictLabel(TSharedVerdict Verdict) {
  switch (Verdict) {
    case TSharedVerdict::Proven: return "shared, proven";
    case TSharedVerdict::Solved: return "shared, checked";
    case TSharedVerdict::Unsolvable: return "shared, cannot be won";
    case TSharedVerdict::Unknown: return "shared, not proven";
    case TSharedVerdict::Unchecked: break;
  }
  return "shared, not checked";
}

bool WayWins(const TMaps& Pack, int MapNo, const std::string& Way) {
  return !Way.empty() && ReplayCompletes(Pack, MapNo, Way + std::string(kHoldLastKey, Way.back()), 0);
}

TSharedCheck CheckSharedMap(int MapNo, const std::string& Way) {
  if (WayWins(*Maps, MapNo, Way)) return {TSharedVerdict::Proven, static_cast<int>(Way.size())};
  TSolveOptions Options;
  Options.Seconds = kCheckSeconds;
  TSolveJob Job(std::make_unique<TMaps>(*Maps), MapNo, Options);
  VXWeb::NoteScreen("shared-check");
  TMapRun Run;
  Run.MapNo = MapNo;
  StartMapRun(*Maps, Run);
  VX_SDL::FillBox(0, 0, 639, 479, 0, 0, 0);
  Maps->ForgetDrawnCells();
  VX_SDL::ClearKeys();
  TImage* Target = VX_SDL::DrawTarget();
  const auto Began = std::chrono::steady_clock::now();
  const auto Draw = [&](const std::string& Lower, const std::string& Keys) {
    Maps->DrawMap();
    if (Target) DrawElf(*Maps, *Target);
    DrawCheckStrips("A shared map: " + Maps->MapName(MapNo), Lower, Keys);
    VX_SDL::Flip();
    VX_SDL::PollEvents();
  };
  while (!Job.Done()) {
    const int Seconds =
        static_cast<int>(std::chrono::duration<double>(std::chrono::steady_clock::now() - Began).count());
    Draw("No way came with it: the solver looks for one (" + std::to_string(Seconds) + " s)", "Escape: play it now");
    if (VX_SDL::Keys[VXKey::Escape]) {
      Job.Cancel();
      VX_SDL::ClearKeys();
      return {};
    }
  }
  const TSharedCheck Check = VerdictOf(Job.Result());
  Log->Status("Shared map checked: " + TSolveJob::Summary(Job.Result()), kHeading);
  VX_SDL::ClearKeys();
  for (int Frame = 0; Frame < kVerdictFrames && !AnyKeyHeld(); ++Frame)
    Draw(VerdictSentence(Check), "Any key: play it");
  VX_SDL::ClearKeys();
  return Check;
}

void ShowSharedRefusal(const std::string& Why) {
  Log->Warning("A shared code was refused: " + Why, kHeading);
  VXWeb::NoteScreen("shared-refused");
  VX_SDL::ClearKeys();
  for (;;) {
    VX_SDL::FillBox(0, 0, 639, 479, 0, 0, 0);
    Centred(1, "A shared map", 30);
    Centred(4, "This link cannot be opened:", 150);
    DrawLines(0, Why, 200, 32);
    Centred(3, "Return: on to the game", 430);
    VX_SDL::Flip();
    VX_SDL::PollEvents();
    if (OptionsOnF12()) VX_SDL::ClearKeys();
    if (VX_SDL::Keys[VXKey::Return] || VX_SDL::Keys[VXKey::Space] || VX_SDL::Keys[VXKey::Escape]) break;
  }
  VX_SDL::ClearKeys();
}

bool AskToTryMap(const std::string& MapName) {
  const TListChoice C =
      RunListScreen({"Try " + MapName + " yourself?", 1, 30}, "X=60|Y=220|Width=520|Height=80|AlignX=Left|AlignY=Top",
                    {"Yes, let me play it", "No, on to the game"}, {VXKey::Escape, VXKey::Return});
  return C.Key == VXKey::Return && C.Index == 0;
}

void ShowShareCode(const std::string& Title, const std::string& Kind, const std::string& Code) {
  VXWeb::NoteScreen("share-code");
  VX_SDL::ClearKeys();
  for (;;) {
    VX_SDL::FillBox(0, 0, 639, 479, 0, 0, 0);
    Centred(1, Title, 30);
    const int Below = DrawLines(7, Code, 90, 24);
    DrawLines(0,
              VXWeb::InBrowser() ? "The link to it is on the clipboard: paste it into a message."
                                 : "Pass the code on: starquarry -shared CODE opens it, the game's page "
                                   "the link PAGE#" +
                                       Kind + "=CODE. The log has it too.",
              Below + 16, 28);
    Centred(3, "Any key: back", 450);
    VX_SDL::Flip();
    VX_SDL::PollEvents();
    if (AnyKeyHeld()) break;
  }
  VX_SDL::ClearKeys();
}
