#pragma once
// VXMouse's module state: the dispatcher that offers each input event to the
// registered mouse objects before the video layer handles it, and the queue
// of command texts the default mouse operations add to.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/video.h"
#include "ui/stack.h"

class TMouseObject;

class TMouseObjects {
 public:
  // Asks the items from the last down to Base; true when one took the event.
  bool HandleEvent(const VX_SDL::TInputEvent& Event, bool P2x2);

  std::vector<TMouseObject*> Items;  // observed; their screens own them
  TStack Stack;
  uint16_t Base = 0;
};

// The module singletons, alive between StartMouse and StopMouse.
extern std::unique_ptr<TMouseObjects> MouseObjects;
extern std::unique_ptr<std::vector<std::string>> EventCommands;

// Queues a command text (nothing while the module is stopped).
void QueueEventCommand(const std::string& Command);

// Creates both and registers the dispatcher with the video layer.
void StartMouse();
void StopMouse();
