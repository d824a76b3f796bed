#include "utils/desktop_info.h"

#include <cstdlib>
#include <cstring>

namespace Utils {

bool GetWindowsVersionNumbers(WindowsVersionNumbers& out) {
  out = WindowsVersionNumbers{};
  return false;
}

bool GetPrimaryScreenSize(int& width, int& height) {
  width = 0;
  height = 0;
  return false;
}

bool GetUserLocaleNames(std::string& language, std::string& country) {
  language.clear();
  country.clear();
  // The first variable that is set decides, as setlocale() would read them.
  const char* value = nullptr;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    value = std::getenv(name);
    if (value && *value) break;
    value = nullptr;
  }
  if (!value) return false;
  // "ll_CC.codeset@modifier": language before '_', country up to '.' or '@'.
  const std::string text(value);
  const size_t underscore = text.find('_');
  if (underscore == std::string::npos || underscore == 0) return false;  // "C", "POSIX"
  const size_t end = text.find_first_of(".@", underscore);
  const std::string lang = text.substr(0, underscore);
  const std::string ctry = text.substr(underscore + 1, end == std::string::npos ? end : end - underscore - 1);
  if (ctry.empty()) return false;
  language = lang;
  country = ctry;
  return true;
}

}  // namespace Utils
