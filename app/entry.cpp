// Program entry: modules up, the application, modules down.
#include "app/modules.h"

int main(int Argc, char** Argv) {
  StartModules(Argc, Argv);
  StopModules();
  return 0;
}
