#include "shell/web_bridge.h"

#include <utility>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#include <emscripten/fiber.h>

#include <vector>

// The page's script (index.html) defines these hooks on Module; a page
// without them still runs the game.
// clang-format off
EM_JS(void, sq_web_call, (const char* Hook, const char* Text), {
  var F = Module[UTF8ToString(Hook)];
  if (typeof F == "function") F(Text ? UTF8ToString(Text) : "");
});

// Called every frame and step: no text to make.
EM_JS(void, sq_web_frame, (), {
  if (Module.sqFrame) Module.sqFrame();
});
EM_JS(void, sq_web_step, (), {
  if (Module.sqStep) Module.sqStep();
});
// clang-format on
#endif

namespace VXWeb {
#ifdef __EMSCRIPTEN__
bool InBrowser() { return true; }
void NoteFrame() { sq_web_frame(); }
void NoteStep() { sq_web_step(); }
void NoteScreen(const std::string& Name) { sq_web_call("sqScreen", Name.c_str()); }
void NotePack(const std::string& FileName) { sq_web_call("sqPack", FileName.c_str()); }
void NoteMap(int MapNo) { sq_web_call("sqMap", std::to_string(MapNo).c_str()); }
void Yield() { emscripten_sleep(0); }
void FileWritten(const std::string& Name) { sq_web_call("sqFileWritten", Name.c_str()); }
void OfferDownload(const std::string& Name) { sq_web_call("sqOfferDownload", Name.c_str()); }
void NoteShared(const std::string& Verdict, const std::string& Reason) {
  sq_web_call("sqShared", (Verdict + "\n" + Reason).c_str());
}
void ShareLink(const std::string& Kind, const std::string& Code) {
  sq_web_call("sqShareLink", (Kind + "\n" + Code).c_str());
}

namespace {
// The C stack a search runs on: its recursion is shallow, its tables live
// on the heap.
constexpr size_t kTaskStack = 512 * 1024;
// Room for the calls unwound when a slice ends.
constexpr size_t kUnwindStack = 64 * 1024;
}  // namespace

struct TSlicedTask::TFiber {
  emscripten_fiber_t Task, Caller;
  std::vector<char> TaskStack = std::vector<char>(kTaskStack);
  std::vector<char> TaskUnwind = std::vector<char>(kUnwindStack);
  std::vector<char> CallerUnwind = std::vector<char>(kUnwindStack);
  double SliceEnd = 0;
};

namespace {
TSlicedTask* Running = nullptr;
}

void TSlicedTask::Enter(void* Self) {
  auto* Me = static_cast<TSlicedTask*>(Self);
  Me->FTask();
  Me->FFinished = true;
  // A fiber never returns: it hands back for good.
  emscripten_fiber_swap(&Me->FFiber->Task, &Me->FFiber->Caller);
}

TSlicedTask::TSlicedTask(std::function<void()> Task, double SliceMs)
    : FTask(std::move(Task)), FSliceMs(SliceMs), FFiber(std::make_unique<TFiber>()) {
  emscripten_fiber_init(&FFiber->Task, &TSlicedTask::Enter, this, FFiber->TaskStack.data(), kTaskStack,
                        FFiber->TaskUnwind.data(), kUnwindStack);
}

TSlicedTask::~TSlicedTask() = default;

bool TSlicedTask::Resume() {
  if (FFinished) return true;
  emscripten_fiber_init_from_current_context(&FFiber->Caller, FFiber->CallerUnwind.data(), kUnwindStack);
  FFiber->SliceEnd = emscripten_get_now() + FSliceMs;
  TSlicedTask* Outer = std::exchange(Running, this);
  emscripten_fiber_swap(&FFiber->Caller, &FFiber->Task);
  Running = Outer;
  return FFinished;
}

void TSlicedTask::Pause() {
  TSlicedTask* Me = Running;
  if (!Me || emscripten_get_now() < Me->FFiber->SliceEnd) return;
  emscripten_fiber_swap(&Me->FFiber->Task, &Me->FFiber->Caller);
}
#else
bool InBrowser() { return false; }
void NoteFrame() {}
void NoteStep() {}
void NoteScreen(const std::string&) {}
void NotePack(const std::string&) {}
void NoteMap(int) {}
void Yield() {}
void FileWritten(const std::string&) {}
void OfferDownload(const std::string&) {}
void NoteShared(const std::string&, const std::string&) {}
void ShareLink(const std::string&, const std::string&) {}

struct TSlicedTask::TFiber {};

void TSlicedTask::Enter(void* Self) {
  auto* Me = static_cast<TSlicedTask*>(Self);
  Me->FTask();
  Me->FFinished = true;
}

TSlicedTask::TSlicedTask(std::function<void()> Task, double SliceMs) : FTask(std::move(Task)), FSliceMs(SliceMs) {}
TSlicedTask::~TSlicedTask() = default;

bool TSlicedTask::Resume() {
  if (!FFinished) Enter(this);
  return true;
}

void TSlicedTask::Pause() {}
#endif
}  // namespace VXWeb
