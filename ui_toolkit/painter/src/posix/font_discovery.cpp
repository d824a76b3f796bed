// Font discovery elsewhere than Windows: fontconfig's best match for the
// family with Chinese coverage, then the fonts Debian ships.
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

#include <cstdlib>

#include "font_internal.h"
#include "utils/text.h"

namespace skinui {
namespace {

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// stb rasterises TrueType and OpenType outlines only.
bool IsOutlineFont(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos) return false;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(c | 0x20);
  return ext == "ttf" || ext == "ttc" || ext == "otf" || ext == "otc";
}

// Uses a configuration of its own, destroyed after the match, so nothing
// is left behind in the process-wide fontconfig state (the library keeps
// the answer per family, so this runs once per family name).
std::string FontconfigMatch(const std::wstring& family) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return {};
  FcPattern* pattern = FcPatternCreate();
  std::string file;
  if (pattern) {
    const std::string name = Utils::WideToUtf8(family);
    if (!name.empty())
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match) {
      FcChar8* path = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
        file = reinterpret_cast<const char*>(path);
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return file;
}

}  // namespace

std::string FontOverrideFromEnvironment() {
  const char* value = std::getenv("TARNVELL_SKIN_FONT");
  return value ? std::string(value) : std::string();
}

std::vector<std::string> PlatformFontCandidates(const std::wstring& family) {
  std::vector<std::string> found;
  auto add = [&found](const std::string& path) {
    if (IsRegularFile(path) && IsOutlineFont(path)) found.push_back(path);
  };
  add(FontconfigMatch(family));
  add("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
  add("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
  add("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc");
  add("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  return found;
}

}  // namespace skinui
