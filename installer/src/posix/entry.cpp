// Process entry elsewhere than Windows. The exit status of -1 reads 255.
#include "startup.h"

int main() { return RunInstaller(nullptr); }
