// Test fixtures packed at build time (tests/CMakeLists.txt). Paths are
// relative to the folder the tests run in (their build folder), which works
// natively and under Wine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace skinui::testing {

// "fixtures/<name>" with name in UTF-8 ("skin/res/中文/图标.txt").
std::filesystem::path FixturePath(std::string_view name);

// The whole file; records a test failure and returns empty when unreadable.
std::vector<std::uint8_t> ReadFixture(std::string_view name);

// Files packed into every skin_*.7z, as stored (the loose copy is fixtures/skin/).
const std::vector<std::string>& SkinFileNames();
// Files of small.7z (loose copy in fixtures/small/).
const std::vector<std::string>& SmallFileNames();

std::vector<std::uint8_t> Bytes(std::string_view text);

}  // namespace skinui::testing
