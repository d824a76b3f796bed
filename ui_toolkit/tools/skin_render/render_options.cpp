#include "render_options.h"

#include <cstdlib>

#include "skinui/core/attribute_parse.h"

namespace skinui::tools {

const char kRenderUsage[] =
    "usage: tv-skin-render ARCHIVE_OR_FOLDER LAYOUT OUT.png [--tab NAME=INDEX]... "
    "[--hover NAME] [--size WxH] [--time MS]\n";

namespace {

bool ParseTab(const std::string& text, RenderOptions* out, std::string* error) {
  const std::size_t eq = text.rfind('=');
  int index = 0;
  if (eq == std::string::npos || eq == 0 || !ParseIntValue(text.substr(eq + 1), &index) ||
      index < 0) {
    *error = "--tab wants NAME=INDEX, got \"" + text + "\"";
    return false;
  }
  out->tabs.emplace_back(text.substr(0, eq), index);
  return true;
}

bool ParseSize(const std::string& text, RenderOptions* out, std::string* error) {
  const std::size_t x = text.find('x');
  int w = 0;
  int h = 0;
  if (x == std::string::npos || !ParseIntValue(text.substr(0, x), &w) ||
      !ParseIntValue(text.substr(x + 1), &h) || w <= 0 || h <= 0 || w > 8192 || h > 8192) {
    *error = "--size wants WxH (1..8192 each), got \"" + text + "\"";
    return false;
  }
  out->size = Size{w, h};
  return true;
}

}  // namespace

bool ParseRenderOptions(int argc, char** argv, RenderOptions* out, std::string* error) {
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool takes_value = arg == "--tab" || arg == "--hover" || arg == "--size" ||
                             arg == "--time";
    if (takes_value && i + 1 >= argc) {
      *error = arg + " needs a value";
      return false;
    }
    if (arg == "--tab") {
      if (!ParseTab(argv[++i], out, error)) return false;
    } else if (arg == "--hover") {
      out->hover = argv[++i];
    } else if (arg == "--size") {
      if (!ParseSize(argv[++i], out, error)) return false;
    } else if (arg == "--time") {
      const std::string text = argv[++i];
      char* end = nullptr;
      const long ms = std::strtol(text.c_str(), &end, 10);
      if (text.empty() || *end != '\0' || ms < 0 || ms > 600000) {
        *error = "--time wants milliseconds (0..600000), got \"" + text + "\"";
        return false;
      }
      out->time_ms = static_cast<int>(ms);
    } else if (arg.rfind("--", 0) == 0) {
      *error = "unknown option " + arg;
      return false;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 3) {
    *error = "expected ARCHIVE_OR_FOLDER LAYOUT OUT.png";
    return false;
  }
  out->skin = positional[0];
  out->layout = positional[1];
  out->output = positional[2];
  return true;
}

}  // namespace skinui::tools
