// Command line of tv-skin-render:
//   tv-skin-render ARCHIVE_OR_FOLDER LAYOUT OUT.png [--tab NAME=INDEX]...
//                  [--hover NAME] [--size WxH] [--time MS]
// Pure parsing; any thread.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "skinui/geometry.h"

namespace skinui::tools {

struct RenderOptions {
  std::string skin;    // archive file or folder
  std::string layout;  // layout path inside the skin
  std::string output;  // PNG to write
  std::vector<std::pair<std::string, int>> tabs;  // tab layout name -> page
  std::string hover;   // control to put the pointer over
  Size size;           // 0 x 0: the layout's size
  // Milliseconds of control timers run before the frame is taken, so
  // auto-started image sequences show their frame as a person would see it.
  int time_ms = 100;
};

// False with a message in *error for a malformed command line.
bool ParseRenderOptions(int argc, char** argv, RenderOptions* out, std::string* error);

extern const char kRenderUsage[];

}  // namespace skinui::tools
