// Shared pieces of the core tests: a skinned window over the fixture skin
// that records its notifications, a fresh headless backend per test, and
// golden-image comparison.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skinui/core/headless_backend.h"
#include "skinui/core/window_base.h"

namespace skinui::testing {

// Installs a new headless backend (and forgets opened skins) for each test.
class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  HeadlessBackend& backend() { return *backend_; }

 private:
  HeadlessBackend* backend_ = nullptr;
};

struct Seen {
  std::wstring type;
  std::wstring sender;
  std::uintptr_t wparam;
  std::intptr_t lparam;
};

// A window over fixtures/skin/<file>, recording every notification.
class TestWindow : public SkinWindowBase {
 public:
  explicit TestWindow(std::wstring file) : file_(std::move(file)) {}
  std::wstring WindowClassName() const override { return L"TestWindow"; }
  std::wstring SkinFolder() const override { return L"fixtures/skin"; }
  std::wstring SkinFile() const override { return file_; }
  void Notify(const Notification& n) override;
  void OnLayoutLoaded() override { ++layouts_loaded; }

  // Creates the window (invisible unless `visible`), lays it out.
  bool Open(bool visible = true, TestWindow* owner = nullptr);
  HeadlessWindow* Native() const { return static_cast<HeadlessWindow*>(Window()); }
  int Count(const std::wstring& type) const;
  Point CenterOf(const std::wstring& control) const;

  std::vector<Seen> seen;
  int layouts_loaded = 0;

 private:
  std::wstring file_;
};

// Renders the window's whole client area now and returns the frame.
const Surface& RenderAll(TestWindow& window);

// Compares with fixtures/golden/<name>.png (tolerance 2 per channel); with
// TARNVELL_UPDATE_GOLDEN=1 writes the golden instead.
void ExpectMatchesGolden(const Surface& frame, const std::string& name);

}  // namespace skinui::testing
