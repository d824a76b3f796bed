// Process entry on Windows: the GUI entry with the module instance handle.
#include <windows.h>

#include "startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return RunInstaller(instance); }
