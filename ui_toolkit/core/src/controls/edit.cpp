#include "skinui/core/edit.h"

#include <algorithm>

#include "skinui/core/attribute_parse.h"
#include "skinui/core/messages.h"
#include "skinui/painter/canvas.h"
#include "skinui/painter/text.h"

namespace skinui {

struct EditAttributes {
  static Edit& E(Control& c) { return static_cast<Edit&>(c); }
  template <std::string Edit::*Field>
  static bool Image(Control& c, std::string_view v) {
    E(c).*Field = std::string(v);
    return true;
  }
  static bool ReadOnly(Control& c, std::string_view v) { return ParseBoolValue(v, &E(c).read_only_); }
  static bool MaxChar(Control& c, std::string_view v) {
    int n = 0;
    if (!ParseIntValue(v, &n) || n < 0) return false;
    E(c).max_chars_ = n;
    return true;
  }
  static bool SelectionColor(Control& c, std::string_view v) {
    return ParseColorValue(v, &E(c).selection_color_);
  }
};

namespace {
constexpr unsigned kEditTextFormat = kTextLeft | kTextVCenter | kTextSingleLine;
}  // namespace

Edit::Edit() { text_style_ = kEditTextFormat; }

void* Edit::GetInterface(std::wstring_view name) {
  if (EqualsNoCase(name, std::wstring_view(L"Edit"))) return this;
  return Label::GetInterface(name);
}

const AttributeRegistry& Edit::ClassAttributes() {
  static const AttributeRegistry registry = [] {
    using A = EditAttributes;
    AttributeRegistry r(&Control::ClassAttributes());
    r.Add("normalimage", A::Image<&Edit::normal_image_>);
    r.Add("hotimage", A::Image<&Edit::hot_image_>);
    r.Add("focusedimage", A::Image<&Edit::focused_image_>);
    r.Add("disabledimage", A::Image<&Edit::disabled_image_>);
    r.Add("readonly", A::ReadOnly);
    r.Add("maxchar", A::MaxChar);
    r.Add("selectioncolor", A::SelectionColor);
    return r;
  }();
  return registry;
}

const AttributeRegistry& Edit::Attributes() const { return ClassAttributes(); }

void Edit::SetText(std::wstring text) {
  if (text == text_) return;
  Label::SetText(std::move(text));
  caret_ = anchor_ = static_cast<int>(text_.size());
  scroll_ = 0;
  ScrollToCaret();
}

std::wstring Edit::SelectedText() const {
  return text_.substr(static_cast<std::size_t>(SelectionStart()),
                      static_cast<std::size_t>(SelectionEnd() - SelectionStart()));
}

void Edit::SetSelection(int start, int end) {
  const int size = static_cast<int>(text_.size());
  anchor_ = std::clamp(start, 0, size);
  caret_ = std::clamp(end, 0, size);
  ScrollToCaret();
  Invalidate();
}

void Edit::ReplaceSelection(std::wstring_view text) {
  std::wstring clean;
  for (wchar_t ch : text) {
    if (ch >= 0x20 && ch != 0x7F) clean.push_back(ch);
  }
  const int start = SelectionStart();
  const int end = SelectionEnd();
  const int room = max_chars_ - (static_cast<int>(text_.size()) - (end - start));
  if (room < static_cast<int>(clean.size())) clean.resize(static_cast<std::size_t>(std::max(0, room)));
  if (clean.empty() && start == end) return;
  text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), clean);
  caret_ = anchor_ = start + static_cast<int>(clean.size());
  Changed();
}

void Edit::Changed() {
  ScrollToCaret();
  Invalidate();
  Notify(L"textchanged");
}

Rect Edit::TextBox() const { return Pos().Deflate(text_padding_); }

int Edit::XOfIndex(int index) const {
  if (Host() == nullptr || index <= 0) return 0;
  const auto font = Host()->FontById(font_);
  return MeasureText(*font, std::wstring_view(text_).substr(0, static_cast<std::size_t>(index)), 0,
                     kTextSingleLine)
      .width;
}

int Edit::IndexAtX(int x) const {
  // Nearest boundary between characters; texts in an edit are short.
  int best = 0;
  int best_distance = std::abs(x);
  for (int i = 1; i <= static_cast<int>(text_.size()); ++i) {
    const int d = std::abs(XOfIndex(i) - x);
    if (d < best_distance) {
      best = i;
      best_distance = d;
    }
  }
  return best;
}

void Edit::ScrollToCaret() {
  const int width = TextBox().Width();
  const int x = XOfIndex(caret_);
  if (x - scroll_ > width - 1) scroll_ = x - width + 1;
  if (x < scroll_) scroll_ = x;
  if (scroll_ < 0) scroll_ = 0;
  TellCaret();
}

void Edit::TellCaret() {
  if (Host() == nullptr || !IsFocused()) return;
  const Rect box = TextBox();
  const int x = box.left + XOfIndex(caret_) - scroll_;
  Host()->SetTextInputRect(Rect{x, box.top, x + 1, box.bottom});
}

