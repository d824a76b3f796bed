// The product on Windows: a window of its own (a message box) that stays up
// until the user closes it.
#include <windows.h>

#include "sample_script.h"

namespace SamplePackage {

int RunProduct() {
  MessageBoxW(nullptr, L"Dovrane Screen Recorder is running.\r\nClose this window to quit.",
              L"Dovrane Screen Recorder", MB_OK | MB_ICONINFORMATION);
  return 0;
}

}  // namespace SamplePackage
