#pragma once
// The engine's modules come up in one fixed order and go down in reverse.
#include <functional>
#include <string>
#include <vector>

struct TModule {
  const char* Name;     // unit name, for the reader
  const char* Version;  // the "uses" line, e.g. "VXStream, version 1.0"
  void (*Start)();      // creates the module's singleton; may be null
  void (*Stop)();       // frees it; may be null
};

// The start-up order (without the parameter list and the logger, which come first).
const std::vector<TModule>& ModuleList();

// Starts the parameter list and the logger, then every module in order.
void StartModules(int Argc, char** Argv);
// Stops the modules in reverse order, then the logger and the parameter list.
// Safe to call twice.
void StopModules();
// The program's life: starts the modules, runs Body, stops the modules. An
// error that escapes Body (or a module's start) is logged and the modules
// still stop in order, so the log gets its closing line and the settings are
// saved; the result is then 1, otherwise 0.
int RunWithModules(int Argc, char** Argv, const std::function<void()>& Body);
// Stops everything in order and ends the process with ExitCode.
[[noreturn]] void ShutdownAndExit(int ExitCode);
