// Single-line text edit drawn by the toolkit itself (no native child
// window): typing through kWmChar (so text an input method commits arrives
// the same way), a caret, a selection made with the mouse or Shift+arrows,
// Backspace/Delete/Home/End, Ctrl+A/C/V/X with the backend's clipboard.
// Every change of the text sends "textchanged"; Return sends "return".
// The caret rectangle is handed to the host for the input method.
//
// Indexes are positions between characters of the text (0 .. size).
// Threads: UI thread only.
#pragma once

#include <string>

#include "skinui/core/label.h"

namespace skinui {

class Edit : public Label {
 public:
  Edit();
  std::wstring_view GetClass() const override { return L"Edit"; }
  void* GetInterface(std::wstring_view name) override;
  const AttributeRegistry& Attributes() const override;
  static const AttributeRegistry& ClassAttributes();

  bool IsInteractive() const override { return true; }
  bool WantsFocus() const override { return true; }
  void DoEvent(const UiEvent& event) override;
  void SetText(std::wstring text) override;

  int Caret() const { return caret_; }
  int SelectionStart() const { return std::min(anchor_, caret_); }
  int SelectionEnd() const { return std::max(anchor_, caret_); }
  std::wstring SelectedText() const;
  // Selects [start, end) and puts the caret at `end`.
  void SetSelection(int start, int end);
  // Replaces the selection with `text` (characters below U+0020 dropped).
  void ReplaceSelection(std::wstring_view text);
  bool IsReadOnly() const { return read_only_; }
  void SetReadOnly(bool ro) { read_only_ = ro; }

 protected:
  void PaintStatusImage(Canvas& canvas) override;
  void PaintText(Canvas& canvas) override;

 private:
  friend struct EditAttributes;
  Rect TextBox() const;
  int XOfIndex(int index) const;
  int IndexAtX(int x) const;
  void MoveCaret(int index, bool extend);
  void OnKey(std::uint32_t vk, std::uint32_t modifiers);
  void OnChar(wchar_t ch, std::uint32_t modifiers);
  void ScrollToCaret();
  void TellCaret();
  void Changed();

  int caret_ = 0;
  int anchor_ = 0;
  int scroll_ = 0;  // pixels of text hidden on the left
  int max_chars_ = 255;
  bool read_only_ = false;
  bool dragging_ = false;
  Argb selection_color_ = 0xFF3399FF;
  std::string normal_image_;
  std::string hot_image_;
  std::string focused_image_;
  std::string disabled_image_;
};

}  // namespace skinui
