// Test paths elsewhere than Windows.
#include <sys/stat.h>

#include <cstdlib>

#include "../test_support.h"

namespace skinui::test {

std::string TestFontFile() {
  if (const char* env = std::getenv("TARNVELL_SKIN_FONT")) return env;
  const std::string path = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? path : std::string();
}

std::string TestOutputFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

}  // namespace skinui::test
