#pragma once
// What the browser build tells its page, and the few things only the page
// can do. On the desktop every call here does nothing, so callers need no
// build switches of their own.
#include <functional>
#include <memory>
#include <string>

namespace VXWeb {
// True in the browser build.
bool InBrowser();

// A frame reached the screen; the page counts them and keeps their times.
void NoteFrame();
// The world took one step in play, watch or rewind.
void NoteStep();
// A screen took over (a short lower-case name, "play", "editor", ...).
void NoteScreen(const std::string& Name);
// The level pack loaded (its file name) and the map played or watched.
void NotePack(const std::string& FileName);
void NoteMap(int MapNo);

// Hands control to the browser for a moment, so the picture is shown and
// input arrives (a frame that needed no wait would otherwise keep it).
void Yield();

// A file was written (or kept aside) under Name: the page writes its stored
// folder out, so a closed tab loses nothing.
void FileWritten(const std::string& Name);
// Offers the file to the player as a download (the browser build keeps its
// files inside the page).
void OfferDownload(const std::string& Name);

// A shared map or run was opened: the verdict on its map in one word
// ("proven", "solved", "unsolvable", "unknown", "unchecked"), or "refused"
// with the reason the player read.
void NoteShared(const std::string& Verdict, const std::string& Reason = "");
// The page makes a link of Code (Kind "map" or "run") and copies it to the
// clipboard.
void ShareLink(const std::string& Kind, const std::string& Code);

// Runs Task in slices of about SliceMs at a time, where no thread can run
// beside the frames: Resume runs the next slice, Pause (called from inside
// the task) ends a slice once its time is up. On the desktop Resume runs
// the whole task.
class TSlicedTask {
 public:
  explicit TSlicedTask(std::function<void()> Task, double SliceMs = 8);
  ~TSlicedTask();
  TSlicedTask(const TSlicedTask&) = delete;
  TSlicedTask& operator=(const TSlicedTask&) = delete;

  // Runs the task on until it pauses or ends; true once it has ended.
  bool Resume();
  bool Finished() const { return FFinished; }

  // From inside a running task: ends the slice when its time is spent. Does
  // nothing outside a sliced task.
  static void Pause();

 private:
  struct TFiber;
  static void Enter(void* Self);

  std::function<void()> FTask;
  double FSliceMs;
  bool FFinished = false;
  std::unique_ptr<TFiber> FFiber;
};
}  // namespace VXWeb
