#include "fixtures.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace skinui::testing {

std::filesystem::path FixturePath(std::string_view name) {
  return std::filesystem::path("fixtures") / std::filesystem::u8path(name.begin(), name.end());
}

std::vector<std::uint8_t> ReadFixture(std::string_view name) {
  std::ifstream file(FixturePath(name), std::ios::binary);
  if (!file) {
    ADD_FAILURE() << "missing fixture " << name;
    return {};
  }
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                   std::istreambuf_iterator<char>());
}

const std::vector<std::string>& SkinFileNames() {
  static const std::vector<std::string> names = {
      "empty.txt",
      "exitTipWnd.xml",
      "mainWnd.xml",
      "res/MessageBoxWnd/icoWarn.png",
      "res/common/closeBtnM_1.png",
      "res/mainWnd/bg1.png",
      "res/Ünïcode/ÄÖÜ.txt",
      "res/中文/图标.txt",
  };
  return names;
}

const std::vector<std::string>& SmallFileNames() {
  static const std::vector<std::string> names = {"a.txt", "Sub/B.txt"};
  return names;
}

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace skinui::testing
