// Program entry: modules up, the application, modules down.
#include "app/main_app.h"
#include "app/modules.h"

int main(int Argc, char** Argv) {
  return RunWithModules(Argc, Argv, [] {
    TMain Main("1.06", "0002", "2018.12.17");
    Main.Run();
  });
}
