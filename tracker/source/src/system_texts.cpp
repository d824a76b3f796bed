#include "system_texts.h"

#include <chrono>

#include "collect_sdk/validation.h"
#include "utils/identity.h"
#include "utils/text.h"

namespace kelvo {
namespace tracker {

std::string WindowsVersionText(const Utils::WindowsVersionNumbers& v, bool is64) {
  if (v.major <= 4) return "XP-";
  if (v.major == 5) {
    switch (v.minor) {
      case 0: return "2K";
      case 1: return "XP";
      case 2:
        if (is64) return "XP64";
        return v.serverR2 ? "Server 2003 R2" : "Server 2003";
      default: return "XP+";
    }
  }
  if (v.major == 6) {
    switch (v.minor) {
      case 0: return is64 ? "Vista64" : "Vista";
      case 1: return is64 ? "7" : "7-32";
      case 2: return is64 ? "8" : "8-32";
      case 3: return "8.1";
      default: return "8.1+";
    }
  }
  if (v.major == 10) {
    if (v.minor != 0) return "11+";
    return v.build < 22000 ? "10" : "11";
  }
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build);
}

std::string OsName() {
  std::wstring platform, version;
  Utils::GetOsVersion(platform, version);
  return Utils::WideToUtf8(platform);
}

std::string OsVersionText() {
  std::wstring platform, version;
  Utils::GetOsVersion(platform, version);
  if (platform != L"Windows") return Utils::WideToUtf8(version);
  Utils::WindowsVersionNumbers v;
  if (!Utils::GetWindowsVersionNumbers(v)) return "XP-";
  return WindowsVersionText(v, Is64BitSystem());
}

bool Is64BitSystem() { return sizeof(void*) == 8 || Utils::IsWow64(); }

std::string UserAgent(const std::string& osName, const std::string& osVersion, bool is64) {
  return "Mozilla/5.0(" + osName + " " + osVersion + "; Win" + (is64 ? "64;)" : "32;)");
}

LocaleTexts ComputeLocaleTexts(const std::string& localeText) {
  LocaleTexts t;
  const size_t underscore = localeText.find('_');
  if (!localeText.empty() && underscore != std::string::npos) {
    t.language = localeText.substr(0, underscore);
    t.country = localeText.substr(underscore + 1);
    t.locale = localeText;
  }
  if (t.language.empty()) {
    std::string language, country;
    if (Utils::GetUserLocaleNames(language, country)) {
      t.language = language;
      t.country = country;
      t.locale = language + "_" + country;
    } else {
      t = LocaleTexts{};
    }
  }
  return t;
}

bool IsStrictUtf8(const std::string& text) { return collect_sdk::IsValidUtf8(text); }

std::string NormaliseText(const std::string& text) {
  if (IsStrictUtf8(text)) return text;
  return Utils::WideToUtf8(Utils::MultiByteToWide(text, Utils::kCodePageAnsi));
}

long long NowMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace tracker
}  // namespace kelvo
