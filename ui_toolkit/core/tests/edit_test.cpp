// Typing into an edit: characters, caret keys, selection, clipboard.
#include <gtest/gtest.h>

#include "skinui/core/edit.h"
#include "test_support.h"

namespace skinui {
namespace {

class EditTest : public testing::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ASSERT_TRUE(window_.Open());
    edit_ = static_cast<Edit*>(window_.FindControl(L"pathEdit"));
    ASSERT_NE(edit_, nullptr);
    w_ = window_.Native();
    w_->Click(window_.CenterOf(L"pathEdit"));
  }
  void Ctrl(char key) {
    w_->KeyDown(kVkControl);
    w_->KeyPress(static_cast<std::uint32_t>(key));
    w_->KeyUp(kVkControl);
  }
  void Shift(std::uint32_t vk, int times) {
    w_->KeyDown(kVkShift);
    for (int i = 0; i < times; ++i) w_->KeyPress(vk);
    w_->KeyUp(kVkShift);
  }

  // Windows go before their backend, which TearDown removes.
  void TearDown() override {
    holder_.reset();
    HeadlessTest::TearDown();
  }

  std::unique_ptr<testing::TestWindow> holder_ = std::make_unique<testing::TestWindow>(L"form.xml");
  testing::TestWindow& window_ = *holder_;
  Edit* edit_ = nullptr;
  HeadlessWindow* w_ = nullptr;
};

TEST_F(EditTest, TypingFillsTheEditAndMovesTheCaret) {
  EXPECT_TRUE(edit_->IsFocused());
  w_->Text(L"C:\\Program");
  w_->Text(L" 文件");
  EXPECT_EQ(edit_->Text(), L"C:\\Program 文件");
  EXPECT_EQ(edit_->Caret(), 13);
  EXPECT_EQ(window_.Count(L"textchanged"), 13);
  // The input method is told where the caret is.
  const Rect caret = w_->TextInputRect();
  EXPECT_FALSE(caret.IsEmpty());
  EXPECT_TRUE(edit_->Pos().Contains(Point{caret.left, caret.top}));
  w_->KeyPress(kVkBack);
  w_->KeyPress(kVkHome);
  w_->KeyPress(kVkDelete);
  EXPECT_EQ(edit_->Text(), L":\\Program 文");
  w_->KeyPress(kVkEnd);
  w_->Text(std::wstring(1, L'\x01'));  // a control character types nothing
  EXPECT_EQ(edit_->Text(), L":\\Program 文");
}

TEST_F(EditTest, ShiftArrowsSelectAndTheClipboardCopiesCutsPastes) {
  w_->Text(L"abcdef");
  w_->KeyPress(kVkHome);
  Shift(kVkRight, 3);
  EXPECT_EQ(edit_->SelectedText(), L"abc");
  Ctrl('C');
  EXPECT_EQ(backend().ClipboardText(), L"abc");
  w_->KeyPress(kVkEnd);
  Ctrl('V');
  EXPECT_EQ(edit_->Text(), L"abcdefabc");
  Shift(kVkLeft, 2);
  Ctrl('X');
  EXPECT_EQ(edit_->Text(), L"abcdefa");
  EXPECT_EQ(backend().ClipboardText(), L"bc");
  backend().SetClipboardText(L"line\r\nbreak");
  Ctrl('A');
  Ctrl('V');
  EXPECT_EQ(edit_->Text(), L"linebreak");
  Ctrl('A');
  w_->Text(L"x");  // typing replaces the selection
  EXPECT_EQ(edit_->Text(), L"x");
}

TEST_F(EditTest, MouseDragSelects) {
  w_->Text(L"mmmmmmmmmm");
  const Rect box = edit_->Pos();
  w_->MoveMouse(Point{box.left + 4, (box.top + box.bottom) / 2});
  w_->Press();
  w_->MoveMouse(Point{box.right - 2, (box.top + box.bottom) / 2});
  w_->Release();
  EXPECT_EQ(edit_->SelectionStart(), 0);
  EXPECT_EQ(edit_->SelectionEnd(), 10);
  // A click elsewhere takes the focus away.
  w_->Click(window_.CenterOf(L"captionLbl"));
  w_->Click(window_.CenterOf(L"okBtn"));
  EXPECT_FALSE(edit_->IsFocused());
  w_->Text(L"zz");
  EXPECT_EQ(edit_->Text(), L"mmmmmmmmmm");
}

}  // namespace
}  // namespace skinui