void Edit::MoveCaret(int index, bool extend) {
  caret_ = std::clamp(index, 0, static_cast<int>(text_.size()));
  if (!extend) anchor_ = caret_;
  ScrollToCaret();
  Invalidate();
}

void Edit::DoEvent(const UiEvent& event) {
  switch (event.type) {
    case EventType::kButtonDown:
      if (!IsEnabled()) return;
      dragging_ = true;
      MoveCaret(IndexAtX(event.point.x - TextBox().left + scroll_),
                (event.modifiers & kModShift) != 0);
      return;
    case EventType::kDoubleClick:
      if (IsEnabled()) SetSelection(0, static_cast<int>(text_.size()));
      return;
    case EventType::kMouseMove:
      if (dragging_) MoveCaret(IndexAtX(event.point.x - TextBox().left + scroll_), true);
      return;
    case EventType::kButtonUp:
      dragging_ = false;
      return;
    case EventType::kKeyDown:
      if (IsEnabled()) OnKey(static_cast<std::uint32_t>(event.wparam), event.modifiers);
      return;
    case EventType::kChar:
      if (IsEnabled()) OnChar(static_cast<wchar_t>(event.wparam), event.modifiers);
      return;
    case EventType::kSetFocus:
      Label::DoEvent(event);
      TellCaret();
      return;
    case EventType::kKillFocus:
      dragging_ = false;
      Label::DoEvent(event);
      return;
    default:
      Label::DoEvent(event);
  }
}

void Edit::OnKey(std::uint32_t vk, std::uint32_t modifiers) {
  const bool shift = (modifiers & kModShift) != 0;
  const bool ctrl = (modifiers & kModControl) != 0;
  const int size = static_cast<int>(text_.size());
  const bool has_selection = anchor_ != caret_;
  switch (vk) {
    case kVkLeft:
      MoveCaret(!shift && has_selection ? SelectionStart() : caret_ - 1, shift);
      return;
    case kVkRight:
      MoveCaret(!shift && has_selection ? SelectionEnd() : caret_ + 1, shift);
      return;
    case kVkHome:
      MoveCaret(0, shift);
      return;
    case kVkEnd:
      MoveCaret(size, shift);
      return;
    case kVkBack:
      if (read_only_) return;
      if (!has_selection && caret_ > 0) anchor_ = caret_ - 1;
      ReplaceSelection(L"");
      return;
    case kVkDelete:
      if (read_only_) return;
      if (!has_selection && caret_ < size) anchor_ = caret_ + 1;
      ReplaceSelection(L"");
      return;
    case kVkReturn:
      Notify(L"return");
      return;
    default:
      break;
  }
  if (!ctrl || Host() == nullptr) return;
  if (vk == 'A') {
    SetSelection(0, size);
  } else if (vk == 'C' && has_selection) {
    Host()->SetClipboardText(SelectedText());
  } else if (vk == 'X' && has_selection && !read_only_) {
    Host()->SetClipboardText(SelectedText());
    ReplaceSelection(L"");
  } else if (vk == 'V' && !read_only_) {
    ReplaceSelection(Host()->ClipboardText());
  }
}

void Edit::OnChar(wchar_t ch, std::uint32_t modifiers) {
  // Control characters (Backspace, Ctrl+letters) arrive as key downs too.
  if (read_only_ || ch < 0x20 || ch == 0x7F) return;
  if ((modifiers & kModControl) != 0 && (modifiers & kModAlt) == 0) return;
  ReplaceSelection(std::wstring_view(&ch, 1));
}

void Edit::PaintStatusImage(Canvas& canvas) {
  const std::string* image = &normal_image_;
  if (!IsEnabled() && !disabled_image_.empty()) {
    image = &disabled_image_;
  } else if (IsFocused() && !focused_image_.empty()) {
    image = &focused_image_;
  } else if ((state_ & kStateHot) != 0 && !hot_image_.empty()) {
    image = &hot_image_;
  }
  if (!image->empty()) DrawImage(canvas, *image);
}

void Edit::PaintText(Canvas& canvas) {
  if (Host() == nullptr) return;
  const auto font = Host()->FontById(font_);
  const Rect box = TextBox();
  canvas.PushClip(box);
  const int line = font->LineHeight();
  const int top = box.top + (box.Height() - line) / 2;
  if (IsFocused() && anchor_ != caret_) {
    const int x0 = box.left + XOfIndex(SelectionStart()) - scroll_;
    const int x1 = box.left + XOfIndex(SelectionEnd()) - scroll_;
    canvas.FillRect(Rect{x0, top, x1, top + line}, selection_color_);
  }
  if (!text_.empty()) {
    const Rect shifted{box.left - scroll_, box.top, box.right + (1 << 14), box.bottom};
    canvas.DrawText(shifted, text_, *font, CurrentTextColor(), kEditTextFormat);
  }
  if (IsFocused()) {
    const int x = box.left + XOfIndex(caret_) - scroll_;
    canvas.FillRect(Rect{x, top, x + 1, top + line}, CurrentTextColor());
  }
  canvas.PopClip();
}

}  // namespace skinui
