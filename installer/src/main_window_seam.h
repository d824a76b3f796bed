// The seam where the installer's windows plug into the start-up sequence:
// UI toolkit set-up, creation of the main window and its modal run (steps
// 7 to 9 of start-up), and its destruction (step 12), which comes after the
// tracker and libcurl are torn down.
//
// Until the windows land, each platform has a placeholder: on Windows a
// plain top-level window titled "Lumeo录屏" that ends the run when closed;
// elsewhere a headless run that ends on SIGTERM, SIGINT or SIGHUP (the
// "window" being closed).
//
// Thread safety: main thread only.
#pragma once

#include <memory>

class MainWindowSeam {
 public:
  virtual ~MainWindowSeam() = default;  // step 12: destroys the window
  // Steps 7 to 9: blocks in the modal loop until the window closes. The
  // loop's own result is ignored by the caller.
  virtual void RunModal() = 0;
};

// instance: the module instance handle on Windows, null elsewhere.
std::unique_ptr<MainWindowSeam> CreateMainWindowSeam(void* instance);
