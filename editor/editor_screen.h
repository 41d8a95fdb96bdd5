#pragma once
// TEditorScreen: the level editor. The field is drawn where and as the play
// screen draws it, with a palette of every tile below and the map's number,
// name and author and a status line above. The mouse paints and clears
// cells and picks tiles; the keyboard does everything as well. F5 plays the
// map, F6 asks the solver about it in the background, F7 shows the way the
// solver found, F9 shares the map as a code (a link in the page); Ctrl+S
// writes the pack.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/map_editor.h"
#include "world/pack_writer.h"

class TMaps;
class TSolveJob;
class TKeyCatcher;
class TEditorFonts;

class TEditorScreen {
 public:
  static constexpr const char* kHeading = "SQEditorUnit, TEditorScreen";

  // Edits the pack of the global Maps from the map selection, starting on
  // map MapNo, and loads it afresh into Maps afterwards. True when Maps now
  // holds the pack as the editor left it.
  static bool EditLoadedPack(const std::string& PackFile, int MapNo);

  // The pack file to edit and the map to start on.
  TEditorScreen(std::string PackFile, int MapNo);
  ~TEditorScreen();
  TEditorScreen(const TEditorScreen&) = delete;
  TEditorScreen& operator=(const TEditorScreen&) = delete;

  // Reads the pack, creating it with one empty map when the file does not
  // exist; false (with the reason in Status) when it cannot be used.
  bool Open();
  // The screen until the designer leaves it (Escape, after the question
  // about unsaved changes); false at once when the pack cannot be opened.
  bool Run();
  // Why the pack was not opened (Status), until Escape.
  void ShowRefusal();

  // One key press as the screen takes it, with Ctrl held or not (typed
  // characters come to Typed).
  void Press(int Key, bool Ctrl);
  void Typed(char C);
  // Saves the pack (asking first when maps were renumbered); true when written.
  bool Save();
  // Draws one frame onto the back surface.
  void Draw();
  // Takes the solver's answer into the status line once it has come.
  void PollSolve();

  TMapEditor& Editor() { return *FEditor; }
  const std::string& Status() const { return FStatus; }
  int32_t Chosen() const { return FChosen; }
  int CursorX() const { return FCursorX; }
  int CursorY() const { return FCursorY; }
  bool Solving() const { return FSolve != nullptr; }
  // The solver's last script for the map shown, empty when none.
  const std::string& SolvedKeys() const { return FSolvedKeys; }
  // Runs after the events of every frame; tests press keys here.
  std::function<void()> AfterEvents;
  // Answers a question (tests); unset, the screen waits for Y, N or Escape.
  std::function<int(const std::string& Question)> Answer;
  static constexpr int kYes = 1, kNo = 0, kCancel = -1;

 private:
  void Paint(int X, int Y, int32_t Code);
  void Changed();
  void StartSolve();
  // F9: the map's share code, with a way when one is known; the page makes
  // it a link on the clipboard, the desktop shows it and logs it.
  void ShareMap();
  void PlayMap(const std::string& Script);
  void EditText(int Key);
  bool Leave();
  int Ask(const std::string& Question);
  void ShowMapStatus();
  std::unique_ptr<TMaps> WorldCopy() const;
  void DrawHeader();
  void DrawPalette();

  // Keys pressed while another screen or a question had them are theirs:
  // forgotten when it ends.
  void ForgetPressedKeys();

  std::string FPackFile;
  int FStartMap;
  std::unique_ptr<TMaps> FPack;  // the pack as loaded: block looks and numbered variants
  std::unique_ptr<TMapEditor> FEditor;
  std::unique_ptr<TMaps> FView;  // the map shown, rebuilt after each change
  std::vector<TPackMember> FExtras;
  std::unique_ptr<TSolveJob> FSolve;
  std::string FSolvedKeys;
  std::string FStatus;
  bool FStatusIsProblem = false;
  int32_t FChosen = '#';
  int FCursorX = 0, FCursorY = 0;
  bool FLeave = false;
  TKeyCatcher* FCatcher = nullptr;  // while Run runs
  std::unique_ptr<TEditorFonts> FFonts;
};
