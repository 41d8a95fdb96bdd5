#include "ui/mouse_objects.h"

#include "shell/logger.h"
#include "ui/mouse_object.h"

std::unique_ptr<TMouseObjects> MouseObjects;
std::unique_ptr<std::vector<std::string>> EventCommands;

bool TMouseObjects::HandleEvent(const VX_SDL::TInputEvent& Event, bool P2x2) {
  if (Items.empty()) return false;
  for (size_t I = Items.size(); I-- > Base;) {
    if (Items[I]->HandleEvent(Event, P2x2)) {
      Log->Trace("Event handled by object number " + std::to_string(I) + " (" + Items[I]->Name + ")");
      return true;
    }
  }
  Log->Trace("Event not handled by any objects.");
  return false;
}

void QueueEventCommand(const std::string& Command) {
  if (EventCommands) EventCommands->push_back(Command);
}

void StartMouse() {
  MouseObjects = std::make_unique<TMouseObjects>();
  EventCommands = std::make_unique<std::vector<std::string>>();
  // The video layer keeps its handlers until it stops, which is after this
  // module: the handler therefore looks the dispatcher up on every event.
  VX_SDL::AddInputHandler([](const VX_SDL::TInputEvent& Event, bool P2x2) {
    return MouseObjects && MouseObjects->HandleEvent(Event, P2x2);
  });
}

void StopMouse() {
  MouseObjects.reset();
  EventCommands.reset();
}
