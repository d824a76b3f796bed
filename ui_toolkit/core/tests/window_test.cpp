// The window base on the headless backend: clicks, check boxes, default
// buttons, the caption drag area, the keyboard filter, modal loops.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "skinui/archive/resource.h"
#include "skinui/core/check_box.h"
#include "skinui/core/skin_setup.h"
#include "skinui/core/container.h"
#include "test_support.h"

namespace skinui {
namespace {

using testing::TestWindow;

class WindowTest : public testing::HeadlessTest {};

TEST_F(WindowTest, LayoutSizesTheWindowAndKeepsWindowAttributes) {
  TestWindow window(L"FORM.xml");  // the folder stores "form.xml"
  ASSERT_TRUE(window.Open());
  EXPECT_EQ(window.LayoutError().status, BuildStatus::kOk) << window.LayoutError().message;
  EXPECT_EQ(window.layouts_loaded, 1);
  EXPECT_EQ(window.Native()->ClientSize(), (Size{300, 200}));
  EXPECT_EQ(window.Native()->RoundRegion(), (Size{2, 2}));
  EXPECT_EQ(window.WindowAttribute("showshadow"), L"true");
  EXPECT_EQ(window.WindowAttribute("ShadowColor"), L"#26003B76");
  EXPECT_EQ(window.WindowAttribute("shadowimage"), L"");
  EXPECT_EQ(window.Native()->Style() & kWsCaption, 0u);
  EXPECT_NE(window.Native()->Style() & kWsClipChildren, 0u);
}

// A window of the installer's kind: its skin is the archive resource
// "SKINRES" 147, here registered from the fixture skin packed at build time.
class ArchiveWindow : public TestWindow {
 public:
  ArchiveWindow() : TestWindow(L"Form.XML") {}
  int ResourceType() const override { return kSkinArchiveResource; }
  int ResourceId() const override { return 147; }
  std::wstring SkinFolder() const override { return L""; }
};

TEST_F(WindowTest, SkinArchiveFromTheResource) {
  static const std::vector<std::uint8_t> archive = [] {
    std::ifstream in("fixture_skin.7z", std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
  }();
  ASSERT_FALSE(archive.empty());
  RegisterEmbeddedResource(kSkinResourceTypeName, 147, archive.data(), archive.size());
  EXPECT_EQ(LoadSkinArchiveResource(147).error, SkinOpenError::kOk);
  EXPECT_EQ(LoadSkinArchiveResource(148).error, SkinOpenError::kNotFound);

  ArchiveWindow window;
  ASSERT_TRUE(window.Open());
  EXPECT_EQ(window.LayoutError().status, BuildStatus::kOk) << window.LayoutError().message;
  EXPECT_EQ(window.Native()->ClientSize(), (Size{300, 200}));
  window.Native()->Click(window.CenterOf(L"okBtn"));
  EXPECT_EQ(window.Count(L"click"), 1);
}

TEST_F(WindowTest, MissingLayoutLeavesAnEmptyWindow) {
  TestWindow window(L"nothing.xml");
  ASSERT_TRUE(window.Open());
  EXPECT_EQ(window.Manager().Root(), nullptr);
  EXPECT_NE(window.LayoutError().message.find("nothing.xml"), std::string::npos);
}

TEST_F(WindowTest, ClickGivesExactlyOneClickToTheOwner) {
  TestWindow window(L"form.xml");
  ASSERT_TRUE(window.Open());
  HeadlessWindow* w = window.Native();
  w->Click(window.CenterOf(L"okBtn"));
  ASSERT_EQ(window.Count(L"click"), 1);
  EXPECT_EQ(window.seen.back().sender, L"okBtn");

  // Pressed inside, released outside, and the reverse: no click.
  w->MoveMouse(window.CenterOf(L"okBtn"));
  w->Press();
  w->MoveMouse(window.CenterOf(L"pathEdit"));
  w->Release();
  w->MoveMouse(window.CenterOf(L"pathEdit"));
  w->Press();
  w->MoveMouse(window.CenterOf(L"okBtn"));
  w->Release();
  EXPECT_EQ(window.Count(L"click"), 1);

  window.FindControl(L"okBtn")->SetEnabled(false);
  w->Click(window.CenterOf(L"okBtn"));
  EXPECT_EQ(window.Count(L"click"), 1);
}

TEST_F(WindowTest, CheckBoxTogglesAndNotifies) {
  TestWindow window(L"form.xml");
  ASSERT_TRUE(window.Open());
  auto* cb = static_cast<CheckBox*>(window.FindControl(L"agreeCb"));
  ASSERT_FALSE(cb->IsSelected());
  window.Native()->Click(window.CenterOf(L"agreeCb"));
  EXPECT_TRUE(cb->IsSelected());
  ASSERT_EQ(window.Count(L"selectchanged"), 1);
  EXPECT_EQ(window.seen.back().type, L"selectchanged");
  EXPECT_EQ(window.seen.back().wparam, 1u);
  window.Native()->Click(window.CenterOf(L"agreeCb"));
  EXPECT_FALSE(cb->IsSelected());
  EXPECT_EQ(window.seen.back().wparam, 0u);
  cb->Selected(true, false);  // set by code without a notification
  EXPECT_EQ(window.Count(L"selectchanged"), 2);
}

// The owner may remove the check box from its "click" handler; the toggle
// that would follow must not touch the destroyed control (ASan checks).
class RemovingWindow : public TestWindow {
 public:
  RemovingWindow() : TestWindow(L"form.xml") {}
  void Notify(const Notification& n) override {
    TestWindow::Notify(n);
    if (n.type == L"click" && n.sender != nullptr && n.sender->Name() == L"agreeCb")
      n.sender->Parent()->Remove(n.sender);
  }
};

TEST_F(WindowTest, CheckBoxRemovedByItsClickHandler) {
  RemovingWindow window;
  ASSERT_TRUE(window.Open());
  const Point at = window.CenterOf(L"agreeCb");
  window.Native()->Click(at);
  EXPECT_EQ(window.Count(L"click"), 1);
  EXPECT_EQ(window.Count(L"selectchanged"), 0);
  EXPECT_EQ(window.FindControl(L"agreeCb"), nullptr);
  window.Native()->Click(at);  // the place is empty now: nothing happens
  EXPECT_EQ(window.Count(L"click"), 1);
}

TEST_F(WindowTest, CaptionStripDragsExceptOverButtons) {
  TestWindow window(L"form.xml");
  ASSERT_TRUE(window.Open());
  HeadlessWindow* w = window.Native();
  w->Click(window.CenterOf(L"captionLbl"));
  EXPECT_EQ(w->CaptionDrags(), 1);
  w->Click(Point{200, 10});  // the spacer in the strip
  EXPECT_EQ(w->CaptionDrags(), 2);
  w->Click(window.CenterOf(L"minbtn"));
  EXPECT_EQ(w->CaptionDrags(), 2);
  EXPECT_TRUE(w->IsMinimized());
  w->Click(window.CenterOf(L"okBtn"));  // below the strip
  EXPECT_EQ(w->CaptionDrags(), 2);
}

TEST_F(WindowTest, CloseButtonEndsTheModalLoopWithOne) {
  TestWindow window(L"form.xml");
  ASSERT_TRUE(window.Open(false));
  backend().PostTask([&] { window.Native()->Click(window.CenterOf(L"closebtn")); });
  EXPECT_EQ(window.ShowModal(), 1);
  EXPECT_FALSE(window.IsWindow());
}

TEST_F(WindowTest, SystemCloseEndsTheModalLoopWithZero) {
  TestWindow window(L"form.xml");
  ASSERT_TRUE(window.Open(false));
  backend().PostTask([&] { window.Native()->Send(Message{kWmSysCommand, kScClose, 0}); });
  EXPECT_EQ(window.ShowModal(), 0);
}

// A window whose filter consumes Escape, as the installer's windows do.
class NoEscapeWindow : public TestWindow {
 public:
  using TestWindow::TestWindow;
  std::intptr_t MessageFilter(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam,
                              bool& handled) override {
    if (msg == kWmKeyDown && wparam == kVkEscape) {
      ++escapes;
      handled = true;
      return 0;
    }
    return TestWindow::MessageFilter(msg, wparam, lparam, handled);
  }
  int escapes = 0;
};

TEST_F(WindowTest, EscapeReachesTheKeyboardFilter) {
  NoEscapeWindow guarded(L"form.xml");
  ASSERT_TRUE(guarded.Open());
  guarded.Native()->KeyPress(kVkEscape);
  backend().RunUntilIdle();
  EXPECT_EQ(guarded.escapes, 1);
  EXPECT_TRUE(guarded.IsWindow());

  TestWindow plain(L"form.xml");  // the base response closes the window
  ASSERT_TRUE(plain.Open());
  plain.Native()->KeyPress(kVkEscape);
  backend().RunUntilIdle();
  EXPECT_FALSE(plain.IsWindow());
}

class DialogWindow : public TestWindow {
 public:
  DialogWindow() : TestWindow(L"form.xml") {}
  std::wstring WindowClassName() const override { return L"Dialog"; }
  void OnButtonClick(const Notification& n) override {
    if (n.sender->Name() == L"okBtn") Close(7);
    TestWindow::OnButtonClick(n);
  }
};

class MainWindow : public TestWindow {
 public:
  MainWindow() : TestWindow(L"form.xml") {}
  void OnButtonClick(const Notification& n) override {
    if (n.sender->Name() == L"okBtn") {
      DialogWindow dialog;
      dialog.Create(this, L"dialog", kWsOverlappedWindow, 0);
      dialog.CenterWindow();
      dialog_result = dialog.ShowModal();
      Close(3);
    }
    TestWindow::OnButtonClick(n);
  }
  int dialog_result = -1;
};

TEST_F(WindowTest, NestedModalDialogReturnsItsResult) {
  MainWindow main;
  ASSERT_TRUE(main.Open(false));
  bool owner_disabled = false;
  backend().PostTask([&] { main.Native()->Click(main.CenterOf(L"okBtn")); });
  backend().PostTask([&] {
    HeadlessWindow* dialog = backend().FindWindow(L"Dialog");
    ASSERT_NE(dialog, nullptr);
    owner_disabled = !main.Native()->IsEnabled();
    // The dialog is centred on its owner.
    EXPECT_EQ(dialog->Bounds().left, main.Native()->Bounds().left);
    dialog->Click(Point{40, 45});  // okBtn of form.xml
  });
  EXPECT_EQ(main.ShowModal(), 3);
  EXPECT_EQ(main.dialog_result, 7);
  EXPECT_TRUE(owner_disabled);
}

TEST_F(WindowTest, PostedNotificationArrivesFromTheLoop) {
  TestWindow window(L"form.xml");
  ASSERT_TRUE(window.Open());
  Control* root = window.FindControl(L"root");
  window.PostNotify(L"install", root, 1);
  EXPECT_EQ(window.Count(L"install"), 0);
  backend().RunUntilIdle();
  ASSERT_EQ(window.Count(L"install"), 1);
  EXPECT_EQ(window.seen.back().sender, L"root");
  EXPECT_EQ(window.seen.back().wparam, 1u);
  window.SendNotify(L"install", root, 0);
  EXPECT_EQ(window.Count(L"install"), 2);
}

TEST_F(WindowTest, ControlTimersAreIdsOnTheControl) {
  TestWindow window(L"form.xml");
  ASSERT_TRUE(window.Open());
  Control* root = window.FindControl(L"root");
  Control* ok = window.FindControl(L"okBtn");
  ASSERT_TRUE(root->SetTimer(10, 100));
  ASSERT_TRUE(ok->SetTimer(10, 40));
  backend().AdvanceClock(100);
  std::vector<std::wstring> order;
  for (const auto& s : window.seen) {
    if (s.type == L"timer" && s.wparam == 10) order.push_back(s.sender);
  }
  EXPECT_EQ(order, (std::vector<std::wstring>{L"okBtn", L"okBtn", L"root"}));
  root->KillTimer(10);
  ok->KillTimer(10);
  const int before = window.Count(L"timer");
  backend().AdvanceClock(500);
  // Only the sequence animation's timer 2100 is still running.
  for (std::size_t i = static_cast<std::size_t>(before); i < window.seen.size(); ++i)
    EXPECT_EQ(window.seen[i].sender, L"anim");
}

}  // namespace
}  // namespace skinui
